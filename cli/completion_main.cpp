// kovagrep_completions: writes kovagrep's completion script for a shell,
// at build time, for the package to install.
//   kovagrep_completions bash|zsh|fish OUTPUT
#include <cstdio>
#include <cstring>
#include <fstream>

#include "cli/completion.h"

int main(int argc, char** argv) {
  const char* shells[] = {"bash", "zsh", "fish"};
  for (int k = 0; argc == 3 && k < 3; ++k) {
    if (std::strcmp(argv[1], shells[k]) != 0) continue;
    std::ofstream out(argv[2], std::ios::binary);
    out << CompletionScript(static_cast<TShell>(k));
    return out ? 0 : 1;
  }
  std::fputs("usage: kovagrep_completions bash|zsh|fish OUTPUT\n", stderr);
  return 2;
}
