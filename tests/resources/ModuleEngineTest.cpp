// The module as the host uses it: the payload's hunspell.dll with the payload's Latvian
// dictionary, called directly and through the stand-in host qzv.exe.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "instutils/Handles.h"
#include "tests/common/TestFolder.h"
#include "tests/common/TestProcess.h"
#include "tests/resources/BuildFacts.h"
#include "tests/resources/OwnPayload.h"

namespace {

const char* const kModuleFiles[] = {"Latvian.asc",   "hunspell.dll", "lv_LV.dic",
                                    "lv_LV.aff",     "userdiclv.tlx", "Latvian.hyph"};

// The six module files written from the payload into folder (which must exist).
void InstallModule(const std::string& folder) {
  for (const char* name : kModuleFiles) {
    const std::string contents = OwnPayload().Contents(name);
    inst::UniqueFile file(CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << folder << name;
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), contents.data(), DWORD(contents.size()), &written, nullptr));
    ASSERT_EQ(written, contents.size());
  }
}

// The DLLs an image imports, lower case, read from its import directory.
std::vector<std::string> ImportedDlls(HMODULE module) {
  auto base = reinterpret_cast<const BYTE*>(module);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::vector<std::string> names;
  if (dir.VirtualAddress == 0) return names;
  for (auto d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
       d->Name != 0; ++d) {
    std::string name = reinterpret_cast<const char*>(base + d->Name);
    for (char& c : name) c = char(tolower(static_cast<unsigned char>(c)));
    names.push_back(name);
  }
  return names;
}

template <typename F>
F Proc(HMODULE dll, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

class ModuleEngine : public testing::Test {
 protected:
  void SetUp() override {
    spellcheck_ = home_.MakeFolder("Spellcheck") + "\\";
    InstallModule(spellcheck_);
  }
  testkit::TTestFolder home_;
  std::string spellcheck_;
};

TEST_F(ModuleEngine, DictionaryAcceptsLatvianAndSuggestsForAMisspelling) {
  inst::UniqueLibrary dll(LoadLibraryA((spellcheck_ + "hunspell.dll").c_str()));
  ASSERT_TRUE(dll) << "error " << GetLastError();

  // Only Windows' own DLLs: the C++ runtime and the thread library are linked in.
  for (const std::string& name : ImportedDlls(dll.get()))
    EXPECT_TRUE(name == "kernel32.dll" || name == "msvcrt.dll" || name == "user32.dll" ||
                name == "advapi32.dll")
        << "imports " << name;

  // The C interface under its plain names.
  for (const char* name :
       {"Hunspell_create", "Hunspell_create_key", "Hunspell_destroy", "Hunspell_add_dic",
        "Hunspell_spell", "Hunspell_get_dic_encoding", "Hunspell_suggest", "Hunspell_analyze",
        "Hunspell_stem", "Hunspell_stem2", "Hunspell_generate", "Hunspell_generate2",
        "Hunspell_add", "Hunspell_add_with_affix", "Hunspell_remove", "Hunspell_free_list"})
    EXPECT_NE(GetProcAddress(dll.get(), name), nullptr) << name;

  auto create = Proc<void* (*)(const char*, const char*)>(dll.get(), "Hunspell_create");
  auto destroy = Proc<void (*)(void*)>(dll.get(), "Hunspell_destroy");
  auto spell = Proc<int (*)(void*, const char*)>(dll.get(), "Hunspell_spell");
  auto suggest = Proc<int (*)(void*, char***, const char*)>(dll.get(), "Hunspell_suggest");
  auto freeList = Proc<void (*)(void*, char***, int)>(dll.get(), "Hunspell_free_list");
  auto encoding = Proc<char* (*)(void*)>(dll.get(), "Hunspell_get_dic_encoding");
  ASSERT_TRUE(create && destroy && spell && suggest && freeList && encoding);

  void* h = create((spellcheck_ + "lv_LV.aff").c_str(), (spellcheck_ + "lv_LV.dic").c_str());
  ASSERT_NE(h, nullptr);
  EXPECT_STREQ(encoding(h), "UTF-8");
  EXPECT_NE(spell(h, "labdien"), 0);
  EXPECT_NE(spell(h, "pareizrakst\xC4\xAB" "ba"), 0);  // pareizrakstība
  EXPECT_NE(spell(h, "Labdien"), 0);
  EXPECT_EQ(spell(h, "labdienn"), 0);
  EXPECT_EQ(spell(h, "pareizrakstiba"), 0);  // the long i is not optional

  char** list = nullptr;
  const int n = suggest(h, &list, "labdienn");
  std::vector<std::string> suggestions(list, list + (n > 0 ? n : 0));
  if (n > 0) freeList(h, &list, n);
  EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), "labdien"), suggestions.end())
      << "suggestions: " << testing::PrintToString(suggestions);
  destroy(h);
}

