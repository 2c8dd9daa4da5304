#include "cli/records.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "cli/lines.h"
#include "sjis/posix_io.h"

void FeedRecords(int fd, const TMatchFinder* matcher, TSelection& selection) {
  constexpr std::size_t kBlock = 1 << 16;
  std::vector<char> data;    // the start of a line, then what was read
  std::size_t searched = 0;  // bytes at data's start known to hold no zero byte
  std::int64_t offset = 0;   // of data's first byte in the input
  std::int64_t number = 0;
  for (bool end = false; !end;) {
    const std::size_t held = data.size();
    data.resize(held + kBlock);
    const ssize_t n = posix_io::Read(fd, data.data() + held, kBlock);
    if (n < 0) throw TReadError{errno};
    data.resize(held + static_cast<std::size_t>(n));
    end = n == 0;
    // Whole lines, and at the end a last line without its zero byte.
    std::size_t start = 0;
    while (start < data.size()) {
      const std::size_t from = std::max(start, searched);
      const void* zero = std::memchr(data.data() + from, '\0', data.size() - from);
      if (zero == nullptr && !end) break;
      const std::size_t stop =
          zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - data.data()) : data.size();
      const TRawLine line{{data.data() + start, stop - start}, zero ? std::string_view("\0", 1) : std::string_view()};
      selection.Take(line, ++number, offset + static_cast<std::int64_t>(start), matcher && matcher->Matches(line.Text));
      start = stop + line.End.size();
    }
    data.erase(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(start));
    offset += static_cast<std::int64_t>(start);
    searched = data.size();
  }
}
