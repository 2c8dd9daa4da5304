// The files a command line names: rows of operands and options over one
// tree of files, directories, links and a FIFO, and the files visited, in
// their order, with the errors met.
#include "cli/walk.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "support/temp_dir.h"

namespace {

// The tree, made once for all the rows (its names in Shift-JIS bytes sort
// after ASCII ones):
//   B.txt .hidden.txt _u.txt a.log a.txt d/{b.txt c.log e/f.txt}
//   skip/g.txt fifo file-link -> a.txt dir-link -> d dangling -> nowhere
struct TWalkTest : testing::Test {
  static void SetUpTestSuite() {
    Tree = new TTempDir;
    for (const char* name : {"d", "d/e", "skip"}) mkdir((*Tree / name).c_str(), 0700);
    for (const char* name :
         {"B.txt", ".hidden.txt", "_u.txt", "a.log", "a.txt", "d/b.txt", "d/c.log", "d/e/f.txt", "skip/g.txt"})
      Tree->Write(name, "cat\n");
    Tree->Write("\x8C\x9F.txt", "cat\n");
    mkfifo((*Tree / "fifo").c_str(), 0600);
    symlink("a.txt", (*Tree / "file-link").c_str());
    symlink("d", (*Tree / "dir-link").c_str());
    symlink("nowhere", (*Tree / "dangling").c_str());
  }
  static void TearDownTestSuite() { delete Tree; }

  // What the walk visits, one "display path" or "display !error" a line,
  // run in the given folder with the given options and operands (without
  // operands the implicit ".", as kovagrep walks it under -r).
  static std::string Walk(const TOptions& options, const std::vector<std::string>& operands,
                          const std::string& folder = Tree->Path()) {
    std::string seen;
    TWalk walk(
        options, [&](const std::string& display, const std::string& path) { seen += display + " " + path + "\n"; },
        [&](const std::string& display, int error) { seen += display + " !" + std::strerror(error) + "\n"; });
    char* here = getcwd(nullptr, 0);
    EXPECT_EQ(chdir(folder.c_str()), 0);
    if (operands.empty())
      walk.Operand(".", true);
    else
      for (const std::string& operand : operands) walk.Operand(operand);
    EXPECT_EQ(chdir(here), 0);
    free(here);
    return seen;
  }

