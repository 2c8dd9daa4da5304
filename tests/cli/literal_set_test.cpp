// -F: the patterns as one set of strings (each once, in order, a broken
// double-byte character named as the engine names it), and the set's
// matches within a line against the engine's: random sets of words over a
// small alphabet, escaped as patterns for TLineMatcher, with and
// without -i, -w and -x, from every character start of random lines.
#include "cli/literal_set.h"

#include <gtest/gtest.h>

#include <random>

#include "support/sjis_literals.h"

namespace {

TOptions Flags(const std::string& flags) {
  TOptions o;
  o.Syntax = TSyntax::Fixed;
  o.WholeLine = flags.find('x') != std::string::npos;
  o.Word = flags.find('w') != std::string::npos;
  o.IgnoreCase = flags.find('i') != std::string::npos;
  return o;
}

// The engine pattern of the words escaped, as the patterns of the same
// options without -F.
TEnginePattern EscapedPattern(const std::vector<std::string>& words, TOptions options) {
  std::vector<std::string> patterns;
  for (const std::string& w : words) {
    std::string& escaped = patterns.emplace_back();
    for (std::size_t i = 0; i < w.size(); i += CharLength(w, i)) {
      if (CharLength(w, i) == 1 && std::string_view("\\^$.[]|()*+?").find(w[i]) != std::string_view::npos)
        escaped += '\\';
      escaped += w.substr(i, CharLength(w, i));
    }
  }
  options.Syntax = TSyntax::Engine;
  return BuildEnginePattern(patterns, options);
}

std::string Found(const TMatchFinder& finder, const std::string& line, std::size_t from) {
  std::size_t pos, len;
  return finder.Find(line, from, pos, len) ? std::to_string(pos) + "+" + std::to_string(len) : "none";
}

}  // namespace

TEST(FixedStringsPattern, EachStringOnceInOrder) {
  const TEnginePattern p = FixedStringsPattern({"a.b*", S("表[ー"), "a.b*", "", ""}, Flags(""));
  ASSERT_TRUE(p.Literals);
  EXPECT_EQ(p.Literals->Strings, (std::vector<std::string>{"a.b*", S("表[ー"), ""}));
  EXPECT_TRUE(p.EveryLine);
  EXPECT_FALSE(p.None);
  EXPECT_FALSE(FixedStringsPattern({"a", ""}, Flags("x")).EveryLine) << "-x: the empty string is the empty line";
  EXPECT_TRUE(FixedStringsPattern({}, Flags("")).None) << "an empty -f file";
  try {
    FixedStringsPattern({"ok", "ok", "ab\x82"}, Flags(""));
    ADD_FAILURE() << "a lone lead byte";
  } catch (const TPatternError& e) {
    EXPECT_EQ(e.Message, expected::kBadDoubleByte);
    EXPECT_EQ(e.Index, 2u);
    EXPECT_EQ(e.Position, 3);
  }
}

TEST(TLiteralFinder, FindsWhatTheEnginePatternFinds) {
  std::mt19937 random(2727);
  const std::vector<std::string> pieces = {"a", "b", "A", " ", "-", "_", S("猫"), S("ア"), "\xB1", "(", "."};
  const auto text = [&](std::size_t most) {
    std::string s;
    for (std::size_t n = random() % (most + 1); n > 0; --n) s += pieces[random() % pieces.size()];
    return s;
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> words;
    for (std::size_t n = 1 + random() % 5; n > 0; --n) words.push_back(text(3));
    const std::string flags =
        std::string(random() % 2 ? "i" : "") + (random() % 2 ? "w" : "") + (random() % 5 == 0 ? "x" : "");
    const TOptions o = Flags(flags);
    const TEnginePattern set = FixedStringsPattern(words, o);
    const TLiteralFinder finder(*set.Literals, o.IgnoreCase, o.Word, o.WholeLine);
    const TLineMatcher engine(EscapedPattern(words, o));
    for (int k = 0; k < 10; ++k) {
      const std::string line = k == 0 && !words.front().empty() ? words.front() : text(12);
      for (std::size_t from = 0; from <= line.size(); from += from < line.size() ? CharLength(line, from) : 1) {
        std::size_t pos, len;
        const std::string expected =
            engine.Find(line, from, pos, len) ? std::to_string(pos) + "+" + std::to_string(len) : "none";
        ASSERT_EQ(Found(finder, line, from), expected) << "words " << Hex(EscapedPattern(words, TOptions()).Pattern)
                                                       << " " << flags << " in " << Hex(line) << " from " << from;
      }
    }
  }
}
