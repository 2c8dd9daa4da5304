// Small file-system helpers: the folder and the name in a path, whether the
// user may write a file or folder, and the bytes of a path that a toolkit
// could only show.
#pragma once

#include <sys/stat.h>

#include <functional>
#include <string>

namespace file_system {

// The folder that holds path: "." for a bare name, "/" for a name in the root.
std::string ParentOf(const std::string& path);
// The last component of path.
std::string NameOf(const std::string& path);

// Whether the user may write path, whose status is st (with extraAccess, an
// access() mode such as X_OK, also allowed).  Nobody may write an object
// without any write permission bit, the superuser included, whom access()
// alone would let through.
bool MayWrite(const std::string& path, const struct stat& st, int extraAccess = 0);

// The absolute path on disk that shown (an absolute path as a toolkit shows
// it) stands for, where decode turns a name on disk into what is shown: a
// name that is no text in the user's locale (Shift-JIS bytes) is shown with
// replacement characters and cannot be encoded back.  Each component is
// taken as it is when that name exists, else as the one entry of its folder
// that is shown the same; "" when there is none, or more than one.
std::string PathShownAs(const std::u16string& shown, const std::function<std::u16string(const std::string&)>& decode,
                        const std::function<std::string(const std::u16string&)>& encode);

}  // namespace file_system
