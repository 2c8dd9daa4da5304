// The whole-line and cross-line scans against the one-character scans:
// random patterns from the whole grammar over random files must give exactly
// the same reports through every scan choice (the automaton-only scan holds
// the literal scans to the chain of their characters), every reported line
// must be the file's line of that number (the file cut at line ends
// independently of the reader, whose line counting the scans share), and the
// lines handed out as they stand in the file must be the file; all of it
// with lead bytes before line ends paired with them and alone.
// KOVALEX_DIFFERENTIAL_ROUNDS raises the number of rounds (tools/differential.sh).
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <random>

#include "support/grep_reports.h"
#include "support/temp_dir.h"

namespace {

int Rounds(int normal) {
  const char* env = std::getenv("KOVALEX_DIFFERENTIAL_ROUNDS");
  return env != nullptr ? std::max(1, std::atoi(env)) : normal;
}

// The parts of a UTF-8 list separated by "|", each in Shift-JIS.
std::vector<std::string> SjisParts(const std::string& list) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t bar; (bar = list.find('|', from)) != std::string::npos; from = bar + 1)
    parts.push_back(S(list.substr(from, bar - from)));
  parts.push_back(S(list.substr(from)));
  return parts;
}

// Random patterns over a small alphabet, so that matches are frequent.
class TPatternMaker {
 public:
  // Without repetition an attempt is as long as the pattern at most, which
  // keeps the one-character scans fast over lines longer than a block.
  TPatternMaker(std::mt19937& random, bool repetition) : FRandom(random), FRepetition(repetition) {}

  std::string Pattern() {
    const int k = Pick(15);
    if (k == 0) return "^" + Expression(2);
    if (k == 1) return Expression(2) + "$";
    if (k == 2) return "(^|[ " + S("■●") + "({\\[\"'\\-])" + Expression(1) + "([ )\"'\\]}:;.,!?\\-]|$)";
    if (k == 3) return Expression(1) + (FRepetition ? "[A-Za-z0-9%]*" : "[A-Za-z0-9%]?") + Expression(1);
    if (k <= 5) return Words(1 + Pick(16));
    if (k == 6) return Atom() + Atom() + Expression(2);  // a fixed start: attempts begin only where it stands
    if (k <= 8) return (Pick(4) == 0 ? "^" : "") + Words(0) + (Pick(4) == 0 ? "$" : "");  // a fixed string
    return Expression(3);
  }

 private:
  int Pick(int n) { return static_cast<int>(FRandom() % static_cast<unsigned>(n)); }

  // Alternations of ASCII, double-byte and mixed words (searched for as a
  // set of strings), anchored or followed by more; one word alone.
  std::string Words(int more) {
    static const std::vector<std::string> chars = {"a",     "b",     "c",    "A", S("あ"), S("い"),
                                                   S("ア"), S("ヂ"), "\xB1", " ", "\xA0"};
    std::string words;
    for (int k = more; k >= 0; --k) {
      for (int len = 1 + Pick(4); len > 0; --len) words += chars[static_cast<std::size_t>(Pick(11))];
      if (k > 0) words += "|";
    }
    const int anchor = more == 0 ? 3 : Pick(4);
    if (anchor == 0) return "^(" + words + ")";
    if (anchor == 1) return "(" + words + ")$";
    return anchor == 2 ? "(" + words + ")" + Atom() : words;
  }

  std::string Expression(int depth) {
    std::string e = Term(depth);
    if (depth > 0 && Pick(4) == 0) e += "|" + Term(depth - 1);
    return e;
  }

  std::string Term(int depth) {
    std::string t;
    for (int n = 1 + Pick(3); n > 0; --n) t += Factor(depth);
    return t;
  }

  std::string Factor(int depth) {
    const std::string f = depth > 0 && Pick(5) == 0 ? "(" + Expression(depth - 1) + ")" : Atom();
    static const char* const kRepeat[] = {"*", "+", "?", "", "", ""};
    return f + kRepeat[FRepetition ? Pick(6) : 2 + Pick(4)];
  }

