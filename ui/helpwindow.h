// The help viewer: a window that shows the help file, an HTML page, and can
// be told to quit.
//
// The help file is looked for beside the executable first and then in the
// shared data directory of an installed program.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QTextBrowser;

class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // The places where helpFile is looked for, in order.
  static QStringList SearchPaths(const QString& helpFile);
  // The first of SearchPaths that exists, or an empty string.
  static QString Locate(const QString& helpFile);

  // Shows the contents of helpFile; when it cannot be found or read, the
  // window says so instead.
  void ShowContents(const QString& helpFile);
  // Closes the window.
  void Quit();

  // The file shown last (empty when none was found).
  QString ShownFile() const { return FShownFile; }
  QTextBrowser* Browser() const { return FBrowser; }

 private:
  QTextBrowser* FBrowser;
  QString FShownFile;
};
