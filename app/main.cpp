// KOVALEX Searcher Mini: the program's entry.  Creates the main window, the
// hit-limit dialog and the find dialog, in that order, and runs the event
// loop until the program ends.
#include <QApplication>
#include <QIcon>

#include "findform.h"
#include "fontsubstitutes.h"
#include "inputform.h"
#include "mainform.h"
#include "toolkittranslations.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kovalex"));
  QApplication::setDesktopFileName(QStringLiteral("kovalex"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("kovalex")));
  SubstituteJapaneseFontNames();
  LoadToolkitTranslations(application);

  TMainForm mainForm;
  mainForm.FormCreate();
  TInputForm inputForm(&mainForm);
  TFindForm findForm(&mainForm, mainForm.RichEdit1, mainForm.AWKStr1);
  mainForm.SetDialogs(&inputForm, &findForm);

  mainForm.show();
  return QApplication::exec();
}
