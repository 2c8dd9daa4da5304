// The hand-over of a query from a second start of the program to the window
// that already runs for the same user and display: the socket's name and
// the message sent over it.
//
// A message is "KVLX" and three fields, each a 4-byte big-endian length and
// its bytes: the query (UTF-8, one line; empty: the text on the clipboard of
// the window's display), the dictionary folder (bytes, may
// be empty) and the desktop's activation token (printable ASCII, may be
// empty).  Every field has its bound; anything else is malformed and the
// window ignores it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace handover {

inline constexpr std::size_t kMaxQueryBytes = 4096;
inline constexpr std::size_t kMaxFolderBytes = 4096;
inline constexpr std::size_t kMaxTokenBytes = 1024;
inline constexpr std::string_view kMagic = "KVLX";
inline constexpr std::size_t kMaxMessageBytes =
    kMagic.size() + 3 * 4 + kMaxQueryBytes + kMaxFolderBytes + kMaxTokenBytes;

struct TRequest {
  std::string Query;  // UTF-8
  std::string Folder;
  std::string Token;
  bool operator==(const TRequest&) const = default;
};

// Whether each field is within its bound and of its kind.
bool Valid(const TRequest& request);

// The message of a valid request; raises Exception for an invalid one.
std::string Encode(const TRequest& request);

enum class TDecoded { Incomplete, Complete, Malformed };
// Reads a request from the bytes received so far.  Incomplete until the
// whole message is there; Malformed as soon as the bytes cannot begin a
// valid message, or there are bytes after it.
TDecoded Decode(std::string_view bytes, TRequest& request);

// The socket's path: $XDG_RUNTIME_DIR/kovalex-<display>, the display's name
// with characters other than letters, digits, "-" and "." as "_"; the
// Wayland display counts before the X display.  "" without a runtime
// folder or a display: then every start opens its own window.
std::string SocketPath(const std::string& runtimeDir, const std::string& waylandDisplay, const std::string& x11Display);

// The query read from standard input: its first line without the line end
// (LF or CR LF).  Raises Exception when it is longer than kMaxQueryBytes.
std::string QueryFromInput(std::string_view input);

}  // namespace handover
