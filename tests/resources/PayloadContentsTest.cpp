// The payload as Setup.exe carries it: the nine files in order, unchanged, with the build's
// date-time, and the module files in the form the host reads them.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "instutils/DateTime.h"
#include "tests/common/TestFolder.h"
#include "tests/resources/BuildFacts.h"
#include "tests/resources/OwnPayload.h"

namespace {

double BuildDate() {
  inst::DateTimeParts p;
  p.year = kPayloadDateParts[0];
  p.month = kPayloadDateParts[1];
  p.day = kPayloadDateParts[2];
  p.hour = kPayloadDateParts[3];
  p.minute = kPayloadDateParts[4];
  p.second = kPayloadDateParts[5];
  return inst::EncodeDateTime(p);
}

TEST(SetupPayload, HoldsTheNineFilesInOrderUnchangedAndDatedAlike) {
  const TOwnPayload& own = OwnPayload();
  ASSERT_GE(own.Resource.size(), 2u) << "no FILES/FILES resource";
  EXPECT_EQ(own.Resource[0], 0x78);  // zlib, 32 KB window, level 9
  EXPECT_EQ(own.Resource[1], 0xDA);
  EXPECT_EQ(std::string(own.Resource.begin(), own.Resource.end()),
            testkit::ReadWholeFile(kBuiltPayload))
      << "the linked resource differs from the packed payload";

  const char* const names[] = {"License.txt", "hunspell.dll", "Latvian.asc",
                               "userdiclv.tlx", "lv_LV.dic", "lv_LV.aff",
                               "Latvian.hyph", "Logo.bmp", "LogoSmall.bmp"};
  ASSERT_EQ(own.Entries.size(), std::size(names));
  ASSERT_EQ(std::size(kPayloadSources), std::size(names));
  const double date = BuildDate();
  for (size_t i = 0; i < own.Entries.size(); ++i) {
    const payload::EntryView& e = own.Entries[i];
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(e.name, names[i]);
    EXPECT_EQ(e.date, date);  // exactly: installed files are compared with it for equality
    const std::string source = testkit::ReadWholeFile(kPayloadSources[i].Path);
    EXPECT_EQ(own.Contents(e.name), source) << kPayloadSources[i].Path;
    if (e.name != "userdiclv.tlx") {
      EXPECT_FALSE(source.empty());
    }
  }
  EXPECT_EQ(own.Contents("userdiclv.tlx"), "");
}

TEST(SetupPayload, LicenceIsPlainTextWithLineFeeds) {
  const std::string text = OwnPayload().Contents("License.txt");
  EXPECT_GT(text.size(), 1000u);
  EXPECT_EQ(text.find('\r'), std::string::npos);
  for (unsigned char c : text)
    ASSERT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << "byte " << int(c);
}

TEST(SetupPayload, LanguageDescriptorNamesEngineAndLexicons) {
  const std::string text = OwnPayload().Contents("Latvian.asc");
  for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
    ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << "a line without CR LF at " << at;

  // Read back by Windows' own INI reader, as the host does.
  testkit::TTestFolder folder;
  const std::string path = folder.WriteFile("Latvian.asc", text);
  auto value = [&](const char* section, const char* key) {
    char buffer[256] = "";
    GetPrivateProfileStringA(section, key, "<none>", buffer, sizeof buffer, path.c_str());
    return std::string(buffer);
  };
  EXPECT_EQ(value("General", "Language"), "1062");
  EXPECT_EQ(value("General", "Engine"), "hunspell");
  EXPECT_EQ(value("Fixed Lexicons", "Count"), "1");
  EXPECT_EQ(value("Fixed Lexicons", "Lexicon1"), "lv_LV.dic");
  EXPECT_EQ(value("Editable Lexicons", "Count"), "1");
  EXPECT_EQ(value("Editable Lexicons", "Lexicon1"), "userdiclv.tlx");
}

TEST(SetupPayload, HyphenationPatternsAreUtf8WithByteOrderMark) {
  const std::string text = OwnPayload().Contents("Latvian.hyph");
  ASSERT_GT(text.size(), 3u);
  EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  const std::string body = text.substr(3);
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, body.data(),
                                    int(body.size()), nullptr, 0);
  ASSERT_GT(n, 0) << "not valid UTF-8";
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, body.data(), int(body.size()), wide.data(), n);
  // The first line names the character set the patterns are now in.
  EXPECT_EQ(wide.substr(0, wide.find_first_of(L"\r\n")), L"UTF-8");
  // Latvian letters came across from ISO-8859-13 (where 0xFE is z with caron, not thorn).
  EXPECT_NE(wide.find(L"d4\u017E"), std::wstring::npos);
  EXPECT_NE(wide.find(L"\u0101"), std::wstring::npos);  // a with macron
}

// Logo.bmp and LogoSmall.bmp, loaded by Windows from files as the wizard loads them.
TEST(SetupPayload, LogosHaveTheirSizesAndColourDepths) {
  struct TLogo {
    const char* name;
    int width, height, bits;
  } const logos[] = {{"Logo.bmp", 120, 260, 4}, {"LogoSmall.bmp", 32, 32, 8}};
  testkit::TTestFolder folder;
  for (const TLogo& logo : logos) {
    SCOPED_TRACE(logo.name);
    const std::string path = folder.WriteFile(logo.name, OwnPayload().Contents(logo.name));
    HANDLE image = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                              LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    ASSERT_NE(image, nullptr);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectA(image, sizeof dib, &dib), int(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, logo.width);
    EXPECT_EQ(dib.dsBm.bmHeight, logo.height);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, logo.bits);
    EXPECT_EQ(dib.dsBmih.biClrUsed, 1u << logo.bits);
    DeleteObject(image);
  }
}

}  // namespace
