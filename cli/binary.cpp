#include "cli/binary.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cli/lines.h"
#include "sjis/posix_io.h"

namespace {

// GNU grep looks for a zero byte in the first buffer it reads.
constexpr std::size_t kBinaryProbe = 32768;

TBinaryVerdict Verdict(TBinaryFiles mode, bool zero) {
  if (!zero) return TBinaryVerdict::Text;
  return mode == TBinaryFiles::WithoutMatch ? TBinaryVerdict::Skip : TBinaryVerdict::Binary;
}

}  // namespace

TBinaryVerdict BinaryVerdict(TBinaryFiles mode, int fd) {
  if (mode == TBinaryFiles::Text) return TBinaryVerdict::Text;
  char probe[kBinaryProbe];
  const ssize_t n = posix_io::ReadAt(fd, probe, sizeof probe, 0);
  if (n < 0) throw TReadError{errno};
  return Verdict(mode, std::memchr(probe, 0, static_cast<std::size_t>(n)) != nullptr);
}

TBinaryVerdict BinaryVerdict(TBinaryFiles mode, std::string_view firstChunk) {
  if (mode == TBinaryFiles::Text) return TBinaryVerdict::Text;
  return Verdict(mode, std::memchr(firstChunk.data(), 0, std::min(firstChunk.size(), kBinaryProbe)) != nullptr);
}
