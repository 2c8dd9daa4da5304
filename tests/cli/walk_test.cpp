// The files a command line names: rows of operands and options over one
// tree of files, directories, links and a FIFO, and the files visited, in
// their order, with the errors met; a tree with links that loop; an output
// file met in the walk.
#include "cli/walk.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

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
  // Errors show as "display !text", warnings as "display ?text".
  static std::string Walk(const TOptions& options, const std::vector<std::string>& operands,
                          const std::string& folder = Tree->Path(), std::optional<TFileIdentity> output = {}) {
    std::string seen;
    TWalk walk(
        options, [&](const std::string& display, const std::string& path) { seen += display + " " + path + "\n"; },
        [&](const std::string& display, const std::string& text, bool warning) {
          seen += display + (warning ? " ?" : " !") + text + "\n";
        },
        output);
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

enum TRecursion { kNone, kR, kDerefR };

// globs: "+GLOB" for --include, "-GLOB" for --exclude, parted by spaces.
TOptions Options(TRecursion recursion, const std::string& globs = "", std::vector<std::string> excludeDir = {}) {
  TOptions o;
  o.Directories = recursion == kNone ? TDirectories::Read : TDirectories::Recurse;
  o.Dereference = recursion == kDerefR;
  for (std::size_t at = 0; at < globs.size();) {
    const std::size_t end = std::min(globs.find(' ', at), globs.size());
    o.FileGlobs.push_back({globs.substr(at + 1, end - at - 1), globs[at] == '+'});
    at = end + 1;
  }
  o.ExcludeDir = std::move(excludeDir);
  return o;
}

struct TWalkRow {
  TOptions Options;
  std::vector<std::string> Operands;
  std::string Expected;
};

TEST_F(TWalkTest, VisitsTheFilesAsTheOptionsSay) {
  const std::string kanji = "\x8C\x9F.txt";
  TOptions labelled = Options(kNone);
  labelled.Label = "in";
  TOptions skipDirectories = Options(kNone), skipDevices = Options(kNone), readDevices = Options(kR, "-*.txt");
  skipDirectories.Directories = TDirectories::Skip;
  skipDevices.Devices = TDevices::Skip;
  readDevices.Devices = TDevices::Read;
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
      {Options(kR, "+a.txt"), {"."}, "./a.txt ./a.txt\n"},
      // -R follows links met in the walk; a dangling one is an error, unless
      // a glob skips it by its name.
      {Options(kDerefR, "", {"d", "skip"}),
       {},
       ".hidden.txt ./.hidden.txt\nB.txt ./B.txt\n_u.txt ./_u.txt\na.log ./a.log\na.txt ./a.txt\n"
       "dangling !No such file or directory\ndir-link/b.txt ./dir-link/b.txt\ndir-link/c.log ./dir-link/c.log\n"
       "dir-link/e/f.txt ./dir-link/e/f.txt\nfile-link ./file-link\n" +
           kanji + " ./" + kanji + "\n"},
      {Options(kDerefR, "+*.log"), {"dir-link"}, "dir-link/c.log dir-link/c.log\n"},
      {Options(kDerefR, "+*.txt", {"d", "skip"}),
       {"."},
       "./.hidden.txt ./.hidden.txt\n./B.txt ./B.txt\n"
       "./_u.txt ./_u.txt\n./a.txt ./a.txt\n./dir-link/b.txt ./dir-link/b.txt\n./dir-link/e/f.txt "
       "./dir-link/e/f.txt\n./" +
           kanji + " ./" + kanji + "\n"},
      // In the walk globs match base names, never paths; the last glob that
      // matches wins, and a name that none matches is skipped only when the
      // first is an --include.
      {Options(kR, "+*.log"), {}, "a.log ./a.log\nd/c.log ./d/c.log\n"},
      {Options(kR, "+*.txt -b*"), {"d"}, "d/e/f.txt d/e/f.txt\n"},
      {Options(kR, "-.* -_* -*.txt"), {}, "a.log ./a.log\nd/c.log ./d/c.log\n"},
      {Options(kR, "-d/* -*e* -*.txt"), {"d"}, "d/c.log d/c.log\n"},
      {Options(kR, "-a* +*.txt -?.log"),
       {"."},
       "./.hidden.txt ./.hidden.txt\n./B.txt ./B.txt\n./_u.txt ./_u.txt\n"
       "./a.txt ./a.txt\n./d/b.txt ./d/b.txt\n./d/e/f.txt ./d/e/f.txt\n./skip/g.txt ./skip/g.txt\n./" +
           kanji + " ./" + kanji + "\n"},
      // Operands: a glob matches the whole name ("*" takes "/" too) or any
      // part after a "/"; --exclude leaves directories alone.
      {Options(kR, "-e"), {"d/e"}, "d/e/f.txt d/e/f.txt\n"},
      {Options(kNone, "+*.log"), {"a.txt", "a.log", "d/b.txt"}, "a.log a.log\n"},
      {Options(kNone, "-b.txt"), {"a.txt", "d/b.txt", "./d/b.txt"}, "a.txt a.txt\n"},
      {Options(kNone, "-d/b.txt"), {"d/b.txt", "./d/b.txt", "d/c.log"}, "d/c.log d/c.log\n"},
      {Options(kNone, "-d*"), {"d/b.txt", "a.txt", "-"}, "a.txt a.txt\n(standard input) -\n"},
      {Options(kNone, "-/b.txt -e/b.txt"), {"d/b.txt"}, "d/b.txt d/b.txt\n"},
      // An operand that cannot be looked at is searched, to say why.
      {Options(kNone, "-*.txt"), {"missing.txt"}, "missing.txt missing.txt\n"},
      // --exclude-dir matches a directory's own name, and skips a directory
      // named on the command line but not the implicit ".".
      {Options(kR, "-*.txt", {"e", "skip"}), {}, "a.log ./a.log\nd/c.log ./d/c.log\n"},
      {Options(kR, "", {"d"}), {"d", "skip", "./d"}, "skip/g.txt skip/g.txt\n"},
      {Options(kNone, "", {"d"}), {"d", "skip"}, "skip skip\n"},
      {Options(kR, "+a.txt", {"."}), {}, "a.txt ./a.txt\n"},
      {Options(kR, "+a.txt", {"."}), {"."}, ""},
      {Options(kR, "+a.txt", {"*"}), {"d", "."}, ""},
      // -d skip passes over directories, -D skip over devices, FIFOs and
      // sockets (not standard input); -D read reads them in the walk too.
      {skipDirectories, {"d", "a.txt"}, "a.txt a.txt\n"},
      {skipDevices, {"fifo", "a.txt", "-"}, "a.txt a.txt\n(standard input) -\n"},
      {readDevices, {}, "a.log ./a.log\nd/c.log ./d/c.log\nfifo ./fifo\n"},
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

// Links that lead back to a directory the walk is in: each is a warning
// and the walk goes on, from the implicit "." or from a link named on the
// command line.
TEST(WalkLoops, ADirectoryMetBelowItselfIsAWarning) {
  TTempDir tree;
  mkdir((tree / "d").c_str(), 0700);
  tree.Write("d/f", "cat\n");
  symlink("..", (tree / "d/up").c_str());
  symlink(".", (tree / "self").c_str());
  TOptions o = Options(kDerefR);
  const char* loop = " ?warning: recursive directory loop\n";
  EXPECT_EQ(TWalkTest::Walk(o, {}, tree.Path()), "d/f ./d/f\nd/up" + std::string(loop) + "self" + loop);
  EXPECT_EQ(TWalkTest::Walk(o, {"d/up"}, tree.Path()),
            "d/up/d/f d/up/d/f\nd/up/d/up" + std::string(loop) + "d/up/self" + loop);
  EXPECT_EQ(TWalkTest::Walk(Options(kR), {"self"}, tree.Path()), "self/d/f self/d/f\n") << "-r meets no link";
}

// Standard output, when it is a file in the walk, is not searched: it would
// feed itself.  -c, -l, -L, -q and -m 1 read no more than they print.
TEST(WalkOutput, TheOutputFileIsAnErrorUnlessItIsOnlyCounted) {
  TTempDir tree;
  tree.Write("a.txt", "cat\n");
  tree.Write("out.txt", "");
  symlink("out.txt", (tree / "link").c_str());
  struct stat st;
  ASSERT_EQ(stat((tree / "out.txt").c_str(), &st), 0);
  const TFileIdentity out{st.st_dev, st.st_ino};
  const std::string refused = "out.txt !input file is also the output\n";
  EXPECT_EQ(TWalkTest::Walk(Options(kR), {}, tree.Path(), out), "a.txt ./a.txt\n" + refused);
  EXPECT_EQ(TWalkTest::Walk(Options(kNone), {"link", "out.txt"}, tree.Path(), out),
            "link !input file is also the output\n" + refused);
  for (auto set : {+[](TOptions& o) { o.Count = true; }, +[](TOptions& o) { o.FilesWithMatches = true; },
                   +[](TOptions& o) { o.FilesWithoutMatch = true; }, +[](TOptions& o) { o.Quiet = true; },
                   +[](TOptions& o) { o.MaxCount = 1; }}) {
    TOptions o = Options(kNone);
    set(o);
    EXPECT_EQ(TWalkTest::Walk(o, {"out.txt"}, tree.Path(), out), "out.txt out.txt\n");
  }
  TOptions two = Options(kNone);
  two.MaxCount = 2;
  EXPECT_EQ(TWalkTest::Walk(two, {"out.txt"}, tree.Path(), out), refused);
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
