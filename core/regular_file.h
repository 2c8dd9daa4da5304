// Opening a file that must be a regular file, without waiting.
//
// A plain open of a FIFO waits for its writer (or reader) and the open of a
// device may wait for the device: a window that did that would hang before
// it could even show a message.  The file is opened not to block, checked,
// and only then made to block again for its reads and writes.
#pragma once

#include <string>

namespace regular_file {

// Opens path with access (O_RDONLY, O_WRONLY) and returns the descriptor;
// -1 when it cannot be opened, with error set to the error number, EISDIR
// for a directory and file_error::kNotRegularFile for anything else that is
// not a regular file.
int Open(const std::string& path, int access, int& error);

}  // namespace regular_file
