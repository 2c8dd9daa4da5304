// The file is read in chunks of a megabyte that overlap by the length of the
// bytes less one so that no occurrence is cut.  A search calls poll between
// chunks (the reader's message pump and cancel test).  A read error ends a
// search with the answer that promises nothing; the reader's own reads
// report it.
//
// The bytes must not be empty and must hold no byte that the reader rewrites
// (line ends, zero bytes, spaces), so that their absence from the file means
// their absence from the text read.  With foldCase their ASCII letters match
// in either case.
#include "grep/filesearch.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "sjis/bytescan.h"
#include "sjis/posix_io.h"

namespace {

// Where the last occurrence of bytes in data begins (data.size() when there
// is none), found from the end: the candidates are the places of the first
// byte (in either case with foldCase).
std::size_t FindLastBytes(std::string_view data, std::string_view bytes, bool foldCase) {
  const auto first = static_cast<unsigned char>(bytes.front());
  int other = first;
  if (foldCase && first >= 'a' && first <= 'z') other = first - 'a' + 'A';
  if (foldCase && first >= 'A' && first <= 'Z') other = first - 'A' + 'a';
  std::size_t end = data.size() >= bytes.size() ? data.size() - bytes.size() + 1 : 0;
  while (end > 0) {
    const void* a = memrchr(data.data(), first, end);
    const void* b = other != first ? memrchr(data.data(), other, end) : nullptr;
    const void* at = a == nullptr ? b : (b == nullptr ? a : std::max(a, b));
    if (at == nullptr) break;
    const auto pos = static_cast<std::size_t>(static_cast<const char*>(at) - data.data());
    if (FindBytes(data.substr(pos, bytes.size()), bytes, foldCase) == 0) return pos;
    end = pos;
  }
  return data.size();
}

// CR LF pairs that begin in data[0, n) (a CR at n - 1 pairs with data[n]).
std::size_t CountCrLf(const char* data, std::size_t n) {
  std::size_t pairs = 0;
  for (const char* p = data;
       (p = static_cast<const char*>(std::memchr(p, '\r', n - static_cast<std::size_t>(p - data)))) != nullptr; ++p)
    if (p[1] == '\n') ++pairs;
  return pairs;
}

// Line ends in data[0, n) as the reader counts them: line feeds, and CRs
// that data[n] or a later byte does not follow with a line feed (so a CR at
// n - 1 counts unless data[n] is a line feed, which the caller may not know
// yet).  Text without a lone CR (the common case, CR LF files included) is
// counted in one pass.
std::int64_t LineEnds(const char* data, std::size_t n) {
  if (n == 0) return 0;
  std::size_t feeds = 0;
  if (!HasZeroOrLoneCR(data, n, feeds)) return static_cast<std::int64_t>(feeds + (data[n - 1] == '\r' ? 1 : 0));
  const std::size_t crs = CountByte(data, n, '\r');
  return static_cast<std::int64_t>(CountByte(data, n, '\n') + crs - (crs > 0 ? CountCrLf(data, n) : 0));
}

}  // namespace

bool FileMayHold(int fd, std::string_view bytes, bool foldCase, const std::function<void()>& poll) {
  // Chunks overlap by the length of the bytes less one, so that no
  // occurrence is cut.
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  const std::size_t overlap = bytes.size() - 1;
  std::string chunk(kChunk + overlap, '\0');
  std::size_t kept = 0;
  for (off_t offset = 0;;) {
    const ssize_t n = posix_io::ReadAt(fd, chunk.data() + kept, kChunk, offset);
    if (n < 0) return true;  // the reader's own reads report the error
    if (n == 0) return false;
    offset += n;
    const std::string_view data(chunk.data(), kept + static_cast<std::size_t>(n));
    if (FindBytes(data, bytes, foldCase) < data.size()) return true;
    kept = std::min(overlap, data.size());
    std::memmove(chunk.data(), data.data() + data.size() - kept, kept);
    poll();
  }
}

std::int64_t LastLineHolding(int fd, off_t start, std::string_view bytes, bool foldCase,
                             const std::function<void()>& poll) {
  // Chunks overlap by the length of the bytes less one, so that no
  // occurrence is cut; line ends are counted in the bytes each chunk adds.
  // Line ends are line feeds and CRs, less the CRs that a line feed follows;
  // a CR that ends a chunk is paired with the byte read after it.
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  const std::size_t overlap = bytes.size() - 1;
  std::string chunk(kChunk + overlap + 1, '\0');
  std::size_t kept = 0;
  std::int64_t ends = 0;  // line ends before chunk[kept]
  std::int64_t last = 0;
  bool pendingCR = false;
  for (off_t offset = start;;) {
    const ssize_t n = posix_io::ReadAt(fd, chunk.data() + kept, kChunk, offset);
    if (n < 0) return -1;  // the reader's own reads report the error
    if (n == 0) return last;
    offset += n;
    const char* const fresh = chunk.data() + kept;
    const auto count = static_cast<std::size_t>(n);
    chunk[kept + count] = '\0';  // a CR at the end pairs with nothing yet
    if (pendingCR && fresh[0] == '\n') --ends;
    const std::string_view data(chunk.data(), kept + count);
    const std::size_t at = FindLastBytes(data, bytes, foldCase);
    if (at < data.size()) {
      // One that begins in the overlap runs on into the new bytes, with no
      // line end in between (it holds none).
      last = 1 + ends + LineEnds(fresh, at - std::min(at, kept));
    }
    ends += LineEnds(fresh, count);
    pendingCR = fresh[count - 1] == '\r';
    kept = std::min(overlap, data.size());
    std::memmove(chunk.data(), data.data() + data.size() - kept, kept);
    // A chunk that fills up usually has more behind it: a poll between
    // chunks, as between blocks.
    if (count == kChunk) poll();
  }
}
