#include "ui/helpwindow.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <cerrno>

#include "core/file_error.h"
#include "kovalex_version.h"
#include "sjis/posix_io.h"
#include "text/encoding.h"

#ifndef KOVALEX_DATA_DIR
#define KOVALEX_DATA_DIR ""
#endif

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), FBrowser(new QTextBrowser(this)) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral(KOVALEX_WINDOW_PRODUCT " - ﾍﾙﾌﾟ"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(FBrowser);
  FBrowser->setOpenExternalLinks(true);
  resize(560, 480);
  // Closes as other viewers do, with Escape and Ctrl+W.
  for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
    auto* close = new QShortcut(keys, this);
    close->setContext(Qt::WindowShortcut);
    connect(close, &QShortcut::activated, this, &QWidget::close);
  }
}

QStringList THelpWindow::SearchPaths(const QString& helpFile) {
  const QString appDir = QCoreApplication::applicationDirPath();
  QStringList paths;
  paths << QDir(appDir).filePath(helpFile);
  // An installed program: <prefix>/bin/kovalex and <prefix>/share/kovalex/.
  paths << QDir(appDir).filePath(QStringLiteral("../share/" KOVALEX_PROGRAM "/") + helpFile);
  const QString dataDir = QStringLiteral(KOVALEX_DATA_DIR);
  if (!dataDir.isEmpty()) paths << QDir(dataDir).filePath(helpFile);
  for (QString& path : paths) path = QDir::cleanPath(path);
  paths.removeDuplicates();
  return paths;
}

QString THelpWindow::Locate(const QString& helpFile) {
  for (const QString& path : SearchPaths(helpFile)) {
    if (QFileInfo(path).isFile()) return path;
  }
  // File names on disk may differ in letter case from the name asked for.
  for (const QString& path : SearchPaths(helpFile)) {
    const QFileInfo info(path);
    const QStringList entries = info.dir().entryList(QDir::Files);
    for (const QString& entry : entries) {
      if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0) return info.dir().filePath(entry);
    }
  }
  return {};
}

void THelpWindow::ShowContents(const QString& helpFile) {
  FShownFile = Locate(helpFile);
  int error = ENOENT;
  const int fd =
      FShownFile.isEmpty() ? -1 : posix_io::OpenRegular(QFile::encodeName(FShownFile).toStdString(), O_RDONLY, error);
  QFile file;
  if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    if (fd >= 0) ::close(fd);
    FShownFile.clear();
    const std::string name = encoding::EncodeSjisLossy(helpFile.toStdU16String()).Bytes;
    FBrowser->setPlainText(QString::fromStdU16String(encoding::SjisToUtf16(file_error::Message(name, error))));
  } else {
    FBrowser->setSearchPaths({QFileInfo(FShownFile).absolutePath()});
    // The page names its encoding in its header; UTF-8 when it does not.
    const QByteArray page = file.readAll();
    QStringDecoder decoder(QStringConverter::encodingForHtml(page).value_or(QStringConverter::Utf8));
    FBrowser->setHtml(decoder.decode(page));
  }
  show();
  raise();
  activateWindow();
}

void THelpWindow::Quit() { close(); }
