// Window tests with the toolkit's accessibility switched on, as the
// toolkit's own tests switch it on, and the events that controls raise for
// screen readers, caught and written as short texts.
#pragma once

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <QAccessible>
#include <QStringList>

// While one lives, accessibility is on and these events are kept as text:
// "inserted 0 <text>", "removed 0 <text>", "caret 5", "selection 2 5",
// "name <name>", "checked 1".
class TAccessibleEvents {
 public:
  TAccessibleEvents() {
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    QAccessible::installUpdateHandler(&Catch);
    Caught().clear();
  }
  ~TAccessibleEvents() {
    QAccessible::installUpdateHandler(nullptr);
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
  }

  // The events raised for object since the last Take.
  static QStringList Take(const QObject* object) {
    QStringList taken;
    Caught().removeIf([&](const auto& event) { return event.first == object && (taken << event.second, true); });
    return taken;
  }

 private:
  static QList<std::pair<const QObject*, QString>>& Caught() {
    static QList<std::pair<const QObject*, QString>> caught;
    return caught;
  }
  static void Catch(QAccessibleEvent* event) {
    QString text;
    if (const auto* e = dynamic_cast<QAccessibleTextInsertEvent*>(event)) {
      text = QStringLiteral("inserted %1 %2").arg(e->changePosition()).arg(e->textInserted());
    } else if (const auto* e = dynamic_cast<QAccessibleTextRemoveEvent*>(event)) {
      text = QStringLiteral("removed %1 %2").arg(e->changePosition()).arg(e->textRemoved());
    } else if (const auto* e = dynamic_cast<QAccessibleTextSelectionEvent*>(event)) {
      text = QStringLiteral("selection %1 %2").arg(e->selectionStart()).arg(e->selectionEnd());
    } else if (const auto* e = dynamic_cast<QAccessibleTextCursorEvent*>(event)) {
      text = QStringLiteral("caret %1").arg(e->cursorPosition());
    } else if (event->type() == QAccessible::NameChanged) {
      text = QStringLiteral("name ") + event->accessibleInterface()->text(QAccessible::Name);
    } else if (const auto* e = dynamic_cast<QAccessibleStateChangeEvent*>(event); e && e->changedStates().checked) {
      text = QStringLiteral("checked %1").arg(event->accessibleInterface()->state().checked);
    }
    if (!text.isEmpty()) Caught().append({event->object(), text});
  }
};
