// kovagrep's command line: rows of arguments and what they set (each parsed
// value written out in one line), rows of arguments and the error they
// raise, and -f files read into patterns.
#include "cli/options.h"

#include <getopt.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

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
      {"w", &TOptions::Word}, {"x", &TOptions::WholeLine}, {"F", &TOptions::Fixed}, {"n", &TOptions::LineNumbers},
      {"b", &TOptions::ByteOffset}, {"c", &TOptions::Count}, {"l", &TOptions::FilesWithMatches},
      {"L", &TOptions::FilesWithoutMatch}, {"o", &TOptions::OnlyMatching}, {"q", &TOptions::Quiet},
      {"s", &TOptions::NoMessages}, {"Z", &TOptions::Null}, {"line-buffered", &TOptions::LineBuffered}};
  // clang-format on
  for (const auto& [name, flag] : flags)
    if (o.*flag) s << ' ' << name;
  if (o.MaxCount != d.MaxCount) s << " m=" << o.MaxCount;
  if (o.Before != 0 || o.After != 0) s << " B=" << o.Before << " A=" << o.After;
  if (o.FileNames != d.FileNames) s << " names=" << o.FileNames;
  if (o.Colour != d.Colour) s << " colour=" << static_cast<int>(o.Colour);
  if (o.BinaryFiles != d.BinaryFiles) s << " binary=" << static_cast<int>(o.BinaryFiles);
  if (o.Encoding != d.Encoding) s << " encoding=" << static_cast<int>(o.Encoding);
  if (o.Label != d.Label) s << " label=" << o.Label;
  if (o.Recursion != d.Recursion) s << " recursion=" << static_cast<int>(o.Recursion);
  if (!o.Include.empty()) s << " include=" << List(o.Include);
  if (!o.Exclude.empty()) s << " exclude=" << List(o.Exclude);
  if (!o.ExcludeDir.empty()) s << " exclude-dir=" << List(o.ExcludeDir);
  return s.str();
}

struct TParseRow {
  std::vector<std::string> Args;
  std::string Expected;
};

TEST(ParseOptions, ArgumentsSetWhatTheySay) {
  // Colour: 0 never, 1 always, 2 auto; binary: 1 text, 2 without-match;
  // encoding: 1 UTF-8, 2 Shift-JIS; recursion: 1 -r, 2 -R.
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
      {{"-A2", "p"}, "e={p} files= B=0 A=2"},
      {{"-A", "2", "p"}, "e={p} files= B=0 A=2"},
      {{"--after-context=2", "p"}, "e={p} files= B=0 A=2"},
      {{"--after-context", "2", "p"}, "e={p} files= B=0 A=2"},
      {{"--after=2", "p"}, "e={p} files= B=0 A=2"},
      {{"-B", "1", "--context=3", "p"}, "e={p} files= B=1 A=3"},
      {{"-C", "3", "-A", "1", "p"}, "e={p} files= B=3 A=1"},
      {{"-5", "p"}, "e={p} files= B=5 A=5"},
      {{"-12", "p"}, "e={p} files= B=12 A=12"},
      {{"-1", "-2", "p"}, "e={p} files= B=2 A=2"},
      {{"-A", "007", "p"}, "e={p} files= B=0 A=7"},
      {{"-m", "0", "p"}, "e={p} files= m=0"},
      {{"--max-count=3", "p"}, "e={p} files= m=3"},
      {{"-l", "-L", "p"}, "e={p} files= L"},
      {{"-L", "-l", "p"}, "e={p} files= l"},
      {{"-y", "p"}, "e={p} files= i"},
      {{"-i", "--no-ignore-case", "p"}, "e={p} files="},
      {{"-H", "p"}, "e={p} files= names=1"},
      {{"-H", "-h", "p"}, "e={p} files= names=0"},
      {{"-EFwxbcoqsZ", "--db-meta", "--line-buffered", "p"}, "e={p} files= db-meta w x F b c o q s Z line-buffered"},
      {{"--color", "p"}, "e={p} files= colour=2"},
      {{"--colour", "always", "p"}, "e={always} files={p} colour=2"},  // the value only after "="
      {{"--color=always", "p"}, "e={p} files= colour=1"},
      {{"--col=al", "p"}, "e={p} files= colour=1"},
      {{"--color=force", "p"}, "e={p} files= colour=1"},
      {{"--color=none", "p"}, "e={p} files="},
      {{"--color=never", "--color=if-tty", "p"}, "e={p} files= colour=2"},
      {{"-a", "p"}, "e={p} files= binary=1"},
      {{"--binary-files=without-match", "p"}, "e={p} files= binary=2"},
      {{"--binary-files=w", "p"}, "e={p} files= binary=2"},
      {{"-a", "--binary-files=binary", "p"}, "e={p} files="},
      {{"--sjis", "p"}, "e={p} files= encoding=2"},
      {{"--output-encoding=cp932", "p"}, "e={p} files= encoding=2"},
      {{"--output-encoding=utf8", "p"}, "e={p} files= encoding=1"},
      {{"--label=in", "p"}, "e={p} files= label=in"},
      {{"-r", "p"}, "e={p} files= recursion=1"},
      {{"-r", "--dereference-recursive", "p"}, "e={p} files= recursion=2"},
      {{"-R", "--recursive", "p"}, "e={p} files= recursion=1"},
      {{"--include=*.txt", "--include", "*.log", "--exclude=a*", "--exclude-dir=.git", "p"},
       "e={p} files= include={*.txt}{*.log} exclude={a*} exclude-dir={.git}"},
  };
  for (const TParseRow& row : rows) EXPECT_EQ(Describe(Parse(row.Args)), row.Expected) << List(row.Args);
}

