// The desktop program's command line: the dictionary folder keeps the bytes
// of its argument, a name in Shift-JIS too, made absolute.
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
    } rows[] = {
        {{name}, here + "/" + name, std::nullopt},
        {{"./x/../" + name + "/"}, here + "/" + name, std::nullopt},
        {{"--", "/tmp/" + name}, "/tmp/" + name, std::nullopt},
        {{"/" + name, "-"}, "", 2},
        {{}, "", std::nullopt},
    };
    for (const auto& row : rows) {
      std::vector<std::string> arguments{"kovalex"};
      arguments.insert(arguments.end(), row.Arguments.begin(), row.Arguments.end());
      std::vector<char*> argv;
      for (std::string& argument : arguments) argv.push_back(argument.data());
      const TCommandLine line = ReadCommandLine(static_cast<int>(argv.size()), argv.data());
      QCOMPARE(line.DictionaryFolder, row.Folder);
      QCOMPARE(line.ExitStatus, row.ExitStatus);
    }
  }
};

QTEST_GUILESS_MAIN(TCommandLineTest)
#include "commandline_test.moc"
