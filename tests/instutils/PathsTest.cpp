#include <windows.h>

#include <gtest/gtest.h>

#include "instutils/InstUtils.h"

using namespace inst;

namespace {

std::string WithBackslash(std::string path) {
  IncludeBackslash(path);
  return path;
}

TEST(Paths, IncludeBackslashLooksOnlyAtTheLastCharacter) {
  EXPECT_EQ(WithBackslash(""), "");
  EXPECT_EQ(WithBackslash("C:"), "C:\\");
  EXPECT_EQ(WithBackslash("C:\\temp/"), "C:\\temp\\");
  EXPECT_EQ(WithBackslash("C:\\temp\\"), "C:\\temp\\");
  EXPECT_EQ(WithBackslash("C:\\temp//"), "C:\\temp/\\");
  EXPECT_EQ(WithBackslash("\\"), "\\");
}

TEST(Paths, JoinPathAddsOneSeparatorAndKeepsTheName) {
  EXPECT_EQ(JoinPath("", "qzv.exe"), "qzv.exe");
  EXPECT_EQ(JoinPath("C:\\Tools", "qzv.exe"), "C:\\Tools\\qzv.exe");
  EXPECT_EQ(JoinPath("C:\\Tools/", "a"), "C:\\Tools\\a");
  EXPECT_EQ(JoinPath("C:\\Tools", "\\a"), "C:\\Tools\\\\a");
}

TEST(Paths, CharacterEditsLeaveEmptyTextEmpty) {
  std::string text = "abc";
  EXPECT_EQ(LastChar(text), 'c');
  DeleteFirstChar(text);
  EXPECT_EQ(text, "bc");
  DeleteLastChar(text);
  EXPECT_EQ(text, "b");
  DeleteLastChar(text);
  DeleteLastChar(text);
  DeleteFirstChar(text);
  EXPECT_EQ(text, "");
  EXPECT_EQ(LastChar(text), '\0');
}

TEST(Paths, SameNameIgnoresLetterCaseAndNothingElse) {
  EXPECT_TRUE(SameName("c:\\a\\", "C:\\A\\"));
  EXPECT_FALSE(SameName("C:\\A", "C:\\A\\"));
  EXPECT_FALSE(SameName("C:/A", "C:\\A"));
  EXPECT_TRUE(SameName("", ""));
  // Accented letters of the ANSI code page are upper-cased too: e-acute, a-ring.
  EXPECT_TRUE(SameName("C:\\caf\xE9\\\xE5", "C:\\CAF\xC9\\\xC5"));
  EXPECT_FALSE(SameName("C:\\caf\xE9", "C:\\cafe"));
  // Embedded NULs are compared like any other byte.
  EXPECT_FALSE(SameName(std::string("a\0b", 3), std::string("a\0c", 3)));
}

TEST(Paths, DrivePartTakesTheLetterOrTheShare) {
  EXPECT_EQ(DrivePart("C:\\Program Files\\x"), "C:");
  EXPECT_EQ(DrivePart("e:"), "e:");
  EXPECT_EQ(DrivePart("\\\\server\\share\\dir\\file"), "\\\\server\\share");
  EXPECT_EQ(DrivePart("\\\\server\\share"), "\\\\server\\share");
  EXPECT_EQ(DrivePart("relative\\path"), "");
  EXPECT_EQ(DrivePart("\\rooted"), "");
  EXPECT_EQ(DrivePart(""), "");
}

}  // namespace
