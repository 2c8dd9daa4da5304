// The key preview of a window: key presses reach the window before its
// focused control, as a dialog-based program expects.
//
// Installed on the window and all its controls, the preview looks at each
// key once, where it first arrives (the focused control, or the window when
// none of its controls has the focus; a key the control passes on travels
// up to its parents and is not looked at again there):
//  - the given menu items' shortcuts come before the controls' own use of
//    those keys (a line edit would take Ctrl+C and Ctrl+A);
//  - while Enabled, KeyDown gets the key first and may consume it;
//  - while Enabled, Enter without modifiers clicks the default button when
//    that is usable.
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
