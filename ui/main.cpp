// The desktop program's entry.  Reads the command line, then
// creates the main window, the hit-limit dialog and the find dialog, in that
// order, and runs the event loop until the program ends.
//
// --help and --version are answered before the window system is opened, so
// that they work in a terminal without a display.
#include <QApplication>
#include <QIcon>

#include "kovalex_version.h"
#include "ui/closeonsignals.h"
#include "ui/commandline.h"
#include "ui/findform.h"
#include "ui/fontsubstitutes.h"
#include "ui/inputform.h"
#include "ui/mainform.h"
#include "ui/toolkittranslations.h"

int main(int argc, char* argv[]) {
  if (AsksForHelpOrVersion(argc, argv)) {
    // No window system is needed for these.
    const QCoreApplication core(argc, argv);
    return ReadCommandLine(argc, argv).ExitStatus.value_or(0);
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral(KOVALEX_PROGRAM));
  QApplication::setApplicationVersion(QStringLiteral(KOVALEX_VERSION));
  const TCommandLine commandLine = ReadCommandLine(argc, argv);
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
