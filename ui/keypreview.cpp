#include "ui/keypreview.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>
#include <utility>

TKeyPreview::TKeyPreview(QWidget* window, QList<QAction*> shortcuts, QPushButton* defaultButton,
                         std::function<bool(QKeyEvent*)> keyDown)
    : QObject(window),
      FWindow(window),
      FShortcuts(std::move(shortcuts)),
      FDefaultButton(defaultButton),
      FKeyDown(std::move(keyDown)) {}

void TKeyPreview::Install() {
  FWindow->installEventFilter(this);
  for (QWidget* child : FWindow->findChildren<QWidget*>()) child->installEventFilter(this);
}

bool TKeyPreview::IsTarget(QObject* watched) const {
  QWidget* focus = QApplication::focusWidget();
  const QObject* target = focus != nullptr && focus->window() == FWindow ? static_cast<QObject*>(focus) : FWindow;
  return watched == target;
}

// Installed on the window and all its controls, the preview looks at each
// key once, where it first arrives (the focused control, or the window when
// none of its controls has the focus; a key the control passes on travels
// up to its parents and is not looked at again there):
//  - the given menu items' shortcuts come before the controls' own use of
//    those keys (a line edit would take Ctrl+C and Ctrl+A);
//  - while Enabled, KeyDown gets the key first and may consume it;
//  - while Enabled, Enter without modifiers clicks the default button when
//    that is usable.
bool TKeyPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* item : FShortcuts) {
      if (item->shortcut() == pressed && IsTarget(watched)) {
        event->ignore();
        return true;
      }
    }
  } else if (event->type() == QEvent::KeyPress && Enabled && IsTarget(watched)) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (FKeyDown(key)) return true;
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier &&
        FDefaultButton->isEnabled()) {
      FDefaultButton->click();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}
