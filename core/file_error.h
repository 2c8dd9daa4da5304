// The messages the window gives for files it cannot open, read or write.
//
// Every such message names the file and says why: "<file>: <reason>".  The
// common reasons are in Japanese; any other is the C library's own text for
// the error number in the user's locale, so that a rare error still says
// what happened and no English text of the engine stands among Japanese
// ones.  All texts are Shift-JIS, as every message the window shows.
//
// The engine's exceptions carry their error number, which
// Message(file, exception) words as above.
#pragma once

#include <exception>
#include <string>

namespace file_error {

// The reason for an error number (or io_error::kNotRegularFile), Shift-JIS.
std::string Reason(int error);

// "<file>: <reason>".  fileNameSjis is the name as the user should read it.
std::string Message(const std::string& fileNameSjis, int error);

// "<file>: <reason>" for an error raised while reading the file: the engine's
// file errors are worded as above, anything else keeps its own message.
std::string Message(const std::string& fileNameSjis, const std::exception& error);

}  // namespace file_error
