#include "ui/statusline.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

// The status line's interface: a status bar whose name is the text shown.
class TStatusLineAccessible : public QAccessibleWidget {
 public:
  explicit TStatusLineAccessible(TStatusLine* line) : QAccessibleWidget(line, QAccessible::StatusBar) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return static_cast<const QLabel*>(widget())->text();
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* Create(const QString& key, QObject* object) {
  auto* line = qobject_cast<TStatusLine*>(object);
  if (key != QLatin1String("TStatusLine") || line == nullptr) return nullptr;
  return new TStatusLineAccessible(line);
}

}  // namespace

TStatusLine::TStatusLine(QWidget* parent) : QLabel(parent) {
  static const bool installed = (QAccessible::installFactory(&Create), true);
  Q_UNUSED(installed);
  // A label without an accessible name of its own tells screen readers of
  // every new text; with one (which the interface above does not read) it
  // leaves that to SetStatus.
  setAccessibleName(QStringLiteral("status"));
}

void TStatusLine::SetStatus(const QString& text, bool announce) {
  setText(text);
  if (!announce) return;
  QAccessibleEvent changed(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&changed);
}
