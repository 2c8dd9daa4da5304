// The grep under hostile input: files that shrink or vanish while read,
// scans that run long.  Hostile patterns: cache_test.cpp.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "exceptions.h"
#include "grep.h"
#include "reader_lines.h"
#include "regexp.h"
#include "sjis_literals.h"
#include "temp_dir.h"

namespace {

using TScanChoice = TGrep::TScanChoice;

struct TReport {
  std::int64_t LineNo;
  std::string Line;
  bool operator==(const TReport&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TReport& r) { return os << r.LineNo << ":" << Hex(r.Line); }

std::vector<TReport> Scan(TGrep& grep, const std::string& path) {
  std::vector<TReport> reports;
  grep.OnMatch = [&](TGrep&, LineInfo_t info) { reports.push_back({info.LineNo, info.Line}); };
  grep.GrepFile(path, nullptr);
  return reports;
}

}  // namespace

TEST(HostileFile, FileThatShrinksDuringTheScanEndsWhereItNowEnds) {
  std::string content;
  for (int i = 0; content.size() < 400000; ++i) content += "entry " + std::to_string(i) + (i % 3 ? " cat\r\n" : "\n");
  const std::size_t cut = 150001;
  std::vector<TReport> expected;
  const std::vector<std::string> lines = ReaderLines(content.substr(0, cut));
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].find("cat") != std::string::npos) expected.push_back({static_cast<int>(i + 1), lines[i]});
  for (const TScanChoice choice : {TScanChoice::Fast, TScanChoice::OneCharacter, TScanChoice::AutomatonOnly}) {
    TTempFile file(content);
    TGrep grep;
    grep.ScanChoice = choice;
    grep.SetPattern("cat");
    // Called after every block read: the first one shrinks the file.
    bool shrunk = false;
    grep.ProcessMessages = [&] {
      if (shrunk) return;
      shrunk = true;
      ASSERT_EQ(truncate(file.Path().c_str(), static_cast<off_t>(cut)), 0);
    };
    EXPECT_EQ(Scan(grep, file.Path()), expected);
  }
}

TEST(HostileFile, FileDeletedDuringTheScanIsReadToItsEnd) {
  std::string content;
  for (int i = 0; content.size() < 300000; ++i) content += "entry " + std::to_string(i) + " cat\n";
  TTempFile file(content);
  TGrep grep;
  grep.SetPattern("cat");
  grep.ProcessMessages = [&] { unlink(file.Path().c_str()); };
  // The open file lives on until the reader closes it.
  EXPECT_EQ(Scan(grep, file.Path()).size(), ReaderLines(content).size());
  EXPECT_FALSE(std::filesystem::exists(file.Path()));
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

// A line of 4 MB whose bytes could all be lead bytes holds the fixed string's
// bytes at every second-byte position: each place the byte search finds must
// be told from a character start without reading back over the whole run.
TEST(HostileScan, LongRunsOfLeadBytesAreCutInTimeLinearInTheLine) {
  std::string line;
  for (int k = 0; k < 2'000'000; ++k) line += "\x81\x82";
  TTempFile file("x\n" + line + "a\x82\x81\n" + line + "\n");
  for (const TScanChoice choice : {TScanChoice::Fast, TScanChoice::OneCharacter}) {
    TGrep grep;
    grep.ScanChoice = choice;
    grep.SetPattern("\x82\x81");
    std::vector<int> lines;
    grep.OnMatch = [&](TGrep&, LineInfo_t info) { lines.push_back(info.LineNo); };
    grep.GrepFile(file.Path(), nullptr);
    EXPECT_EQ(lines, std::vector<int>{2});
  }
}
