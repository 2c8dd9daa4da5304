// A dictionary toggle of the dictionary bar: a captioned panel that is
// clicked like a button and shows its state by its bevel, raised or sunken.
// It is a checkable button to the keyboard and to screen readers (a check
// box named by its caption, checked while sunken): Tab reaches it, Space
// toggles it, and it shows a focus frame.  A disabled panel receives no
// clicks.
#pragma once

#include <QAbstractButton>

class TFunctionPanel : public QAbstractButton {
  Q_OBJECT

 public:
  explicit TFunctionPanel(QWidget* parent = nullptr);
  static constexpr int kBevelWidth = 2;

  // Whether the bevels are lowered (the panel looks pressed in).
  bool Lowered() const { return isChecked(); }
  void SetLowered(bool lowered) { setChecked(lowered); }

  // The fill colour: the button face for an available panel, the button
  // shadow for one that is greyed out.
  void SetFaceColour(const QColor& colour);

  // A left-button press and release at the top-left corner, as a user's
  // click; does nothing while the panel is disabled.
  void Click();

 protected:
  void paintEvent(QPaintEvent* event) override;
  // A click leaves the state to the clicked() handler, which sets it
  // together with the dictionary's menu item.
  void nextCheckState() override {}
};
