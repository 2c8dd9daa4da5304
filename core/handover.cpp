#include "core/handover.h"

#include <array>
#include <cstdint>

#include "sjis/exceptions.h"
#include "text/encoding.h"

namespace handover {
namespace {

bool ValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = byte < 0x80         ? 1
                               : (byte >> 5) == 6  ? 2
                               : (byte >> 4) == 14 ? 3
                               : (byte >> 3) == 30 ? 4
                                                   : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

bool OneLine(std::string_view text) { return text.find_first_of(std::string_view("\0\n\r", 3)) == text.npos; }

bool PrintableAscii(std::string_view text) {
  for (const char c : text) {
    if (c < 0x21 || c > 0x7E) return false;
  }
  return true;
}

void PutLength(std::string& out, std::size_t length) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((length >> shift) & 0xFF);
}

std::size_t GetLength(std::string_view bytes) {
  std::size_t length = 0;
  for (int k = 0; k < 4; ++k) length = (length << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(k)]);
  return length;
}

}  // namespace

bool Valid(const TRequest& request) {
  return request.Query.size() <= kMaxQueryBytes && ValidUtf8(request.Query) && OneLine(request.Query) &&
         request.Folder.size() <= kMaxFolderBytes && request.Folder.find('\0') == std::string::npos &&
         request.Token.size() <= kMaxTokenBytes && PrintableAscii(request.Token);
}

std::string Encode(const TRequest& request) {
  if (!Valid(request)) throw Exception("invalid hand-over request");
  std::string out(kMagic);
  for (const std::string* field : {&request.Query, &request.Folder, &request.Token}) {
    PutLength(out, field->size());
    out += *field;
  }
  return out;
}

TDecoded Decode(std::string_view bytes, TRequest& request) {
  const std::size_t magic = std::min(bytes.size(), kMagic.size());
  if (bytes.substr(0, magic) != kMagic.substr(0, magic)) return TDecoded::Malformed;
  if (bytes.size() < kMagic.size()) return TDecoded::Incomplete;
  const std::array<std::size_t, 3> bounds = {kMaxQueryBytes, kMaxFolderBytes, kMaxTokenBytes};
  std::array<std::string, 3> fields;
  std::size_t at = kMagic.size();
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (bytes.size() < at + 4) return TDecoded::Incomplete;
    const std::size_t length = GetLength(bytes.substr(at, 4));
    if (length > bounds[k]) return TDecoded::Malformed;
    at += 4;
    if (bytes.size() < at + length) return TDecoded::Incomplete;
    fields[k] = std::string(bytes.substr(at, length));
    at += length;
  }
  if (bytes.size() != at) return TDecoded::Malformed;
  TRequest decoded{std::move(fields[0]), std::move(fields[1]), std::move(fields[2])};
  if (!Valid(decoded)) return TDecoded::Malformed;
  request = std::move(decoded);
  return TDecoded::Complete;
}

std::string SocketPath(const std::string& runtimeDir, const std::string& waylandDisplay,
                       const std::string& x11Display) {
  std::string display = waylandDisplay.empty() ? x11Display : waylandDisplay;
  // A Wayland display may be given as a path of its own.
  if (const std::size_t slash = display.rfind('/'); slash != std::string::npos) display.erase(0, slash + 1);
  if (runtimeDir.empty() || runtimeDir.front() != '/' || display.empty()) return {};
  for (char& c : display) {
    const bool plain =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
    if (!plain) c = '_';
  }
  return (runtimeDir.back() == '/' ? runtimeDir : runtimeDir + "/") + "kovalex-" + display;
}

std::string QueryFromInput(std::string_view input) {
  std::string_view line = input.substr(0, input.find('\n'));
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > kMaxQueryBytes)
    throw Exception("the query on standard input is longer than " + std::to_string(kMaxQueryBytes) + " bytes");
  return std::string(line);
}

}  // namespace handover
