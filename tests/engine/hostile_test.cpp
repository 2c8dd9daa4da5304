// The grep under hostile input: binary files, files that shrink, vanish or
// turn into directories, scans that run long, and the inputs that fuzzing
// found (fuzz/).  Hostile patterns: cache_test.cpp.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>

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

std::vector<TReport> Grep(const std::string& pattern, const std::string& path, TScanChoice choice, bool ignoreCase) {
  TGrep grep;
  grep.ScanChoice = choice;
  grep.SetIgnoreCase(ignoreCase);
  grep.SetPattern(pattern);
  return Scan(grep, path);
}

}  // namespace

// ---------------------------------------------------------------------------
// Files

TEST(HostileFile, BinaryFileGivesTheSameLinesToEveryScan) {
  std::mt19937 random(20260301);
  std::string bytes;
  // Three blocks of the reader and a bit: lines cross block boundaries.
  while (bytes.size() < 3 * 102400 + 777) {
    const auto r = random();
    // Runs of printable text among raw bytes, so that patterns find lines.
    if (r % 7 == 0)
      bytes += "the cat sat " + S("検索") + " ";
    else
      bytes += static_cast<char>(r >> 8);
  }
  bytes += "\x82";  // a lone lead byte at the end of a file without line end
  TTempFile file(bytes);
  const std::vector<std::string> lines = ReaderLines(bytes);
  const std::vector<std::string> patterns = {"cat",     "[^a-z]at", "^t",    "t$",          S("検索"),   "c.t",
                                             "sat|dog", "\\0",      "\\x82", S("索") + " ", "\\xA0\\x82"};
  for (const std::string& pattern : patterns) {
    for (const bool ignoreCase : {false, true}) {
      const auto reference = Grep(pattern, file.Path(), TScanChoice::OneCharacter, ignoreCase);
      EXPECT_EQ(Grep(pattern, file.Path(), TScanChoice::Fast, ignoreCase), reference) << Hex(pattern);
      EXPECT_EQ(Grep(pattern, file.Path(), TScanChoice::AutomatonOnly, ignoreCase), reference) << Hex(pattern);
      for (std::size_t i = 0; i < reference.size(); ++i) {
        ASSERT_GE(reference[i].LineNo, 1);
        ASSERT_LE(static_cast<std::size_t>(reference[i].LineNo), lines.size());
        EXPECT_EQ(reference[i].Line, lines[static_cast<std::size_t>(reference[i].LineNo - 1)]);
        if (i > 0) {
          EXPECT_GT(reference[i].LineNo, reference[i - 1].LineNo);
        }
      }
    }
  }
  // The printable runs are there to be found.
  EXPECT_FALSE(Grep("cat", file.Path(), TScanChoice::Fast, false).empty());
}

TEST(HostileFile, FileThatShrinksDuringTheScanEndsWhereItNowEnds) {
  std::string content;
  for (int i = 0; content.size() < 400000; ++i) content += "entry " + std::to_string(i) + (i % 3 ? " cat\r\n" : "\n");
  const std::size_t cut = 150001;
  std::vector<TReport> expected;
  const std::vector<std::string> lines = ReaderLines(content.substr(0, cut));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find("cat") != std::string::npos) expected.push_back({static_cast<int>(i + 1), lines[i]});
  }
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

TEST(HostileFile, MissingFileOrDirectoryRaisesFileNotFoundWithItsReason) {
  TTempFile file("cat\n");
  TGrep grep;
  grep.SetPattern("cat");
  grep.OnMatch = [](TGrep&, LineInfo_t) {};
  std::filesystem::remove(file.Path());
  try {
    grep.GrepFile(file.Path(), nullptr);
    FAIL() << "no error";
  } catch (const EFileNotFound& e) {
    EXPECT_EQ(e.Message(), S("ファイルが見つかりません"));
  }
  std::filesystem::create_directory(file.Path());
  try {
    grep.GrepFile(file.Path(), nullptr);
    FAIL() << "no error";
  } catch (const EFileNotFound& e) {
    EXPECT_EQ(e.Message(), S("ディレクトリは開けません"));
  }
  EXPECT_FALSE(grep.Busy());
}

