// What the automaton built from a pattern tells the scans: its fixed string
// and whether a line can hold it.  Whether the automata match the right text,
// and which anchors anchor, is the matching tests' business (match_test.cpp).
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dfa.h"
#include "nfa.h"
#include "parser.h"
#include "sjis_literals.h"

namespace {

constexpr TCharCode kHead = 0xFFFD;  // the component's line codes
constexpr TCharCode kTail = 0xFFFE;

struct Built {
  std::unique_ptr<TRegExpParser> parser;
  std::unique_ptr<TNFA> nfa;
  std::unique_ptr<TDFA> dfa;
};

// Runs the compile steps in their order and keeps every stage for a look;
// lineCodes: the grep's line feeds as anchor codes instead of the component's.
Built Build(const std::string& pattern, bool ignoreCase = false, bool dbMeta = false, bool lineCodes = false) {
  Built b;
  b.parser = std::make_unique<TRegExpParser>(pattern, dbMeta);
  b.parser->IgnoreCase = ignoreCase;
  b.parser->Parse();
  b.nfa = std::make_unique<TNFA>(b.parser.get());
  b.nfa->LineHeadCode = lineCodes ? '\n' : kHead;
  b.nfa->LineTailCode = lineCodes ? '\n' : kTail;
  b.nfa->Build();
  b.dfa = std::make_unique<TDFA>(b.nfa.get(), dbMeta, ignoreCase);
  b.dfa->Build();
  return b;
}

}  // namespace

TEST(Literals, FixedStringsAndWhetherTextCanHoldThem) {
  struct TCase {
    std::string Pattern;
    bool IgnoreCase;
    bool LineCodes;
    std::optional<std::string> Literal;  // none: no fixed string
    bool IsText = true;
  };
  const std::vector<TCase> cases = {
      {"ab|ab", false, false, "ab"},
      {"(ab)(c)()d", false, false, "abcd"},
      {"[a][b-b]", false, false, "ab"},
      {"", false, false, ""},
      {"\\x82A0", false, false, S("あ")},
      {S("ｱｲ"), false, false, S("ｱｲ")},
      {"123", true, false, "123"},
      {S("＾a"), false, false, S("＾a")},
      {"a\\0b", false, false, std::string("a\0b", 3), false},  // the reader turns a zero byte into a space
      // The component's line codes, a lone lead byte and a code without its
      // lead byte are no text that a line can hold.
      {"abc$", false, false, "abc\xFF\xFE", false},
      {"a\\x82", false, false, "a\x82", false},
      {"\\x4142", false, false, "AB", false},
      {"^abc$", false, true, "\nabc\n"},
      {"^abc", false, true, "\nabc"},
      {"abc", true, false, std::nullopt},
      {"a|b", false, false, std::nullopt},
      {"a?", false, false, std::nullopt},
      {"ab*", false, false, std::nullopt},
      {"[ab]", false, false, std::nullopt},
      {".", false, false, std::nullopt},
  };
  for (const TCase& c : cases) {
    Built b = Build(c.Pattern, c.IgnoreCase, false, c.LineCodes);
    EXPECT_EQ(b.dfa->IsLiteral, c.Literal.has_value()) << Hex(c.Pattern);
    EXPECT_EQ(Hex(b.dfa->Literal), Hex(c.Literal.value_or(""))) << Hex(c.Pattern);
    EXPECT_EQ(b.dfa->LiteralIsText, c.Literal && c.IsText) << Hex(c.Pattern);
  }
}
