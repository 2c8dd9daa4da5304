// Ending the program by a signal (the end of the desktop session, an
// interrupt in its terminal) as by the close box.
#pragma once

#include <QObject>
#include <QPointer>
#include <csignal>

class QSocketNotifier;
class QWidget;

class TCloseOnSignals : public QObject {
 public:
  explicit TCloseOnSignals(QWidget* window);
  ~TCloseOnSignals() override;
  TCloseOnSignals(const TCloseOnSignals&) = delete;
  TCloseOnSignals& operator=(const TCloseOnSignals&) = delete;

 private:
  void SignalArrived();

  QPointer<QWidget> FWindow;
  QSocketNotifier* FNotifier = nullptr;
  struct sigaction FPrevious[3] = {};
};
