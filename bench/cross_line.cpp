// Times the grep of a pattern whose attempts run on over every line end
// against the fixed string it ends in, on the same file in the same run, and
// prints the processor time of each (the best of several runs) and their
// ratio.  A scan that ran each attempt to its end would take time growing
// with the square of the file; the ratio shows what running them all at once
// costs.
//
//   cross_line_bench FILE [RUNS]              (RUNS default 5)
//   cross_line_bench FILE RUNS PATTERN...     other patterns, timed against the first
//
// bench/cross_line_bench.sh makes the 19 MB corpus and runs it.
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "grep/grep.h"
#include "sjis/exceptions.h"

namespace {

// Processor time of the process so far (user and system), in seconds.
double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct TResult {
  double Seconds;
  long Lines;
};

TResult Time(const std::string& pattern, const std::string& file, int runs) {
  TGrep grep;
  grep.SetPattern(pattern);
  long lines = 0;
  grep.OnMatch = [&](TGrep&, LineInfo_t) { ++lines; };
  double best = 1e9;
  for (int r = 0; r < runs; ++r) {
    lines = 0;
    const double start = ProcessorSeconds();
    grep.GrepFile(file, nullptr);
    best = std::min(best, ProcessorSeconds() - start);
  }
  return {best, lines};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: cross_line_bench FILE [RUNS [PATTERN...]]\n");
    return 2;
  }
  const std::string file = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  std::vector<std::string> patterns;
  for (int i = 3; i < argc; ++i) patterns.emplace_back(argv[i]);
  if (patterns.empty()) patterns = {"zyzzyva", "(.|\\n)*zyzzyva", "[^\\n]*zyzzyva", "zyzzyva(.|\\n)*"};
  try {
    const TResult base = Time(patterns.front(), file, runs);
    std::printf("%-24s %9.4f s  %8ld lines\n", patterns.front().c_str(), base.Seconds, base.Lines);
    for (std::size_t i = 1; i < patterns.size(); ++i) {
      const TResult r = Time(patterns[i], file, runs);
      std::printf("%-24s %9.4f s  %8ld lines  ratio %.2f\n", patterns[i].c_str(), r.Seconds, r.Lines,
                  r.Seconds / std::max(base.Seconds, 1e-6));
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "cross_line_bench: %s\n", e.what());
    return 2;
  }
  return 0;
}
