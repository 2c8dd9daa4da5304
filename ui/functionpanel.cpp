#include "ui/functionpanel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStyleOptionFrame>

TFunctionPanel::TFunctionPanel(QWidget* parent) : QAbstractButton(parent) {
  setCheckable(true);
  setFocusPolicy(Qt::StrongFocus);
  setBackgroundRole(QPalette::Window);
  setAutoFillBackground(true);
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

// Drawn as the toolkit draws a panel frame of two pixels, raised or sunken,
// with the caption centred inside; a sunken panel's caption moves down and
// right by a pixel, as a pressed button's.  The focus frame lies just inside
// the bevel.
void TFunctionPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  QStyleOptionFrame frame;
  frame.initFrom(this);
  frame.frameShape = QFrame::Panel;
  frame.lineWidth = kBevelWidth;
  frame.midLineWidth = 0;
  frame.state |= Lowered() ? QStyle::State_Sunken : QStyle::State_Raised;
  style()->drawControl(QStyle::CE_ShapedFrame, &frame, &painter, this);
  QRect inside = rect().adjusted(kBevelWidth, kBevelWidth, -kBevelWidth, -kBevelWidth);
  const QRect caption = Lowered() ? inside.adjusted(1, 1, 0, 0) : inside;
  style()->drawItemText(&painter, caption, Qt::AlignCenter, palette(), isEnabled(), text(), QPalette::WindowText);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = inside;
    focus.backgroundColor = palette().color(QPalette::Window);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}