  static TTempDir* Tree;
};
TTempDir* TWalkTest::Tree = nullptr;

TOptions Options(TRecursion recursion, std::vector<std::string> include = {}, std::vector<std::string> exclude = {},
                 std::vector<std::string> excludeDir = {}) {
  TOptions o;
  o.Recursion = recursion;
  o.Include = std::move(include);
  o.Exclude = std::move(exclude);
  o.ExcludeDir = std::move(excludeDir);
  return o;
}

constexpr TRecursion kNone = TRecursion::None, kR = TRecursion::Physical, kDerefR = TRecursion::Logical;

struct TWalkRow {
  TOptions Options;
  std::vector<std::string> Operands;
  std::string Expected;
};

TEST_F(TWalkTest, VisitsTheFilesAsTheOptionsSay) {
  const std::string kanji = "\x8C\x9F.txt";
  TOptions labelled = Options(kNone);
  labelled.Label = "in";
  const TWalkRow rows[] = {
      // Operands as they stand, whatever they are; directories without -r
      // too (the search reports them); "-" is standard input, by its label.
      {Options(kNone),
       {"a.txt", "missing", "d", "fifo", "-"},
       "a.txt a.txt\nmissing missing\nd d\nfifo fifo\n(standard input) -\n"},
      {labelled, {"-"}, "in -\n"},
      // -r: name order by bytes, hidden files too, directories where they
      // sort; links met in the walk, FIFOs and dangling links are skipped.
      {Options(kR),
       {},
       ".hidden.txt ./.hidden.txt\nB.txt ./B.txt\n_u.txt ./_u.txt\na.log ./a.log\na.txt ./a.txt\n"
       "d/b.txt ./d/b.txt\nd/c.log ./d/c.log\nd/e/f.txt ./d/e/f.txt\nskip/g.txt ./skip/g.txt\n" +
           kanji + " ./" + kanji + "\n"},
      {Options(kR),
       {"d", "d/", "./d/e"},
       "d/b.txt d/b.txt\nd/c.log d/c.log\nd/e/f.txt d/e/f.txt\n"
       "d/b.txt d/b.txt\nd/c.log d/c.log\nd/e/f.txt d/e/f.txt\n./d/e/f.txt ./d/e/f.txt\n"},
      // Links named on the command line are followed by -r as well.
      {Options(kR),
       {"dir-link", "file-link"},
       "dir-link/b.txt dir-link/b.txt\ndir-link/c.log dir-link/c.log\ndir-link/e/f.txt dir-link/e/f.txt\n"
       "file-link file-link\n"},
      {Options(kR, {"a.txt"}), {"."}, "./a.txt ./a.txt\n"},
      // -R follows links met in the walk; a dangling one is an error.
      {Options(kDerefR, {}, {}, {"d", "skip"}),
       {},
       ".hidden.txt ./.hidden.txt\nB.txt ./B.txt\n_u.txt ./_u.txt\na.log ./a.log\na.txt ./a.txt\n"
       "dangling !No such file or directory\ndir-link/b.txt ./dir-link/b.txt\ndir-link/c.log ./dir-link/c.log\n"
       "dir-link/e/f.txt ./dir-link/e/f.txt\nfile-link ./file-link\n" +
           kanji + " ./" + kanji + "\n"},
      {Options(kDerefR, {"*.log"}, {}, {}), {"dir-link"}, "dir-link/c.log dir-link/c.log\n"},
      // --include and --exclude match a file's display name or its last
      // part; --exclude wins; on the command line they filter files too.
      {Options(kR, {"*.log"}), {}, "a.log ./a.log\nd/c.log ./d/c.log\n"},
      {Options(kR, {"*.txt"}, {"b*"}), {"d"}, "d/e/f.txt d/e/f.txt\n"},
      {Options(kR, {}, {".*", "_*", "*.txt"}), {}, "a.log ./a.log\nd/c.log ./d/c.log\n"},
      {Options(kR, {}, {"e"}), {"d/e"}, "d/e/f.txt d/e/f.txt\n"},
      {Options(kNone, {"*.log"}), {"a.txt", "a.log", "d/b.txt"}, "a.log a.log\n"},
      {Options(kNone, {}, {"b.txt"}), {"a.txt", "d/b.txt"}, "a.txt a.txt\n"},
      {Options(kNone, {}, {"d/b.txt"}), {"d/b.txt", "d/c.log"}, "d/c.log d/c.log\n"},
      // --exclude-dir matches a directory's own name, and skips a directory
      // named on the command line but not the implicit ".".
      {Options(kR, {}, {"*.txt"}, {"e", "skip"}), {}, "a.log ./a.log\nd/c.log ./d/c.log\n"},
      {Options(kR, {}, {}, {"d"}), {"d", "skip"}, "skip/g.txt skip/g.txt\n"},
      {Options(kR, {"a.txt"}, {}, {"."}), {}, "a.txt ./a.txt\n"},
      {Options(kR, {"a.txt"}, {}, {"."}), {"."}, ""},
  };
  for (const TWalkRow& row : rows) {
    EXPECT_EQ(Walk(row.Options, row.Operands), row.Expected) << testing::PrintToString(row.Operands);
  }
}

TEST_F(TWalkTest, EntersOnlyDirectoriesUnderRecursion) {
  const struct {
    TRecursion Recursion;
    const char* Name;
    bool Enters;
  } rows[] = {
      {kR, "d", true},      {kR, "dir-link", true}, {kDerefR, "d/", true}, {kNone, "d", false},
      {kR, "a.txt", false}, {kR, "missing", false}, {kR, "-", false},      {kR, "fifo", false},
  };
  char* here = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(Tree->Path().c_str()), 0);
  for (const auto& row : rows) {
    const TOptions options = Options(row.Recursion);
    EXPECT_EQ(TWalk(options, nullptr, nullptr).Enters(row.Name), row.Enters) << row.Name;
  }
  EXPECT_EQ(chdir(here), 0);
  free(here);
}

// A directory that cannot be read is an error; the walk goes on with the
// next entry.  Root reads every directory: the walk then runs as nobody, in
// the child process of a death test.
TEST(WalkDeathTest, UnreadableDirectoryIsAnErrorAndTheWalkGoesOn) {
  TTempDir dir;
  mkdir((dir / "closed").c_str(), 0700);
  dir.Write("closed/x.txt", "cat\n");
  dir.Write("open.txt", "cat\n");
  chmod((dir / "closed").c_str(), 0);
  chmod(dir.Path().c_str(), 0755);
  EXPECT_EXIT(
      {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) std::_Exit(3);
        const std::string seen = TWalkTest::Walk(Options(kR), {}, dir.Path());
        std::fputs(seen.c_str(), stderr);
        std::_Exit(seen == "closed !Permission denied\nopen.txt ./open.txt\n" ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
