#include "cli/search.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "sjis/posix_io.h"

namespace {

// GNU grep looks for a zero byte in the first buffer it reads.
constexpr std::size_t kBinaryProbe = 32768;

}  // namespace

// The lines kovagrep prints, read alongside the engine: from the file itself
// (reading chunks as the engine's reports run ahead), or from the one chunk
// of a stream that the engine is scanning.
class TFollower {
 public:
  TFollower(TChunkReader* reader, std::string_view chunk) : FReader(reader), FChunk(chunk), FLines(chunk) {}

  bool Next(TRawLine& line, std::int64_t& offset) {
    if (!Fill()) return false;
    offset = OffsetBase + FChunkOffset + static_cast<std::int64_t>(FLines.Position());
    line = FLines.Next();
    return true;
  }
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
  std::int64_t FChunkOffset = 0;

 public:
  std::int64_t OffsetBase = 0;  // offset of the stream chunk in the input
};

TSearch::TSearch(const TOptions& options, const TEnginePattern& pattern, TOutput& output)
    : FOptions(options), FPattern(pattern), FOutput(output) {
  if (pattern.None) return;
  const bool dbMeta = options.DBMeta && !options.Fixed;
  if (options.Word || options.OnlyMatching || output.Colours() != nullptr)
    FMatcher = std::make_unique<TLineMatcher>(pattern.Pattern, options.IgnoreCase, dbMeta, options.Word);
  if (!pattern.EveryLine) {
    FGrep = std::make_unique<TGrep>();
    FGrep->SetAcceptDBMeta(dbMeta);
    FGrep->SetIgnoreCase(options.IgnoreCase);
    FGrep->SetPattern(pattern.Pattern);
  }
}

TSearch::~TSearch() {
  if (FMemFd >= 0) ::close(FMemFd);
}

bool TSearch::Search(const std::string& displayName, int fd, const std::string& path, bool regular, bool showName) {
  FName = displayName;
  FShowName = showName;
  FBinary = false;
  FLineNo = 0;
  FSelected = 0;
  FAfterLeft = 0;
  FLimitReached = false;
  FLastPrinted = 0;
  FBefore.clear();
  if (FOptions.MaxCount != 0) {
    try {
      if (regular)
        SearchRegular(fd, path);
      else
        SearchStream(fd);
    } catch (const TStop&) {
    }
  }
  const std::string& fn = FOutput.Colours() ? FOutput.Colours()->FileName : std::string();
  if (FOptions.Count) {
    if (FShowName) {
      FOutput.Coloured(FName, fn, false);
      if (FOptions.Null)
        FOutput.Bytes(std::string_view("\0", 1));
      else
        Separator(':');
    }
    FOutput.Bytes(std::to_string(FSelected));
    FOutput.EndLine();
  }
  if ((FOptions.FilesWithMatches && FSelected > 0) || (FOptions.FilesWithoutMatch && FSelected == 0)) {
    FOutput.Coloured(FName, fn, false);
    if (FOptions.Null)
      FOutput.Bytes(std::string_view("\0", 1));
    else
      FOutput.EndLine();
  }
  if (FBinary && FSelected > 0 && !FOptions.Count && !FOptions.FilesWithMatches && !FOptions.FilesWithoutMatch) {
    FOutput.Bytes("Binary file " + FName + " matches");
    FOutput.EndLine();
  }
  return FSelected > 0;
}

// A zero byte near the start makes a file binary: its matching lines are
// not printed, only that it matches; with --binary-files=without-match it
// is not searched.  Returns false when the file is to be skipped.
bool TSearch::BinaryStart(int fd, bool regular, std::string_view firstChunk) {
  if (FOptions.BinaryFiles == TBinaryFiles::Text) return true;
  bool zero;
  if (regular) {
    char probe[kBinaryProbe];
    const ssize_t n = posix_io::ReadAt(fd, probe, sizeof probe, 0);
    if (n < 0) throw TReadError{errno};
    zero = std::memchr(probe, 0, static_cast<std::size_t>(n)) != nullptr;
  } else {
    zero = std::memchr(firstChunk.data(), 0, std::min(firstChunk.size(), kBinaryProbe)) != nullptr;
  }
  if (zero && FOptions.BinaryFiles == TBinaryFiles::WithoutMatch) return false;
  FBinary = zero;
  return true;
}