  std::string Atom() {
    static const std::vector<std::string> atoms = [] {
      std::vector<std::string> a = SjisParts(
          "a|b|A|c|.|[ab]|[^a]|[a-c]|[^\\n]|\\x41|\\t| |\\n|[\\x01-\\x7F]|あ|い|ア|ヂ|■|\\^|\\$|[あ-ん]|[^あ]|"
          "\\x82|\\x820A|[\\x8100-\\x82FF]|\\ｎ|＊");
      a.push_back("\xB1");
      return a;
    }();
    return atoms[static_cast<std::size_t>(Pick(static_cast<int>(atoms.size())))];
  }

  std::mt19937& FRandom;
  bool FRepetition;
};

std::string RandomText(std::mt19937& random, int pieces) {
  static const std::vector<std::string> parts = {
      "a",     "b",     "A",     "ab",    "c",    " ",    "\n",   "\r\n",   "\r",       std::string(1, '\0'),
      S("あ"), S("い"), S("ア"), S("ヂ"), S("■"), "\xB1", "\x82", "\x82\n", "\x82\r\n", "\xA0",
      "^",     "$",     "\t",    "cat ",  "(a)",  "-b-",  S("●")};
  std::string text;
  for (int k = 0; k < pieces; ++k) text += parts[random() % parts.size()];
  return text;
}

// Files with the given contents, kept for the test's length.
struct TFiles {
  explicit TFiles(const std::vector<std::string>& contents) {
    for (const std::string& c : contents) Paths.push_back(Files.emplace_back(c).Path());
  }
  std::deque<TTempFile> Files;
  std::vector<std::string> Paths;
};

// Compares every scan with the one-character scans for one pattern over the
// given files, with lead bytes before line ends paired with the line end
// and alone.
void Compare(const std::string& pattern, bool ignoreCase, bool dbMeta, const std::vector<std::string>& files) {
  for (const bool loneLeadBytes : {false, true}) {
    TScanComparison scans(loneLeadBytes);
    if (!scans.SetPattern(pattern, ignoreCase, dbMeta)) return;
    for (const std::string& path : files) ASSERT_EQ(scans.Check(path), "") << "lone lead bytes " << loneLeadBytes;
  }
}

}  // namespace

// Files of several blocks: lines longer than a block, double-byte characters
// and CR LF pairs cut by block boundaries, a lead byte at the end; attempts
// that run on past their line end, which the look-ahead carries through
// later lines and blocks, reading CR LF (kept in the text) as the line feed,
// also when a lead byte before the CR pairs with that line feed.
TEST(FastScanDifferential, RandomPatternsOverFilesOfSeveralBlocks) {
  std::mt19937 random(1206);
  TPatternMaker maker(random, false);
  const int block = TTxtFile::BufSize;
  std::vector<std::string> contents{RandomText(random, 50) + std::string(block + 300, 'x') + "ab" + S("あ") + "\n" +
                                    RandomText(random, 50)};
  // Double-byte characters across the first block boundary (the first block
  // holds the sentinel line feed too, so try every alignment near it).
  for (int shift = -3; shift <= 1; ++shift) {
    std::string text(static_cast<std::size_t>(block - 1 + shift), 'a');
    for (int k = 0; k < 40; ++k) text += S("あい") + "\r\n" + "\x82";
    contents.push_back(text + RandomText(random, 40));
  }
  std::string mixed;
  while (static_cast<int>(mixed.size()) < 3 * block) mixed += RandomText(random, 200);
  contents.push_back(mixed + "\x82");
  // "cat" lines whose "dog" comes some lines later, the last line feeds of
  // the first block at every alignment near its end.
  for (int shift = -4; shift <= 2; shift += 2) {
    std::string text(static_cast<std::size_t>(block - 20 + shift), 'a');
    text += "\r\ncat\r\nx\x82\r\n" + S("猫") + "\r\n\x82\r\ndog!\r\ncat\r\n" + S("犬") + "\r\n";
    for (int k = 0; k < 300; ++k) text += "cat " + S("あ") + "\x82\r\nzz\r\n";
    contents.push_back(text + "dog\r\n");
  }
  const TFiles files(contents);
  for (int k = Rounds(60); k > 0 && !HasFatalFailure(); --k)
    Compare(maker.Pattern(), random() % 3 == 0, false, files.Paths);
  for (const std::string& fixed : SjisParts("ab|xab|a|\\n|^|$|^xx|あい|い\\r?\\n?\\x82|cat[^!]*dog|^cat[^!]*dog|t\\n猫|t\\nx|"
                                            "\\x82\\nd|^[^a]*!|cat(.|\\n)*犬|zz\\n\\x82"))
    Compare(fixed, false, false, files.Paths);
  // A fixed string that begins with a line feed, found where that line feed
  // is the second byte of a lead byte and a kept CR.
  const TTempFile pair("a\x82\r\n\xB1\x82\r\n");
  for (const bool ignoreCase : {false, true}) Compare("^\xB1", ignoreCase, false, {pair.Path()});
}

