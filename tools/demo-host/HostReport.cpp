#include "tools/demo-host/HostReport.h"

#include <windows.h>
#include <shlobj.h>

#include "instutils/Handles.h"

namespace host {

const char* const ModuleFiles[6] = {"Latvian.asc",   "hunspell.dll", "lv_LV.dic",
                                    "lv_LV.aff",     "userdiclv.tlx", "Latvian.hyph"};

namespace {

// A sentence with two misspelt words, "labdienn" and "valodaa".
const char SampleSentence[] =
    "Labdien! \xC5\xA0\xC4\xAB ir latvie\xC5\xA1u valodas pareizrakst\xC4\xAB"
    "bas p\xC4\x81rbaude: labdienn, valodaa.";

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// Words of UTF-8 text: runs of ASCII letters and non-ASCII characters.
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 0x80 || isalpha(u)) {
      word += c;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

// The engine's C interface, looked up by name in the installed hunspell.dll.
struct TEngine {
  using Create = void* (*)(const char* aff, const char* dic);
  using Destroy = void (*)(void* handle);
  using Spell = int (*)(void* handle, const char* word);
  using Suggest = int (*)(void* handle, char*** list, const char* word);
  using FreeList = void (*)(void* handle, char*** list, int n);
  using Encoding = char* (*)(void* handle);

  inst::UniqueLibrary Library;
  Create create = nullptr;
  Destroy destroy = nullptr;
  Spell spell = nullptr;
  Suggest suggest = nullptr;
  FreeList freeList = nullptr;
  Encoding encoding = nullptr;

  bool Load(const std::string& path) {
    Library.reset(LoadLibraryA(path.c_str()));
    if (!Library) return false;
    create = Proc<Create>("Hunspell_create");
    destroy = Proc<Destroy>("Hunspell_destroy");
    spell = Proc<Spell>("Hunspell_spell");
    suggest = Proc<Suggest>("Hunspell_suggest");
    freeList = Proc<FreeList>("Hunspell_free_list");
    encoding = Proc<Encoding>("Hunspell_get_dic_encoding");
    return create && destroy && spell && suggest && freeList && encoding;
  }

  template <typename F>
  F Proc(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Library.get(), name)));
  }
};

// The sample sentence checked with the module files of one folder.
std::string CheckSample(const std::string& folder) {
  std::string out = "Engine: " + Utf8(folder) + "hunspell.dll\r\n";
  TEngine engine;
  if (!engine.Load(folder + "hunspell.dll")) return out + "Result: the engine cannot be loaded\r\n";
  void* handle = engine.create((folder + "lv_LV.aff").c_str(), (folder + "lv_LV.dic").c_str());
  if (!handle) return out + "Result: the dictionary cannot be opened\r\n";
  std::string encoding = engine.encoding(handle);
  UINT codePage = CodePageOf(encoding);
  out += "Dictionary: " + Utf8(folder) + "lv_LV.dic (" + encoding + ")\r\n";
  if (codePage == 0) {
    engine.destroy(handle);
    return out + "Result: the dictionary's character set is not known\r\n";
  }
  out += std::string("Sample: ") + SampleSentence + "\r\n";
  int checked = 0, misspelt = 0;
  for (const std::string& word : Words(SampleSentence)) {
    ++checked;
    std::string coded = Recode(word, CP_UTF8, codePage);
    if (engine.spell(handle, coded.c_str())) continue;
    ++misspelt;
    out += "Misspelt: " + word + " ->";
    char** list = nullptr;
    int n = engine.suggest(handle, &list, coded.c_str());
    for (int i = 0; i < n; ++i)
      out += std::string(i ? ", " : " ") + Recode(list[i], codePage, CP_UTF8);
    if (n > 0) engine.freeList(handle, &list, n);
    out += "\r\n";
  }
  engine.destroy(handle);
  return out + "Result: " + std::to_string(checked) + " words checked, " +
         std::to_string(misspelt) + " misspelt\r\n";
}

}  // namespace

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Recode(const std::string& text, UINT from, UINT to) {
  if (text.empty() || from == to) return text;
  int wide = MultiByteToWideChar(from, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring w(wide, L'\0');
  MultiByteToWideChar(from, 0, text.data(), int(text.size()), w.data(), wide);
  int narrow = WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(narrow, '\0');
  WideCharToMultiByte(to, 0, w.data(), wide, out.data(), narrow, nullptr, nullptr);
  return out;
}

std::string Utf8(const std::string& ansi) { return Recode(ansi, CP_ACP, CP_UTF8); }

UINT CodePageOf(std::string name) {
  for (char& c : name) c = char(toupper(static_cast<unsigned char>(c)));
  if (name == "UTF-8") return CP_UTF8;
  if (name == "ISO8859-13") return 28603;
  if (name == "ISO8859-1") return 28591;
  if (name == "ISO8859-2") return 28592;
  if (name == "ISO8859-4") return 28594;
  if (name == "MICROSOFT-CP1257" || name == "CP1257") return 1257;
  return 0;
}

std::string CommonAppData() {
  char path[MAX_PATH] = "";
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, path))) return {};
  std::string folder = path;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::vector<TModuleFolder> FindModuleFolders() {
  std::vector<TModuleFolder> folders;
  std::string program = ProgramFolder();
  std::string shared = CommonAppData();
  for (const char* sub : {"Spellcheck", "Orthographe"})
    folders.push_back({std::string("portable ") + sub, program + sub + "\\", {}});
  if (!shared.empty())
    for (const char* sub : {"Spellcheck", "Orthographe"})
      folders.push_back(
          {std::string("shared ") + sub, shared + "Zentrova\\Public\\" + sub + "\\", {}});
  for (TModuleFolder& folder : folders)
    for (const char* name : ModuleFiles) folder.Present.push_back(FileExists(folder.Path + name));
  return folders;
}

std::string BuildReport() {
  std::string folders;
  std::string engineFolder, patternFolder;
  for (const TModuleFolder& folder : FindModuleFolders()) {
    std::string found, missing;
    for (size_t i = 0; i < folder.Present.size(); ++i) {
      std::string& list = folder.Present[i] ? found : missing;
      list += std::string(list.empty() ? " " : ", ") + ModuleFiles[i];
    }
    folders += "\r\n[" + folder.Kind + "] " + Utf8(folder.Path) + "\r\n";
    if (!found.empty()) folders += "  found:" + found + "\r\n";
    if (!missing.empty()) folders += "  missing:" + missing + "\r\n";
    // hunspell.dll, lv_LV.dic and lv_LV.aff make the engine work.
    if (engineFolder.empty() && folder.Present[1] && folder.Present[2] && folder.Present[3])
      engineFolder = folder.Path;
    if (patternFolder.empty() && folder.Present[5]) patternFolder = folder.Path;
  }
  std::string out = "Zentrova Word Processor (stand-in host)\r\n\r\n";
  out += engineFolder.empty() ? "Result: no folder holds the engine and the dictionary\r\n"
                              : CheckSample(engineFolder);
  out += "\r\n";
  out += patternFolder.empty() ? "Hyphenation: no folder holds Latvian.hyph\r\n"
                               : HyphenateSample(patternFolder);
  return out + "\r\n" + DescribeInstallRecords() + folders;
}

}  // namespace host
