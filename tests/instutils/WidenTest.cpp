#include <windows.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "instutils/Widen.h"

namespace {

// Run once on the default code page and once with a Baltic ANSI code page (see
// CMakeLists.txt), where the system's own conversion would read 0xE2 as a-macron.
TEST(Widen, ReadsCodePage1252WhateverTheAnsiCodePage) {
  if (const char* expected = std::getenv("INSTUTILS_EXPECT_ACP")) {
    ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
  }
  EXPECT_EQ(inst::Widen(""), L"");
  EXPECT_EQ(inst::Widen("C:\\\xE2\x80\x9A\xFF"), L"C:\\\u00E2\u20AC\u0161\u00FF");
  // Embedded NULs and bytes 0x81 (no character in 1252) keep their places.
  const std::wstring odd = inst::Widen(std::string("a\0\x81z", 4));
  ASSERT_EQ(odd.size(), 4u);
  EXPECT_EQ(odd[0], L'a');
  EXPECT_EQ(odd[1], L'\0');
  EXPECT_EQ(odd[3], L'z');
}

}  // namespace
