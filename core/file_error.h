// The messages the window gives for files it cannot open, read or write:
// "<file>: <reason>" and "<file> に書き込めません", Shift-JIS as every
// message the window shows.
#pragma once

#include <exception>
#include <string>

namespace file_error {

// The reason for an error number (or io_error::kNotRegularFile): the common
// reasons in Japanese, any other in the C library's own words in the user's
// locale, so that a rare error still says what happened and no English text
// of the engine stands among Japanese ones.
std::string Reason(int error);

// "<file>: <reason>".  fileNameSjis is the name as the user should read it.
std::string Message(const std::string& fileNameSjis, int error);

// "<file>: <reason>" for an error raised while reading the file: the engine's
// file errors, which carry their error number, are worded as above, anything
// else keeps its own message.
std::string Message(const std::string& fileNameSjis, const std::exception& error);

// The error of a file that cannot be written: Exception
// ("<path> に書き込めません"), the path as it is on disk, followed by
// " (<reason>)" when the error number that stopped the write is known.
[[noreturn]] void ThrowCannotWrite(const std::string& path, int error = 0);

}  // namespace file_error
