// A dictionary toggle of the dictionary bar: a captioned panel that is
// clicked like a button and shows its state by its bevel, raised or sunken.
// A disabled panel receives no clicks.
#pragma once

#include <QLabel>

class TFunctionPanel : public QLabel {
  Q_OBJECT

 public:
  explicit TFunctionPanel(QWidget* parent = nullptr);
  static constexpr int kBevelWidth = 2;

  // Whether the bevels are lowered (the panel looks pressed in).
  bool Lowered() const { return frameShadow() == QFrame::Sunken; }
  void SetLowered(bool lowered);

  // The fill colour: the button face for an available panel, the button
  // shadow for one that is greyed out.
  void SetFaceColour(const QColor& colour);

  // A left-button press and release at the top-left corner, as a user's
  // click; does nothing while the panel is disabled.
  void Click();

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool FPressed = false;
};
