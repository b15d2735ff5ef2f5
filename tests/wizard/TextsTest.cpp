// The wizard's texts in both languages: the Latvian file matches the program's English
// texts one for one, and every text fits its control at every display scale.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "filectrl/FileCtrlClasses.h"
#include "instutils/FormatText.h"
#include "instutils/Language.h"
#include "instutils/PackedResource.h"
#include "payload/AttachFiles.h"
#include "resources/SetupResources.h"
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
  const payload::TInflatedBytes file = inst::PackedResource(SETUP_RESOURCE_NAME(LATVIAN_TEXTS));
  return inst::ReadLatvianTexts({reinterpret_cast<const char*>(file.data()), file.size()});
}

template <typename String>
std::size_t Count(const String& text, const String& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != String::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The string literals that follow `at` up to the closing parenthesis, joined, with the
// escapes the sources use decoded (ASCII only, as the sources are).
std::wstring LiteralAt(const std::string& source, std::size_t at) {
  std::wstring text;
  while (true) {
    at = source.find_first_not_of(" \t\r\nL", at);
    if (at == std::string::npos || source[at] != '"') return text;
    for (++at; source[at] != '"'; ++at) {
      char c = source[at];
      if (c == '\\') {
        c = source[++at];
        c = c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
      }
      text += static_cast<wchar_t>(c);
    }
    ++at;
  }
}

// Every marked text of one source file by its reference ("wizard/MainDlg.cpp kBackCaption",
// "... PageTitles[2]" for an element of a marked array), as the source writes it.
void AddMarkedTexts(const std::string& file, const std::string& source,
                    std::map<std::string, std::wstring>& out) {
  const std::string mark = "USER_TEXT(";
  for (std::size_t at = source.find(mark); at != std::string::npos; at = source.find(mark, at + 1)) {
    const std::wstring text = LiteralAt(source, at + mark.size());
    if (text.empty()) continue;  // the mark's own definition
    const std::size_t assign = source.rfind('=', at);
    std::size_t nameEnd = source.find_last_not_of(" []0123456789", assign - 1) + 1;
    const std::size_t nameStart = source.find_last_of(" *&\n", nameEnd - 1) + 1;
    std::string name = source.substr(nameStart, nameEnd - nameStart);
    const std::string between = source.substr(assign, at - assign);
    if (between.find('{') != std::string::npos) name += "[" + std::to_string(Count(between, mark)) + "]";
    EXPECT_TRUE(out.emplace(file + " " + name, text).second) << "marked twice: " << file << " " << name;
  }
}

// The program's marked texts: the literals marked in its sources, and the captions of its
// layout as the wizard shows them in English (names filled in).
std::map<std::string, std::wstring> ProgramTexts() {
  namespace fs = std::filesystem;
  std::map<std::string, std::wstring> texts;
  const fs::path root = PROGRAM_SOURCE_DIR;
  for (const char* folder : {"app", "filectrl", "instutils", "payload", "ui", "wizard"})
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root / folder)) {
      const std::string extension = entry.path().extension().string();
      if (extension != ".h" && extension != ".cpp") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string source{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      AddMarkedTexts(entry.path().lexically_relative(root).generic_string(), source, texts);
    }
  EXPECT_GT(texts.size(), 10u) << "no sources under " << PROGRAM_SOURCE_DIR;

  TWizard wizard(TLanguage::English);
  std::vector<ui::TControl*> all;
  wizard.form->AddWithChildren(all);
  const payload::TInflatedBytes file = inst::PackedResource(wizard::kMainDlgLayout);
  std::istringstream layout(std::string(file.begin(), file.end()));
  std::vector<std::string> objects;  // the blocks open at a line, innermost last
  for (std::string line; std::getline(layout, line);) {
    std::istringstream words(line);
    std::string first, second;
    words >> first >> second;
    if (first == "object") objects.push_back(second.substr(0, second.find(':')));
    if (first == "end") objects.pop_back();
    if (first != "Caption" || objects.empty()) continue;
    const auto c = std::find_if(all.begin(), all.end(), [&](auto* c) { return c->Name() == objects.back(); });
    if (c == all.end()) {
      ADD_FAILURE() << "no component " << objects.back();
      continue;
    }
    texts["wizard/MainDlg.layout " + objects.back()] = (*c)->Caption();
  }
  return texts;
}

// Whether `text` is `pattern` with each "%s" kept or filled in with a name.
bool Fills(std::wstring_view pattern, std::wstring_view text) {
  const std::size_t at = pattern.find(L"%s");
  if (at == std::wstring_view::npos) return pattern == text;
  if (text.substr(0, at) != pattern.substr(0, at)) return false;
  for (std::size_t end = at + 1; end <= text.size(); ++end)
    if (Fills(pattern.substr(at + 2), text.substr(end))) return true;
  return false;
}

TEST(LatvianTexts, EachMarkedTextOfTheProgramHasOneLatvianTextAndNoneIsStale) {
  const std::map<std::string, std::wstring> program = ProgramTexts();
  std::map<std::string, std::wstring> translated;
  std::map<std::wstring, int> keys;
  for (const inst::TLatvianText& t : ShippedLatvianTexts()) {
    EXPECT_TRUE(translated.emplace(t.reference, t.english).second) << "twice: " << t.reference;
    EXPECT_EQ(++keys[t.english], 1) << "the English text is the key: " << t.reference;
    EXPECT_FALSE(t.latvian.empty()) << t.reference;
    // The values filled in and the mnemonic come through; the names are written out.
    EXPECT_EQ(Count(t.latvian, std::wstring(L"%s")), Count(t.english, std::wstring(L"%s"))) << t.reference;
    EXPECT_EQ(Count(t.latvian, std::wstring(L"&")), Count(t.english, std::wstring(L"&"))) << t.reference;
    EXPECT_TRUE(program.count(t.reference)) << "no such text in the program: " << t.reference;
  }
  for (const auto& [where, english] : program) {
    const auto t = translated.find(where);
    if (t == translated.end()) {
      ADD_FAILURE() << "no Latvian text for " << where;
    } else {
      EXPECT_TRUE(Fills(english, t->second)) << where;
    }
  }
  // The texts the wizard fills the product's name into are found with the name filled in.
  TWizard wizard(TLanguage::Latvian);
  for (const std::wstring& filled : {wizard::PageTitles[wizard::kWelcomePage], wizard::CloseQuestion()})
    EXPECT_NE(inst::Localized(filled), filled);
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
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 4096;
  info.bmiHeader.biHeight = -256;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
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
    for (const std::wstring& caption : captions) {
      if (const wchar_t key = ui::MnemonicOf(caption)) {
        EXPECT_EQ(++seen[key], 1) << page;
      }
    }
  }
}

}  // namespace
