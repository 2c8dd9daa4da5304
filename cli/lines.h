// The input as kovagrep prints it: raw lines with their own line ends, read
// in chunks that end after a line feed, so that memory stays bounded by the
// chunk size or the longest line; and those lines in order, with their
// offsets, as the search follows the engine's reports.
//
// Lines are cut as the engine's reader cuts them (a line feed, CR LF or a
// lone CR ends a line), so that the numbers of the lines the engine reports
// name the same lines here.  Unlike the reader, nothing is rewritten: CR LF
// and zero bytes stay as they are in the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

// A read error; Error is the errno value.
struct TReadError {
  int Error;
};

class TChunkReader {
 public:
  // A regular file may grow while it is read: its end is looked for again
  // on every call.  Any other input ends for good at its first end (a
  // terminal would wait again after Ctrl-D).
  TChunkReader(int fd, bool regular) : FFd(fd), FRegular(regular) {}

  // The next chunk: whole lines; a last line without a line end only when
  // nothing else is left at the end of the input.  A chunk is handed out
  // once it holds kTargetSize bytes or the input has nothing more at the
  // moment (a pipe that is waiting), so that output from a slow pipe is not
  // held back.  Valid until the next call; false at the end of the input.
  bool Next(std::string_view& chunk);

  static constexpr std::size_t kTargetSize = 1 << 20;

 private:
  void Reserve(std::size_t bytes);

  int FFd;
  bool FRegular;
  std::unique_ptr<char[]> FData;
  std::size_t FCapacity = 0;
  std::size_t FSize = 0;       // bytes held
  std::size_t FHandedOut = 0;  // bytes at the front that the last chunk held
  bool FEnd = false;
};

// One line of a chunk: its bytes without the line end, and the line end as
// it stands ("\n", "\r\n", "\r", or empty for a last line without one).
struct TRawLine {
  std::string_view Text;
  std::string_view End;
};

// Cuts a chunk into lines.
class TLineCutter {
 public:
  explicit TLineCutter(std::string_view chunk) : FChunk(chunk) {}
  bool AtEnd() const { return FPos >= FChunk.size(); }
  std::size_t Position() const { return FPos; }
  TRawLine Next();
  // Passes over up to n lines at once where the bytes allow counting line
  // feeds in bulk; returns the number passed (fewer only at the chunk's end).
  std::int64_t Skip(std::int64_t n);

 private:
  std::string_view FChunk;
  std::size_t FPos = 0;
};

// The lines of one input in order, with their byte offsets in the input:
// read from the file a chunk at a time as they are asked for, or the lines of
// one chunk of a stream that is already in memory (no reader; chunkOffset is
// then the chunk's offset in the stream).
class TFollower {
 public:
  TFollower(TChunkReader* reader, std::string_view chunk, std::int64_t chunkOffset = 0)
      : FReader(reader), FChunk(chunk), FLines(chunk), FChunkOffset(chunkOffset) {}

  bool Next(TRawLine& line, std::int64_t& offset) {
    if (!Fill()) return false;
    offset = FChunkOffset + static_cast<std::int64_t>(FLines.Position());
    line = FLines.Next();
    return true;
  }
  // Passes over up to n lines; returns the number passed.
  std::int64_t Skip(std::int64_t n) {
    std::int64_t passed = 0;
    while (passed < n && Fill()) passed += FLines.Skip(n - passed);
    return passed;
  }

 private:
  bool Fill() {
    while (FLines.AtEnd()) {
      if (FReader == nullptr) return false;
      FChunkOffset += static_cast<std::int64_t>(FChunk.size());
      if (!FReader->Next(FChunk)) return false;
      FLines = TLineCutter(FChunk);
    }
    return true;
  }

  TChunkReader* FReader;
  std::string_view FChunk;
  TLineCutter FLines;
  std::int64_t FChunkOffset;
};
