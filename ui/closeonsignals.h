// Ending the program by a signal as by the close box.
//
// When the desktop session ends (SIGTERM, SIGHUP) or the user interrupts the
// program in its terminal (SIGINT), the main window is closed exactly as its
// close box closes it: a running search is cancelled first, the settings are
// saved, and the program quits.  Open modal dialogs are closed on the way.
//
// A signal handler may do almost nothing, so it only writes the signal's
// number into a pipe; the event loop watches the pipe's other end and does
// the closing there.  A signal that was ignored when the program started
// (nohup) stays ignored.  One object at a time; it restores the previous
// handlers when it goes.
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
