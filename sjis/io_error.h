// Why a file could not be opened, read or written: the error number's reason
// as every layer words it.  The reasons a user commonly meets are Japanese
// (Shift-JIS, as every message of the engine); any other is the C library's
// text for the number.
#pragma once

#include <string>
#include <string_view>

namespace io_error {

// Not an error number: a FIFO, device or socket where a file was expected.
inline constexpr int kNotRegularFile = -1;

// The Japanese reason for an error number (or kNotRegularFile); empty for a
// number without one.
std::string_view JapaneseReason(int error);

// The Japanese reason, else the C library's text in the C locale (plain
// ASCII, whatever locale the front end has set).
std::string Reason(int error);

}  // namespace io_error
