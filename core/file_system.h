// Small file-system helpers of the settings code: the folder and the name
// in a path, and whether the user may write a file or folder.
#pragma once

#include <sys/stat.h>

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

}  // namespace file_system
