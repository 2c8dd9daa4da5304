#include "cli/output.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "sjis/posix_io.h"
#include "text/encoding.h"

namespace {
constexpr std::size_t kBufferSize = 1 << 16;
}  // namespace

void TColours::Parse(const char* spec) {
  if (spec == nullptr) return;
  std::string_view rest(spec);
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    const std::string_view item = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    const std::size_t eq = item.find('=');
    if (item == "rv") Reverse = true;
    if (item == "ne") NoErase = true;
    if (eq == std::string_view::npos) continue;
    const std::string_view name = item.substr(0, eq);
    const std::string value(item.substr(eq + 1));
    if (name == "mt")
      SelectedMatch = ContextMatch = value;
    else if (name == "ms")
      SelectedMatch = value;
    else if (name == "mc")
      ContextMatch = value;
    else if (name == "sl")
      SelectedLine = value;
    else if (name == "cx")
      ContextLine = value;
    else if (name == "fn")
      FileName = value;
    else if (name == "ln")
      LineNumber = value;
    else if (name == "bn")
      ByteOffset = value;
    else if (name == "se")
      Separator = value;
  }
}

TOutput::TOutput(bool rawSjis, bool lineBuffered, const TColours* colours)
    : FRawSjis(rawSjis),
      FLineBuffered(lineBuffered),
      FColours(colours),
      FBuffer(new char[kBufferSize]),
      FCapacity(kBufferSize) {}

TOutput::~TOutput() = default;

char* TOutput::Room(std::size_t bytes) {
  if (FUsed + bytes > FCapacity) {
    Drain();
    if (bytes > FCapacity) {
      FBuffer.reset(new char[bytes]);
      FCapacity = bytes;
    }
  }
  return FBuffer.get() + FUsed;
}

void TOutput::Bytes(std::string_view bytes) {
  std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
  FUsed += bytes.size();
}

void TOutput::Text(std::string_view sjis) {
  if (FRawSjis) {
    Bytes(sjis);
    return;
  }
  // Converted a slice at a time, so that a long line needs no output buffer
  // three times its size; slices end on character boundaries.
  constexpr std::size_t kSlice = 1 << 15;
  while (!sjis.empty()) {
    std::size_t take = sjis.size();
    if (take > kSlice) {
      take = 0;
      while (take < kSlice) take += CharLength(sjis, take);
    }
    char* const at = Room(take * encoding::kMaxUtf8PerSjisByte);
    FUsed += encoding::SjisToUtf8(sjis.substr(0, take), at);
    sjis.remove_prefix(take);
  }
}

void TOutput::SgrStart(const std::string& sgr) {
  if (FColours == nullptr || sgr.empty()) return;
  Bytes("\33[");
  Bytes(sgr);
  Bytes(FColours->NoErase ? "m" : "m\33[K");
}

void TOutput::Coloured(std::string_view sjis, const std::string& sgr, bool convert) {
  SgrStart(sgr);
  if (convert)
    Text(sjis);
  else
    Bytes(sjis);
  if (FColours != nullptr && !sgr.empty()) Bytes(FColours->NoErase ? "\33[m" : "\33[m\33[K");
}

void TOutput::EndLine(std::string_view rawEnd, bool verbatim) {
  Bytes(verbatim || (FRawSjis && !rawEnd.empty()) ? rawEnd : "\n");
  if (FLineBuffered) Drain();
}

void TOutput::Flush() { Drain(); }

void TOutput::Drain() {
  const std::size_t used = FUsed;
  FUsed = 0;
  if (!posix_io::WriteAll(STDOUT_FILENO, FBuffer.get(), used)) throw TWriteError{errno};
}
