#include "cli/lines.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "sjis/bytescan.h"
#include "sjis/posix_io.h"

void TChunkReader::Reserve(std::size_t bytes) {
  if (FSize + bytes <= FCapacity) return;
  const std::size_t capacity = std::max(FCapacity * 2, FSize + bytes);
  auto data = std::make_unique<char[]>(capacity);
  if (FSize > 0) std::memcpy(data.get(), FData.get(), FSize);
  FData = std::move(data);
  FCapacity = capacity;
}

bool TChunkReader::Next(std::string_view& chunk) {
  // Drop what the last chunk held; the rest is the start of a line.
  if (FHandedOut > 0) {
    std::memmove(FData.get(), FData.get() + FHandedOut, FSize - FHandedOut);
    FSize -= FHandedOut;
    FHandedOut = 0;
  }
  std::size_t searched = 0;  // bytes known to hold no line feed
  // Hands out the lines up to the last line feed; false when there is none.
  const auto cut = [&] {
    const void* last = memrchr(FData.get() + searched, '\n', FSize - searched);
    if (last == nullptr) {
      searched = FSize;
      return false;
    }
    FHandedOut = static_cast<std::size_t>(static_cast<const char*>(last) - FData.get()) + 1;
    chunk = {FData.get(), FHandedOut};
    return true;
  };
  for (;;) {
    if (!FEnd) {
      const std::size_t want = std::max<std::size_t>(kTargetSize - std::min(FSize, kTargetSize), 65536);
      Reserve(want);
      const ssize_t n = posix_io::Read(FFd, FData.get() + FSize, want);
      if (n < 0) throw TReadError{errno};
      if (n > 0) {
        FSize += static_cast<std::size_t>(n);
        if (FSize < kTargetSize && static_cast<std::size_t>(n) == want) continue;
        // A short read of a pipe: more may be ready at once.
        pollfd ready = {FFd, POLLIN, 0};
        if (!FRegular && FSize<kTargetSize&& ::poll(&ready, 1, 0)> 0) continue;
        if (cut()) return true;
        continue;
      }
      FEnd = !FRegular;
    }
    // The end, for now: whole lines first, then a last line without a line
    // feed.
    if (FSize == 0) return false;
    if (cut()) return true;
    FHandedOut = FSize;
    chunk = {FData.get(), FSize};
    return true;
  }
}

TRawLine TLineCutter::Next() {
  const char* const start = FChunk.data() + FPos;
  const std::size_t rest = FChunk.size() - FPos;
  const void* feed = std::memchr(start, '\n', rest);
  const std::size_t feedAt = feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - start) : rest;
  // A CR before the line feed ends the line on its own unless the line feed
  // follows it directly.
  const void* cr = std::memchr(start, '\r', feedAt);
  TRawLine line;
  if (cr != nullptr) {
    const auto crAt = static_cast<std::size_t>(static_cast<const char*>(cr) - start);
    const bool crLf = crAt + 1 == feedAt && feed != nullptr;
    line.Text = {start, crAt};
    line.End = {start + crAt, crLf ? 2u : 1u};
  } else {
    line.Text = {start, feedAt};
    line.End = {start + feedAt, feed ? 1u : 0u};
  }
  FPos += line.Text.size() + line.End.size();
  return line;
}

std::int64_t TLineCutter::Skip(std::int64_t n) {
  constexpr std::size_t kSpan = 1 << 16;
  std::int64_t passed = 0;
  const char* const data = FChunk.data();
  while (passed < n && !AtEnd()) {
    // A span of whole lines ended by line feeds only (CR LF included) is
    // counted in bulk when all its lines are to be passed.
    const std::size_t span = std::min(kSpan, FChunk.size() - FPos);
    if (const void* last = memrchr(data + FPos, '\n', span)) {
      const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(last) - data) + 1;
      std::size_t feeds;
      if (!HasZeroOrLoneCR(data + FPos, end - FPos, feeds) && static_cast<std::int64_t>(feeds) <= n - passed) {
        FPos = end;
        passed += static_cast<std::int64_t>(feeds);
        continue;
      }
    }
    // Otherwise the line feeds that end the lines wanted, one by one.
    std::size_t end = FPos;
    std::int64_t feeds = 0;
    while (feeds < n - passed && end - FPos < kSpan) {
      const void* feed = std::memchr(data + end, '\n', FChunk.size() - end);
      if (feed == nullptr) break;
      end = static_cast<std::size_t>(static_cast<const char*>(feed) - data) + 1;
      ++feeds;
    }
    std::size_t counted;
    if (feeds > 0 && !HasZeroOrLoneCR(data + FPos, end - FPos, counted)) {
      FPos = end;
      passed += feeds;
      continue;
    }
    // Lone CRs end lines too, or the last line has no line feed.
    do {
      Next();
      ++passed;
    } while (FPos < end && passed < n);
  }
  return passed;
}
