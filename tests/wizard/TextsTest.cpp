// The wizard's texts in both languages: the Latvian file matches the program's English
// texts one for one, and every text fits its control at every display scale.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
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
#include "ui/TabSheet.h"
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
  // The program's English texts by where they stand: the layout's captions as the form
  // shows them, and the texts of the code.
  std::map<std::string, std::wstring> english;
  {
    TWizard wizard(TLanguage::English);
    std::vector<ui::TControl*> all;
    wizard.form->AddWithChildren(all);
    for (ui::TControl* c : all)
      if (c != wizard.form.get() && !c->Caption().empty() && c->Name() != "DestDirEdt")
        english["wizard/MainDlg.layout " + c->Name()] = c->Caption();
  }
  const std::pair<std::string, std::string> code[] = {
      {"instutils/SetupTitle.h kSetupTitle", inst::kSetupTitle},
      {"wizard/MainDlg.cpp kBackCaption", wizard::kBackCaption},
      {"wizard/MainDlg.cpp kNextCaption", wizard::kNextCaption},
      {"wizard/MainDlg.cpp kFinishCaption", wizard::kFinishCaption},
      {"wizard/MainDlg.cpp kCancelCaption", wizard::kCancelCaption},
      {"wizard/MainDlg.cpp kHostRunningText", wizard::kHostRunningText},
      {"wizard/MainDlg.cpp kLicenseQuestion", wizard::kLicenseQuestion},
      {"wizard/MainDlg.cpp kWrongFolderText", wizard::kWrongFolderText},
      {"wizard/MainDlg.cpp kCloseQuestion", wizard::CloseQuestion()},
      {"payload/AttachFiles.h kCannotCreateText", payload::kCannotCreateText},
      {"payload/AttachFiles.h kDamagedText", payload::kDamagedText},
      {"payload/AttachFiles.h kMissingText", payload::kMissingText},
      {"wizard/UpdateLog.h kCannotOpenLogText", wizard::kCannotOpenLogText},
      {"wizard/UpdateLog.h kCannotWriteLogText", wizard::kCannotWriteLogText},
      {"wizard/UpdateLog.h kCannotCreateLogText", wizard::kCannotCreateLogText},
      {"wizard/UpdateLog.h kLogTooLargeText", wizard::kLogTooLargeText},
      {"instutils/Files.h kLinkNotFollowedText", inst::kLinkNotFollowedText},
      {"ui/Application.h kUnknownErrorText", ui::kUnknownErrorText},
      {"wizard/HomeFolder.h kOptionsHelpText", wizard::kOptionsHelpText},
  };
  for (const auto& [where, text] : code) english[where] = inst::Widen(text);
  for (int page = wizard::kWelcomePage; page <= wizard::kFinishPage; ++page)
    english["wizard/MainDlg.cpp PageTitles[" + std::to_string(page) + "]"] =
        inst::Widen(wizard::PageTitles[page]);

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

// The room a text needs beyond its measure, for fonts that differ from the ones measured
// with (the system's own fonts are not Wine's).
int WithRoom(int pixels) { return pixels + pixels / 10; }

SIZE Measure(ui::TControl* c, const std::wstring& text, int wrapWidth) {
  HDC dc = GetDC(c->Handle());
  const HGDIOBJ old = SelectObject(dc, c->FontHandle());
  RECT r{0, 0, wrapWidth, 0};
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_EXPANDTABS | (wrapWidth ? DT_WORDBREAK : 0));
  SelectObject(dc, old);
  ReleaseDC(c->Handle(), dc);
  return {r.right, r.bottom};
}

class TextsFit : public ::testing::TestWithParam<std::tuple<TLanguage, int>> {};

TEST_P(TextsFit, InTheirControlsWithRoomToSpare) {
  const auto [language, dpi] = GetParam();
  TWizard wizard(language);
  wizard::TMainDlgForm& form = *wizard.form;
  form.ScaleToDpi(dpi);
  const auto S = [&](int v) { return MulDiv(v, dpi, 96); };
  const int pageMargin = form.LicenseMemo->Left() + form.LicenseMemo->Width();
  std::vector<ui::TControl*> all;
  form.PgCtrl->AddWithChildren(all);
  for (ui::TControl* c : all) {
    const std::wstring& text = c->Caption();
    if (auto* label = dynamic_cast<ui::TLabel*>(c)) {
      const bool wraps = (GetWindowLongW(c->Handle(), GWL_STYLE) & SS_TYPEMASK) == SS_LEFT;
      if (wraps) {  // wrapped a tenth narrower, still within the label
        EXPECT_LE(Measure(c, text, c->Width() - c->Width() / 10).cy, c->Height()) << c->Name();
      } else {
        EXPECT_LE(c->Left() + WithRoom(Measure(c, text, 0).cx), pageMargin) << c->Name();
      }
    } else if (dynamic_cast<ui::TCheckBox*>(c)) {
      SIZE ideal{};  // the box, its gap and the caption as the control draws them
      SendMessageW(c->Handle(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
      EXPECT_LE(ideal.cx + Measure(c, text, 0).cx / 10, c->Width()) << c->Name();
      EXPECT_LE(c->Left() + c->Width(), pageMargin) << c->Name();
    }
  }
  // The title band: every page's title before the small logo.
  for (int page = wizard::kWelcomePage; page <= wizard::kFinishPage; ++page) {
    const std::wstring title = inst::Localized(wizard::PageTitles[page]);
    EXPECT_LE(form.TopLbl->Left() + WithRoom(Measure(form.TopLbl, title, 0).cx),
              form.LogoSmallImage->Left())
        << page;
  }
  // The buttons: each caption within the button's face, beside its frame.
  for (const char* caption : {wizard::kBackCaption, wizard::kNextCaption, wizard::kFinishCaption,
                              wizard::kCancelCaption})
    EXPECT_LE(WithRoom(Measure(form.NextBtn, inst::Localized(caption), 0).cx) + S(8),
              form.NextBtn->Width())
        << caption;
}

INSTANTIATE_TEST_SUITE_P(BothLanguagesAtEveryScale, TextsFit,
                         ::testing::Combine(::testing::Values(TLanguage::English, TLanguage::Latvian),
                                            ::testing::Values(96, 120, 144, 192, 240)));

TEST(LatvianTexts, MnemonicsAreUniqueOnEachPage) {
  TWizard wizard(TLanguage::Latvian);
  wizard::TMainDlgForm& form = *wizard.form;
  const ui::TTabSheet* sheets[] = {form.WelcomeTabSheet, form.LicenseTabSheet, form.DestDirTabSheet,
                                   form.StartTabSheet,   form.InstallingTabSheet, form.FinishTabSheet};
  for (int page = wizard::kWelcomePage; page <= wizard::kFinishPage; ++page) {
    std::vector<ui::TControl*> shown;
    const_cast<ui::TTabSheet*>(sheets[page])->AddWithChildren(shown);
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
