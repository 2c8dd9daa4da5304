// Saving a file whole without ever leaving half of it: replaced through a
// temporary file where that is possible, otherwise overwritten in place.
#pragma once

#include <string>
#include <string_view>

namespace safe_save {

// Makes content the whole of the file at path (created when missing).
// Raises Exception ("<path> に書き込めません") when that is not possible;
// the old file then stays as it was (unless the disk fails in the middle of
// an in-place write).
void SaveFile(const std::string& path, std::string_view content);

}  // namespace safe_save
