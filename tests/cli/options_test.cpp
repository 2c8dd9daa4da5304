// kovagrep's command line: rows of arguments and what they set (each parsed
// value written out in one line), rows of arguments and the error they
// raise (GNU grep's words), -f and --exclude-from files read into patterns
// and globs, and --help listing every option of the table.
#include "cli/options.h"

#include <getopt.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "cli/optiontable.h"
#include "cli/usage.h"
#include "support/temp_dir.h"

namespace {

// Parses the arguments after the program's name, getopt started afresh.
TOptions Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "kovagrep");
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  // getopt's state reset as at a program's start: optind 0 starts afresh
  // and an empty command line leaves optind at 1.
  char* none[] = {args[0].data(), nullptr};
  optind = 0;
  getopt(1, none, "");
  return ParseOptions(static_cast<int>(args.size()), argv.data());
}

// Each item in braces, so that an empty one shows: {a}{}.
std::string List(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += "{" + item + "}";
  return text;
}

// The patterns and files, then every value that is not the default: a flag
// by its short option, a number or choice as name=value.
std::string Describe(const TOptions& o) {
  const TOptions d;
  std::ostringstream s;
  s << "e=" << List(o.Patterns) << " files=" << List(o.Files);
  // clang-format off
  const std::pair<const char*, bool TOptions::*> flags[] = {
      {"i", &TOptions::IgnoreCase}, {"db-meta", &TOptions::DBMeta}, {"v", &TOptions::Invert},
      {"w", &TOptions::Word}, {"x", &TOptions::WholeLine}, {"z", &TOptions::NullData},
      {"n", &TOptions::LineNumbers}, {"b", &TOptions::ByteOffset}, {"T", &TOptions::InitialTab},
      {"c", &TOptions::Count}, {"l", &TOptions::FilesWithMatches}, {"L", &TOptions::FilesWithoutMatch},
      {"o", &TOptions::OnlyMatching}, {"q", &TOptions::Quiet}, {"s", &TOptions::NoMessages}, {"Z", &TOptions::Null},
      {"line-buffered", &TOptions::LineBuffered}, {"R", &TOptions::Dereference}};
  // clang-format on
  for (const auto& [name, flag] : flags)
    if (o.*flag) s << ' ' << name;
  if (o.Syntax != d.Syntax)
    s << " syntax="
      << "-GEF"[static_cast<int>(o.Syntax)];
  if (o.MaxCount != d.MaxCount) s << " m=" << o.MaxCount;
  if (o.ContextGiven) s << " B=" << o.Before << " A=" << o.After;
  if (o.GroupSeparator != d.GroupSeparator) s << " separator=" << o.GroupSeparator.value_or("(none)");
  if (o.FileNames != d.FileNames) s << " names=" << o.FileNames;
  if (o.Colour != d.Colour) s << " colour=" << static_cast<int>(o.Colour);
  if (o.BinaryFiles != d.BinaryFiles) s << " binary=" << static_cast<int>(o.BinaryFiles);
  if (o.Encoding != d.Encoding) s << " encoding=" << static_cast<int>(o.Encoding);
  if (o.Label != d.Label) s << " label=" << o.Label;
  if (o.Directories != d.Directories) s << " d=" << static_cast<int>(o.Directories);
  if (o.Devices != d.Devices) s << " D=" << static_cast<int>(o.Devices);
  for (const TFileGlob& glob : o.FileGlobs) s << (glob.Include ? " +" : " -") << glob.Glob;
  if (!o.ExcludeDir.empty()) s << " exclude-dir=" << List(o.ExcludeDir);
  return s.str();
}

struct TParseRow {
  std::vector<std::string> Args;
  std::string Expected;
};

