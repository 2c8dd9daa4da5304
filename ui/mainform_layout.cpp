// The main window's size and place: its client area, the layout of its
// parts when it is resized, and a stored geometry fitted to the screen; the
// arithmetic is core/form_geometry's.
#include <QMenuBar>
#include <QScreen>

#include "core/form_geometry.h"
#include "ui/hitview.h"
#include "ui/mainform.h"
#include "ui_mainform.h"

namespace {

int MenuHeight(const QMainWindow& window) {
  return window.menuBar()->isNativeMenuBar() ? 0 : window.menuBar()->sizeHint().height();
}

void Place(QWidget* widget, const form_geometry::TRect& r) { widget->setGeometry(r.Left, r.Top, r.Width, r.Height); }

}  // namespace

QSize TMainForm::ClientSize() const { return {width(), height() - MenuHeight(*this)}; }

void TMainForm::SetClientSize(int width, int height) {
  const form_geometry::TSize size =
      form_geometry::AtLeast({width, height}, {MinimumClientWidth(), kMinimumClientHeight});
  resize(size.Width, size.Height + MenuHeight(*this));
}

int TMainForm::MinimumClientWidth() const { return form_geometry::MinimumClient(FDictionaryBar.Right()).Width; }

void TMainForm::FormResize() {
  const form_geometry::TSize client{ui->Panel1->width(), ui->Panel1->height()};
  if (form_geometry::AtLeast(client, {MinimumClientWidth(), kMinimumClientHeight}) != client) {
    SetClientSize(client.Width, client.Height);
    return;
  }
  const form_geometry::TParts parts =
      form_geometry::LayOut(client, ui->Bevel1->height(), ui->Panel3->height(), ui->Panel4->height());
  Place(ui->Bevel1, parts.Bevel);
  Place(ui->Panel3, parts.Query);
  Place(ui->Panel4, parts.Bar);
  Place(ui->RichEdit1, parts.View);
  ui->RichEdit1->update();
}

void TMainForm::SetGeometry(int top, int left, int width, int height) {
  // The stored place may lie off every screen and the size exceed any.
  form_geometry::TRect fitted{left, top, width, height};
  const QScreen* screen = QGuiApplication::screenAt(QPoint(left, top));
  if (screen == nullptr) screen = this->screen();
  if (screen != nullptr) {
    const QRect area = screen->availableGeometry();
    fitted = form_geometry::FitToArea(fitted, {area.x(), area.y(), area.width(), area.height()}, 0,
                                      this->height() - ClientSize().height());
  }
  move(fitted.Left, fitted.Top);
  SetClientSize(fitted.Width, fitted.Height);
}
