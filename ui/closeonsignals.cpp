#include "ui/closeonsignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <cerrno>

// When the desktop session ends (SIGTERM, SIGHUP) or the user interrupts the
// program in its terminal (SIGINT), the main window is closed exactly as its
// close box closes it: a running search is cancelled first, the settings are
// saved, and the program quits.  Open modal dialogs are closed on the way.
//
// A signal handler may do almost nothing, so it only writes the signal's
// number into a pipe; the event loop watches the pipe's other end and does
// the closing there.  Until an event loop has run, nobody reads the pipe
// (the window is still being made, a huge settings file may be loading)
// and nothing of this run can be lost: a signal then ends the program at
// once by its default action.  A signal that was ignored when the program
// started (nohup) stays ignored.  One object at a time; it restores the
// previous handlers when it goes.

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The pipe from the handler to the event loop: [0] read, [1] write.
int Pipe[2] = {-1, -1};
// Set by the first event loop that runs.
volatile sig_atomic_t LoopRunning = 0;

extern "C" void WriteSignalToPipe(int signal) {
  if (LoopRunning == 0) {
    // Blocked while this handler runs, the signal raised again takes its
    // default action as soon as the handler returns.
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    sigaction(signal, &byDefault, nullptr);
    raise(signal);
    return;
  }
  const int saved = errno;
  const char byte = static_cast<char>(signal);
  [[maybe_unused]] const ssize_t written = write(Pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

TCloseOnSignals::TCloseOnSignals(QWidget* window) : QObject(window), FWindow(window) {
  if (pipe2(Pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    Pipe[0] = Pipe[1] = -1;
    return;  // the signals keep their default action: the program ends unsaved, as before
  }
  FNotifier = new QSocketNotifier(Pipe[0], QSocketNotifier::Read, this);
  connect(FNotifier, &QSocketNotifier::activated, this, &TCloseOnSignals::SignalArrived);
  LoopRunning = 0;
  QTimer::singleShot(0, this, [] { LoopRunning = 1; });
  struct sigaction action = {};
  action.sa_handler = WriteSignalToPipe;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], nullptr, &FPrevious[i]);
    // A signal ignored by whoever started the program (nohup, a background
    // job of a shell) stays ignored.
    if (FPrevious[i].sa_handler != SIG_IGN) sigaction(kSignals[i], &action, nullptr);
  }
}

TCloseOnSignals::~TCloseOnSignals() {
  if (Pipe[0] < 0) return;
  for (std::size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &FPrevious[i], nullptr);
  delete FNotifier;
  close(Pipe[0]);
  close(Pipe[1]);
  Pipe[0] = Pipe[1] = -1;
  LoopRunning = 0;
}

void TCloseOnSignals::SignalArrived() {
  char bytes[64];
  while (read(Pipe[0], bytes, sizeof bytes) > 0) {
  }
  // A modal dialog runs its own event loop further up the stack: close it, so
  // that its command ends, and close the window once that loop has returned.
  // A second signal closes a message box that the closing itself shows.
  for (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr;) {
    modal->close();
    QWidget* next = QApplication::activeModalWidget();
    modal = next == modal ? nullptr : next;
  }
  QMetaObject::invokeMethod(
      this,
      [window = FWindow] {
        if (window) window->close();
      },
      Qt::QueuedConnection);
}
