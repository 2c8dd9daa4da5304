// Feeding one input to the engine, and its lines, numbered, to the selection.
//
// The engine scans the file on its own and reports the numbers of matching
// lines; the lines themselves come from kovagrep's own reading of the input
// (lines.h), which keeps the bytes as they stand in the file.  The lines the
// engine does not report are handed on where -v or context need them, else
// passed over in bulk.  Input that is not a regular file (standard input,
// pipes) is handed to the engine a chunk at a time through an in-memory
// file, so that it is read only once and as it comes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "cli/lines.h"
#include "cli/options.h"
#include "cli/patterns.h"
#include "cli/selection.h"
#include "grep/grep.h"

class TEngineFeed {
 public:
  TEngineFeed(const TOptions& options, const TEnginePattern& pattern, TSelection& selection);
  ~TEngineFeed();
  TEngineFeed(const TEngineFeed&) = delete;
  TEngineFeed& operator=(const TEngineFeed&) = delete;

  // A regular file, open as fd; path names it for the engine.  Raises
  // TReadError, the selection's exceptions and the engine's.
  void Regular(int fd, const std::string& path);
  // Any other input, read from fd once; name names it for the engine.
  void Stream(int fd, const std::string& name);

 private:
  void Hand(const TRawLine& line, std::int64_t offset, bool candidate) {
    FSelection.Take(line, ++FLineNo, offset, candidate);
  }
  void HandRest(TFollower& follower, bool candidate);
  void FollowTo(TFollower& follower, std::int64_t lineNo);
  void MemoryFile(std::string_view chunk);

  const TOptions& FOptions;
  const TEnginePattern& FPattern;
  TSelection& FSelection;
  std::unique_ptr<TGrep> FGrep;  // none when every line matches, or none
  int FMemFd = -1;
  std::int64_t FLineNo = 0;  // lines handed on or passed over in this input
};
