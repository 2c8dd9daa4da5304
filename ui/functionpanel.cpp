#include "ui/functionpanel.h"

#include <QApplication>
#include <QMouseEvent>

TFunctionPanel::TFunctionPanel(QWidget* parent) : QLabel(parent) {
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  // A two-pixel bevel: a one-pixel one hardly tells pressed from raised.
  setLineWidth(kBevelWidth);
  setAlignment(Qt::AlignCenter);
  setAutoFillBackground(true);
}

void TFunctionPanel::SetLowered(bool lowered) {
  setFrameShadow(lowered ? QFrame::Sunken : QFrame::Raised);
  // A pressed panel's caption moves down and right, as a pressed button's.
  setContentsMargins(lowered ? QMargins(1, 1, 0, 0) : QMargins());
}

void TFunctionPanel::SetFaceColour(const QColor& colour) {
  QPalette p = palette();
  p.setColor(QPalette::Window, colour);
  setPalette(p);
}

void TFunctionPanel::Click() {
  const QPointF corner(0, 0);
  const QPointF global = mapToGlobal(corner);
  QMouseEvent press(QEvent::MouseButtonPress, corner, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(this, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, corner, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(this, &release);
}

void TFunctionPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    FPressed = true;
    event->accept();
    return;
  }
  QLabel::mousePressEvent(event);
}

void TFunctionPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && FPressed) {
    FPressed = false;
    event->accept();
    // Like a button: the click counts only when released over the panel.
    if (rect().contains(event->position().toPoint())) emit clicked();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}
