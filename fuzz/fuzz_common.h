// Helpers shared by the fuzz targets: cutting an input into its parts,
// Shift-JIS character boundaries, and failing loudly.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "sjis/sjis.h"

namespace fuzz {

// Reports a broken property and aborts: libFuzzer records a crash and the input.
[[noreturn]] inline void Fail(const char* what, const std::string& detail = {}) {
  std::fprintf(stderr, "FUZZ PROPERTY FAILED: %s\n%s\n", what, detail.c_str());
  std::abort();
}

// An exception that the component must never raise: report it with its text.
[[noreturn]] inline void Unexpected(const char* where, const std::exception& e) {
  Fail(where, std::string("unexpected exception: ") + e.what());
}

// The first limit bytes in hex.
inline std::string Hex(std::string_view bytes, std::size_t limit = 200) {
  std::string out;
  char buf[4];
  for (std::size_t i = 0; i < bytes.size() && i < limit; ++i)
    out.append(buf,
               static_cast<std::size_t>(std::snprintf(buf, sizeof buf, "%02x ", static_cast<unsigned char>(bytes[i]))));
  return bytes.size() > limit ? out + "..." : out;
}

// Character starts of s, cut from its first byte: starts[i] tells whether
// byte i begins a character, starts[s.size()] is true.  A lead byte that is
// the last byte sets endsInLoneLead.
inline std::vector<bool> CharacterStarts(std::string_view s, bool& endsInLoneLead) {
  std::vector<bool> starts(s.size() + 1, false);
  std::size_t i = 0;
  for (; i < s.size(); i += IsDBCSLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1) starts[i] = true;
  endsInLoneLead = i > s.size();
  starts[s.size()] = true;
  return starts;
}

inline bool EndsInLoneLead(std::string_view s) {
  bool lone = false;
  CharacterStarts(s, lone);
  return lone;
}

// The input's first byte (0 when empty) and the rest.
struct TFlagged {
  std::uint8_t Flags = 0;
  std::string_view Rest;
};
inline TFlagged TakeFlags(const std::uint8_t* data, std::size_t size) {
  return size == 0 ? TFlagged{}
                   : TFlagged{data[0], std::string_view(reinterpret_cast<const char*>(data + 1), size - 1)};
}

// Up to the first line feed, and what follows it (the line feed dropped).
inline std::pair<std::string, std::string> SplitFirstLine(std::string_view s) {
  const std::size_t lf = s.find('\n');
  return {std::string(s.substr(0, lf)), lf == std::string_view::npos ? std::string() : std::string(s.substr(lf + 1))};
}

// The parts between line feeds, at most limit of them.
inline std::vector<std::string> SplitLines(std::string_view s, std::size_t limit) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (parts.size() < limit) {
    const std::size_t lf = s.find('\n', start);
    parts.emplace_back(s.substr(start, lf == std::string_view::npos ? std::string_view::npos : lf - start));
    if (lf == std::string_view::npos) break;
    start = lf + 1;
  }
  return parts;
}

// The process's one scratch file (in /dev/shm when writable), named after
// the first call's name and the process, removed at exit.
inline const std::string& ScratchFile(const std::string& name) {
  static const std::string path = [&name] {
    std::error_code ec;
    std::filesystem::path dir = "/dev/shm";
    if (access(dir.c_str(), W_OK) != 0) dir = std::filesystem::temp_directory_path(ec);
    static std::string removeAtExit;
    removeAtExit = (dir / ("kovalex-fuzz-" + std::to_string(getpid()) + "-" + name)).string();
    std::atexit([] { unlink(removeAtExit.c_str()); });
    return removeAtExit;
  }();
  return path;
}

// Replaces the file's content with bytes.
inline void WriteWhole(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) Fail("cannot create the temporary file", path);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) Fail("cannot write the temporary file", path);
    done += static_cast<std::size_t>(n);
  }
  close(fd);
}

}  // namespace fuzz
