// The layout reader and what it builds: real windows read back through the system.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>

#include "tests/common/WindowDriver.h"
#include "tests/ui/TestForm.h"
#include "ui/Application.h"
#include "instutils/Widen.h"
#include "ui/LayoutReader.h"

namespace {

// The control's window rectangle in its parent's client coordinates.
RECT RectInParent(ui::TControl* control) {
  RECT r;
  GetWindowRect(control->Handle(), &r);
  MapWindowPoints(nullptr, GetParent(control->Handle()), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ExpectRect(ui::TControl* control, int left, int top, int right, int bottom) {
  const RECT r = RectInParent(control);
  EXPECT_EQ(r.left, left) << control->Name();
  EXPECT_EQ(r.top, top) << control->Name();
  EXPECT_EQ(r.right, right) << control->Name();
  EXPECT_EQ(r.bottom, bottom) << control->Name();
}

// The face the system really uses for a font (after its substitutions and fallbacks).
std::string RealFace(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, LF_FACESIZE, face);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return face;
}

TEST(Layout, BuildsTheWindowsTheLayoutDescribes) {
  TTestForm form;
  HWND h = form.Handle();
  EXPECT_FALSE(IsWindowVisible(h)) << "a built form waits for Show or ShowModal";

  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 300);
  const LONG style = GetWindowLongA(h, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  char caption[64] = {};
  GetWindowTextA(h, caption, sizeof caption);
  EXPECT_STREQ(caption, "Layout test");

  // Aligned controls: along the top at full width, along the right edge at full height.
  ExpectRect(form.TopPanel, 0, 0, 400, 46);
  ExpectRect(form.LeftBevel, 101, 0, 103, 210);
  ExpectRect(form.BottomBevel, 1, 0, 400, 2);
  ExpectRect(form.NextBtn, 215, 10, 300, 32);
  ExpectRect(form.WrapLbl, 12, 8, 212, 68);  // fixed size

  // An edit's height follows its font; an auto-size label its text.
  const TEXTMETRICW dialogFont = form.NameEdt->FontMetrics();
  EXPECT_EQ(form.NameEdt->Height(), dialogFont.tmHeight + 8);
  EXPECT_EQ(form.NameLbl->Height(), dialogFont.tmHeight);
  SIZE text{};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, form.NameLbl->FontHandle());
  GetTextExtentPoint32A(dc, "Home folder:", 12, &text);  // the "&" is not shown
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(form.NameLbl->Width(), text.cx);

  // The title label: its own font, an empty caption measured as one blank.
  const ui::TFont& title = form.TitleLbl->Font();
  EXPECT_EQ(title.Name, L"Arial");
  EXPECT_EQ(title.Height, -15);
  EXPECT_EQ(title.Style, static_cast<unsigned>(ui::TFontStyle::Bold));
  EXPECT_EQ(title.Color, ui::clNavy);
  EXPECT_EQ(form.NameLbl->Font().Name, L"MS Shell Dlg 2") << "other controls keep the form's font";
  EXPECT_EQ(form.TitleLbl->Height(), form.TitleLbl->FontMetrics().tmHeight);
  std::printf("Empty title label: %d x %d; faces: \"MS Shell Dlg 2\" -> \"%s\", \"Arial\" -> \"%s\"\n",
              form.TitleLbl->Width(), form.TitleLbl->Height(),
              RealFace(form.NameLbl->FontHandle()).c_str(), RealFace(form.TitleLbl->FontHandle()).c_str());
  EXPECT_GE(form.TitleLbl->Width(), 3);
  EXPECT_LE(form.TitleLbl->Width(), 5);
  form.TitleLbl->SetCaption(L"Welcome");
  EXPECT_GT(form.TitleLbl->Width(), 40) << "an auto-size label follows its caption";

  // The page container: no tab items, exactly one page shown, filling the area 2 pixels
  // below the tab control's display area.
  HWND tabs = form.Pages->Handle();
  EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 0);
  RECT display;
  GetClientRect(tabs, &display);
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  ExpectRect(form.FirstSheet, display.left, display.top + 2, display.right, display.bottom);
  ExpectRect(form.SecondSheet, display.left, display.top + 2, display.right, display.bottom);
  EXPECT_EQ(form.Pages->ActivePage(), form.FirstSheet);
  EXPECT_TRUE(IsWindowVisible(form.FirstSheet->Handle()) || !IsWindowVisible(h));
  EXPECT_TRUE(GetWindowLongA(form.FirstSheet->Handle(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(GetWindowLongA(form.SecondSheet->Handle(), GWL_STYLE) & WS_VISIBLE);
  form.Pages->SetActivePageIndex(1);
  EXPECT_EQ(form.Pages->ActivePageIndex(), 1);
  EXPECT_FALSE(GetWindowLongA(form.FirstSheet->Handle(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongA(form.SecondSheet->Handle(), GWL_STYLE) & WS_VISIBLE);

  // Events reach the handlers named in the layout, with the sender.
  ui::TControl* sender = nullptr;
  form.onBNClick = [&](ui::TControl* s) { sender = s; };
  SendMessageA(form.BackBtn->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(sender, form.BackBtn);

  // Settings reach the windows: check state, read-only memo with a vertical scroll bar.
  EXPECT_EQ(SendMessageA(form.AcceptChkBx->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  const LONG memoStyle = GetWindowLongA(form.LinesMemo->Handle(), GWL_STYLE);
  EXPECT_TRUE(memoStyle & ES_READONLY);
  EXPECT_TRUE(memoStyle & WS_VSCROLL);
  EXPECT_TRUE(memoStyle & ES_MULTILINE);

  // Control ids are unique and the windows carry them; later siblings lie above.
  std::set<int> ids;
  for (ui::TControl* c : {static_cast<ui::TControl*>(form.Pages), static_cast<ui::TControl*>(form.TopPanel),
                          static_cast<ui::TControl*>(form.NameEdt), static_cast<ui::TControl*>(form.NextBtn)}) {
    EXPECT_EQ(GetDlgCtrlID(c->Handle()), c->ControlId());
    ids.insert(c->ControlId());
  }
  EXPECT_EQ(ids.size(), 4u);
  EXPECT_EQ(GetWindow(form.Pages->Handle(), GW_HWNDNEXT), nullptr) << "the first control lies lowest";
  EXPECT_EQ(GetWindow(h, GW_CHILD), form.BottomPanel->Handle()) << "the last control lies on top";
}

TEST(Layout, FieldsFollowTheComponentNames) {
  // Each field reaches the window its name's block made, told by what the layout gave that
  // block alone: its caption and where it lies.
  TTestForm form;
  const auto text = [](ui::TControl* control) {
    wchar_t buffer[64] = {};
    GetWindowTextW(control->Handle(), buffer, 64);
    return std::wstring(buffer);
  };
  EXPECT_EQ(text(form.NextBtn), L"&Next >");
  EXPECT_EQ(text(form.CancelBtn), L"Cancel");
  EXPECT_EQ(text(form.NameLbl), L"Home &folder:");
  EXPECT_EQ(GetParent(form.NextBtn->Handle()), form.BottomPanel->Handle());
  EXPECT_EQ(GetParent(form.FindChild("SecondLbl")->Handle()), form.SecondSheet->Handle());
  // References between components are bound by name as well.
  EXPECT_EQ(form.NameLbl->FocusControl(), form.NameEdt);
  EXPECT_EQ(form.DefaultButton(), form.NextBtn);
  EXPECT_EQ(form.CancelButton(), form.CancelBtn);
}

TEST(Application, TheFormCarriesTheIconAndOwnsTheMessageBoxes) {
  // The system's application icon stands in for the program's icon resource.
  ui::Application.SetIconResource(nullptr, 32512);
  HWND formWindow = nullptr;
  {
    TTestForm form;
    formWindow = form.Handle();
    EXPECT_EQ(ui::Application.MainWindow(), formWindow);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(formWindow, WM_GETICON, ICON_BIG, 0)),
              ui::Application.Icon());
    EXPECT_NE(SendMessageA(formWindow, WM_GETICON, ICON_SMALL, 0), 0);
    // No hidden window of its own: the form itself stands for the program on the taskbar.
    EXPECT_TRUE(GetWindowLongA(formWindow, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(formWindow, GW_OWNER), nullptr);

    ui::ShowWaitCursor();
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
  }
  EXPECT_EQ(ui::Application.MainWindow(), nullptr);
  EXPECT_FALSE(IsWindow(formWindow)) << "the form's window goes with the form";
}

// A form whose layout comes from text, with one handler of each kind and, on request,
// a field that the layout must provide.
class TTextForm : public ui::TForm {
 public:
  ui::TButton* OkBtn = nullptr;
  TTextForm(const std::string& layout, bool wantField) {
    RegisterTestClasses();
    RegisterHandler("OkBtnClick", &TTextForm::OkBtnClick);
    RegisterHandler("FormCloseQuery", &TTextForm::FormCloseQuery);
    if (wantField) RegisterField("OkBtn", OkBtn);
    LoadLayoutText(layout, "TEXT");
  }
  const char* ClassName() const override { return "TTextForm"; }
  void OkBtnClick(ui::TControl*) {}
  void FormCloseQuery(ui::TControl*, bool&) {}
};

// The text of the error a layout raises (and its line); empty when it builds. The body
// starts on line 3.
std::string LayoutError(const std::string& body, bool wantField = false, int* line = nullptr) {
  const std::string layout = "object BrokenForm: TTextForm\n  Caption = 'Broken layout'\n" + body + "end\n";
  try {
    TTextForm form(layout, wantField);
  } catch (const ui::ELayoutError& e) {
    if (line) *line = e.Line();
    return e.what();
  }
  return {};
}

TEST(Layout, EachKindOfErrorNamesItsCulprit) {
  const struct {
    const char* what;
    std::string body;
    bool wantField;
    const char* culprit;
    int line;  // where the reader places it; 0 for the text as a whole
  } cases[] = {
      {"unknown class", "  object Thing: TNoSuchClass\n  end\n", false, "TNoSuchClass", 3},
      {"unknown property", "  object OkBtn: TButton\n    Colour = clRed\n  end\n", false, "Colour", 4},
      {"unknown component", "  object Lbl: TLabel\n    FocusControl = NoSuchEdt\n  end\n", false, "NoSuchEdt", 4},
      {"unknown handler", "  object OkBtn: TButton\n    OnClick = NoSuchClick\n  end\n", false, "NoSuchClick", 4},
      {"handler of another kind", "  object OkBtn: TButton\n    OnClick = FormCloseQuery\n  end\n", false,
       "FormCloseQuery", 4},
      {"missing field", "  object OtherBtn: TButton\n  end\n", true, "OkBtn", 0},
      {"field of another class", "  object OkBtn: TLabel\n  end\n", true, "OkBtn", 0},
      {"page outside a page control", "  object Page: TTabSheet\n  end\n", false, "TTabSheet", 3},
      {"child of a control that holds none", "  object OkBtn: TButton\n    object Inner: TLabel\n    end\n  end\n",
       false, "Inner", 4},
      {"duplicate name", "  object OkBtn: TButton\n  end\n  object OkBtn: TButton\n  end\n", false, "OkBtn", 5},
      {"value of the wrong kind", "  object OkBtn: TButton\n    Left = 'ten'\n  end\n", false, "Left", 4},
      {"unknown identifier", "  object OkBtn: TButton\n    Visible = Maybe\n  end\n", false, "Visible", 4},
      {"missing end", "  object OkBtn: TButton\n", false, "missing end", 0},
      {"code beyond UTF-16", "  object OkBtn: TButton\n    Caption = #65536\n  end\n", false, "out of range", 4},
  };
  for (const auto& c : cases) {
    int line = -1;
    const std::string error = LayoutError(c.body, c.wantField, &line);
    EXPECT_NE(error.find(c.culprit), std::string::npos) << c.what << ": \"" << error << "\"";
    EXPECT_NE(error.find("layout TEXT"), std::string::npos) << c.what << ": \"" << error << "\"";
    EXPECT_EQ(line, c.line) << c.what;
  }
  // A broken layout never leaves a window behind.
  EXPECT_EQ(FindWindowA(nullptr, "Broken layout"), nullptr);
  // And a sound layout of the same form builds.
  EXPECT_EQ(LayoutError("  object OkBtn: TButton\n    OnClick = OkBtnClick\n  end\n", true), "");
}

TEST(Layout, ReadsEveryKindOfValue) {
  TTextForm form(
      "object ValuesForm: TTextForm\n"
      "  ClientWidth = $12C\n"
      "  ClientHeight = 200\n"
      "  Color = $00800000\n"
      "  // a comment line\n"
      "  object OkBtn: TButton\n"
      "    Caption = 'It''s'#13'two' + \n"
      "      ' lines'\n"
      "    Left = -5\n"
      "    Font.Style = [fsBold, fsItalic]\n"
      "    Font.Color = clNavy\n"
      "    Visible = False\n"
      "  end\n"
      "end\n",
      true);
  EXPECT_EQ(form.ClientWidth(), 300);
  EXPECT_EQ(form.Color(), 0x800000);
  EXPECT_EQ(form.OkBtn->Caption(), L"It's\rtwo lines");
  EXPECT_EQ(form.OkBtn->Left(), -5);
  EXPECT_EQ(form.OkBtn->Font().Style,
            static_cast<unsigned>(ui::TFontStyle::Bold) | static_cast<unsigned>(ui::TFontStyle::Italic));
  EXPECT_FALSE(form.OkBtn->Visible());
  EXPECT_FALSE(GetWindowLongA(form.OkBtn->Handle(), GWL_STYLE) & WS_VISIBLE);
}

// Run on the default Western code page (1252), which has none of these letters: texts
// reach the windows whole, from a layout's #nnn codes and from code alike, while an
// edit's path stays narrow in the ANSI code page.
TEST(Layout, TextsReachTheWindowsWholeOnAnyCodePage) {
  const std::wstring latvian = L"\u0100 \u0137 \u017E \u0161";  // A-macron k-cedilla z-caron s-caron
  TTextForm form(
      "object TextsForm: TTextForm\n"
      "  Caption = #256' '#311' '#382' '#353\n"
      "  object OkBtn: TButton\n"
      "  end\n"
      "  object PathEdt: TEdit\n"
      "  end\n"
      "end\n",
      true);
  EXPECT_EQ(form.Caption(), latvian);
  EXPECT_EQ(testkit::WindowText(form.Handle()), latvian);
  form.OkBtn->SetCaption(latvian);
  EXPECT_EQ(testkit::WindowText(form.OkBtn->Handle()), latvian);

  auto* edit = dynamic_cast<ui::TEdit*>(form.FindChild("PathEdt"));
  ASSERT_NE(edit, nullptr);
  edit->SetText("C:\\J\xE2nis");
  EXPECT_EQ(testkit::WindowText(edit->Handle()), inst::Widen("C:\\J\xE2nis"));
  EXPECT_EQ(edit->Text(), "C:\\J\xE2nis");
}

}  // namespace
