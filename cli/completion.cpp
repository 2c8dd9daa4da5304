#include "cli/completion.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "cli/optiontable.h"

namespace {

// One option with all its names: the table's rows of one Id that a user
// may type (-NUM and the hidden -y are left out).
struct TOption {
  const TOptionSpec* Spec;  // the row with the help
  std::vector<char> Shorts;
  std::vector<const char*> Longs;
};

std::vector<TOption> Options() {
  std::vector<TOption> options;
  for (const TOptionSpec& row : OptionTable()) {
    if (row.Id == kContextDigits || (row.Help == nullptr && row.Long == nullptr)) continue;
    TOption* option = nullptr;
    for (TOption& o : options)
      if (o.Spec->Id == row.Id) option = &o;
    if (option == nullptr) option = &options.emplace_back(TOption{&row, {}, {}});
    if (row.Short != 0) option->Shorts.push_back(row.Short);
    if (row.Long != nullptr) option->Longs.push_back(row.Long);
  }
  return options;
}

// The help on one line, for a single-quoted word of the shell, in which
// quote stands for a quote (brackets become parentheses for zsh).
std::string Description(const TOptionSpec& o, std::string_view quote) {
  std::string out;
  for (const char* c = o.Help; *c != '\0'; ++c) {
    if (*c == '\'') {
      out += quote;
    } else {
      out += *c == '\n' ? ' ' : *c == '[' ? '(' : *c == ']' ? ')' : *c;
    }
  }
  return out;
}

bool IsFile(const TOptionSpec& o) { return o.ArgumentName != nullptr && std::strcmp(o.ArgumentName, "FILE") == 0; }

// "-d|--directories": an option's names as a bash case pattern.
std::string CasePattern(const TOption& o) {
  std::string pattern;
  for (const char c : o.Shorts) pattern += std::string(pattern.empty() ? "" : "|") + "-" + c;
  for (const char* l : o.Longs) pattern += std::string(pattern.empty() ? "" : "|") + "--" + l;
  return pattern;
}

std::string Bash() {
  std::string words, separate, arguments;
  for (const TOption& o : Options()) {
    const TArgument a = o.Spec->Argument;
    for (const char c : o.Shorts) words += std::string(" -") + c;
    for (const char* l : o.Longs) {
      if (a != TArgument::Required) words += std::string(" --") + l;
      if (a != TArgument::None) words += std::string(" --") + l + "=";
    }
    if (a == TArgument::Required) separate += (separate.empty() ? "" : "|") + CasePattern(o);
    if (o.Spec->Values != nullptr)
      arguments += "            " + CasePattern(o) + ") COMPREPLY=($(compgen -P \"$prefix\" -W '" + o.Spec->Values +
                   "' -- \"$value\")) ;;\n";
    else if (IsFile(*o.Spec))
      arguments += "            " + CasePattern(o) + ") COMPREPLY=($(compgen -P \"$prefix\" -f -- \"$value\")) ;;\n";
  }
  return "# bash completion for kovagrep(1), made from its option table.\n"
         "_kovagrep()\n"
         "{\n"
         "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} option= value= prefix=\n"
         "    COMPREPLY=()\n"
         "    # An option's argument: after \"=\" (a word of its own where \"=\" breaks\n"
         "    # words), or the next word.\n"
         "    if [[ $cur == = ]]; then\n"
         "        option=$prev\n"
         "    elif [[ $prev == = && $COMP_CWORD -ge 2 ]]; then\n"
         "        option=${COMP_WORDS[COMP_CWORD-2]} value=$cur\n"
         "    elif [[ $cur == --*=* ]]; then\n"
         "        option=${cur%%=*} value=${cur#*=} prefix=${cur%%=*}=\n"
         "    else\n"
         "        case $prev in\n"
         "            " +
         separate +
         ") option=$prev value=$cur ;;\n"
         "        esac\n"
         "    fi\n"
         "    if [[ -n $option ]]; then\n"
         "        case $option in\n" +
         arguments +
         "        esac\n"
         "        return 0\n"
         "    fi\n"
         "    if [[ $cur == -* ]]; then\n"
         "        COMPREPLY=($(compgen -W '" +
         words.substr(1) +
         "' -- \"$cur\"))\n"
         "        [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null\n"
         "        return 0\n"
         "    fi\n"
         "    COMPREPLY=($(compgen -f -- \"$cur\"))\n"
         "}\n"
         "complete -F _kovagrep kovagrep\n";
}

// The message and action of an option's argument for zsh's _arguments.
std::string ZshArgument(const TOptionSpec& o) {
  const std::string name = o.ArgumentName;
  if (o.Values != nullptr) return name + ":(" + o.Values + ")";
  return name + (IsFile(o) ? ":_files" : ": ");
}

std::string Zsh() {
  std::string specs;
  for (const TOption& o : Options()) {
    const TArgument a = o.Spec->Argument;
    const std::string help = "[" + Description(*o.Spec, "'\\''") + "]";
    const std::string repeat = a == TArgument::Required ? "*" : "";
    for (const char c : o.Shorts)
      specs += "  '" + repeat + "-" + c + (a == TArgument::None ? "" : "+") + help +
               (a == TArgument::None ? "" : ":" + ZshArgument(*o.Spec)) + "' \\\n";
    for (const char* l : o.Longs)
      specs += "  '" + repeat + "--" + l +
               (a == TArgument::Required   ? "="
                : a == TArgument::Optional ? "=-"
                                           : "") +
               help + (a == TArgument::None ? "" : (a == TArgument::Optional ? "::" : ":") + ZshArgument(*o.Spec)) +
               "' \\\n";
  }
  return "#compdef kovagrep\n"
         "# zsh completion for kovagrep(1), made from its option table.\n"
         "_arguments -s -S \\\n" +
         specs + "  '*:FILE:_files'\n";
}

std::string Fish() {
  std::string lines = "# fish completion for kovagrep(1), made from its option table.\n";
  for (const TOption& o : Options()) {
    std::string line = "complete -c kovagrep";
    for (const char c : o.Shorts) line += std::string(" -s ") + c;
    for (const char* l : o.Longs) line += std::string(" -l ") + l;
    if (o.Spec->Values != nullptr)
      line += std::string(" -x -a '") + o.Spec->Values + "'";
    else if (IsFile(*o.Spec))
      line += " -r -F";
    else if (o.Spec->Argument != TArgument::None)
      line += " -x";
    lines += line + " -d '" + Description(*o.Spec, "\\'") + "'\n";
  }
  return lines;
}

}  // namespace

std::string CompletionScript(TShell shell) {
  switch (shell) {
    case TShell::Bash:
      return Bash();
    case TShell::Zsh:
      return Zsh();
    case TShell::Fish:
      return Fish();
  }
  return {};
}
