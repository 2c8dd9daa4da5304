// The status line (Label2): a label that screen readers find as the
// window's status bar, its text read as its name.  A search changes the text
// with every hit; screen readers are told of a new text only when it is
// announced (the end of a search, a new dictionary folder), not of every
// count on the way.
#pragma once

#include <QLabel>

class TStatusLine : public QLabel {
  Q_OBJECT

 public:
  explicit TStatusLine(QWidget* parent = nullptr);

  // Shows text; with announce, screen readers are told of it.
  void SetStatus(const QString& text, bool announce);
};
