// The whole-line scan against the one-character scans: random patterns from
// the whole grammar over random files must give exactly the same reports,
// and every reported line must be the file's line of that number (the file
// cut at line ends independently of the reader, whose line counting both
// scans share).
// KOVALEX_DIFFERENTIAL_ROUNDS raises the number of rounds (tools/differential.sh).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "exceptions.h"
#include "grep.h"
#include "reader_lines.h"
#include "sjis_literals.h"
#include "temp_dir.h"

namespace {

struct TReport {
  std::int64_t LineNo;
  std::string Line;
  bool operator==(const TReport&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TReport& r) { return os << r.LineNo << ":" << Hex(r.Line); }

std::vector<TReport> Run(TGrep& grep, const std::string& path) {
  std::vector<TReport> reports;
  grep.OnMatch = [&](TGrep&, LineInfo_t info) { reports.push_back({info.LineNo, info.Line}); };
  grep.GrepFile(path, nullptr);
  return reports;
}

// The file's lines as the reader presents them.
std::vector<std::string> FileLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return ReaderLines(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

int Rounds(int normal) {
  const char* env = std::getenv("KOVALEX_DIFFERENTIAL_ROUNDS");
  return env != nullptr ? std::max(1, std::atoi(env)) : normal;
}

// Random patterns over a small alphabet, so that matches are frequent.
class TPatternMaker {
 public:
  // Without repetition an attempt is as long as the pattern at most, which
  // keeps the one-character scans fast over lines longer than a block.
  TPatternMaker(std::mt19937& random, bool repetition) : FRandom(random), FRepetition(repetition) {}

  std::string Pattern() {
    switch (Pick(13)) {
      case 0:
        return "^" + Expression(2);
      case 1:
        return Expression(2) + "$";
      case 2:
        return "(^|[ " + S("■●") + "({\\[\"'\\-])" + Expression(1) + "([ )\"'\\]}:;.,!?\\-]|$)";
      case 3:
        return Expression(1) + (FRepetition ? "[A-Za-z0-9%]*" : "[A-Za-z0-9%]?") + Expression(1);
      case 4:
      case 5:
        return Words();
      case 6:
        // A fixed start: attempts begin only where it stands.
        return Atom() + Atom() + Expression(2);
      default:
        return Expression(3);
    }
  }

  // Alternations of ASCII, double-byte and mixed words (searched for as a
  // set of strings), anchored or followed by more.
  std::string Words() {
    static const std::vector<std::string> chars = {"a", "b", "c", "A", S("あ"), S("い"), S("ア"), S("ヂ"), "\xB1", " "};
    std::string words;
    for (int k = 1 + Pick(16); k >= 0; --k) {
      for (int len = 2 + Pick(3); len > 0; --len) words += chars[static_cast<std::size_t>(Pick(10))];
      if (k > 0) words += "|";
    }
    switch (Pick(4)) {
      case 0:
        return "^(" + words + ")";
      case 1:
        return "(" + words + ")$";
      case 2:
        return "(" + words + ")" + Atom();
      default:
        return words;
    }
  }

 private:
  int Pick(int n) { return static_cast<int>(FRandom() % static_cast<unsigned>(n)); }

  std::string Expression(int depth) {
    std::string e = Term(depth);
    if (depth > 0 && Pick(4) == 0) e += "|" + Term(depth - 1);
    return e;
  }

  std::string Term(int depth) {
    std::string t;
    const int n = 1 + Pick(3);
    for (int k = 0; k < n; ++k) t += Factor(depth);
    return t;
  }

  std::string Factor(int depth) {
    std::string f = depth > 0 && Pick(5) == 0 ? "(" + Expression(depth - 1) + ")" : Atom();
    switch (Pick(FRepetition ? 6 : 4) + (FRepetition ? 0 : 2)) {
      case 0:
        return f + "*";
      case 1:
        return f + "+";
      case 2:
        return f + "?";
      default:
        return f;
    }
  }

  std::string Atom() {
    static const std::vector<std::string> atoms = {"a",
                                                   "b",
                                                   "A",
                                                   "c",
                                                   ".",
                                                   "[ab]",
                                                   "[^a]",
                                                   "[a-c]",
                                                   "[^\\n]",
                                                   "\\x41",
                                                   "\\t",
                                                   " ",
                                                   "\\n",
                                                   "[\\x01-\\x7F]",
                                                   S("あ"),
                                                   S("い"),
                                                   S("ア"),
                                                   S("ヂ"),
                                                   S("■"),
                                                   "\xB1",
                                                   "\\^",
                                                   "\\$",
                                                   "[" + S("あ-ん") + "]",
                                                   "[^" + S("あ") + "]",
                                                   "\\x82",
                                                   "\\x820A",
                                                   "[\\x8100-\\x82FF]",
                                                   "\\" + S("ｎ"),
                                                   S("＊")};
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

// Compares the two scans for one pattern over the given files.
void Compare(const std::string& pattern, bool ignoreCase, bool dbMeta, const std::vector<std::string>& files) {
  TGrep fast;
  TGrep reference;
  reference.ScanChoice = TGrep::TScanChoice::OneCharacter;
  for (TGrep* g : {&fast, &reference}) {
    g->SetAcceptDBMeta(dbMeta);
    g->SetIgnoreCase(ignoreCase);
  }
  try {
    fast.SetPattern(pattern);
  } catch (const ERegExpParser&) {
    return;  // not a pattern
  } catch (...) {
    ADD_FAILURE() << "pattern " << Hex(pattern);
    throw;
  }
  reference.SetPattern(pattern);
  for (const std::string& path : files) {
    const std::vector<TReport> reports = Run(fast, path);
    ASSERT_EQ(reports, Run(reference, path))
        << "pattern " << Hex(pattern) << " ignoreCase " << ignoreCase << " dbMeta " << dbMeta << " file " << path;
    // Counting only: as many reports, each without text and number.
    fast.CountOnly = true;
    ASSERT_EQ(Run(fast, path), std::vector<TReport>(reports.size(), TReport{0, ""})) << "count only " << Hex(pattern);
    fast.CountOnly = false;
    const std::vector<std::string> lines = FileLines(path);
    for (const TReport& r : reports) {
      ASSERT_TRUE(r.LineNo >= 1 && static_cast<std::size_t>(r.LineNo) <= lines.size()) << r;
      ASSERT_EQ(Hex(r.Line), Hex(lines[static_cast<std::size_t>(r.LineNo - 1)])) << r << " pattern " << Hex(pattern);
    }
  }
}

}  // namespace

TEST(FastScanDifferential, RandomPatternsOverSmallFiles) {
  std::mt19937 random(61206);
  TPatternMaker maker(random, true);
  const int rounds = Rounds(60);
  for (int round = 0; round < rounds; ++round) {
    std::vector<std::unique_ptr<TTempFile>> files;
    std::vector<std::string> paths;
    for (int k = 0; k < 4; ++k) {
      files.push_back(std::make_unique<TTempFile>(RandomText(random, static_cast<int>(random() % 80))));
      paths.push_back(files.back()->Path());
    }
    for (int k = 0; k < 25; ++k) {
      const std::string pattern = maker.Pattern();
      Compare(pattern, random() % 3 == 0, random() % 4 == 0, paths);
      if (HasFatalFailure()) return;
    }
  }
}

// Files of several blocks: lines longer than a block, double-byte characters
// and CR LF pairs cut by block boundaries, a lead byte at the end.
TEST(FastScanDifferential, RandomPatternsOverFilesOfSeveralBlocks) {
  std::mt19937 random(1206);
  TPatternMaker maker(random, false);
  const int block = TTxtFile::BufSize;
  std::vector<std::string> contents;
  // A line longer than a block, between short ones.
  contents.push_back(RandomText(random, 50) + std::string(block + 300, 'x') + "ab" + S("あ") + "\n" +
                     RandomText(random, 50));
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
  std::vector<std::unique_ptr<TTempFile>> files;
  std::vector<std::string> paths;
  for (const std::string& c : contents) {
    files.push_back(std::make_unique<TTempFile>(c));
    paths.push_back(files.back()->Path());
  }
  const int patterns = Rounds(60);
  for (int k = 0; k < patterns; ++k) {
    Compare(maker.Pattern(), random() % 3 == 0, false, paths);
    if (HasFatalFailure()) return;
  }
  for (const char* fixed : {"ab", "xab", "a", "\\n", "^", "$", "^xx"}) Compare(fixed, false, false, paths);
  Compare(S("あい"), false, false, paths);
  Compare(S("い") + "\\r?\\n?\\x82", false, false, paths);
}

// Attempts that run on past their line end: the look-ahead carries them
// through later lines and blocks, reading CR LF (kept in the text) as the line
// feed, also when a lead byte before the CR pairs with that line feed.
TEST(FastScanDifferential, AttemptsThatRunIntoLaterLinesAndBlocks) {
  const int block = TTxtFile::BufSize;
  std::vector<std::string> contents;
  for (int shift = -4; shift <= 2; ++shift) {
    // "cat" lines whose "dog" comes some lines later, the last line feeds of
    // the first block at every alignment near its end.
    std::string text(static_cast<std::size_t>(block - 20 + shift), 'a');
    text += "\r\ncat\r\nx\x82\r\n" + S("猫") + "\r\n\x82\r\ndog!\r\ncat\r\n" + S("犬") + "\r\n";
    for (int k = 0; k < 300; ++k) text += "cat " + S("あ") + "\x82\r\nzz\r\n";
    contents.push_back(text + "dog\r\n");
  }
  std::vector<std::unique_ptr<TTempFile>> files;
  std::vector<std::string> paths;
  for (const std::string& c : contents) {
    files.push_back(std::make_unique<TTempFile>(c));
    paths.push_back(files.back()->Path());
  }
  for (const std::string& pattern :
       {std::string("cat[^!]*dog"), std::string("^cat[^!]*dog"), "t\\n" + S("猫"), std::string("\\x82\\nd"),
        std::string("^[^a]*!"), "cat(.|\\n)*" + S("犬"), std::string("zz\\n\\x82")})
    Compare(pattern, false, false, paths);
  // A fixed string that begins with a line feed, found where that line feed
  // is the second byte of a lead byte and a kept CR.
  TTempFile pair("a\x82\r\n\xB1\x82\r\n");
  Compare("^\xB1", false, false, {pair.Path()});
  Compare("^\xB1", true, false, {pair.Path()});
}

// Patterns whose attempts run on over line feeds, however far: the scan
// that runs all starts at once against the one-character scans, over files
// of many short lines (lead bytes before line feeds included) and of
// several blocks.
TEST(FastScanDifferential, AttemptsThatCrossLineFeeds) {
  std::mt19937 random(16016);
  TPatternMaker maker(random, true);
  // The first three run a bounded way; the others may run to the end of the
  // file, where the one-character scans take time growing with the square
  // of its length, so they get the small files only.
  const std::vector<std::string> glue = {
      "\\n", "\\n?", "\\n.*\\n", "(.|\\n)*", "[\\x01-\\x7F]*", "[^b]*\\n", "(a\\n|b)*", "(\\n|" + S("あ") + ")+"};
  const int block = TTxtFile::BufSize;
  std::string big;
  while (static_cast<int>(big.size()) < 2 * block) big += RandomText(random, 300);
  const TTempFile bigFile(big + "\x82");
  const int rounds = Rounds(40);
  for (int round = 0; round < rounds; ++round) {
    std::vector<std::unique_ptr<TTempFile>> files;
    std::vector<std::string> paths{bigFile.Path()};
    for (int k = 0; k < 3; ++k) {
      files.push_back(std::make_unique<TTempFile>(RandomText(random, static_cast<int>(random() % 120))));
      paths.push_back(files.back()->Path());
    }
    for (int k = 0; k < 6; ++k) {
      const std::size_t g = random() % glue.size();
      const std::string pattern = maker.Pattern() + glue[g] + (random() % 3 == 0 ? std::string() : maker.Pattern());
      Compare(pattern, random() % 3 == 0, false,
              g < 3 ? paths : std::vector<std::string>(paths.begin() + 1, paths.end()));
      if (HasFatalFailure()) return;
    }
  }
  // The last line that holds the required bytes, counted in the 1 MB chunks
  // of the search made before the scan: a CR LF and a lone CR cut by a
  // chunk's end, the line after them the one to report.
  for (const std::string& cut : {std::string("\r\n"), std::string("\r"), std::string("\r\r\n")}) {
    std::string text;
    while (text.size() + 4 < (std::size_t{1} << 20) - 1) text += "ab\r\n";
    text.resize((std::size_t{1} << 20) - 1, 'c');
    const TTempFile chunked(text + cut + "zyzzyva\r\nx\r\n");
    Compare("zyzzyva[\\nq]x", false, false, {chunked.Path()});
  }
  // Attempts of lines 1 and 2 meet in one state before they accept: both
  // lines are reported, not only the one that started first.
  const TTempFile merged("a\nb\nc\nx\n");
  Compare("(a\\nb|b)\\nc", false, false, {merged.Path()});
  TGrep grep;
  grep.SetPattern("(a\\nb|b)\\nc");
  EXPECT_EQ(::Run(grep, merged.Path()), (std::vector<TReport>{{1, "a"}, {2, "b"}}));
}
