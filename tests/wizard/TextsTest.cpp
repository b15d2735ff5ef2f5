// The wizard's texts in both languages: the Latvian file matches the program's English
// texts one for one, and every text fits its control at every display scale.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "filectrl/FileCtrlClasses.h"
#include "instutils/Files.h"
#include "instutils/FormatText.h"
#include "instutils/Language.h"
#include "instutils/SetupTitle.h"
#include "instutils/Widen.h"
#include "payload/AttachFiles.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/LayoutClasses.h"
#include "ui/Memo.h"
#include "ui/PageControl.h"
#include "ui/TabSheet.h"
#include "wizard/CommandLine.h"
#include "wizard/HomeFolder.h"
#include "wizard/MainDlg.h"
#include "wizard/UpdateLog.h"

namespace {

using inst::TLanguage;

// The wizard form as Setup.exe builds it, in a language; the settings key it creates is
// removed again.
struct TWizard {
  explicit TWizard(TLanguage language) {
    ui::RegisterStandardLayoutClasses();
    filectrl::RegisterFileCtrlClasses();
    HKEY key;
    hadKey = RegOpenKeyExA(HKEY_CURRENT_USER, wizard::HomeFolderKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (hadKey) RegCloseKey(key);
    inst::SetLanguage(language);
    payload::AttachedFiles = &store;
    form = std::make_unique<wizard::TMainDlgForm>();
  }
  ~TWizard() {
    form.reset();
    payload::AttachedFiles = nullptr;
    inst::SetLanguage(TLanguage::English);
    if (!hadKey) RegDeleteKeyA(HKEY_CURRENT_USER, wizard::HomeFolderKey);
  }
  bool hadKey = false;
  payload::TAttachedFiles store;
  std::unique_ptr<wizard::TMainDlgForm> form;
};

std::vector<inst::TLatvianText> ShippedLatvianTexts() {
  const HRSRC res = FindResourceA(nullptr, "LATVIANTEXTS", MAKEINTRESOURCEA(10));
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, res)));
  return inst::ReadLatvianTexts({bytes, SizeofResource(nullptr, res)});
}

