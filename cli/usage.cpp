#include "cli/usage.h"

#include <string_view>

#include "cli/messages.h"
#include "cli/optiontable.h"
#include "kovalex_version.h"

namespace {

constexpr const char* kIntroduction =
    "Search for PATTERNS in each Shift-JIS FILE.  PATTERNS are regular\n"
    "expressions of " KOVALEX_PRODUCT
    " (a double-byte character is one character),\n"
    "one or more separated by newlines; with -G or -E, GNU grep's basic or\n"
    "extended regular expressions (the last of -E, -F, -G wins).\n"
    "Example: kovagrep -n '猫|犬' KOVA4.TXT\n";

constexpr const char* kGroupTitles[] = {"Pattern selection and interpretation:", "Miscellaneous:", "Output control:",
                                        "Context control:", "Character sets:"};

constexpr const char* kClosing =
    "PATTERNS are read in the locale's character set (UTF-8 or Shift-JIS; in other\n"
    "locales text that is valid UTF-8 is taken as UTF-8, anything else as\n"
    "Shift-JIS).  Lines are written in the locale's character set: in Shift-JIS as\n"
    "they stand, otherwise as UTF-8, where bytes that are no Shift-JIS character\n"
    "show as U+FFFD.  The engine's messages are Japanese in a Japanese locale\n"
    "(LC_ALL, LC_MESSAGES, LANG), English in any other.\n"
    "\n"
    "When FILE is '-', read standard input.  With no FILE, read '.' if\n"
    "recursive; otherwise, read '-'.  With fewer than two FILEs, assume -h.\n"
    "Exit status is 0 if any line is selected, 1 otherwise;\n"
    "if any error occurs and -q is not given, the exit status is 2.\n";

// A long form with its argument: "--context=NUM", "--color[=WHEN]".
std::string LongForm(const TOptionSpec& o) {
  std::string form = std::string("--") + o.Long;
  if (o.Argument == TArgument::Required) form += std::string("=") + o.ArgumentName;
  if (o.Argument == TArgument::Optional) form += std::string("[=") + o.ArgumentName + "]";
  return form;
}

// The option's names as --help lists them: the short form, then every long
// form of the option and of its aliases.
std::string Names(const TOptionSpec& option) {
  if (option.Short == 0 && option.Long == nullptr) return "-" + std::string(option.ArgumentName);
  std::string names = option.Short != 0 ? std::string("-") + option.Short : "  ";
  bool first = option.Short == 0;
  for (const TOptionSpec& o : OptionTable()) {
    if (o.Id != option.Id || o.Long == nullptr || (&o != &option && o.Help != nullptr)) continue;
    names += (first ? "  " : ", ") + LongForm(o);
    first = false;
  }
  return names;
}

}  // namespace

std::string UsageLine() { return "Usage: " + ProgramName() + " [OPTION]... PATTERNS [FILE]...\n"; }

std::string UsageText() {
  constexpr std::size_t kHelpColumn = 28;
  std::string text = UsageLine() + kIntroduction;
  for (std::size_t group = 0; group < std::size(kGroupTitles); ++group) {
    text += std::string("\n") + kGroupTitles[group] + "\n";
    for (const TOptionSpec& o : OptionTable()) {
      if (o.Help == nullptr || static_cast<std::size_t>(o.Group) != group) continue;
      std::string line = "  " + Names(o);
      line += line.size() + 2 <= kHelpColumn ? std::string(kHelpColumn - line.size(), ' ')
              : line.size() <= 30            ? "  "
                                             : "\n" + std::string(kHelpColumn, ' ');
      for (std::string_view help = o.Help;;) {
        const std::size_t feed = help.find('\n');
        line += std::string(help.substr(0, feed)) + "\n";
        if (feed == std::string_view::npos) break;
        help.remove_prefix(feed + 1);
        line += std::string(kHelpColumn, ' ');
      }
      text += line;
    }
  }
  return text + "\n" + kClosing;
}
