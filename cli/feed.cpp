#include "cli/feed.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>

#include "cli/binary.h"
#include "sjis/posix_io.h"

TEngineFeed::TEngineFeed(const TOptions& options, const TEnginePattern& pattern, TSelection& selection)
    : FOptions(options), FPattern(pattern), FSelection(selection) {
  if (pattern.None || pattern.EveryLine) return;
  FGrep = std::make_unique<TGrep>();
  pattern.Apply(*FGrep);
}

TEngineFeed::~TEngineFeed() {
  if (FMemFd >= 0) ::close(FMemFd);
}

void TEngineFeed::HandRest(TFollower& follower, bool candidate) {
  TRawLine line;
  std::int64_t offset;
  while (follower.Next(line, offset)) Hand(line, offset, candidate);
}

void TEngineFeed::Regular(int fd, const std::string& path) {
  FLineNo = 0;
  const TBinaryVerdict verdict = BinaryVerdict(FOptions.BinaryFiles, fd);
  if (verdict == TBinaryVerdict::Skip) return;
  if (verdict == TBinaryVerdict::Binary) FSelection.SetBinary();
  TChunkReader reader(fd, true);
  TFollower follower(&reader, {});
  if (!FGrep) return HandRest(follower, FPattern.EveryLine);
  // Counting the lines that match needs none of their bytes.
  const bool countOnly = !FOptions.Invert && FPattern.Test == TLineTest::None &&
                         (FOptions.Count || FOptions.FilesWithMatches || FOptions.FilesWithoutMatch || FOptions.Quiet);
  FGrep->CountOnly = countOnly;
  FGrep->OnMatch = [&](TGrep&, LineInfo_t info) {
    if (countOnly) return FSelection.Take({}, static_cast<std::int64_t>(info.LineNo), 0, true);
    FollowTo(follower, static_cast<std::int64_t>(info.LineNo));
    TRawLine line;
    std::int64_t offset;
    if (follower.Next(line, offset)) Hand(line, offset, true);
  };
  FGrep->GrepFile(path, nullptr);
  if (!countOnly && FSelection.WantsOtherLines()) HandRest(follower, false);
}

// A stream is read once: each chunk goes to the engine through an in-memory
// file, and its lines are taken from the chunk itself.
void TEngineFeed::Stream(int fd, const std::string& name) {
  FLineNo = 0;
  TChunkReader reader(fd, false);
  std::string_view chunk;
  std::int64_t chunkOffset = 0;
  bool first = true;
  while (reader.Next(chunk)) {
    if (first) {
      const TBinaryVerdict verdict = BinaryVerdict(FOptions.BinaryFiles, chunk);
      if (verdict == TBinaryVerdict::Skip) return;
      if (verdict == TBinaryVerdict::Binary) FSelection.SetBinary();
      first = false;
    }
    TFollower follower(nullptr, chunk, chunkOffset);
    if (!FGrep) {
      HandRest(follower, FPattern.EveryLine);
    } else {
      MemoryFile(chunk);
      const std::int64_t base = FLineNo;
      FGrep->CountOnly = false;
      FGrep->OnMatch = [&](TGrep&, LineInfo_t info) {
        FollowTo(follower, base + static_cast<std::int64_t>(info.LineNo));
        TRawLine line;
        std::int64_t offset;
        if (follower.Next(line, offset)) Hand(line, offset, true);
      };
      FGrep->GrepDescriptor(FMemFd, name, nullptr);
      // The rest of the chunk: its lines for -v and context, else only counted.
      if (FSelection.WantsOtherLines() || FOptions.Before > 0)
        HandRest(follower, false);
      else
        FLineNo += follower.Skip(INT64_MAX);
    }
    chunkOffset += static_cast<std::int64_t>(chunk.size());
  }
}

// The in-memory file that holds the chunk, at its start, for the engine.
void TEngineFeed::MemoryFile(std::string_view chunk) {
  if (FMemFd < 0) {
    FMemFd = memfd_create("kovagrep", MFD_CLOEXEC);
    if (FMemFd < 0) throw TReadError{errno};
  }
  if (::ftruncate(FMemFd, 0) != 0) throw TReadError{errno};
  if (!posix_io::WriteAllAt(FMemFd, chunk.data(), chunk.size(), 0)) throw TReadError{errno};
  if (::lseek(FMemFd, 0, SEEK_SET) != 0) throw TReadError{errno};
}

// Hands on the lines before the engine's next report: as lines that do not
// match where -v or context need them, else passed over in bulk.
void TEngineFeed::FollowTo(TFollower& follower, std::int64_t lineNo) {
  TRawLine line;
  std::int64_t offset;
  while (FLineNo < lineNo - 1) {
    const std::int64_t remaining = lineNo - 1 - FLineNo;
    if (!FSelection.WantsOtherLines() && remaining > FOptions.Before) {
      const std::int64_t passed = follower.Skip(remaining - FOptions.Before);
      FLineNo += passed;
      if (passed == 0) return;
      continue;
    }
    if (!follower.Next(line, offset)) return;
    Hand(line, offset, false);
  }
}
