// Long plain texts read straight from the pattern (plaintext.h) against the
// parser's way: the same chain and the same required bytes and prefix, for
// random texts of letters, digits, double-byte characters and the
// full-width forms of metacharacters; any metacharacter, escape or short
// text is left to the parser.
#include "regexp/plaintext.h"

#include <gtest/gtest.h>

#include <random>

#include "regexp/parser.h"
#include "regexp/required.h"
#include "support/sjis_literals.h"

namespace {

// The chain and required bytes as the parser's tree gives them.
struct TByParser {
  TByParser(const std::string& pattern, bool dbMeta, bool ignoreCase) : Parser(pattern, dbMeta) {
    Parser.IgnoreCase = ignoreCase;
    Parser.Parse();
  }
  TRegExpParser Parser;
};

std::string RandomText(std::mt19937& random, std::size_t bytes) {
  static const std::string pieces[] = {"a",     "Z",     "q",     "7",     " ",     "/",        S("検"),    S("あ"),
                                       S("＊"), S("（"), S("｜"), S("ｘ"), S("＄"), "\x82\x5C", "\xFC\x40", "\x7F"};
  std::string text;
  while (text.size() < bytes) text += pieces[random() % std::size(pieces)];
  return text;
}

}  // namespace

TEST(PlainText, ReadsWhatTheParserBuilds) {
  std::mt19937 random(27);
  for (int round = 0; round < 60; ++round) {
    const std::string text = RandomText(random, kLongPlainText + random() % 300);
    const bool dbMeta = round % 3 == 0;
    const bool ignoreCase = round % 2 == 0;
    const std::optional<TPlainText> plain = ReadPlainText(text, dbMeta, ignoreCase);
    // Full-width metacharacters are special only with double-byte operators.
    const bool wideMeta = text.find(S("＊")) != std::string::npos || text.find(S("（")) != std::string::npos ||
                          text.find(S("｜")) != std::string::npos || text.find(S("＄")) != std::string::npos;
    ASSERT_EQ(plain.has_value(), !(dbMeta && wideMeta)) << Hex(text);
    if (!plain) continue;
    TByParser parsed(text, dbMeta, ignoreCase);
    const TParseNode* top = parsed.Parser.ParseTree->TopNode;
    const std::optional<TChain> chain = FindChain(top, '\n', '\n');
    ASSERT_TRUE(chain.has_value());
    EXPECT_EQ(plain->Chain.Ranges, chain->Ranges) << Hex(text);
    EXPECT_EQ(plain->Chain.StepEnds, chain->StepEnds) << Hex(text);
    const TRequiredBytes required = FindRequiredBytes(top);
    const TRequiredBytes prefix = FindRequiredPrefix(top);
    EXPECT_EQ(plain->Bytes, required.Bytes) << Hex(text);
    EXPECT_EQ(plain->Bytes, prefix.Bytes) << Hex(text);
    EXPECT_EQ(plain->FoldsCase, required.FoldsCase) << Hex(text);
  }
}

TEST(PlainText, LeavesEverythingElseToTheParser) {
  const std::string text(kLongPlainText, 'a');
  EXPECT_TRUE(ReadPlainText(text, false, false).has_value());
  EXPECT_FALSE(ReadPlainText(text.substr(1), false, false).has_value()) << "short";
  for (const std::string& tail : std::vector<std::string>{"$", "(", ")", "*", "+", ".", "?", "|", "]", "^", "[", "\\",
                                                          std::string(1, '\0'), std::string("\x82"), S("￥")})
    EXPECT_FALSE(ReadPlainText(text + tail, true, false).has_value()) << Hex(tail);
  EXPECT_TRUE(ReadPlainText(text + S("￥"), false, false).has_value()) << "the full-width yen is plain without them";
}
