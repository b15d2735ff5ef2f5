#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "instutils/SetupMessage.h"
#include "tests/common/TestProcess.h"
#include "tests/common/WindowDriver.h"

using inst::SetupMessage;
using inst::TButtonSet;
using inst::TDialogKind;
using testkit::TBoxAnswerer;
using testkit::TBoxIcon;
using testkit::TMessageBox;

namespace {

const wchar_t kCaption[] = L"Zentrova Latvian Spellchecker - Setup";

TDialogKind Kind(int value) { return static_cast<TDialogKind>(value); }

// Shows a box and presses `press`; returns what the box showed and what SetupMessage gave.
struct TShown {
  TMessageBox box;
  int result = 0;
};
TShown ShowAndPress(const std::wstring& text, TDialogKind kind, TButtonSet buttons, int press) {
  TBoxAnswerer answerer(press);
  const int result = SetupMessage(text, kind, buttons);
  const auto& seen = answerer.Seen();
  return {seen.empty() ? TMessageBox{} : seen.front(), result};
}

TEST(Messages, EachKindShowsItsIcon) {
  const struct {
    int kind;
    TBoxIcon icon;
  } cases[] = {{0, TBoxIcon::Warning},
               {1, TBoxIcon::Error},
               {2, TBoxIcon::Information},
               {3, TBoxIcon::Question},
               {4, TBoxIcon::Error}};  // kinds without a meaning show the error icon
  for (const auto& c : cases) {
    const TShown shown = ShowAndPress(L"kind", Kind(c.kind), inst::buttons::OK, IDOK);
    EXPECT_EQ(shown.box.icon, c.icon)
        << "kind " << c.kind << " showed " << testkit::IconName(shown.box.icon);
    EXPECT_EQ(shown.box.caption, kCaption);
    EXPECT_EQ(shown.result, IDOK);
  }
}

TEST(Messages, EachButtonSetShowsItsButtonsAndReturnsThePressedOne) {
  // Between them the presses reach every result but Ignore (pressed further below).
  const struct {
    TButtonSet set;
    std::vector<int> ids;
    int press;
  } cases[] = {{112, {IDABORT, IDRETRY, IDIGNORE}, IDABORT},
               {12, {IDOK, IDCANCEL}, IDCANCEL},
               {40, {IDRETRY, IDCANCEL}, IDRETRY},
               {40, {IDRETRY, IDCANCEL}, IDCANCEL},
               {3, {IDYES, IDNO}, IDNO},
               {11, {IDYES, IDNO, IDCANCEL}, IDYES},
               {4, {IDOK}, IDOK},
               {7, {IDOK}, IDOK},
               {0, {IDOK}, IDOK},
               {112 | 1, {IDOK}, IDOK}};  // only whole sets count
  for (const auto& c : cases) {
    const TShown shown = ShowAndPress(L"buttons", TDialogKind::Question, c.set, c.press);
    EXPECT_EQ(shown.box.ButtonIds(), c.ids) << "set " << c.set;
    EXPECT_EQ(shown.result, c.press) << "set " << c.set << ", pressed " << c.press;
  }
}

TEST(Messages, BareCarriageReturnsBreakLines) {
  const TShown three = ShowAndPress(L"first\rsecond\r\rfourth", TDialogKind::Warning,
                                    inst::buttons::OK, IDOK);
  EXPECT_EQ(three.box.text, L"first\rsecond\r\rfourth");
  EXPECT_EQ(three.box.textLines, 4);
  const TShown one = ShowAndPress(L"one line", TDialogKind::Warning, inst::buttons::OK, IDOK);
  EXPECT_EQ(one.box.textLines, 1);
}

// A text beyond any ANSI code page shows whole.
TEST(Messages, LatvianTextsShowWhole) {
  const std::wstring latvian = L"\u0100 \u0137 \u017E \u0161 \u201C\u20AC\u201D";
  EXPECT_EQ(ShowAndPress(latvian, TDialogKind::Error, inst::buttons::OK, IDOK).box.text, latvian);
}

TEST(Messages, OwnedByTheMainWindowOnceSet) {
  HWND main = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                              nullptr, nullptr, nullptr);
  ASSERT_NE(main, nullptr);
  inst::SetMessageOwner(main);
  const TShown owned = ShowAndPress(L"owned", TDialogKind::Information, inst::buttons::OK, IDOK);
  inst::SetMessageOwner(nullptr);
  DestroyWindow(main);
  EXPECT_EQ(owned.box.owner, main);
  const TShown unowned = ShowAndPress(L"unowned", TDialogKind::Information, inst::buttons::OK, IDOK);
  EXPECT_EQ(unowned.box.owner, nullptr);
}

TEST(Messages, ABoxThatCannotBeShownCountsAsTheWayOut) {
  HWND gone = CreateWindowExW(0, L"STATIC", L"gone", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                              nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  inst::SetMessageOwner(gone);  // an owner that no longer exists: the box fails
  // Abort above all: the file store asks again on anything but Abort and Ignore.
  const struct {
    TButtonSet set;
    int result;
  } cases[] = {{112, IDABORT}, {40, IDCANCEL}, {11, IDCANCEL}, {12, IDCANCEL}, {3, IDNO}, {4, IDOK}};
  for (const auto& c : cases)
    EXPECT_EQ(SetupMessage(L"never shown", TDialogKind::Question, c.set), c.result) << "set " << c.set;
  inst::SetMessageOwner(nullptr);
}

// The way the end-to-end tests drive Setup.exe: the box belongs to another process.
TEST(Messages, DrivenInAnotherProcess) {
  std::string host = MESSAGE_BOX_HOST;
  for (char& c : host)
    if (c == '/') c = '\\';
  const testkit::TProcess process("\"Z:" + host + "\" 3 40 \"Retry?\\rOr not.\"");
  ASSERT_TRUE(process.Started());
  const auto box = testkit::WaitForMessageBox(testkit::kWindowTimeoutMs, process.Id());
  if (box) {
    EXPECT_EQ(box->caption, kCaption);
    EXPECT_EQ(box->text, L"Retry?\rOr not.");
    EXPECT_EQ(box->icon, TBoxIcon::Question) << testkit::IconName(box->icon);
    EXPECT_EQ(box->ButtonIds(), (std::vector<int>{IDRETRY, IDCANCEL}));
    EXPECT_TRUE(testkit::PressButton(box->window, IDRETRY));
  }
  const DWORD exitCode = process.WaitForExit(testkit::kWindowTimeoutMs);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(exitCode, static_cast<DWORD>(IDRETRY));
}

}  // namespace