// Starts the stand-in host in the home folder with arguments.
testkit::TProcess StartHost(const std::string& home, const std::string& arguments) {
  return testkit::TProcess("\"" + home + "qzv.exe\" " + arguments, home);
}

// Runs the stand-in host to its end: its exit code, or -1 when it did not end in a minute.
int RunHost(const std::string& home, const std::string& arguments) {
  const testkit::TProcess host = StartHost(home, arguments);
  if (!host.Started()) return -2;
  const DWORD code = host.WaitForExit(60000);
  return code == STILL_ACTIVE ? -1 : int(code);
}

TEST_F(ModuleEngine, HostFindsThePortableModuleAndChecksItsSample) {
  ASSERT_TRUE(CopyFileA(kHostPath, (home_ / "qzv.exe").c_str(), FALSE));
  const std::string report = home_ / "report.txt";
  ASSERT_EQ(RunHost(home_.Path(), "/report \"" + report + "\""), 0);
  const std::string text = testkit::ReadWholeFile(report);
  EXPECT_NE(text.find("[portable Spellcheck] " + spellcheck_ +
                      "\r\n  found: Latvian.asc, hunspell.dll, lv_LV.dic, lv_LV.aff, "
                      "userdiclv.tlx, Latvian.hyph\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Engine: " + spellcheck_ + "hunspell.dll\r\n"), std::string::npos);
  EXPECT_NE(text.find("Misspelt: labdienn -> labdien"), std::string::npos) << text;
  EXPECT_NE(text.find("Result: 9 words checked, 2 misspelt"), std::string::npos) << text;
}

struct TMarkedWindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMarkedWindow(HWND window, LPARAM param) {
  auto search = reinterpret_cast<TMarkedWindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->processId || !GetPropA(window, "1.x Quillmarsh")) return TRUE;
  search->found = window;
  return FALSE;
}

// The top-level window of a process that carries the running-host property, or nullptr.
HWND MarkedWindowOf(DWORD processId) {
  TMarkedWindowSearch search{processId, nullptr};
  EnumWindows(FindMarkedWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(StandInHost, StaysOpenWithItsMarkedWindowUntilClosed) {
  testkit::TTestFolder home;
  ASSERT_TRUE(CopyFileA(kHostPath, (home / "qzv.exe").c_str(), FALSE));
  const testkit::TProcess host = StartHost(home.Path(), "/stay");
  ASSERT_TRUE(host.Started());
  HWND window = nullptr;
  for (DWORD start = GetTickCount(); !window && GetTickCount() - start < 15000;) {
    if (host.WaitForExit(50) != STILL_ACTIVE) break;  // ended early
    window = MarkedWindowOf(host.Id());
  }
  ASSERT_NE(window, nullptr) << "no window with the property \"1.x Quillmarsh\"";
  EXPECT_EQ(GetAncestor(window, GA_ROOT), window);  // a top-level window
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_NE(host.WaitForExit(15000), STILL_ACTIVE);
}

}  // namespace
