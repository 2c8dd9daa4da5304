// The key preview of a window: key presses reach the window before its
// focused control, as a dialog-based program expects.
#pragma once

#include <QList>
#include <QObject>
#include <functional>

class QAction;
class QKeyEvent;
class QPushButton;
class QWidget;

class TKeyPreview : public QObject {
 public:
  // keyDown returns true when it consumed the key.
  TKeyPreview(QWidget* window, QList<QAction*> shortcuts, QPushButton* defaultButton,
              std::function<bool(QKeyEvent*)> keyDown);

  // Watches the window and every control it has now.
  void Install();

  bool Enabled = true;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool IsTarget(QObject* watched) const;

  QWidget* FWindow;
  QList<QAction*> FShortcuts;
  QPushButton* FDefaultButton;
  std::function<bool(QKeyEvent*)> FKeyDown;
};
