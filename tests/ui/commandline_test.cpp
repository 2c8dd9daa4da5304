// The desktop program's command line: the dictionary folder keeps the bytes
// of its argument, a name in Shift-JIS too, made absolute; the query beside
// it; a bad argument ends the program with status 2.
#include "ui/commandline.h"

#include <unistd.h>

#include <QtTest>
#include <string>
#include <vector>

#include "text/encoding.h"

class TCommandLineTest : public QObject {
  Q_OBJECT

 private slots:
  void folderKeepsItsBytes() {
    char cwd[4096];
    QVERIFY(getcwd(cwd, sizeof cwd) != nullptr);
    const std::string here = cwd, name = encoding::Sjis("辞書");
    const struct {
      std::vector<std::string> Arguments;
      std::string Folder;
      std::optional<int> ExitStatus;
      std::optional<std::string> Query = std::nullopt;
    } rows[] = {
        {{name}, here + "/" + name, std::nullopt},
        {{"./x/../" + name + "/"}, here + "/" + name, std::nullopt},
        {{"--", "/tmp/" + name}, "/tmp/" + name, std::nullopt},
        {{"/" + name, "-"}, "", 2},
        {{}, "", std::nullopt},
        // A query beside the folder; the toolkit's options and their values
        // are no folder.
        {{"--search", "cat", name}, here + "/" + name, std::nullopt, "cat"},
        {{"-platform", "offscreen", "-s", "猫\nsecond", "-style=x"}, "", std::nullopt, "猫"},
        {{"--search-clipboard", "/d"}, "/d", std::nullopt, ""},
        {{"--search", ""}, "", 2},
        {{"--search", std::string(5000, 'q')}, "", 2},
        {{"-s", "a", "--search", "b"}, "", 2},
        {{"--search"}, "", 2},
        {{"--bogus"}, "", 2},
    };
    for (const auto& row : rows) {
      std::vector<std::string> arguments{"kovalex"};
      arguments.insert(arguments.end(), row.Arguments.begin(), row.Arguments.end());
      std::vector<char*> argv;
      for (std::string& argument : arguments) argv.push_back(argument.data());
      const TCommandLine line = ReadCommandLine(static_cast<int>(argv.size()), argv.data());
      QCOMPARE(line.DictionaryFolder, row.Folder);
      QCOMPARE(line.ExitStatus, row.ExitStatus);
      QCOMPARE(line.Query, row.Query);
    }
  }
};

QTEST_GUILESS_MAIN(TCommandLineTest)
#include "commandline_test.moc"
