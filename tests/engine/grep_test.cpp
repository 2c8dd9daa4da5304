// The grep component over real files: which lines are reported, with which
// numbers, and how a scan ends.
#include "grep.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>

#include "exceptions.h"
#include "sjis_literals.h"
#include "temp_dir.h"

namespace {

struct TReport {
  std::int64_t LineNo;
  std::string Line;
  bool operator==(const TReport&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TReport& r) { return os << r.LineNo << ":" << r.Line; }

// Runs the grep over content and returns what it reported.
std::vector<TReport> Grep(TGrep& grep, const std::string& content) {
  TTempFile file(content);
  std::vector<TReport> reports;
  grep.OnMatch = [&](TGrep&, LineInfo_t info) { reports.push_back({info.LineNo, info.Line}); };
  grep.GrepFile(file.Path(), nullptr);
  return reports;
}

std::vector<TReport> Grep(const std::string& pattern, const std::string& content, bool ignoreCase = false) {
  TGrep grep;
  grep.SetIgnoreCase(ignoreCase);
  grep.SetPattern(pattern);
  return Grep(grep, content);
}

}  // namespace

TEST(GrepAnchors, CaretMatchesEveryLineStartIncludingTheFirst) {
  const auto r = Grep("^ab", "abc\nxab\nab\r\nab");
  EXPECT_EQ(r, (std::vector<TReport>{{1, "abc"}, {3, "ab"}, {4, "ab"}}));
}

TEST(GrepAnchors, DollarMatchesEveryLineEndIncludingAnUnterminatedLastLine) {
  const auto r = Grep("ab$", "xab\nabx\nab\r\nzab");
  EXPECT_EQ(r, (std::vector<TReport>{{1, "xab"}, {3, "ab"}, {4, "zab"}}));
}

TEST(GrepAnchors, CaretOnTheLineAfterAReportedLine) {
  // The next attempt starts on the line feed that ends the reported line.
  const auto r = Grep("^a|b", "b\na\n");
  EXPECT_EQ(r, (std::vector<TReport>{{1, "b"}, {2, "a"}}));
}

TEST(GrepAnchors, WholeLinePatternIsALiteralBetweenLineFeeds) {
  TGrep grep;
  grep.SetPattern("^ab$");
  ASSERT_TRUE(grep.CurrentDFA()->IsLiteral);
  EXPECT_EQ(grep.CurrentDFA()->Literal, "\nab\n");
  EXPECT_EQ(Grep(grep, "ab\nabc\nab"), (std::vector<TReport>{{1, "ab"}, {3, "ab"}}));
}

TEST(GrepReports, OneReportPerLineWithTheLineNumber) {
  const auto r = Grep("cat", "dog\ncat cat cat\n\nbobcat\n");
  EXPECT_EQ(r, (std::vector<TReport>{{2, "cat cat cat"}, {4, "bobcat"}}));
  const auto regex = Grep("c.t", "dog\ncat cot cut\n\nbobcat\n");
  EXPECT_EQ(regex, (std::vector<TReport>{{2, "cat cot cut"}, {4, "bobcat"}}));
}

TEST(GrepReports, LineEndsAndZeroBytes) {
  const auto r = Grep("b", std::string("a\r\nb\rc\rb\0b\n", 11));
  EXPECT_EQ(r, (std::vector<TReport>{{2, "b"}, {4, "b b"}}));
}

TEST(GrepReports, EmptyFileReportsNothing) { EXPECT_TRUE(Grep("a", "").empty()); }

TEST(GrepReports, MissingFileRaisesFileNotFound) {
  TGrep grep;
  grep.SetPattern("a");
  grep.OnMatch = [](TGrep&, LineInfo_t) {};
  EXPECT_THROW(grep.GrepFile("/nonexistent/kovalex/dict.txt", nullptr), EFileNotFound);
  EXPECT_FALSE(grep.Busy());
}

TEST(GrepReports, NoHandlerMeansTheFileIsNotEvenOpened) {
  TGrep grep;
  grep.SetPattern("a");
  EXPECT_NO_THROW(grep.GrepFile("/nonexistent/kovalex/dict.txt", nullptr));
}

// An open descriptor is read from where it stands and left open.
TEST(GrepReports, DescriptorIsReadAndLeftOpen) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const std::string content = "skipped\nab\r\nb\na";
  ASSERT_EQ(write(fds[1], content.data(), content.size()), static_cast<ssize_t>(content.size()));
  close(fds[1]);
  char first[8];
  ASSERT_EQ(read(fds[0], first, sizeof first), static_cast<ssize_t>(sizeof first));
  TGrep grep;
  grep.SetPattern("a");
  std::vector<TReport> reports;
  grep.OnMatch = [&](TGrep&, LineInfo_t info) { reports.push_back({info.LineNo, info.Line}); };
  grep.GrepDescriptor(fds[0], "-", nullptr);
  EXPECT_EQ(reports, (std::vector<TReport>{{1, "ab"}, {3, "a"}}));
  EXPECT_NE(fcntl(fds[0], F_GETFD), -1);
  close(fds[0]);
}

