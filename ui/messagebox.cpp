#include "ui/messagebox.h"

#include <QApplication>
#include <QMessageBox>

#include "kovalex_version.h"
#include "text/encoding.h"

namespace {

TMessageBoxHook& Hook() {
  static TMessageBoxHook hook;
  return hook;
}

}  // namespace

void ShowMessageBox(QWidget* parent, const QString& text, const QString& caption, TMessageIcon icon) {
  if (Hook()) {
    Hook()(parent, text, caption, icon);
    return;
  }
  QMessageBox box(icon == TMessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon, caption, text,
                  QMessageBox::Ok, parent);
  box.exec();
}

void SetMessageBoxHook(TMessageBoxHook hook) { Hook() = std::move(hook); }

QString ApplicationTitle() {
  const QString name = QApplication::applicationName();
  return name.isEmpty() ? QStringLiteral(KOVALEX_PROGRAM) : name;
}

void ShowError(QWidget* parent, const std::exception& error) {
  const std::u16string text = encoding::SjisToUtf16(error.what());
  ShowMessageBox(parent, QString::fromStdU16String(text) + QStringLiteral("."), ApplicationTitle(),
                 TMessageIcon::Error);
}
