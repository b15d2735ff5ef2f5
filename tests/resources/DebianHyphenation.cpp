// Built for the build machine and linked with Debian's own libhyphen: hyphenates the stand-in
// word processor's sample words with a pattern file in its own 8-bit character set and
// prints them as the stand-in's report does, "Hyphenated: " and the word with "-" at each
// break point, in UTF-8.
// Usage: debian-hyphenation PATTERN_FILE
#include <hyphen.h>
#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/demo-host/HyphenationSample.h"

namespace {

// Text from one character set to another; exits when it cannot be converted.
std::string Convert(const std::string& text, const std::string& to, const std::string& from) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == iconv_t(-1)) {
    std::fprintf(stderr, "debian-hyphenation: no conversion from %s to %s\n", from.c_str(),
                 to.c_str());
    std::exit(2);
  }
  std::string in = text, out(text.size() * 4 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1);
  iconv_close(cd);
  if (!ok) {
    std::fprintf(stderr, "debian-hyphenation: \"%s\" does not fit %s\n", text.c_str(), to.c_str());
    std::exit(2);
  }
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: debian-hyphenation PATTERN_FILE\n");
    return 2;
  }
  HyphenDict* dict = hnj_hyphen_load(argv[1]);
  if (!dict) {
    std::fprintf(stderr, "debian-hyphenation: cannot load %s\n", argv[1]);
    return 2;
  }
  // The file names its set as "ISO8859-13"; iconv knows it as "ISO-8859-13".
  std::string charset = dict->cset;
  if (charset.rfind("ISO8859-", 0) == 0) charset = "ISO-8859-" + charset.substr(8);
  for (const char* word : host::HyphenationSample) {
    const std::string coded = Convert(word, charset, "UTF-8");
    const int n = int(coded.size());
    std::vector<char> hyphens(n + 5), marked(2 * n + 5);
    char** rep = nullptr;
    int* pos = nullptr;
    int* cut = nullptr;
    hnj_hyphen_hyphenate2(dict, coded.c_str(), n, hyphens.data(), marked.data(), &rep, &pos,
                          &cut);
    if (rep) {
      for (int i = 0; i < n; ++i) std::free(rep[i]);
      std::free(rep);
      std::free(pos);
      std::free(cut);
    }
    // The library marks the break points with "=".
    std::string text = marked.data();
    for (char& c : text)
      if (c == '=') c = '-';
    std::printf("Hyphenated: %s\n", Convert(text, "UTF-8", charset).c_str());
  }
  hnj_hyphen_free(dict);
  return 0;
}
