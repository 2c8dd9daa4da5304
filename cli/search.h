// The search of one input: which lines are selected (the engine finds the
// lines that hold a match, -w and -v decide), what is printed for them
// (lines, matches, context, counts, names) and when the search stops early.
//
// The engine scans the file on its own and reports the numbers of matching
// lines; the lines themselves are printed from kovagrep's own reading of the
// input (lines.h), which keeps the bytes as they stand in the file and gives
// the lines between reports for -v and context.  Input that is not a regular
// file (standard input, pipes) is handed to the engine a chunk at a time
// through an in-memory file, so that it is read only once and as it comes.
// Standard input is always read so, even when it is a file.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "cli/lines.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/patterns.h"
#include "grep/grep.h"

class TFollower;

// Raised when -q has found a selected line: the run ends at once, status 0.
struct TQuietMatch {};

class TSearch {
 public:
  TSearch(const TOptions& options, const TEnginePattern& pattern, TOutput& output);
  ~TSearch();

  // Searches the open descriptor; path names the file for the engine (empty
  // for input that is not a regular file).  Returns whether a line was
  // selected.  Raises TReadError, TWriteError, TQuietMatch and the engine's
  // exceptions.
  bool Search(const std::string& displayName, int fd, const std::string& path, bool regular, bool showName);

 private:
  struct TContextLine {
    std::string Text;
    std::string End;
    std::int64_t Number;
    std::int64_t Offset;
  };
  class TStop {};  // this input needs no more lines

  void SearchRegular(int fd, const std::string& path);
  void SearchStream(int fd);
  void FollowTo(TFollower& follower, std::int64_t lineNo);
  void Take(const TRawLine& line, bool candidate, std::int64_t offset);
  void Selected(const TRawLine& line, std::int64_t offset);
  void PrintLine(std::string_view text, std::string_view end, std::int64_t number, std::int64_t offset, char separator);
  void PrintMatches(std::string_view text, std::int64_t number, std::int64_t offset, char separator);
  void Prefix(std::int64_t number, std::int64_t offset, char separator);
  void Separator(char c);
  void GroupSeparator(std::int64_t number);
  bool BinaryStart(int fd, bool regular, std::string_view firstChunk);

  const TOptions& FOptions;
  const TEnginePattern& FPattern;
  TOutput& FOutput;
  std::unique_ptr<TGrep> FGrep;
  std::unique_ptr<TLineMatcher> FMatcher;
  bool FNeedMatcher;
  int FMemFd = -1;

  // Per input.
  std::string FName;
  bool FShowName = false;
  bool FBinary = false;
  std::int64_t FLineNo = 0;  // lines taken so far
  std::int64_t FSelected = 0;
  std::int64_t FAfterLeft = 0;
  bool FLimitReached = false;
  std::int64_t FLastPrinted = 0;     // 0: none in this input
  std::deque<TContextLine> FBefore;  // at most Before lines
  // Across inputs: whether a group of lines has been printed (for "--").
  bool FAnyGroup = false;
};
