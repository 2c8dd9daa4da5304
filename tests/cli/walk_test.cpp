// The files a command line names, in order, with the errors met; links that loop; the output file met in the walk.
#include "cli/walk.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "support/temp_dir.h"

namespace {

// The tree, made once (its Shift-JIS name sorts last): B.txt .hidden.txt _u.txt a.log a.txt d/{b.txt c.log e/f.txt}
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

  // What the walk visits from folder (no operands: the implicit "." of -r), a line each: "display" where the path is
  // the display (after "./" under the implicit "."), else "display path"; "display !error", "display ?warning".
  static std::string Walk(const TOptions& options, const std::vector<std::string>& operands,
                          const std::string& folder = Tree->Path(), std::optional<TFileIdentity> output = {}) {
    std::string seen;
    TWalk walk(
        options,
        [&](const std::string& display, const std::string& path) {
          seen += display + ((operands.empty() ? "./" : "") + display == path ? "" : " " + path) + "\n";
        },
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
  const std::string kanji = "\x8C\x9F.txt\n";
  TOptions labelled = Options(kNone);
  labelled.Label = "in";
  TOptions skipDirectories = Options(kNone), skipDevices = Options(kNone), readDevices = Options(kR, "-*.txt");
  skipDirectories.Directories = TDirectories::Skip;
  skipDevices.Devices = TDevices::Skip;
  readDevices.Devices = TDevices::Read;
  // clang-format off
  const TWalkRow rows[] = {
      // Operands as they stand, directories without -r too (the search reports them); "-" by its label.
      {Options(kNone), {"a.txt", "missing", "d", "fifo", "-"}, "a.txt\nmissing\nd\nfifo\n(standard input) -\n"},
      {labelled, {"-"}, "in -\n"},
      // -r: name order by bytes, hidden files too; links met in the walk, FIFOs and dangling links skipped.
      {Options(kR), {}, ".hidden.txt\nB.txt\n_u.txt\na.log\na.txt\nd/b.txt\nd/c.log\nd/e/f.txt\nskip/g.txt\n" + kanji},
      {Options(kR), {"d", "d/", "./d/e"}, "d/b.txt\nd/c.log\nd/e/f.txt\nd/b.txt\nd/c.log\nd/e/f.txt\n./d/e/f.txt\n"},
      // Links named on the command line are followed by -r as well.
      {Options(kR), {"dir-link", "file-link"}, "dir-link/b.txt\ndir-link/c.log\ndir-link/e/f.txt\nfile-link\n"},
      {Options(kR, "+a.txt"), {"."}, "./a.txt\n"},
      // -R follows links met in the walk; a dangling one is an error, unless a glob skips it by its name.
      {Options(kDerefR, "", {"d", "skip"}), {}, ".hidden.txt\nB.txt\n_u.txt\na.log\na.txt\n"
       "dangling !No such file or directory\ndir-link/b.txt\ndir-link/c.log\ndir-link/e/f.txt\nfile-link\n" + kanji},
      {Options(kDerefR, "+*.log"), {"dir-link"}, "dir-link/c.log\n"},
      {Options(kDerefR, "+*.txt", {"d", "skip"}), {"."},
       "./.hidden.txt\n./B.txt\n./_u.txt\n./a.txt\n./dir-link/b.txt\n./dir-link/e/f.txt\n./" + kanji},
      // Globs match base names in the walk; the last that matches wins; none matching skips if the first is --include.
      {Options(kR, "+*.log"), {}, "a.log\nd/c.log\n"}, {Options(kR, "+*.txt -b*"), {"d"}, "d/e/f.txt\n"},
      {Options(kR, "-.* -_* -*.txt"), {}, "a.log\nd/c.log\n"}, {Options(kR, "-d/* -*e* -*.txt"), {"d"}, "d/c.log\n"},
      {Options(kR, "-a* +*.txt -?.log"), {"."},
       "./.hidden.txt\n./B.txt\n./_u.txt\n./a.txt\n./d/b.txt\n./d/e/f.txt\n./skip/g.txt\n./" + kanji},
      // Operands: a glob matches the whole name ("*" takes "/") or a part after "/"; --exclude spares directories.
      {Options(kR, "-e"), {"d/e"}, "d/e/f.txt\n"}, {Options(kNone, "+*.log"), {"a.txt", "a.log", "d/b.txt"}, "a.log\n"},
      {Options(kNone, "-b.txt"), {"a.txt", "d/b.txt", "./d/b.txt"}, "a.txt\n"},
      {Options(kNone, "-d/b.txt"), {"d/b.txt", "./d/b.txt", "d/c.log"}, "d/c.log\n"},
      {Options(kNone, "-d*"), {"d/b.txt", "a.txt", "-"}, "a.txt\n(standard input) -\n"},
      {Options(kNone, "-/b.txt -e/b.txt"), {"d/b.txt"}, "d/b.txt\n"},
      // An operand that cannot be looked at is searched, to say why.
      {Options(kNone, "-*.txt"), {"missing.txt"}, "missing.txt\n"},
      // --exclude-dir matches a directory's own name, a named one too, never the implicit ".".
      {Options(kR, "-*.txt", {"e", "skip"}), {}, "a.log\nd/c.log\n"},
      {Options(kR, "", {"d"}), {"d", "skip", "./d"}, "skip/g.txt\n"},
      {Options(kNone, "", {"d"}), {"d", "skip"}, "skip\n"},
      {Options(kR, "+a.txt", {"."}), {}, "a.txt\n"}, {Options(kR, "+a.txt", {"."}), {"."}, ""},
      {Options(kR, "+a.txt", {"*"}), {"d", "."}, ""},
      // -d skip passes over directories, -D skip over devices (not standard input); -D read reads them under -r.
      {skipDirectories, {"d", "a.txt"}, "a.txt\n"}, {readDevices, {}, "a.log\nd/c.log\nfifo\n"},
      {skipDevices, {"fifo", "a.txt", "-"}, "a.txt\n(standard input) -\n"},
  };
  // clang-format on
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

// Links back to a directory the walk is in are warnings and the walk goes on, from "." or from a named link.
TEST(WalkLoops, ADirectoryMetBelowItselfIsAWarning) {
  TTempDir tree;
  mkdir((tree / "d").c_str(), 0700);
  tree.Write("d/f", "cat\n");
  symlink("..", (tree / "d/up").c_str());
  symlink(".", (tree / "self").c_str());
  TOptions o = Options(kDerefR);
  const char* loop = " ?warning: recursive directory loop\n";
  EXPECT_EQ(TWalkTest::Walk(o, {}, tree.Path()), "d/f\nd/up" + std::string(loop) + "self" + loop);
  EXPECT_EQ(TWalkTest::Walk(o, {"d/up"}, tree.Path()), "d/up/d/f\nd/up/d/up" + std::string(loop) + "d/up/self" + loop);
  EXPECT_EQ(TWalkTest::Walk(Options(kR), {"self"}, tree.Path()), "self/d/f\n") << "-r meets no link";
}

// Standard output met in the walk is not searched, unless -c, -l, -L, -q or -m 1 keep it from feeding itself.
TEST(WalkOutput, TheOutputFileIsAnErrorUnlessItIsOnlyCounted) {
  TTempDir tree;
  tree.Write("a.txt", "cat\n");
  tree.Write("out.txt", "");
  symlink("out.txt", (tree / "link").c_str());
  struct stat st;
  ASSERT_EQ(stat((tree / "out.txt").c_str(), &st), 0);
  const TFileIdentity out{st.st_dev, st.st_ino};
  const std::string refused = "out.txt !input file is also the output\n";
  EXPECT_EQ(TWalkTest::Walk(Options(kR), {}, tree.Path(), out), "a.txt\n" + refused);
  EXPECT_EQ(TWalkTest::Walk(Options(kNone), {"link", "out.txt"}, tree.Path(), out),
            "link !input file is also the output\n" + refused);
  for (auto set : {+[](TOptions& o) { o.Count = true; }, +[](TOptions& o) { o.FilesWithMatches = true; },
                   +[](TOptions& o) { o.FilesWithoutMatch = true; }, +[](TOptions& o) { o.Quiet = true; },
                   +[](TOptions& o) { o.MaxCount = 1; }}) {
    TOptions o = Options(kNone);
    set(o);
    EXPECT_EQ(TWalkTest::Walk(o, {"out.txt"}, tree.Path(), out), "out.txt\n");
  }
  TOptions two = Options(kNone);
  two.MaxCount = 2;
  EXPECT_EQ(TWalkTest::Walk(two, {"out.txt"}, tree.Path(), out), refused);
}

// An unreadable directory is an error and the walk goes on (run as nobody, since root reads every directory).
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
        std::_Exit(seen == "closed !Permission denied\nopen.txt\n" ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
