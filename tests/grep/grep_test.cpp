// The grep component over real files: which lines are reported, with which
// numbers (a table, each row through every scan choice), and what a handler
// may do to the scan that calls it.
#include "grep/grep.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "sjis/exceptions.h"
#include "support/grep_reports.h"
#include "support/temp_dir.h"

using TScanChoice = TGrep::TScanChoice;

TEST(Grep, ReportsTheLinesThatHoldAMatch) {
  const std::string ai = S("あい");
  const std::string block(TTxtFile::BufSize, 'a');
  std::string manyLines;  // 42 lines "b", the 41st ended by a lone CR
  std::vector<TReport> manyReports;
  for (std::int64_t k = 1; k <= 42; ++k) {
    manyLines += k == 41 ? "b\r" : "b\n";
    manyReports.push_back({k, "b"});
  }
  const struct {
    std::string Pattern;
    bool IgnoreCase;
    std::string Content;
    std::vector<TReport> Expected;
  } cases[] = {
      // "^" at every line start, the first included, also on the line after
      // a reported one; "$" at every line end, an unterminated last one too
      {"^ab", false, "abc\nxab\nab\r\nab", {{1, "abc"}, {3, "ab"}, {4, "ab"}}},
      {"ab$", false, "xab\nabx\nab\r\nzab", {{1, "xab"}, {3, "ab"}, {4, "zab"}}},
      {"^a|b", false, "b\na\n", {{1, "b"}, {2, "a"}}},
      {"^ab$", false, "ab\nabc\nab", {{1, "ab"}, {3, "ab"}}},
      // one report per line, with its number; line ends and zero bytes as the reader reads them
      {"c.t", false, "dog\ncat cot cut\n\nbobcat\n", {{2, "cat cot cut"}, {4, "bobcat"}}},
      {"b", false, std::string("a\r\nb\rc\rb\0b\n", 11), {{2, "b"}, {4, "b b"}}},
      // the same in lines passed over, across a block boundary in a line
      // that holds the string and after many lines read from the block; a
      // zero byte where the string has a space, a lone CR before a "^"
      {"b", false, std::string("x\0y\rz\nab\n", 10), {{3, "ab"}}},
      {"b", false, "a\nb\r" + block + "b\n", {{2, "b"}, {3, block + "b"}}},
      {"b", false, manyLines, manyReports},
      {"b b", false, std::string("b\0b\n", 4), {{1, "b b"}}},
      {"a b|c d", false, std::string("x\nc\0d\n", 6), {{2, "c d"}}},
      {"^b+", false, "a\rb\n", {{2, "b"}}},
      {"ab[^x]*c", false, "ab\x82\n\x82\rc\n", {{1, "ab\x82"}}},
      {"a", false, "", {}},
      // a double-byte character is one: no match across two, no folded trail byte
      {"\xA0" + S("い"), false, ai + "\n", {}},
      {S("い"), false, ai + "\n", {{1, ai}}},
      {S("ア"), true, S("ヂ") + "\n", {}},
      {S("ヂ"), true, S("ア") + "\n", {}},
      {S("ア") + "b", true, S("ア") + "B\n", {{1, S("ア") + "B"}}},
      {"abc", true, "ABC\nxaBcx\nab c\n", {{1, "ABC"}, {2, "xaBcx"}}},
      {"ab+c", true, "ABBC\nabc\nac\n", {{1, "ABBC"}, {2, "abc"}}},
      // the code 0 ends every attempt (zero bytes read as spaces); a lead byte at the end
      {"\\n\\0*b", false, "a\n", {}},
      {"a\\0", false, "a\n", {}},
      {"x", false, "x\x82", {{1, "x\x82"}}},
  };
  for (const auto& c : cases) {
    const TTempFile file(c.Content);
    for (const auto choice : {TScanChoice::Fast, TScanChoice::OneCharacter, TScanChoice::AutomatonOnly}) {
      TGrep grep;
      grep.ScanChoice = choice;
      grep.SetIgnoreCase(c.IgnoreCase);
      grep.SetPattern(c.Pattern);
      EXPECT_EQ(GrepReports(grep, file.Path()), c.Expected)
          << Hex(c.Pattern) << " ignore case " << c.IgnoreCase << " choice " << static_cast<int>(choice);
      grep.CountOnly = true;
      EXPECT_EQ(GrepReports(grep, file.Path()).size(), c.Expected.size())
          << Hex(c.Pattern) << " counted, choice " << static_cast<int>(choice);
    }
  }
}

