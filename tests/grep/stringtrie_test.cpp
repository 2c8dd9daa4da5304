// Fixed-string sets (TGrep::SetStrings) against the one-character scans:
// small random sets over a small alphabet must report what the
// one-character scan of their escaped alternation reports (the trie and the
// set scan, with and without case, whole lines or not); and a set of
// 100,000 words, for which no automaton is built, must report through the
// set scan exactly what the one-character scan through its trie reports.
#include "grep/stringtrie.h"

#include <gtest/gtest.h>

#include <random>
#include <string_view>

#include "grep/grep.h"
#include "support/grep_reports.h"
#include "support/temp_dir.h"

namespace {

using TScanChoice = TGrep::TScanChoice;

std::string Escaped(const std::vector<std::string>& strings, bool wholeLines) {
  std::string all;
  for (const std::string& s : strings) {
    std::string e;
    for (std::size_t i = 0; i < s.size(); ++i) {
      const auto b = static_cast<unsigned char>(s[i]);
      if (IsDBCSLeadByte(b) && i + 1 < s.size()) {
        e += s.substr(i++, 2);
        continue;
      }
      if (std::string_view("\\^$.[]|()*+?").find(s[i]) != std::string_view::npos) e += '\\';
      e += s[i];
    }
    all += (all.empty() ? "(" : "|(") + e + ")";
  }
  return wholeLines ? "^(" + all + ")$" : all;
}

std::vector<TReport> StringReports(const std::vector<std::string>& strings, bool ignoreCase, bool wholeLines,
                                   TScanChoice choice, const std::string& path) {
  TGrep grep;
  grep.ScanChoice = choice;
  grep.SetIgnoreCase(ignoreCase);
  grep.SetStrings(strings, wholeLines);
  return GrepReports(grep, path);
}

}  // namespace

TEST(StringSet, ReportsWhatTheEscapedAlternationReports) {
  std::mt19937 random(27);
  const std::vector<std::string> pieces = {"a", "b", "A", ".", "*", S("猫"), S("ア"), "\xB1", " ", "\x82"};
  const auto text = [&](std::size_t most) {
    std::string s;
    for (std::size_t n = random() % (most + 1); n > 0; --n) s += pieces[random() % pieces.size()];
    return s;
  };
  for (int round = 0; round < 150; ++round) {
    std::vector<std::string> strings;
    for (std::size_t n = 1 + random() % 6; n > 0; --n) {
      std::string s = text(3);
      // A string that ends in a lead byte is no whole characters; the empty
      // string is every line, which the engine does not report as a match.
      if (!EndsInLoneLeadByte(s) && !s.empty()) strings.push_back(s);
    }
    if (strings.empty()) continue;
    std::string content;
    for (int k = random() % 30; k > 0; --k) content += text(8) + (random() % 5 == 0 ? "\r\n" : "\n");
    const TTempFile file(content);
    for (const bool ignoreCase : {false, true}) {
      for (const bool wholeLines : {false, true}) {
        TGrep reference;
        reference.ScanChoice = TScanChoice::OneCharacter;
        reference.SetIgnoreCase(ignoreCase);
        reference.SetPattern(Escaped(strings, wholeLines));
        const std::vector<TReport> expected = GrepReports(reference, file.Path());
        for (const auto choice : {TScanChoice::Fast, TScanChoice::OneCharacter})
          ASSERT_EQ(StringReports(strings, ignoreCase, wholeLines, choice, file.Path()), expected)
              << Hex(Escaped(strings, wholeLines)) << " ignore case " << ignoreCase << " choice "
              << static_cast<int>(choice) << " in " << Hex(content);
      }
    }
  }
}

TEST(StringSet, HundredThousandWordsThroughTheSetScanAsThroughTheTrie) {
  std::mt19937 random(100000);
  const std::string letters = "abcdefghijklmnopqrstuvwxyz";
  const std::vector<std::string> kana = {S("ア"), S("イ"), S("猫"), S("犬")};
  const auto word = [&] {
    std::string w;
    for (std::size_t n = 3 + random() % 6; n > 0; --n)
      w += random() % 8 == 0 ? kana[random() % kana.size()] : std::string(1, letters[random() % letters.size()]);
    return w;
  };
  std::vector<std::string> words;
  for (int k = 0; k < 100000; ++k) words.push_back(word());
  // A word of the set, its letters in upper case half the time.
  const auto some = [&] {
    std::string w = words[random() % words.size()];
    return random() % 2 ? AsciiUpperSjis(w) : w;
  };
  std::string content;
  for (int line = 0; line < 20000; ++line) {
    if (line % 10 == 0) {
      content += some();  // a line that is a word
    } else {
      for (int k = 1 + random() % 3; k > 0; --k) content += word() + (random() % 2 ? " " : "");
      if (random() % 16 == 0) content += some();
    }
    content += line % 7 == 0 ? "\r\n" : "\n";
  }
  const TTempFile file(content);
  for (const bool ignoreCase : {false, true}) {
    for (const bool wholeLines : {false, true}) {
      const std::vector<TReport> expected =
          StringReports(words, ignoreCase, wholeLines, TScanChoice::OneCharacter, file.Path());
      // Neither none nor every line: the sets decide.
      EXPECT_GT(expected.size(), 100u);
      EXPECT_LT(expected.size(), 20000u);
      EXPECT_EQ(StringReports(words, ignoreCase, wholeLines, TScanChoice::Fast, file.Path()), expected)
          << "ignore case " << ignoreCase << " whole lines " << wholeLines;
    }
  }
}