void TSearch::SearchRegular(int fd, const std::string& path) {
  if (!BinaryStart(fd, true, {})) return;
  TChunkReader reader(fd, true);
  TFollower follower(&reader, {});
  TRawLine line;
  std::int64_t offset;
  if (!FGrep) {
    while (follower.Next(line, offset)) Take(line, FPattern.EveryLine, offset);
    return;
  }
  // Counting the lines that match needs none of their bytes.
  const bool countOnly = !FOptions.Invert && !FOptions.Word &&
                         (FOptions.Count || FOptions.FilesWithMatches || FOptions.FilesWithoutMatch || FOptions.Quiet);
  FGrep->CountOnly = countOnly;
  FGrep->OnMatch = [&](TGrep&, LineInfo_t info) {
    if (countOnly) return Selected({}, 0);
    FollowTo(follower, static_cast<std::int64_t>(info.LineNo));
    if (follower.Next(line, offset)) Take(line, true, offset);
  };
  FGrep->GrepFile(path, nullptr);
  if (countOnly) return;
  if (FOptions.Invert || FAfterLeft > 0)
    while (follower.Next(line, offset)) Take(line, false, offset);
}

// A stream is read once: each chunk goes to the engine through an in-memory
// file, and its lines are taken from the chunk itself.
void TSearch::SearchStream(int fd) {
  TChunkReader reader(fd, false);
  std::string_view chunk;
  std::int64_t chunkOffset = 0;
  bool first = true;
  while (reader.Next(chunk)) {
    if (first && !BinaryStart(fd, false, chunk)) return;
    first = false;
    TFollower follower(nullptr, chunk);
    follower.OffsetBase = chunkOffset;
    TRawLine line;
    std::int64_t offset;
    if (!FGrep) {
      while (follower.Next(line, offset)) Take(line, FPattern.EveryLine, offset);
    } else {
      if (FMemFd < 0) {
        FMemFd = memfd_create("kovagrep", MFD_CLOEXEC);
        if (FMemFd < 0) throw TReadError{errno};
      }
      if (::ftruncate(FMemFd, 0) != 0) throw TReadError{errno};
      if (!posix_io::WriteAllAt(FMemFd, chunk.data(), chunk.size(), 0)) throw TReadError{errno};
      const std::int64_t base = FLineNo;
      FGrep->CountOnly = false;
      FGrep->OnMatch = [&](TGrep&, LineInfo_t info) {
        FollowTo(follower, base + static_cast<std::int64_t>(info.LineNo));
        if (follower.Next(line, offset)) Take(line, true, offset);
      };
      if (::lseek(FMemFd, 0, SEEK_SET) != 0) throw TReadError{errno};
      FGrep->GrepDescriptor(FMemFd, FName, nullptr);
      // The rest of the chunk: its lines for -v and context, else only counted.
      if (FOptions.Invert || FAfterLeft > 0 || FOptions.Before > 0) {
        while (follower.Next(line, offset)) Take(line, false, offset);
      } else {
        FLineNo += follower.Skip(INT64_MAX);
      }
    }
    chunkOffset += static_cast<std::int64_t>(chunk.size());
  }
}

// Takes the lines before the engine's next report: as lines that do not
// match where -v or context need them, else passed over in bulk.
void TSearch::FollowTo(TFollower& follower, std::int64_t lineNo) {
  TRawLine line;
  std::int64_t offset;
  while (FLineNo < lineNo - 1) {
    const std::int64_t remaining = lineNo - 1 - FLineNo;
    if (!FOptions.Invert && FAfterLeft == 0 && remaining > FOptions.Before) {
      const std::int64_t passed = follower.Skip(remaining - FOptions.Before);
      FLineNo += passed;
      if (passed == 0) return;
      continue;
    }
    if (!follower.Next(line, offset)) return;
    Take(line, false, offset);
  }
}

void TSearch::Take(const TRawLine& line, bool candidate, std::int64_t offset) {
  ++FLineNo;
  const bool matched = candidate && (!FOptions.Word || FMatcher->Matches(line.Text));
  if (FLimitReached) {
    // Trailing context of the last line that -m allowed.
    PrintLine(line.Text, line.End, FLineNo, offset, '-');
    if (--FAfterLeft <= 0) throw TStop();
    return;
  }
  if (matched != FOptions.Invert) {
    Selected(line, offset);
  } else if (FAfterLeft > 0) {
    --FAfterLeft;
    PrintLine(line.Text, line.End, FLineNo, offset, '-');
  } else if (FOptions.Before > 0) {
    FBefore.push_back({std::string(line.Text), std::string(line.End), FLineNo, offset});
    if (static_cast<std::int64_t>(FBefore.size()) > FOptions.Before) FBefore.pop_front();
  }
}