std::size_t Count(const std::wstring& text, const std::wstring& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(LatvianTexts, EachEnglishTextOfTheProgramHasOneLatvianTextAndNoneIsStale) {
  // The program's English texts by where they stand: the captions the layout gives the
  // pages' controls, as the form shows them, and the texts of the code.
  std::map<std::string, std::wstring> english;
  {
    TWizard wizard(TLanguage::English);
    std::vector<ui::TControl*> onPages;
    wizard.form->PgCtrl->AddWithChildren(onPages);
    for (ui::TControl* c : onPages)
      if (!c->Caption().empty() && c != wizard.form->DestDirEdt)
        english["wizard/MainDlg.layout " + c->Name()] = c->Caption();
  }
  // The texts of the code: the wizard's own are wide, the others' narrow (ASCII).
  const std::pair<std::string, std::wstring> code[] = {
      {"instutils/SetupTitle.h kSetupTitle", inst::Widen(inst::kSetupTitle)},
      {"wizard/MainDlg.cpp kBackCaption", wizard::kBackCaption},
      {"wizard/MainDlg.cpp kNextCaption", wizard::kNextCaption},
      {"wizard/MainDlg.cpp kFinishCaption", wizard::kFinishCaption},
      {"wizard/MainDlg.cpp kCancelCaption", wizard::kCancelCaption},
      {"wizard/MainDlg.cpp kHostRunningText", wizard::kHostRunningText},
      {"wizard/MainDlg.cpp kLicenseQuestion", wizard::kLicenseQuestion},
      {"wizard/MainDlg.cpp kWrongFolderText", wizard::kWrongFolderText},
      {"wizard/MainDlg.cpp kRecordsBusyText", wizard::kRecordsBusyText},
      {"wizard/MainDlg.cpp kCloseQuestion", wizard::CloseQuestion()},
      {"payload/AttachFiles.h kCannotCreateText", inst::Widen(payload::kCannotCreateText)},
      {"payload/AttachFiles.h kDamagedText", inst::Widen(payload::kDamagedText)},
      {"payload/AttachFiles.h kMissingText", inst::Widen(payload::kMissingText)},
      {"wizard/UpdateLog.h kCannotOpenLogText", inst::Widen(wizard::kCannotOpenLogText)},
      {"wizard/UpdateLog.h kCannotWriteLogText", inst::Widen(wizard::kCannotWriteLogText)},
      {"wizard/UpdateLog.h kCannotCreateLogText", inst::Widen(wizard::kCannotCreateLogText)},
      {"wizard/UpdateLog.h kLogTooLargeText", inst::Widen(wizard::kLogTooLargeText)},
      {"instutils/Files.h kLinkNotFollowedText", inst::Widen(inst::kLinkNotFollowedText)},
      {"ui/Application.h kUnknownErrorText", inst::Widen(ui::kUnknownErrorText)},
      {"wizard/CommandLine.h kOptionsHelpText", inst::Widen(wizard::kOptionsHelpText)},
  };
  english.insert(std::begin(code), std::end(code));
  for (int page = wizard::kWelcomePage; page <= wizard::kFinishPage; ++page)
    english["wizard/MainDlg.cpp PageTitles[" + std::to_string(page) + "]"] = wizard::PageTitles[page];

  std::map<std::string, std::wstring> translated;
  for (const inst::TLatvianText& t : ShippedLatvianTexts()) {
    EXPECT_TRUE(translated.emplace(t.reference, t.english).second) << "twice: " << t.reference;
    EXPECT_FALSE(t.latvian.empty()) << t.reference;
    // The values filled in and the mnemonic come through; the names are written out.
    EXPECT_EQ(Count(t.latvian, L"%s"), Count(t.english, L"%s")) << t.reference;
    EXPECT_EQ(Count(t.latvian, L"&"), Count(t.english, L"&")) << t.reference;
  }
  EXPECT_EQ(translated, english);
  // The English text is the key: no two texts may share it.
  std::map<std::wstring, int> keys;
  for (const auto& [where, text] : english) EXPECT_EQ(++keys[text], 1) << where;
}

// The text's extent in the control's font as DrawText measures it, with `flags`; words
// wrap at `width` with DT_WORDBREAK, as the control wraps them.
RECT Extent(ui::TControl* c, const std::wstring& text, UINT flags, int width = 0) {
  HDC dc = GetDC(c->Handle());
  const HGDIOBJ old = SelectObject(dc, c->FontHandle());
  RECT r{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_EXPANDTABS | flags);
  SelectObject(dc, old);
  ReleaseDC(c->Handle(), dc);
  return r;
}

// The width of a line of text as drawn in the control's font: from its left edge to its
// last inked column. What the user sees is what has to fit: Wine draws the dialog font up
// to a tenth narrower than its extents at 96 DPI, and up to a twentieth wider at 120.
int DrawnWidth(ui::TControl* c, const std::wstring& text) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4096, -256, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  const HGDIOBJ oldFont = SelectObject(dc, c->FontHandle());
  RECT r{0, 0, 4096, 256};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawTextW(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_EXPANDTABS);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  int width = 0;
  for (int y = 0; y < 256; ++y)
    for (int x = width; x < 4096; ++x)
      if ((pixels[y * 4096 + x] & 0xFFFFFF) != 0xFFFFFF) width = x + 1;
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return width;
}

class TextsFit : public ::testing::TestWithParam<std::tuple<TLanguage, int>> {};

