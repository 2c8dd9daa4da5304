// Times the compile of patterns of at most 255 bytes that make the compile
// work hard, and prints each time and the worst.
//
//   compile_bound_bench               the fixed family of adversarial patterns
//   compile_bound_bench random N [S]  also N random combinations of their
//                                     building blocks (seed S)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "adversarial_patterns.h"
#include "regexp/messages.h"
#include "regexp/regexp.h"
#include "sjis/exceptions.h"

namespace {

struct Timing {
  double ms;
  std::string outcome;
};

Timing TimeCompile(const adversarial::Pattern& p) {
  TAWKStr re;
  re.SetIgnoreCase(p.ignoreCase);
  re.SetAcceptDBMeta(p.dbMeta);
  const auto start = std::chrono::steady_clock::now();
  std::string outcome = "compiled";
  try {
    re.SetPattern(p.text);
  } catch (const ERegExpParser& e) {
    outcome = (e.Message() == sjis_text::kMsgTooComplex ? "too complex at " : "pattern error at ") +
              std::to_string(e.Position);
  } catch (const std::exception& e) {
    outcome = std::string("failed: ") + e.what();
  }
  const auto stop = std::chrono::steady_clock::now();
  if (outcome == "compiled") outcome += ", " + std::to_string(re.CurrentDFA()->States.size()) + " states";
  return {std::chrono::duration<double, std::milli>(stop - start).count(), outcome};
}

// Random patterns of up to 255 bytes glued from the family's building blocks.
std::vector<adversarial::Pattern> RandomFamily(int count, unsigned seed) {
  using adversarial::Kanji;
  const std::vector<std::string> blocks = {"[ab]", "(a|b)", ".",      "[^a]",   "a",     "b",      "(",
                                           ")",    ")*",    ")+",     "*",      "?",     "|",      "^",
                                           "$",    "x*",    Kanji(0), Kanji(1), "[!-~]", "[\"-}]", "[\\x01-\\xFCFC]",
                                           "\\n"};
  std::mt19937 rng(seed);
  std::vector<adversarial::Pattern> out;
  for (int i = 0; i < count; ++i) {
    std::string text;
    int depth = 0;
    while (text.size() < 200 + rng() % 56) {
      std::string b = blocks[rng() % blocks.size()];
      if (b == "(") ++depth;
      if (b[0] == ')') {
        if (depth == 0) continue;
        --depth;
      }
      if ((b == "*" || b == "?") && (text.empty() || text.back() == '(' || text.back() == '|' || text.back() == '*' ||
                                     text.back() == '+' || text.back() == '?'))
        continue;
      if (text.size() + b.size() + static_cast<std::size_t>(depth) > 255) break;
      text += b;
    }
    while (depth-- > 0) text += ")";
    out.push_back({"random " + std::to_string(i), text, rng() % 4 == 0, false});
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<adversarial::Pattern> patterns = adversarial::Family();
  if (argc >= 3 && std::string(argv[1]) == "random") {
    const unsigned seed = argc >= 4 ? static_cast<unsigned>(std::atoi(argv[3])) : 1;
    for (auto& p : RandomFamily(std::atoi(argv[2]), seed)) patterns.push_back(std::move(p));
  }
  double worst = 0;
  std::string worstName;
  for (const auto& p : patterns) {
    const Timing t = TimeCompile(p);
    std::printf("%9.2f ms  %3zu bytes  %-45s %s\n", t.ms, p.text.size(), p.name.c_str(), t.outcome.c_str());
    if (t.ms > worst) {
      worst = t.ms;
      worstName = p.name;
    }
  }
  std::printf("worst: %.2f ms (%s) over %zu patterns\n", worst, worstName.c_str(), patterns.size());
  return 0;
}