TEST(GrepReports, DoubleByteLiteralNeverMatchesAcrossTwoCharacters) {
  // あい is 82 A0 82 A2; the bytes A0 82 A2 hold the trail byte of あ
  // followed by い, which a byte-wise search would find.
  const std::string text = S("あい") + "\n";
  const std::string across = "\xA0" + S("い");
  EXPECT_TRUE(Grep(across, text).empty());
  EXPECT_EQ(Grep(S("い"), text).size(), 1u);
  TGrep grep;
  grep.SetPattern(across);
  grep.ScanChoice = TGrep::TScanChoice::AutomatonOnly;
  EXPECT_TRUE(Grep(grep, text).empty());
}

TEST(GrepHandler, EndOfFileFromTheHandlerEndsTheFileNormally) {
  TGrep grep;
  grep.SetPattern("a");
  TTempFile file("a\na\na\n");
  int calls = 0;
  grep.OnMatch = [&](TGrep&, LineInfo_t) {
    ++calls;
    throw EEndOfFile("stop");
  };
  EXPECT_NO_THROW(grep.GrepFile(file.Path(), nullptr));
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(grep.Busy());
}

TEST(GrepHandler, OtherExceptionsPassAndLeaveTheComponentReady) {
  TGrep grep;
  grep.SetPattern("a");
  TTempFile file("a\na\n");
  grep.OnMatch = [](TGrep&, LineInfo_t) { throw std::runtime_error("boom"); };
  EXPECT_THROW(grep.GrepFile(file.Path(), nullptr), std::runtime_error);
  EXPECT_FALSE(grep.Busy());
  int calls = 0;
  grep.OnMatch = [&](TGrep&, LineInfo_t) { ++calls; };
  grep.GrepFile(file.Path(), nullptr);
  EXPECT_EQ(calls, 2);
}

TEST(GrepHandler, CancelFlagSetInTheHandlerStopsBeforeTheNextReport) {
  for (const char* pattern : {"a", "a.", "A"}) {
    TGrep grep;
    grep.SetIgnoreCase(std::string(pattern) == "A");
    grep.SetPattern(pattern);
    TTempFile file("ab\nab\nab\n");
    bool cancel = false;
    int calls = 0;
    grep.OnMatch = [&](TGrep&, LineInfo_t) {
      ++calls;
      cancel = true;
    };
    EXPECT_THROW(grep.GrepFile(file.Path(), &cancel), ECancelRequest) << pattern;
    EXPECT_EQ(calls, 1) << pattern;
    EXPECT_FALSE(grep.Busy());
  }
}

TEST(GrepHandler, SecondScanFromInsideTheHandlerReturnsAtOnce) {
  TGrep grep;
  grep.SetPattern("a");
  TTempFile file("a\na\n");
  int calls = 0;
  grep.OnMatch = [&](TGrep& sender, LineInfo_t) {
    ++calls;
    EXPECT_TRUE(sender.Busy());
    sender.GrepFile(file.Path(), nullptr);
  };
  grep.GrepFile(file.Path(), nullptr);
  EXPECT_EQ(calls, 2);
}

TEST(GrepHandler, PatternChangedDuringTheScanDoesNotDisturbIt) {
  TGrep grep;
  grep.SetPattern("a");
  TTempFile file("a\nb\na\n");
  std::vector<int> lines;
  grep.OnMatch = [&](TGrep& sender, LineInfo_t info) {
    lines.push_back(info.LineNo);
    for (int k = 0; k < 40; ++k) sender.SetPattern("x" + std::to_string(k) + "|y");  // evicts everything
  };
  grep.GrepFile(file.Path(), nullptr);
  EXPECT_EQ(lines, (std::vector<int>{1, 3}));
}

TEST(GrepIgnoreCase, PlainLettersUseTheLiteralScanAndACaseSensitiveAutomaton) {
  TGrep grep;
  grep.SetIgnoreCase(true);
  grep.SetPattern("abc");
  EXPECT_TRUE(grep.CurrentDFA()->IsLiteral);
  EXPECT_FALSE(grep.CurrentDFA()->IgnoreCase);
  EXPECT_EQ(Grep(grep, "ABC\nxaBcx\nab c\n"), (std::vector<TReport>{{1, "ABC"}, {2, "xaBcx"}}));
}

TEST(GrepIgnoreCase, PatternWithAnOperatorIsCompiledCaseInsensitively) {
  TGrep grep;
  grep.SetIgnoreCase(true);
  grep.SetPattern("ab+c");
  EXPECT_FALSE(grep.CurrentDFA()->IsLiteral);
  EXPECT_TRUE(grep.CurrentDFA()->IgnoreCase);
  EXPECT_EQ(Grep(grep, "ABBC\nabc\nac\n"), (std::vector<TReport>{{1, "ABBC"}, {2, "abc"}}));
}