TEST_P(TextsFit, InTheirControlsWithRoomToSpare) {
  const auto [language, dpi] = GetParam();
  TWizard wizard(language);
  wizard::TMainDlgForm& form = *wizard.form;
  form.ScaleToDpi(dpi);
  const auto S = [&](int v) { return MulDiv(v, dpi, 96); };
  // A twentieth of a text's width to spare, for fonts that differ from the ones measured
  // here (Windows' are not Wine's). The English layout at its own DPI is as specified:
  // its texts need only fit.
  const bool asSpecified = language == TLanguage::English && dpi == 96;
  const auto WithRoom = [&](int pixels) { return asSpecified ? pixels : pixels + pixels / 20; };
  const auto WrapWidth = [&](int width) { return asSpecified ? width : width - width / 20; };
  const int pageMargin = form.LicenseMemo->Left() + form.LicenseMemo->Width();
  std::vector<ui::TControl*> all;
  form.PgCtrl->AddWithChildren(all);
  for (ui::TControl* c : all) {
    const std::wstring& text = c->Caption();
    if (dynamic_cast<ui::TLabel*>(c)) {
      const bool wraps = (GetWindowLongW(c->Handle(), GWL_STYLE) & SS_TYPEMASK) == SS_LEFT;
      if (wraps) {  // wrapped a twentieth narrower, still within the label
        EXPECT_LE(Extent(c, text, DT_WORDBREAK, WrapWidth(c->Width())).bottom, c->Height()) << c->Name();
      } else {
        EXPECT_LE(c->Left() + WithRoom(DrawnWidth(c, text)), pageMargin) << c->Name();
      }
    } else if (dynamic_cast<ui::TCheckBox*>(c)) {
      // The box and its gap as the control measures them, then the caption as drawn.
      SIZE ideal{};
      SendMessageW(c->Handle(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
      const int boxAndGap = ideal.cx - Extent(c, text, DT_SINGLELINE).right;
      EXPECT_LE(boxAndGap + WithRoom(DrawnWidth(c, text)), c->Width()) << c->Name();
      EXPECT_LE(c->Left() + c->Width(), pageMargin) << c->Name();
    }
  }
  // The title band: every page's title before the small logo.
  for (int page = wizard::kWelcomePage; page <= wizard::kFinishPage; ++page) {
    const std::wstring title = inst::Localized(wizard::PageTitles[page]);
    EXPECT_LE(form.TopLbl->Left() + WithRoom(DrawnWidth(form.TopLbl, title)),
              form.LogoSmallImage->Left())
        << page;
  }
  // The buttons: each caption within the button's face, beside its frame.
  for (const wchar_t* caption : {wizard::kBackCaption, wizard::kNextCaption,
                                 wizard::kFinishCaption, wizard::kCancelCaption})
    EXPECT_LE(WithRoom(DrawnWidth(form.NextBtn, inst::Localized(caption))) + S(8),
              form.NextBtn->Width())
        << inst::Localized(caption);
}

INSTANTIATE_TEST_SUITE_P(BothLanguagesAtEveryScale, TextsFit,
                         ::testing::Combine(::testing::Values(TLanguage::English, TLanguage::Latvian),
                                            ::testing::Values(96, 120, 144, 192, 240)));

TEST(LatvianTexts, MnemonicsAreUniqueOnEachPage) {
  TWizard wizard(TLanguage::Latvian);
  wizard::TMainDlgForm& form = *wizard.form;
  ui::TTabSheet* sheets[] = {form.WelcomeTabSheet, form.LicenseTabSheet, form.DestDirTabSheet,
                             form.StartTabSheet,   form.InstallingTabSheet, form.FinishTabSheet};
  for (int page = wizard::kWelcomePage; page <= wizard::kFinishPage; ++page) {
    std::vector<ui::TControl*> shown;
    sheets[page]->AddWithChildren(shown);
    // The buttons as the page shows them: Back and Next up to the ready page, Finish last.
    std::vector<std::wstring> captions;
    if (page <= wizard::kReadyPage) {
      captions = {inst::Localized(wizard::kBackCaption), inst::Localized(wizard::kNextCaption)};
    } else if (page == wizard::kFinishPage) {
      captions = {inst::Localized(wizard::kFinishCaption)};
    }
    for (ui::TControl* c : shown) captions.push_back(c->Caption());
    std::map<wchar_t, int> seen;
    for (const std::wstring& caption : captions)
      if (const wchar_t key = ui::MnemonicOf(caption)) EXPECT_EQ(++seen[key], 1) << page;
  }
}

}  // namespace
