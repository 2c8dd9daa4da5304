// Overwriting a file in place, so that it stays the same file (its hard
// links, owner and permissions), with its old content kept in a copy
// "<name>~" until the new content is whole on disk; and, at the next start,
// finishing or undoing an overwrite that a kill cut short.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace inplace_file {

// The steps of Overwrite after which a test may cut it short.
enum class TStep { CopyMade, SpaceReserved, ContentWritten, Truncated };
// Runs after each step when set (tests only).  What it raises leaves
// Overwrite at once, as a kill of the process would: nothing is cleaned up.
// An error number it returns after CopyMade is taken as the failure of the
// reservation of space (a full disk); other steps ignore what it returns.
extern std::function<int(TStep)> StepHook;

// Makes content the whole of the existing regular file target.  Its old
// content first goes into a copy at the first of copies (paths) where one
// can be made; where none can, the file is overwritten all the same.  0, or
// the error number of the step that failed: a failure before the first
// byte changes leaves the file as it was (a full disk among them), one
// while writing puts the old content back, or leaves the copy for Recover
// when even that fails.
int Overwrite(const std::string& target, std::string_view content, const std::vector<std::string>& copies);

// Finishes an overwrite of target that was cut short, from a copy at one of
// copies: a file that holds the new content whole keeps it (truncated to
// its length), any other gets the old content back; then the copy goes.
// Files named like a copy that another program made (an editor's backup),
// and copies of another file, are left alone.  0, or the error number when
// the old content could not be put back; the copy then stays.
int Recover(const std::string& target, const std::vector<std::string>& copies);

}  // namespace inplace_file
