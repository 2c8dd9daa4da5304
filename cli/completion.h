// Shell completions of kovagrep for bash, zsh and fish, written from the
// option table (optiontable.h): every option by its names, the words an
// argument may be, file names for FILE arguments and operands.
#pragma once

#include <string>

enum class TShell { Bash, Zsh, Fish };

// The completion script; nothing in it needs the shell's completion
// helpers (bash-completion) beyond the shell itself.
std::string CompletionScript(TShell shell);
