#include "lines.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "bytescan.h"

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
  for (;;) {
    if (FEnd) {
      if (FSize == 0) return false;
      chunk = {FData.get(), FSize};
      FHandedOut = FSize;
      return true;
    }
    const std::size_t want = std::max<std::size_t>(kTargetSize - std::min(FSize, kTargetSize), 65536);
    Reserve(want);
    const ssize_t n = ::read(FFd, FData.get() + FSize, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw TReadError{errno};
    }
    if (n == 0) {
      FEnd = true;
      continue;
    }
    FSize += static_cast<std::size_t>(n);
    if (FSize < kTargetSize && static_cast<std::size_t>(n) == want) continue;
    // Cut after the last line feed; without one, a long line reads on.
    const void* last = memrchr(FData.get() + searched, '\n', FSize - searched);
    if (last == nullptr) {
      searched = FSize;
      continue;
    }
    FHandedOut = static_cast<std::size_t>(static_cast<const char*>(last) - FData.get()) + 1;
    chunk = {FData.get(), FHandedOut};
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
  while (passed < n && !AtEnd()) {
    // The line feeds that end the next lines, up to about kSpan bytes on.
    const char* const data = FChunk.data();
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
      // Only line feeds (CR LF included) end lines there: passed at once.
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
