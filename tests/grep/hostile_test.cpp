// The grep on files that shrink or vanish while read, and scans that run long.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <utility>

#include "sjis/sjis.h"
#include "support/grep_reports.h"

// Called after the first block read, the hook shrinks the file (the scan
// ends where the file now ends) or deletes it (the open file lives on until
// the reader closes it).
TEST(HostileFile, FileThatShrinksOrVanishesDuringTheScan) {
  std::string content;
  for (int i = 0; content.size() < 400000; ++i) content += "entry " + std::to_string(i) + (i % 3 ? " cat\r\n" : "\n");
  for (const bool shrink : {true, false}) {
    const std::vector<std::string> lines = ReaderLines(shrink ? content.substr(0, 150001) : content);
    std::vector<TReport> expected;
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].find("cat") != std::string::npos) expected.push_back({static_cast<int>(i + 1), lines[i]});
    for (const TScanChoice choice : {TScanChoice::Fast, TScanChoice::OneCharacter, TScanChoice::AutomatonOnly}) {
      TTempFile file(content);
      TGrep grep;
      grep.ScanChoice = choice;
      grep.SetPattern("cat");
      bool done = false;
      grep.ProcessMessages = [&] {
        if (std::exchange(done, true)) return;
        ASSERT_EQ(shrink ? truncate(file.Path().c_str(), 150001) : unlink(file.Path().c_str()), 0);
      };
      EXPECT_EQ(GrepReports(grep, file.Path()), expected) << shrink;
    }
  }
}

// A pattern that matches line feeds lets every attempt run to the end of the
// file (no "QQ" anywhere), where no block read comes to poll: the scans poll
// in the middle and can be cancelled.  The fast scan runs all attempts in one
// pass: it reads the block once, polls with it and is done.
TEST(HostileScan, AttemptsRunningToTheEndOfTheFileStillPollAndCanBeCancelled) {
  std::string content;
  while (content.size() < 40000) content += "cat dog\n";  // one block of the reader
  TTempFile file(content);
  for (const TScanChoice choice : {TScanChoice::Fast, TScanChoice::OneCharacter, TScanChoice::AutomatonOnly}) {
    TGrep grep;
    grep.ScanChoice = choice;
    grep.SetPattern("cat(.|\\n)*QQ");
    grep.OnMatch = [](TGrep&, LineInfo_t) { FAIL() << "no line holds a match"; };
    bool cancel = false;
    int polls = 0;
    grep.ProcessMessages = [&] { cancel = ++polls == 2; };
    if (choice == TScanChoice::Fast) {
      EXPECT_NO_THROW(grep.GrepFile(file.Path(), &cancel));
      EXPECT_EQ(polls, 1);
      continue;
    }
    EXPECT_THROW(grep.GrepFile(file.Path(), &cancel), ECancelRequest);
    EXPECT_EQ(polls, 2);
    EXPECT_FALSE(grep.Busy());
  }
}

// A line whose bytes could all be lead bytes holds the fixed string's bytes
// at every second-byte position: each place the byte search finds must be
// told from a character start without reading back over the whole run.  The
// bytes read for that stay within a bound per byte of the file (a place is
// read back over at most a short run of bytes, then the known start walks
// forward), and lines twice as long take twice the reading, not four times.
TEST(HostileScan, LongRunsOfLeadBytesAreCutInTimeLinearInTheLine) {
  const auto bytesRead = [](TScanChoice choice, std::size_t pairs) {
    std::string line;
    for (std::size_t k = 0; k < pairs; ++k) line += "\x81\x82";
    const TTempFile file("x\n" + line + "a\x82\x81\n" + line + "\n");
    TGrep grep;
    grep.ScanChoice = choice;
    grep.SetPattern("\x82\x81");
    const std::uint64_t before = TCharacterStarts::BytesRead;
    const std::vector<TReport> reports = GrepReports(grep, file.Path());
    EXPECT_TRUE(reports.size() == 1 && reports[0].LineNo == 2) << pairs;
    return TCharacterStarts::BytesRead - before;
  };
  constexpr std::size_t kPairs = 100'000;  // lines of two blocks
  const std::uint64_t once = bytesRead(TScanChoice::Fast, kPairs);
  const std::uint64_t twice = bytesRead(TScanChoice::Fast, 2 * kPairs);
  EXPECT_LE(once, 24 * (4 * kPairs));
  EXPECT_LT(twice, 3 * once);
  bytesRead(TScanChoice::OneCharacter, kPairs);
}

// A file that says it is empty and comes a page a read (a kernel table):
// read to its end, not to the size it gave.
TEST(HostileFile, FileOfNoSizeThatComesInShortReads) {
  const char* const table = "/proc/kallsyms";
  if (access(table, R_OK) != 0) GTEST_SKIP() << table << " cannot be read here";
  std::ifstream in(table);
  std::string line;
  int lines = 0;
  while (std::getline(in, line)) ++lines;
  ASSERT_GT(lines, 1000);  // several reads' worth
  TGrep grep;
  grep.SetPattern(" ");
  EXPECT_EQ(static_cast<int>(GrepReports(grep, table).size()), lines);
}