// ---------------------------------------------------------------------------
// Scans

// A pattern that matches line feeds lets every attempt run to the end of the
// file (here: no "QQ" anywhere), and once the file is read no block read or
// report comes again; without more polling the window froze and Cancel did
// nothing until the scan's quadratic work was done (a fuzz input timed out).
// The fast scan runs all those attempts in one pass over the file: it reads
// the block once, polls with it and is done.
TEST(HostileScan, AttemptsRunningToTheEndOfTheFileStillPollAndCanBeCancelled) {
  std::string content;
  while (content.size() < 40000) content += "cat dog\n";  // one block of the reader
  TTempFile file(content);
  {
    TGrep grep;
    grep.SetPattern("cat(.|\\n)*QQ");
    grep.OnMatch = [](TGrep&, LineInfo_t) { FAIL() << "no line holds a match"; };
    int polls = 0;
    grep.ProcessMessages = [&] { ++polls; };
    EXPECT_NO_THROW(grep.GrepFile(file.Path(), nullptr));
    EXPECT_EQ(polls, 1);
  }
  for (const TScanChoice choice : {TScanChoice::OneCharacter, TScanChoice::AutomatonOnly}) {
    TGrep grep;
    grep.ScanChoice = choice;
    grep.SetPattern("cat(.|\\n)*QQ");
    grep.OnMatch = [](TGrep&, LineInfo_t) { FAIL() << "no line holds a match"; };
    bool cancel = false;
    int polls = 0;
    // The first call comes with the one block read; the second one only from
    // polling in the middle of the scan.
    grep.ProcessMessages = [&] { cancel = ++polls == 2; };
    EXPECT_THROW(grep.GrepFile(file.Path(), &cancel), ECancelRequest);
    EXPECT_EQ(polls, 2);
    EXPECT_FALSE(grep.Busy());
  }
}

// A line of 4 MB whose bytes could all be lead bytes, holding the fixed
// string's bytes at every second-byte position and nowhere else: every place
// the byte search finds must be told from a character start, and reading back
// over the whole run each time would take time growing with the square of
// the line.  The match at the end is found, and no place before it.
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

// ---------------------------------------------------------------------------
// Inputs found by fuzzing

// The automaton-only scan ran a fixed string's automaton, which is compiled
// with case (the literal scans fold case themselves), so it missed lines
// that differ in case only.
TEST(FuzzRegression, AutomatonOnlyScanIgnoresTheCaseOfAFixedString) {
  TTempFile file("a cat\r\ndog\nCAT sat\n");
  const std::vector<TReport> expected = {{1, "a cat"}, {3, "CAT sat"}};
  for (const TScanChoice choice : {TScanChoice::Fast, TScanChoice::OneCharacter, TScanChoice::AutomatonOnly}) {
    EXPECT_EQ(Grep("cat", file.Path(), choice, true), expected);
    EXPECT_EQ(Grep("cat", file.Path(), choice, false), (std::vector<TReport>{{1, "a cat"}}));
  }
  // Set the scan after the pattern, and switch IgnoreCase back and forth.
  TGrep grep;
  grep.SetIgnoreCase(true);
  grep.SetPattern("cat");
  grep.ScanChoice = TScanChoice::AutomatonOnly;
  EXPECT_EQ(Scan(grep, file.Path()), expected);
  EXPECT_FALSE(grep.CurrentDFA()->IgnoreCase);  // the cache keeps the fixed string's automaton
  grep.SetIgnoreCase(false);
  EXPECT_EQ(Scan(grep, file.Path()).size(), 1u);
  grep.SetIgnoreCase(true);
  EXPECT_EQ(Scan(grep, file.Path()), expected);
}
