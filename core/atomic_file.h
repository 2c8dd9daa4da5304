// Replacing a file whole through a temporary file beside it, so that the
// file is always either the old or the new version, and clearing away the
// temporary files of replacements that were killed half-way.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace atomic_file {

// Writes content to a new temporary file beside target, flushes it to disk,
// renames it over target and flushes the folder.  A new temporary file gets
// mode (less the umask); with keep, the status of the file it replaces, it
// takes keep's permissions and, where the user may give them, its owner and
// group.  0, or the error number of the step that failed; no temporary file
// is left then.
int Replace(const std::string& target, std::string_view content, mode_t mode, const struct stat* keep = nullptr);

// Removes the temporary files that replacements of the file named base left
// in directory: those whose process is gone, and any older than a day.
void RemoveStaleTemporaries(const std::string& directory, const std::string& base);

}  // namespace atomic_file
