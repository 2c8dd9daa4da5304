// The assertion matcher against a reference: a matcher that computes, by
// brute force over the pattern's own tree, every end of a match from every
// start, on random extended patterns with assertions over short lines of
// single-byte and double-byte characters.  The engine's automaton, built
// from the same tree with the assertions as the empty string, must find a
// match wherever the reference does, and the same match when no assertion
// was left out.
#include "regexp/assertion_matcher.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "regexp/posix_lower.h"
#include "regexp/regexp.h"
#include "sjis/exceptions.h"
#include "support/sjis_literals.h"

namespace {

struct TChars {
  std::vector<std::size_t> Starts;  // byte offset of each character, then the line's size
  std::vector<TCharCode> Codes;
};

TChars Characters(const std::string& line) {
  TChars c;
  for (int p = 1; p <= static_cast<int>(line.size());) {
    c.Starts.push_back(static_cast<std::size_t>(p - 1));
    c.Codes.push_back(NextChar(line, p));
  }
  c.Starts.push_back(line.size());
  return c;
}

bool Word(TCharCode c) { return c == '_' || (c < 0x80 && std::isalnum(c)) || c > 0xFF; }

// Every index k (of the character boundary Starts[k]) where a match of node
// that starts at boundary i can end.
std::set<std::size_t> Ends(const TPosixPattern& p, int node, const TChars& c, std::size_t i) {
  const TPosixNode& n = p.Nodes[static_cast<std::size_t>(node)];
  const std::size_t count = c.Codes.size();
  switch (n.Op) {
    case TPosixOp::Set:
      if (i < count && n.Set.Contains(c.Codes[i])) return {i + 1};
      return {};
    case TPosixOp::Empty:
      return {i};
    case TPosixOp::Assert: {
      const bool before = i > 0 && Word(c.Codes[i - 1]), after = i < count && Word(c.Codes[i]);
      const bool holds[] = {i == 0, i == count, before != after, before == after, !before && after, before && !after};
      return holds[static_cast<int>(n.Assertion)] ? std::set<std::size_t>{i} : std::set<std::size_t>{};
    }
    case TPosixOp::Concat: {
      std::set<std::size_t> out;
      for (std::size_t m : Ends(p, n.Left, c, i)) out.merge(Ends(p, n.Right, c, m));
      return out;
    }
    case TPosixOp::Union: {
      std::set<std::size_t> out = Ends(p, n.Left, c, i);
      out.merge(Ends(p, n.Right, c, i));
      return out;
    }
    case TPosixOp::Star: {
      std::set<std::size_t> out{i}, frontier{i};
      while (!frontier.empty()) {
        std::set<std::size_t> next;
        for (std::size_t m : frontier)
          for (std::size_t e : Ends(p, n.Left, c, m))
            if (out.insert(e).second) next.insert(e);
        frontier = std::move(next);
      }
      return out;
    }
  }
  return {};
}

// "pos+len" of the leftmost-longest match, in bytes, or "none".
std::string Reference(const TPosixPattern& p, const std::string& line) {
  const TChars c = Characters(line);
  for (std::size_t i = 0; i < c.Starts.size(); ++i) {
    const std::set<std::size_t> ends = Ends(p, p.Top, c, i);
    if (!ends.empty())
      return std::to_string(c.Starts[i]) + "+" + std::to_string(c.Starts[*ends.rbegin()] - c.Starts[i]);
  }
  return "none";
}

std::string RandomPattern(std::mt19937& rng, int depth) {
  static const std::vector<std::string> atoms = {"a",    "b",   " ",   S("ア"), "_",         "[ab]",
                                                 "[^a]", ".",   "\\w", "\\W",   "\\b",       "\\B",
                                                 "\\<",  "\\>", "^",   "$",     S("[ア-ン]")};
  static const std::vector<std::string> postfix = {"", "", "", "*", "+", "?", "{1,2}", "{2}"};
  const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
  std::string out;
  const std::size_t length = 1 + pick(4);
  for (std::size_t k = 0; k < length; ++k) {
    std::string atom =
        depth < 2 && pick(5) == 0 ? "(" + RandomPattern(rng, depth + 1) + ")" : atoms[pick(atoms.size())];
    out += atom + postfix[pick(postfix.size())];
  }
  if (pick(4) == 0) out += "|" + RandomPattern(rng, depth + 1);
  return out;
}

std::string RandomLine(std::mt19937& rng) {
  static const std::vector<std::string> chars = {"a", "b", " ", S("ア"), "_", S("ン"), "-"};
  std::string line;
  const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 7)(rng);
  for (std::size_t k = 0; k < length; ++k)
    line += chars[std::uniform_int_distribution<std::size_t>(0, chars.size() - 1)(rng)];
  return line;
}

TEST(TAssertionMatcher, AgreesWithTheReferenceAndTheAutomatonNeverLosesAMatch) {
  std::mt19937 rng(29);
  int withAssertions = 0, compiled = 0;
  for (int round = 0; round < 1500; ++round) {
    const std::string pattern = RandomPattern(rng, 0);
    const TPosixPattern tree = ParsePosix(pattern, synExtended, false, lfNever);
    const TAssertionMatcher matcher(tree);
    const bool leftOut = NeedsAssertionCheck(tree);
    TAWKStr engine;
    engine.SetRules({false, lfNever, synExtended, false});
    try {
      engine.SetPattern(pattern);
    } catch (const ERegExpParser&) {
      continue;  // beyond the automaton's bound (a few long patterns)
    }
    ++compiled;
    withAssertions += leftOut;
    for (int k = 0; k < 8; ++k) {
      const std::string line = RandomLine(rng);
      const std::string expected = Reference(tree, line);
      std::size_t pos, len;
      const std::string found =
          matcher.Find(line, 0, pos, len) ? std::to_string(pos) + "+" + std::to_string(len) : "none";
      ASSERT_EQ(found, expected) << Hex(pattern) << " in " << Hex(line);
      int ePos, eLen;
      const bool engineFound = engine.Match(line, ePos, eLen) != 0;
      if (leftOut)
        ASSERT_TRUE(engineFound || expected == "none") << Hex(pattern) << " in " << Hex(line);
      else
        ASSERT_EQ(engineFound ? std::to_string(ePos - 1) + "+" + std::to_string(eLen) : "none", expected)
            << Hex(pattern) << " in " << Hex(line);
    }
  }
  EXPECT_GT(compiled, 1400);
  EXPECT_GT(withAssertions, 300);  // the assertions were exercised
}

TEST(TAssertionMatcher, LongestAtEndsByTheLimitAndSeesTheWholeLine) {
  const TAssertionMatcher matcher(ParsePosix("ab*\\>|a$", synExtended, false, lfNever));
  std::size_t len;
  EXPECT_TRUE(matcher.LongestAt("abbb", 0, 4, len) && len == 4);
  EXPECT_FALSE(matcher.LongestAt("abbb", 0, 3, len));  // "\>" sees the "b" after the limit
  EXPECT_FALSE(matcher.LongestAt("a a", 2, 2, len) && len == 0);
  EXPECT_TRUE(matcher.LongestAt("a a", 2, 3, len) && len == 1);
}

}  // namespace
