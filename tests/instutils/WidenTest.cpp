#include <windows.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "instutils/Widen.h"

namespace {

// Run once on the default code page (1252) and once with a Baltic one (1257, see
// CMakeLists.txt): narrow text is read in the code page the narrow calls speak.
TEST(Widen, ReadsTheAnsiCodePage) {
  if (const char* expected = std::getenv("INSTUTILS_EXPECT_ACP")) {
    ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
  }
  EXPECT_EQ(inst::Widen(""), L"");
  EXPECT_EQ(inst::Widen("C:\\J\xE2nis\\\xF0"),
            GetACP() == 1257 ? L"C:\\J\u0101nis\\\u0161" : L"C:\\J\u00E2nis\\\u00F0");
  // Embedded NULs and bytes 0x81 (no character in either code page) keep their places.
  const std::wstring odd = inst::Widen(std::string("a\0\x81z", 4));
  ASSERT_EQ(odd.size(), 4u);
  EXPECT_EQ(odd[0], L'a');
  EXPECT_EQ(odd[1], L'\0');
  EXPECT_EQ(odd[3], L'z');
}

// The counterpart: a character without a place in the code page becomes '?', never a
// look-alike (best fit would make a-macron 'a' on 1252 and so name another folder).
TEST(Widen, NarrowsBackWithoutLookAlikes) {
  bool lossy = true;
  EXPECT_EQ(inst::Narrow(L"", &lossy), "");
  EXPECT_FALSE(lossy);
  EXPECT_EQ(inst::Narrow(inst::Widen("C:\\J\xE2nis"), &lossy), "C:\\J\xE2nis");
  EXPECT_FALSE(lossy);
  const std::string narrowed = inst::Narrow(L"C:\\J\u0101nis \u4E2D", &lossy);
  EXPECT_EQ(narrowed, GetACP() == 1257 ? "C:\\J\xE2nis ?" : "C:\\J?nis ?");
  EXPECT_TRUE(lossy);
}

// Windows set to UTF-8 as its ANSI code page refuses MB_PRECOMPOSED and
// WC_NO_BEST_FIT_CHARS with ERROR_INVALID_FLAGS (Wine takes any flags, so the choice is
// checked here): every path would widen to empty text. The code page of this run (1252,
// or 1257 on the Baltic run) takes them.
TEST(Widen, FlagsOnlyForCodePagesThatTakeThem) {
  EXPECT_TRUE(inst::TakesConversionFlags(GetACP()));
  EXPECT_FALSE(inst::TakesConversionFlags(CP_UTF8));
}

}  // namespace
