// What the benchmark programs share: a high-resolution clock, medians of paired samples
// and the rows of the one table that bench/run prints.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace bench {

// Milliseconds on the performance counter.
inline double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / perMs;
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One sample of the measured thing and one of its baseline per round, so that a slow
// moment of the machine weighs on both sides of a ratio alike.
class TPairs {
 public:
  void Add(double subject, double baseline) {
    subject_.push_back(subject);
    baseline_.push_back(baseline);
    ratio_.push_back(baseline > 0 ? subject / baseline : 0);
  }
  std::size_t Rounds() const { return subject_.size(); }
  double Subject() const { return Median(subject_); }
  double Baseline() const { return Median(baseline_); }
  double Ratio() const { return Median(ratio_); }
  // Every sample, for the log beside the table.
  void Dump(const std::string& what) const {
    std::fprintf(stderr, "%s:\n", what.c_str());
    for (std::size_t i = 0; i < subject_.size(); ++i)
      std::fprintf(stderr, "  %8.1f %8.1f\n", subject_[i], baseline_[i]);
  }

 private:
  std::vector<double> subject_, baseline_, ratio_;
};

// Samples of several measurements taken in the same rounds; each round begins one further
// along, so that no measurement always comes first or always follows the same one.
inline std::vector<std::vector<double>> Rounds(int rounds,
                                               const std::vector<std::function<double()>>& measures) {
  std::vector<std::vector<double>> samples(measures.size());
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t i = 0; i < measures.size(); ++i) {
      const std::size_t m = (round + i) % measures.size();
      samples[m].push_back(measures[m]());
    }
  }
  return samples;
}

// Two series of the same rounds, sample by sample.
inline TPairs Pairs(const std::vector<double>& subject, const std::vector<double>& baseline) {
  TPairs pairs;
  for (std::size_t i = 0; i < subject.size() && i < baseline.size(); ++i)
    pairs.Add(subject[i], baseline[i]);
  return pairs;
}

// A table row: | what | measured | against | ratio | baseline build | measured / baseline build |.
// The last two are empty on the peers' rows and when no baseline build is measured.
inline void Row(const std::string& what, const std::string& measured, const std::string& against,
                const std::string& ratio, const std::string& build = "",
                const std::string& buildRatio = "") {
  std::printf("| %s | %s | %s | %s | %s | %s |\n", what.c_str(), measured.c_str(), against.c_str(),
              ratio.c_str(), build.c_str(), buildRatio.c_str());
  std::fflush(stdout);
}

inline std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Marks a baseline-build cell of a row that the baseline build cannot run (a revision
// from before what the row measures).
inline const char kNotMeasured[] = "\u2014";

// A timing row from paired rounds: medians of both sides and the median paired ratio; with
// `build`, our samples paired with the baseline build's of the same rounds (none taken:
// the build cannot run this).
inline void TimeRow(const std::string& what, const TPairs& pairs,
                    const std::optional<TPairs>& build = std::nullopt) {
  pairs.Dump(what);
  std::string buildTime, buildRatio;
  if (build) {
    build->Dump(what + ", against the baseline build");
    buildTime = build->Rounds() ? Format("%.1f ms", build->Baseline()) : kNotMeasured;
    buildRatio = build->Rounds() ? Format("%.2f", build->Ratio()) : kNotMeasured;
  }
  Row(what + " (median of " + std::to_string(pairs.Rounds()) + ")",
      Format("%.1f ms", pairs.Subject()), Format("%.1f ms", pairs.Baseline()),
      Format("%.2f", pairs.Ratio()), buildTime, buildRatio);
}

// Byte counts with thousands separators, as a reader of the table wants them.
inline std::string Bytes(unsigned long long n) {
  std::string digits = std::to_string(n), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out + " B";
}

// A benchmark that cannot go on; main reports it after every started program has ended.
struct TFailure {
  std::string why;
};
[[noreturn]] inline void Fail(const std::string& why) { throw TFailure{why}; }

// Runs a benchmark's body: 0, or 1 with the reason on stderr.
template <typename Body>
int Main(Body body) {
  try {
    body();
    return 0;
  } catch (const TFailure& f) {
    std::fprintf(stderr, "bench: %s\n", f.why.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench: %s\n", e.what());
  }
  return 1;
}

}  // namespace bench