// A missing file is not even opened without a handler; a change of
// IgnoreCase recompiles the current pattern; a descriptor is left open.
TEST(Grep, MissingFilesDescriptorsAndChangesOfCase) {
  TGrep grep;
  grep.SetPattern("A|x");
  grep.SetIgnoreCase(true);
  EXPECT_NO_THROW(grep.GrepFile("/nonexistent/kovalex/dict.txt", nullptr));
  EXPECT_THROW(GrepReports(grep, "/nonexistent/kovalex/dict.txt"), EFileNotFound);
  EXPECT_FALSE(grep.Busy());
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_EQ(write(fds[1], "b\nab\r\nb\na", 9), 9);
  close(fds[1]);
  std::vector<TReport> reports;
  grep.OnMatch = [&](TGrep&, LineInfo_t info) { reports.push_back({info.LineNo, info.Line}); };
  grep.GrepDescriptor(fds[0], "-", nullptr);
  EXPECT_EQ(reports, (std::vector<TReport>{{2, "ab"}, {4, "a"}}));
  EXPECT_NE(fcntl(fds[0], F_GETFD), -1) << "the caller's descriptor was closed";
  close(fds[0]);
}

// What a handler does to the scan that called it: EEndOfFile ends the file
// normally, other exceptions pass; a cancel flag set in it stops before the
// next report; a second scan started in it returns at once; a pattern
// changed in it does not disturb the scan.  The component is ready after.
TEST(Grep, HandlersStopOrLeaveTheScan) {
  const TTempFile file("ab\nb\nab\n");
  for (const char* pattern : {"a", "a.", "A"}) {
    TGrep grep;
    grep.SetIgnoreCase(std::string(pattern) == "A");
    grep.SetPattern(pattern);
    int calls = 0;
    bool cancel = false;
    const auto handle = [&](auto onMatch) {
      calls = 0;
      grep.OnMatch = [&, onMatch](TGrep& sender, LineInfo_t info) {
        ++calls;
        onMatch(sender, info);
      };
    };
    handle([](TGrep&, LineInfo_t) { throw EEndOfFile("stop"); });
    EXPECT_NO_THROW(grep.GrepFile(file.Path(), nullptr));
    EXPECT_EQ(calls, 1);
    handle([](TGrep&, LineInfo_t) { throw std::runtime_error("boom"); });
    EXPECT_THROW(grep.GrepFile(file.Path(), nullptr), std::runtime_error);
    handle([&](TGrep&, LineInfo_t) { cancel = true; });
    EXPECT_THROW(grep.GrepFile(file.Path(), &cancel), ECancelRequest);
    EXPECT_EQ(calls, 1) << pattern;
    handle([&](TGrep& sender, LineInfo_t) {
      EXPECT_TRUE(sender.Busy());
      sender.GrepFile(file.Path(), nullptr);
    });
    grep.GrepFile(file.Path(), nullptr);
    EXPECT_EQ(calls, 2);
    std::vector<std::int64_t> lines;
    handle([&](TGrep& sender, LineInfo_t info) {
      lines.push_back(info.LineNo);
      for (int k = 0; k < 40; ++k) sender.SetPattern("x" + std::to_string(k) + "|y");  // evicts everything
    });
    grep.GrepFile(file.Path(), nullptr);
    EXPECT_EQ(lines, (std::vector<std::int64_t>{1, 3})) << pattern;
    EXPECT_FALSE(grep.Busy());
  }
}

// A fixed string compared without case tests the cancel flag before the
// file is opened: an empty file, which has no line to test it at, still
// raises a flag that was set before the search.  A pattern tests it only at
// the lines it reports.
TEST(Grep, CaseInsensitiveFixedStringTestsTheFlagFirst) {
  const TTempFile empty("");
  for (const TScanChoice choice : {TScanChoice::Fast, TScanChoice::OneCharacter}) {
    TGrep grep;
    grep.ScanChoice = choice;
    grep.OnMatch = [](TGrep&, LineInfo_t) {};
    bool cancel = true;
    grep.SetPattern("Cat");
    EXPECT_NO_THROW(grep.GrepFile(empty.Path(), &cancel));
    grep.SetIgnoreCase(true);
    EXPECT_THROW(grep.GrepFile(empty.Path(), &cancel), ECancelRequest);
    cancel = false;
    EXPECT_NO_THROW(grep.GrepFile(empty.Path(), &cancel));
  }
}
