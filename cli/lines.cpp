#include "cli/lines.h"

#include <algorithm>
#include <cstring>

#include "sjis/bytescan.h"

TRawLine TLineCutter::Next() {
  const char* const start = FBytes.data() + FPos;
  const std::size_t rest = FBytes.size() - FPos;
  // An empty rest may have no bytes behind it at all (a null pointer).
  const void* feed = rest == 0 ? nullptr : std::memchr(start, '\n', rest);
  const std::size_t feedAt = feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - start) : rest;
  // A CR before the line feed ends the line on its own unless the line feed
  // follows it directly.
  const void* cr = feedAt == 0 ? nullptr : std::memchr(start, '\r', feedAt);
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
  const char* const data = FBytes.data();
  while (passed < n && !AtEnd()) {
    // A span of whole lines ended by line feeds only (CR LF included) is
    // counted in bulk when all its lines are to be passed.
    const std::size_t span = std::min(kSpan, FBytes.size() - FPos);
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
      const void* feed = std::memchr(data + end, '\n', FBytes.size() - end);
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
