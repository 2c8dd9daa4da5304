// The desktop program's entry.  Reads the command line, then
// creates the main window, the hit-limit dialog and the find dialog, in that
// order, and runs the event loop until the program ends.
//
// --help and --version are answered before the window system is opened, so
// that they work in a terminal without a display.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <cstdio>
#include <optional>
#include <string_view>

#include "kovalex_version.h"
#include "ui/closeonsignals.h"
#include "ui/findform.h"
#include "ui/fontsubstitutes.h"
#include "ui/inputform.h"
#include "ui/mainform.h"
#include "ui/toolkittranslations.h"

namespace {

// The dictionary folder given on the command line ("" when none), or the
// exit status when the program ends here (help, version, a bad option).
struct TCommandLine {
  std::string DictionaryFolder;
  std::optional<int> ExitStatus;
};

// Whether the command line asks only for the help or the version text.
bool AsksForHelpOrVersion(int argc, char* argv[]) {
  for (int k = 1; k < argc; ++k) {
    const std::string_view arg = argv[k];
    if (arg == "--") return false;
    if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version") return true;
  }
  return false;
}

// Reads the arguments that the toolkit has left (it takes its own options,
// such as -platform, out of the list).
TCommandLine ReadCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral(KOVALEX_PRODUCT ": searches the KOVA Japanese-English dictionaries (Shift-JIS text files)."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("DIR"),
                               QStringLiteral("The folder that holds the dictionary files (optional)."),
                               QStringLiteral("[DIR]"));
  TCommandLine result;
  if (!parser.parse(arguments)) {
    std::fprintf(stderr, KOVALEX_PROGRAM ": %s\n", qPrintable(parser.errorText()));
    result.ExitStatus = 2;
  } else if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    std::fputs(qPrintable(parser.helpText()), stdout);
    result.ExitStatus = 0;
  } else if (parser.isSet(version)) {
    std::puts(KOVALEX_PROGRAM " (" KOVALEX_PRODUCT ") " KOVALEX_VERSION);
    result.ExitStatus = 0;
  } else if (parser.positionalArguments().size() > 1) {
    std::fputs(KOVALEX_PROGRAM ": at most one DIR may be given\n", stderr);
    result.ExitStatus = 2;
  } else if (!parser.positionalArguments().isEmpty()) {
    // Made absolute, so that the status line says which folder it is.
    const QString folder = QFileInfo(parser.positionalArguments().front()).absoluteFilePath();
    result.DictionaryFolder = QFile::encodeName(folder).toStdString();
  }
  return result;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (AsksForHelpOrVersion(argc, argv)) {
    // No window system is needed for these.
    const QCoreApplication core(argc, argv);
    return ReadCommandLine(QCoreApplication::arguments()).ExitStatus.value_or(0);
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral(KOVALEX_PROGRAM));
  QApplication::setApplicationVersion(QStringLiteral(KOVALEX_VERSION));
  const TCommandLine commandLine = ReadCommandLine(QApplication::arguments());
  if (commandLine.ExitStatus) return *commandLine.ExitStatus;
  QApplication::setDesktopFileName(QStringLiteral(KOVALEX_PROGRAM));
  // The bitmaps are built in, so the icon shows without an SVG plug-in.
  QIcon icon;
  for (const int size : {48, 128, 256}) icon.addFile(QStringLiteral(":/icons/kovalex-%1.png").arg(size));
  QApplication::setWindowIcon(icon);
  SubstituteJapaneseFontNames();
  LoadToolkitTranslations(application);

  TMainForm mainForm;
  TCloseOnSignals closeOnSignals(&mainForm);
  mainForm.SetDictionaryArgument(commandLine.DictionaryFolder);
  mainForm.FormCreate();
  TInputForm inputForm(&mainForm);
  TFindForm findForm(&mainForm, mainForm.RichEdit1(), mainForm.AWKStr1);
  mainForm.SetDialogs(&inputForm, &findForm);

  mainForm.show();
  return QApplication::exec();
}
