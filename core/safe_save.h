// Saving a file whole without ever leaving half of it: replaced through a
// temporary file where that is possible, otherwise overwritten in place with
// a copy of the old content kept until the new one is whole.
#pragma once

#include <string>
#include <string_view>

namespace safe_save {

// Makes content the whole of the file at path (created when missing).
// Raises Exception ("<path> に書き込めません (<reason>)") when that is not
// possible; the old file then stays as it was.
void SaveFile(const std::string& path, std::string_view content);

// At a start: finishes or undoes a save in place of the file at path that a
// kill cut short (see core/inplace_file.h).  0, or the error number when
// the file could not be put right; it must then not be saved over, so that
// a later start can try again.
int RecoverInterruptedSave(const std::string& path);

}  // namespace safe_save