// Random patterns over small files of many short lines (lead bytes before
// line feeds included), and patterns whose attempts run on over line feeds,
// however far, for the scan that runs all starts at once; the bounded ones
// also over a file of several blocks.
TEST(FastScanDifferential, RandomPatternsOverSmallFiles) {
  std::mt19937 random(16016);
  TPatternMaker maker(random, true);
  // The first three run a bounded way; the others may run to the end of the
  // file, where the one-character scans take time growing with the square
  // of its length.
  const std::vector<std::string> glue =
      SjisParts("\\n|\\n?|\\n.*\\n|(.|\\n)*|[\\x01-\\x7F]*|[^b]*\\n|(a\\n|b)*|(\\n|あ)+");
  std::string big;
  while (static_cast<int>(big.size()) < 2 * TTxtFile::BufSize) big += RandomText(random, 300);
  const TTempFile bigFile(big + "\x82");
  for (int round = Rounds(60); round > 0; --round) {
    std::vector<std::string> contents;
    for (int k = 0; k < 4; ++k) contents.push_back(RandomText(random, static_cast<int>(random() % 120)));
    TFiles files(contents);
    for (int k = 0; k < 25 && !HasFatalFailure(); ++k) {
      if (k % 4 != 0) {
        Compare(maker.Pattern(), random() % 3 == 0, random() % 4 == 0, files.Paths);
        continue;
      }
      const std::size_t g = random() % glue.size();
      const std::string pattern = maker.Pattern() + glue[g] + (random() % 3 == 0 ? std::string() : maker.Pattern());
      if (g < 3) files.Paths.push_back(bigFile.Path());
      Compare(pattern, random() % 3 == 0, false, files.Paths);
      if (g < 3) files.Paths.pop_back();
    }
  }
  // The last line that holds the required bytes, counted in the 1 MB chunks
  // of the search made before the scan: a CR LF and a lone CR cut by a
  // chunk's end, the line after them the one to report.
  for (const std::string cut : {"\r\n", "\r", "\r\r\n"}) {
    std::string text;
    while (text.size() + 4 < (std::size_t{1} << 20) - 1) text += "ab\r\n";
    text.resize((std::size_t{1} << 20) - 1, 'c');
    const TTempFile chunked(text + cut + "zyzzyva\r\nx\r\n");
    Compare("zyzzyva[\\nq]x", false, false, {chunked.Path()});
  }
  // Attempts of lines 1 and 2 meet in one state before they accept: both
  // lines are reported, not only the one that started first.
  const TTempFile merged("a\nb\nc\nx\n");
  TGrep grep;
  grep.SetPattern("(a\\nb|b)\\nc");
  EXPECT_EQ(GrepReports(grep, merged.Path()), (std::vector<TReport>{{1, "a"}, {2, "b"}}));
}