TEST(GrepIgnoreCase, TogglingRecompilesTheCurrentPattern) {
  TGrep grep;
  grep.SetPattern("a.c");
  EXPECT_EQ(Grep(grep, "ABC\n").size(), 0u);
  grep.SetIgnoreCase(true);
  EXPECT_EQ(grep.GetPattern(), "a.c");
  EXPECT_EQ(Grep(grep, "ABC\n").size(), 1u);
}

TEST(GrepIgnoreCase, TrailBytesAreNeverFolded) {
  // ア is 83 41 and ヂ is 83 61: folding the second byte would confuse them.
  EXPECT_TRUE(Grep(S("ア"), S("ヂ") + "\n", true).empty());
  EXPECT_TRUE(Grep(S("ヂ"), S("ア") + "\n", true).empty());
  EXPECT_EQ(Grep(S("ア") + "b", S("ア") + "B\n", true).size(), 1u);
}

TEST(GrepEdges, TransitionOnCodeZeroNeverLoopsAtTheEndOfTheFile) {
  EXPECT_TRUE(Grep("\\n\\0*b", "a\n").empty());
  EXPECT_TRUE(Grep("a\\0", "a\n").empty());  // zero bytes of a file read as spaces
}

TEST(GrepEdges, LeadByteAtTheEndOfAnUnterminatedFile) {
  const auto r = Grep("x", "x\x82");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].Line, "x\x82");
}

// The literal scans, the automaton scan and the whole-line scan must report
// the same lines: the automaton of a literal pattern is the chain of its
// characters.
TEST(GrepDifferential, LiteralScansAgreeWithTheAutomatonScan) {
  std::mt19937 random(20261206);
  const std::vector<std::string> pieces = {
      "a",     "b",     "A",     "B",     " ",    "\n",   "\r\n", "\r", std::string(1, '\0'),
      S("あ"), S("い"), S("ア"), S("ヂ"), "\xB1", "\x82", "\xA0"};
  const std::vector<std::string> patterns = {"ab",
                                             "a",
                                             "bA",
                                             S("あい"),
                                             S("ア") + "a",
                                             "\xA0" + S("い"),
                                             "b" + S("あ"),
                                             "^ab",
                                             "ab$",
                                             "^a$",
                                             "\xB1"
                                             "a"};
  struct TPair {
    std::unique_ptr<TGrep> Fitting;    // the one-character literal scans
    std::unique_ptr<TGrep> Automaton;  // the one-character automaton scan
    std::unique_ptr<TGrep> Fast;       // the whole-line scan
  };
  std::vector<TPair> pairs;
  for (const std::string& pattern : patterns) {
    for (bool ignoreCase : {false, true}) {
      TPair pair{std::make_unique<TGrep>(), std::make_unique<TGrep>(), std::make_unique<TGrep>()};
      pair.Fitting->ScanChoice = TGrep::TScanChoice::OneCharacter;
      pair.Fitting->SetIgnoreCase(ignoreCase);
      pair.Fitting->SetPattern(pattern);
      pair.Fast->SetIgnoreCase(ignoreCase);
      pair.Fast->SetPattern(pattern);
      ASSERT_TRUE(pair.Fitting->CurrentDFA()->IsLiteral) << pattern;
      pair.Automaton->ScanChoice = TGrep::TScanChoice::AutomatonOnly;
      if (ignoreCase) {
        // The literal scan folds case itself; its reference is the
        // case-insensitively compiled automaton, which a literal never gets.
        // An alternative on the code 0 (which no file character has) keeps
        // the automaton from being a literal.
        pair.Automaton->SetIgnoreCase(true);
        pair.Automaton->SetPattern("(" + pattern + ")|\\0");
        ASSERT_TRUE(pair.Automaton->CurrentDFA()->IgnoreCase);
      } else {
        pair.Automaton->SetPattern(pattern);
      }
      pairs.push_back(std::move(pair));
    }
  }
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 60);
    for (int k = 0; k < length; ++k) text += pieces[random() % pieces.size()];
    TTempFile file(text);
    for (std::size_t k = 0; k < pairs.size(); ++k) {
      auto run = [&](TGrep& grep) {
        std::vector<TReport> reports;
        grep.OnMatch = [&](TGrep&, LineInfo_t info) { reports.push_back({info.LineNo, info.Line}); };
        grep.GrepFile(file.Path(), nullptr);
        return reports;
      };
      const auto expected = run(*pairs[k].Fitting);
      ASSERT_EQ(expected, run(*pairs[k].Automaton))
          << "pattern " << pairs[k].Fitting->GetPattern() << " round " << round;
      ASSERT_EQ(expected, run(*pairs[k].Fast)) << "pattern " << pairs[k].Fitting->GetPattern() << " round " << round;
    }
  }
}
