#include "ui/toolkittranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool LoadToolkitTranslations(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  // "qtbase" covers the widgets' dialogs and buttons; the file looked for
  // follows the locale's UI languages, e.g. qtbase_ja.qm for ja_JP.
  if (!translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}