struct TErrorRow {
  std::vector<std::string> Args;
  std::string Usage;  // the text of a TUsageError, or
  std::string Fatal;  // the text of a TFatalError
};

TEST(ParseOptions, ErrorsSayWhatIsWrong) {
  const TErrorRow rows[] = {
      {{}, "", ""},
      {{"-n"}, "", ""},
      {{"-k", "p"}, "invalid option -- 'k'", ""},
      {{"--nope", "p"}, "unrecognized option '--nope'", ""},
      {{"-e"}, "option requires an argument -- 'e'", ""},
      {{"p", "-A"}, "option requires an argument -- 'A'", ""},
      {{"--color=sometimes", "p"}, "invalid argument 'sometimes' for '--color'", ""},
      {{"--colour=", "p"}, "invalid argument '' for '--color'", ""},
      {{"--binary-files=data", "p"}, "invalid argument 'data' for '--binary-files'", ""},
      {{"--output-encoding=s", "p"}, "invalid argument 's' for '--output-encoding'", ""},
      {{"--output-encoding=latin1", "p"}, "invalid argument 'latin1' for '--output-encoding'", ""},
      {{"-A", "x", "p"}, "", "kovagrep: x: invalid context length argument"},
      {{"-B", "-1", "p"}, "", "kovagrep: -1: invalid context length argument"},
      {{"--context=2x", "p"}, "", "kovagrep: 2x: invalid context length argument"},
      {{"-C", "", "p"}, "", "kovagrep: : invalid context length argument"},
      {{"-m", "many", "p"}, "", "kovagrep: many: invalid max count"},
      {{"-m", "-1", "p"}, "", "kovagrep: -1: invalid max count"},
      {{"-f", "/nonexistent/patterns", "p"}, "", "kovagrep: /nonexistent/patterns: No such file or directory"},
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
  // -e and -f add up in their order; the first operand is then a file.
  const std::string file = dir.Write("patterns", "b\nc\n");
  EXPECT_EQ(Describe(Parse({"-e", "a", "-f", file, "--regexp=d", "x"})), "e={a}{b}{c}{d} files={x}");
  EXPECT_EQ(Describe(Parse({"--file=" + file, "-f", dir.Write("empty", "")})), "e={b}{c} files=");
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
