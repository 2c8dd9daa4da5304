// The messages the window gives for files it cannot open, read or write.
//
// Every such message names the file and says why: "<file>: <reason>".  The
// common reasons are in Japanese; any other is the C library's own text for
// the error number in the user's locale, so that a rare error still says
// what happened and no English text of the engine stands among Japanese
// ones.  All texts are Shift-JIS, as every message the window shows.
//
// The engine's reader reports the common errors in Japanese and any other by
// the C locale's text of its error number; Message(file, exception) takes
// that text back to its number and words it as above.
#pragma once

#include <exception>
#include <string>

namespace file_error {

// Not an error number: a FIFO, device or socket where a file was expected.
inline constexpr int kNotRegularFile = -1;

// The reason for an error number (or kNotRegularFile), Shift-JIS.
std::string Reason(int error);

// "<file>: <reason>".  fileNameSjis is the name as the user should read it.
std::string Message(const std::string& fileNameSjis, int error);

// "<file>: <reason>" for an error raised while reading the file: the engine's
// file errors are worded as above, anything else keeps its own message.
std::string Message(const std::string& fileNameSjis, const std::exception& error);

}  // namespace file_error