TEST(ParseOptions, ArgumentsSetWhatTheySay) {
  // Colour: 0 never, 1 always, 2 auto; binary: 1 text, 2 without-match;
  // encoding: 1 UTF-8, 2 Shift-JIS; d: 1 skip, 2 recurse; D: 1 read, 2 skip.
  const TParseRow rows[] = {
      {{"cat", "a.txt", "b.txt"}, "e={cat} files={a.txt}{b.txt}"},
      {{"-inv", "cat"}, "e={cat} files= i v n"},
      {{"cat", "a.txt", "-c"}, "e={cat} files={a.txt} c"},  // options after operands too
      {{"--", "-v", "-n"}, "e={-v} files={-n}"},
      {{"-e", "a", "--", "-n"}, "e={a} files={-n}"},
      {{"-e", "a", "-e", "b", "x"}, "e={a}{b} files={x}"},
      {{"-ea", "--regexp=b", "--regexp", "c"}, "e={a}{b}{c} files="},
      {{"-e", "a\nb"}, "e={a}{b} files="},
      {{"-e", "a\n"}, "e={a}{} files="},
      {{"-e", ""}, "e={} files="},
      {{"a\nb", "f"}, "e={a}{b} files={f}"},
      // Numbers: context lengths and counts as GNU grep reads them.
      {{"-A2", "p"}, "e={p} files= B=0 A=2"},
      {{"-A", "2", "p"}, "e={p} files= B=0 A=2"},
      {{"--after-context=2", "p"}, "e={p} files= B=0 A=2"},
      {{"--after-context", "2", "p"}, "e={p} files= B=0 A=2"},
      {{"--after=2", "p"}, "e={p} files= B=0 A=2"},
      {{"-B", "1", "--context=3", "p"}, "e={p} files= B=1 A=3"},
      {{"-C", "3", "-A", "1", "p"}, "e={p} files= B=3 A=1"},
      {{"-C0", "p"}, "e={p} files= B=0 A=0"},
      {{"-5", "p"}, "e={p} files= B=5 A=5"},
      {{"-12", "p"}, "e={p} files= B=12 A=12"},
      {{"-1", "-2", "p"}, "e={p} files= B=2 A=2"},
      {{"-1n2", "p"}, "e={p} files= n B=2 A=2"},
      {{"-0012", "p"}, "e={p} files= B=12 A=12"},
      {{"p", "-3"}, "e={p} files= B=3 A=3"},
      {{"-A", "007", "p"}, "e={p} files= B=0 A=7"},
      {{"-A", " +7", "p"}, "e={p} files= B=0 A=7"},
      {{"-B", "99999999999999999999", "p"}, "e={p} files= B=9223372036854775807 A=0"},
      {{"-m", "0", "p"}, "e={p} files= m=0"},
      {{"--max-count=3", "p"}, "e={p} files= m=3"},
      {{"-m", "-1", "p"}, "e={p} files="},
      {{"-m", "-7", "p"}, "e={p} files="},
      {{"-m", "99999999999999999999", "p"}, "e={p} files= m=9223372036854775807"},
      // The last of options that exclude each other wins.
      {{"-l", "-L", "p"}, "e={p} files= L"},
      {{"-L", "-l", "p"}, "e={p} files= l"},
      {{"-F", "-E", "p"}, "e={p} files= syntax=E"},
      {{"-E", "-G", "p"}, "e={p} files= syntax=G"},
      {{"-G", "-F", "p"}, "e={p} files= syntax=F"},
      {{"-y", "p"}, "e={p} files= i"},
      {{"-i", "--no-ignore-case", "p"}, "e={p} files="},
      {{"-H", "p"}, "e={p} files= names=1"},
      {{"-H", "-h", "p"}, "e={p} files= names=0"},
      {{"-EFwxbcoqsZ", "--db-meta", "--line-buffered", "p"},
       "e={p} files= db-meta w x b c o q s Z line-buffered syntax=F"},
      {{"-zT", "--null-d", "p"}, "e={p} files= z T"},
      {{"--group-separator=::", "p"}, "e={p} files= separator=::"},
      {{"--group-separator=", "--no-group-separator", "p"}, "e={p} files= separator=(none)"},
      // Choices: --color's words whole in any case, --binary-files' whole,
      // abbreviations of -d's and --output-encoding's.
      {{"--color", "p"}, "e={p} files= colour=2"},
      {{"--colour", "always", "p"}, "e={always} files={p} colour=2"},  // the value only after "="
      {{"--color=always", "p"}, "e={p} files= colour=1"},
      {{"--col=ALWAYS", "p"}, "e={p} files= colour=1"},
      {{"--color=force", "p"}, "e={p} files= colour=1"},
      {{"--color=none", "p"}, "e={p} files="},
      {{"--color=never", "--color=if-tty", "p"}, "e={p} files= colour=2"},
      {{"-a", "p"}, "e={p} files= binary=1"},
      {{"--binary-files=without-match", "p"}, "e={p} files= binary=2"},
      {{"-a", "-I", "p"}, "e={p} files= binary=2"},
      {{"-I", "--binary-files=binary", "--binary", "-U", "p"}, "e={p} files="},
      {{"--sjis", "p"}, "e={p} files= encoding=2"},
      {{"--output-encoding=cp932", "p"}, "e={p} files= encoding=2"},
      {{"--output-encoding=s", "p"}, "e={p} files= encoding=2"},
      {{"--output-encoding=utf", "p"}, "e={p} files= encoding=1"},
      {{"--label=in", "p"}, "e={p} files= label=in"},
      {{"-r", "p"}, "e={p} files= d=2"},
      {{"-r", "--dereference-recursive", "p"}, "e={p} files= R d=2"},
      {{"-R", "--recursive", "p"}, "e={p} files= R d=2"},
      {{"-R", "-d", "read", "p"}, "e={p} files= R"},
      {{"-r", "-d", "s", "p"}, "e={p} files= d=1"},
      {{"--directories=rec", "p"}, "e={p} files= d=2"},
      {{"-D", "skip", "p"}, "e={p} files= D=2"},
      {{"--devices=read", "p"}, "e={p} files= D=1"},
      {{"--include=*.txt", "--include", "*.log", "--exclude=a*", "--exclude-dir=.git", "p"},
       "e={p} files= +*.txt +*.log -a* exclude-dir={.git}"},
  };
  for (const TParseRow& row : rows) EXPECT_EQ(Describe(Parse(row.Args)), row.Expected) << List(row.Args);
}