void TSearch::Selected(const TRawLine& line, std::int64_t offset) {
  ++FSelected;
  const bool last = FSelected == FOptions.MaxCount;
  if (FOptions.Quiet) throw TQuietMatch();
  if (FOptions.FilesWithMatches || FOptions.FilesWithoutMatch) throw TStop();
  if (FOptions.Count) {
    if (last) throw TStop();
    return;
  }
  if (FBinary) throw TStop();  // its lines are not printed, only that it matches
  for (const TContextLine& before : FBefore) {
    // Lines passed over in bulk leave older lines in the queue.
    if (before.Number > FLastPrinted && before.Number >= FLineNo - FOptions.Before)
      PrintLine(before.Text, before.End, before.Number, before.Offset, '-');
  }
  FBefore.clear();
  PrintLine(line.Text, line.End, FLineNo, offset, ':');
  FAfterLeft = FOptions.After;
  if (last) {
    FLimitReached = true;
    if (FAfterLeft == 0) throw TStop();
  }
}

// "--" between groups of lines that are not adjacent, when context is asked.
void TSearch::GroupSeparator(std::int64_t number) {
  if (FOptions.Before == 0 && FOptions.After == 0) return;
  if (FAnyGroup && (FLastPrinted == 0 || number > FLastPrinted + 1)) {
    FOutput.Coloured("--", FOutput.Colours() ? FOutput.Colours()->Separator : std::string(), false);
    FOutput.EndLine();
  }
  FAnyGroup = true;
}

void TSearch::Separator(char c) {
  FOutput.Coloured(std::string_view(&c, 1), FOutput.Colours() ? FOutput.Colours()->Separator : std::string(), false);
}

void TSearch::Prefix(std::int64_t number, std::int64_t offset, char separator) {
  const TColours* colours = FOutput.Colours();
  static const std::string none;
  if (FShowName) {
    FOutput.Coloured(FName, colours ? colours->FileName : none, false);
    if (FOptions.Null)
      FOutput.Bytes(std::string_view("\0", 1));
    else
      Separator(separator);
  }
  if (FOptions.LineNumbers) {
    FOutput.Coloured(std::to_string(number), colours ? colours->LineNumber : none, false);
    Separator(separator);
  }
  if (FOptions.ByteOffset) {
    FOutput.Coloured(std::to_string(offset), colours ? colours->ByteOffset : none, false);
    Separator(separator);
  }
}

void TSearch::PrintLine(std::string_view text, std::string_view end, std::int64_t number, std::int64_t offset,
                        char separator) {
  // As in GNU grep, a selected line holds matches unless -v, a context line
  // only with -v; only those lines show matches (coloured, or with -o).
  const bool matching = (separator == ':') != FOptions.Invert;
  GroupSeparator(number);
  FLastPrinted = number;
  if (FOptions.OnlyMatching) {
    // Only the matches, of context lines too (with -v those are the lines
    // that match); a line without a match prints nothing.
    if (matching) PrintMatches(text, number, offset, separator);
    return;
  }
  Prefix(number, offset, separator);
  const TColours* colours = FOutput.Colours();
  if (colours != nullptr && matching && FMatcher) {
    const std::string& sgr = separator == ':' ? colours->SelectedMatch : colours->ContextMatch;
    std::size_t pos = 0;
    std::size_t at, length;
    while (pos < text.size() && FMatcher->Find(text, pos, at, length)) {
      if (length == 0) {
        // An empty match colours nothing; look again one character on.
        if (at >= text.size()) break;
        const std::size_t next = at + CharLength(text, at);
        FOutput.Text(text.substr(pos, next - pos));
        pos = next;
        continue;
      }
      FOutput.Text(text.substr(pos, at - pos));
      FOutput.Coloured(text.substr(at, length), sgr, true);
      pos = at + length;
    }
    FOutput.Text(text.substr(pos));
  } else {
    FOutput.Text(text);
  }
  FOutput.EndLine(end);
}

// -o: every match on a line of its own, with the line's prefix and, for -b,
// the match's own offset.
void TSearch::PrintMatches(std::string_view text, std::int64_t number, std::int64_t offset, char separator) {
  const TColours* colours = FOutput.Colours();
  static const std::string none;
  const std::string& sgr = !colours ? none : separator == ':' ? colours->SelectedMatch : colours->ContextMatch;
  std::size_t pos = 0;
  std::size_t at, length;
  while (pos <= text.size() && FMatcher->Find(text, pos, at, length)) {
    if (length == 0) {
      if (at >= text.size()) break;
      pos = at + CharLength(text, at);
      continue;
    }
    Prefix(number, offset + static_cast<std::int64_t>(at), separator);
    FOutput.Coloured(text.substr(at, length), sgr, true);
    FOutput.EndLine();
    pos = at + length;
  }
}
