// The desktop program's entry.  Reads the command line, hands a query to the
// window that already runs on this display (and ends) or creates the main
// window, the hit-limit dialog and the find dialog, in that order, and runs
// the event loop until the program ends.
//
// The command line is read before the window system is opened, so that
// --help, --version and a bad argument work in a terminal without a display.
#include <QApplication>
#include <QIcon>
#include <optional>
#include <string>

#include "kovalex_version.h"
#include "ui/closeonsignals.h"
#include "ui/commandline.h"
#include "ui/findform.h"
#include "ui/fontsubstitutes.h"
#include "ui/handover.h"
#include "ui/inputform.h"
#include "ui/mainform.h"
#include "ui/toolkittranslations.h"

namespace {

// Reads the command line and hands a query to the window that runs for this
// user on this display, all without a display.  The status to end with, or
// none to open the window.
std::optional<int> StartWithoutWindow(int argc, char* argv[], TCommandLine& commandLine, std::string& socketPath) {
  const QCoreApplication core(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral(KOVALEX_PROGRAM));
  QCoreApplication::setApplicationVersion(QStringLiteral(KOVALEX_VERSION));
  commandLine = ReadCommandLine(argc, argv);
  if (commandLine.ExitStatus) return commandLine.ExitStatus;
  socketPath = HandOverSocketPath();
  // The desktop's token lets the running window take the focus (and this
  // one's first window, when none runs).
  const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
  if (socketPath.empty() || !commandLine.Query) return std::nullopt;
  const handover::TRequest request{*commandLine.Query, commandLine.DictionaryFolder, token.toStdString()};
  if (handover::Valid(request) && HandOverToRunning(socketPath, request)) return 0;
  return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
  TCommandLine commandLine;
  std::string socketPath;
  if (const std::optional<int> status = StartWithoutWindow(argc, argv, commandLine, socketPath)) return *status;

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral(KOVALEX_PROGRAM));
  QApplication::setApplicationVersion(QStringLiteral(KOVALEX_VERSION));
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

  // Later starts on this display hand their queries to this window.
  THandOverServer server(&mainForm, [&mainForm](const handover::TRequest& request) { mainForm.HandedOver(request); });
  if (!socketPath.empty()) server.Listen(socketPath);

  mainForm.show();
  if (commandLine.Query) mainForm.HandedOver({*commandLine.Query, "", ""});
  return QApplication::exec();
}