struct TErrorRow {
  std::vector<std::string> Args;
  std::string Usage;  // the text of a TUsageError, or
  std::string Fatal;  // the text of a TFatalError
};

TEST(ParseOptions, ErrorsSayWhatIsWrong) {
  const std::string colours = "\nValid arguments are: 'always', 'never', 'auto' (or yes, force; no, none; tty, if-tty)";
  const TErrorRow rows[] = {
      {{}, "", ""},
      {{"-n"}, "", ""},
      {{"-k", "p"}, "invalid option -- 'k'", ""},
      {{"p", "-nk"}, "invalid option -- 'k'", ""},
      {{"--nope=3", "p"}, "unrecognized option '--nope=3'", ""},
      {{"-e"}, "option requires an argument -- 'e'", ""},
      {{"p", "-A"}, "option requires an argument -- 'A'", ""},
      {{"p", "--label"}, "option '--label' requires an argument", ""},
      {{"--cou=3", "p"}, "option '--count' doesn't allow an argument", ""},
      {{"--db-meta=1", "p"}, "option '--db-meta' doesn't allow an argument", ""},
      {{"--co", "p"}, "option '--co' is ambiguous; possibilities: '--count' '--context' '--color' '--colour'", ""},
      {{"--bin", "p"}, "option '--bin' is ambiguous; possibilities: '--binary-files' '--binary'", ""},
      {{"--nu", "p"}, "option '--nu' is ambiguous; possibilities: '--null-data' '--null'", ""},
      {{"--color=n", "p"}, "invalid argument 'n' for '--color'" + colours, ""},
      {{"--colour=", "p"}, "invalid argument '' for '--color'" + colours, ""},
      {{"-d", "re", "p"},
       "ambiguous argument 're' for '--directories'\nValid arguments are:\n  - 'read'\n  - 'recurse'\n  - 'skip'",
       ""},
      {{"--output-encoding=latin1", "p"},
       "invalid argument 'latin1' for '--output-encoding'\nValid arguments are:\n  - 'utf-8'\n  - 'utf8'\n  - "
       "'sjis'\n  - 'shift_jis'\n  - 'cp932'",
       ""},
      {{"--binary-files=t", "p"}, "", "kovagrep: unknown binary-files type"},
      {{"-D", "sk", "p"}, "", "kovagrep: unknown devices method"},
      {{"-P", "p"},
       "",
       "kovagrep: -P (Perl regular expressions) is not supported; -E takes extended regular expressions"},
      {{"-A", "x", "p"}, "", "kovagrep: x: invalid context length argument"},
      {{"-B", "-1", "p"}, "", "kovagrep: -1: invalid context length argument"},
      {{"--context=2x", "p"}, "", "kovagrep: 2x: invalid context length argument"},
      {{"-C", "", "p"}, "", "kovagrep: : invalid context length argument"},
      {{"-m", "many", "p"}, "", "kovagrep: invalid max count"},
      {{"-m", "", "p"}, "", "kovagrep: invalid max count"},
      {{"-m", "3 ", "p"}, "", "kovagrep: invalid max count"},
      {{"-f", "/nonexistent/patterns", "p"}, "", "kovagrep: /nonexistent/patterns: No such file or directory"},
      {{"--exclude-from=/nonexistent/globs", "p"}, "", "kovagrep: /nonexistent/globs: No such file or directory"},
  };
  for (const TErrorRow& row : rows) {
    try {
      Parse(row.Args);
      ADD_FAILURE() << List(row.Args) << ": accepted";
    } catch (const TUsageError& e) {
      EXPECT_EQ(row.Fatal, "") << List(row.Args) << ": usage error " << e.Text;
      EXPECT_EQ(e.Text, row.Usage) << List(row.Args);
    } catch (const TFatalError& e) {
      EXPECT_EQ(e.Text, row.Fatal) << List(row.Args);
    }
  }
}

