// The sample words hyphenated with the installed patterns through libhyphen, which the
// word processor links in.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <hyphen.h>

#include "tools/demo-host/HostReport.h"
#include "tools/demo-host/HyphenationSample.h"

namespace host {

namespace {

struct TFileCloser {
  void operator()(FILE* file) const { fclose(file); }
};
struct TPatternsFreer {
  void operator()(HyphenDict* dict) const { hnj_hyphen_free(dict); }
};
using UniquePatterns = std::unique_ptr<HyphenDict, TPatternsFreer>;

// The library takes the character set from the file's first line, so a byte-order mark in
// front of it is skipped first. Text mode, as the library opens files itself: CR LF line
// ends reach it as LF.
UniquePatterns LoadPatterns(const std::string& path) {
  std::unique_ptr<FILE, TFileCloser> file(fopen(path.c_str(), "r"));
  if (!file) return nullptr;
  char mark[3];
  if (fread(mark, 1, 3, file.get()) != 3 || memcmp(mark, "\xEF\xBB\xBF", 3) != 0)
    rewind(file.get());
  return UniquePatterns(hnj_hyphen_load_file(file.get()));
}

// The word (coded in the patterns' character set) with "-" at every break point. The
// library numbers the break points by character: by byte in an 8-bit set, by UTF-8
// sequence in UTF-8.
std::string Hyphenate(HyphenDict* dict, const std::string& word) {
  const int n = int(word.size());
  std::string hyphens(n + 5, '\0');
  char** rep = nullptr;
  int* pos = nullptr;
  int* cut = nullptr;
  const bool failed =
      hnj_hyphen_hyphenate2(dict, word.c_str(), n, hyphens.data(), nullptr, &rep, &pos, &cut) != 0;
  if (rep) {  // non-standard breaks, which the Latvian patterns do not use
    for (int i = 0; i < n; ++i) free(rep[i]);
    free(rep);
    free(pos);
    free(cut);
  }
  if (failed) return word;
  std::string marked;
  int character = 0;
  for (int i = 0; i < n; ++i) {
    marked += word[i];
    const bool lastByte = i + 1 == n || !dict->utf8 || (word[i + 1] & 0xC0) != 0x80;
    if (!lastByte) continue;
    if (i + 1 < n && (hyphens[character] & 1)) marked += '-';
    ++character;
  }
  return marked;
}

}  // namespace

std::string HyphenateSample(const std::string& folder) {
  const std::string path = folder + "Latvian.hyph";
  std::string out = "Patterns: " + Utf8(path);
  UniquePatterns dict = LoadPatterns(path);
  if (!dict) return out + "\r\nHyphenation: the patterns cannot be read\r\n";
  const UINT codePage = CodePageOf(dict->cset);
  out += std::string(" (") + dict->cset + ")\r\n";
  if (codePage == 0) return out + "Hyphenation: the patterns' character set is not known\r\n";
  for (const char* word : HyphenationSample) {
    const std::string coded = Recode(word, CP_UTF8, codePage);
    out += "Hyphenated: " + Recode(Hyphenate(dict.get(), coded), codePage, CP_UTF8) + "\r\n";
  }
  return out;
}

}  // namespace host