TEST(ParseOptions, PatternFilesGiveOnePatternPerLine) {
  TTempDir dir;
  const struct {
    std::string Content;
    std::string Expected;
  } rows[] = {
      // clang-format off
      {"dog\ncat\n", "{dog}{cat}"}, {"dog\ncat", "{dog}{cat}"}, {"dog\n\ncat\n", "{dog}{}{cat}"},
      {"\n", "{}"}, {"", ""}, {"a\r\nb\n", "{a\r}{b}"}, {"x\n\n", "{x}{}"},
      // clang-format on
  };
  for (const auto& row : rows) {
    const std::string file = dir.Write("patterns", row.Content);
    EXPECT_EQ(List(Parse({"-f", file}).Patterns), row.Expected) << row.Content;
  }
  // An empty pattern is kept once; the numbers say where the kept ones stand.
  const TOptions blanks = Parse({"-e", "", "-f", dir.Write("blanks", "a\n\n\n\nb\n\n")});
  EXPECT_EQ(List(blanks.Patterns), "{}{a}{b}");
  EXPECT_EQ(blanks.PatternNumbers, (std::vector<std::size_t>{1, 2, 6}));
  EXPECT_EQ(blanks.PatternsGiven, 7u);
  // -e and -f add up in their order; the first operand is then a file.
  const std::string file = dir.Write("patterns", "b\nc\n");
  EXPECT_EQ(Describe(Parse({"-e", "a", "-f", file, "--regexp=d", "x"})), "e={a}{b}{c}{d} files={x}");
  EXPECT_EQ(Describe(Parse({"--file=" + file, "-f", dir.Write("empty", "")})), "e={b}{c} files=");
  // --exclude-from: a glob a line, blanks after it dropped, blank lines none;
  // in their place among --include and --exclude.
  const std::string globs = dir.Write("globs", "*.txt \n\n  \n# x\n\tsub\r\nlast");
  EXPECT_EQ(Describe(Parse({"--include=a", "--exclude-from", globs, "--include=b", "p"})),
            "e={p} files= +a -*.txt -# x -\tsub -last +b");
}

TEST(UsageText, ListsEveryOptionOfTheTable) {
  const std::string help = UsageText();
  for (const TOptionSpec& o : OptionTable()) {
    if (o.Long != nullptr) {
      EXPECT_NE(help.find(std::string("--") + o.Long), std::string::npos) << o.Long;
    }
    if (o.Short != 0 && o.Help != nullptr) {
      EXPECT_NE(help.find(std::string("  -") + o.Short), std::string::npos) << o.Short;
    }
  }
  EXPECT_NE(help.find("  -q, --quiet, --silent     suppress all normal output\n"), std::string::npos);
  EXPECT_NE(help.find("\n  -NUM                      same as --context=NUM\n"), std::string::npos);
}

TEST(ParseOptionsDeathTest, HelpAndVersionEndTheRunWithStatusZero) {
  for (const char* option : {"--help", "-V", "--version", "--he"})
    EXPECT_EXIT(
        {
          if (!std::freopen("/dev/null", "w", stdout)) std::abort();
          Parse({option});
        },
        testing::ExitedWithCode(0), "")
        << option;
}

}  // namespace
