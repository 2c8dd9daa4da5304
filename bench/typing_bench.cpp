// typing_bench: search as you type and the hand-over, headless, against
// kovagrep on the same files in the same run.
//
//   typing_bench DICTIONARY WORD KOVAGREP KOVALEX
//
// DICTIONARY stands in for all six dictionaries (linked six times, so a
// search reads six times its size).
// 1. WORD typed letter by letter, 100 ms between keys, each key delivered by
//    the event loop when it is due: the longest time a keystroke waited past
//    that moment to reach the query box, and the time from the end of
//    the pause after the last key until its hits are shown, against
//    kovagrep -c WORD over the six files (median of 5 each).  A key that
//    arrives after a search began ends it (the pause has passed only when
//    the keys come slower than the pause).
// 2. KOVALEX --search WORD started while the window listens: the time from
//    the start of that process until the window shows the hits, against
//    kovagrep.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/live_search.h"
#include "ui/handover.h"
#include "ui/mainform.h"

namespace {

constexpr int kKeyIntervalMs = 100;
constexpr int kRuns = 5;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Ms(qint64 nanoseconds) { return static_cast<double>(nanoseconds) / 1e6; }

// Waits in the event loop until the window has shown the hits of query.
void WaitShown(TMainForm& form, const QString& query) {
  QLabel* status = form.findChild<QLabel*>(QStringLiteral("Label2"));
  QComboBox* box = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
  while (form.Driver().Searching() || box->currentText() != query || !status->text().startsWith(u"終了:"))
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 1);
}

double KovagrepMs(const QString& kovagrep, const QString& word, const QStringList& files) {
  QElapsedTimer timer;
  timer.start();
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(kovagrep, QStringList{QStringLiteral("-c"), word} + files);
  process.waitForFinished(-1);
  return Ms(timer.nsecsElapsed());
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 5 || std::strlen(argv[2]) == 0 || std::strlen(argv[2]) > 64) {
    std::fprintf(stderr, "usage: typing_bench DICTIONARY WORD KOVAGREP KOVALEX\n");
    return 2;
  }
  QApplication application(argc, argv);
  const QString dictionary = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
  const QString word = QString::fromLocal8Bit(argv[2]);
  const QString kovagrep = QFileInfo(QString::fromLocal8Bit(argv[3])).absoluteFilePath();
  const QString kovalex = QFileInfo(QString::fromLocal8Bit(argv[4])).absoluteFilePath();

  QTemporaryDir dir;
  QStringList files;
  for (const char* name : {"KOVA5.TXT", "KOVA-BIL.TXT", "KOVA略語.TXT", "KOVA固名.TXT", "KOVSEN.TXT", "KOVA4.TXT"}) {
    files << dir.filePath(QString::fromUtf8(name));
    QFile::link(dictionary, files.back());
  }
  QDir::setCurrent(dir.path());
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
  qputenv("DISPLAY", ":typing-bench");
  qunsetenv("WAYLAND_DISPLAY");

  TMainForm form;
  form.SetSettingsPath(QFile::encodeName(dir.filePath(QStringLiteral("none.ini"))).toStdString());  // all selected
  form.FormCreate();
  form.SetClientSize(800, 600);
  form.show();
  QLineEdit* edit = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->lineEdit();
  edit->setFocus();

  // The longest time a key waited, after the moment it was due, to reach
  // the query box.
  qint64 longestWait = 0;
  QElapsedTimer clock;
  clock.start();
  std::vector<double> afterPause;
  std::vector<double> grep;
  for (int run = 0; run < kRuns; ++run) {
    edit->clear();
    QCoreApplication::processEvents();
    // Each key is due kKeyIntervalMs after the one before; the event loop
    // delivers it, also in the middle of a search (its message pump).
    const qint64 start = clock.nsecsElapsed();
    qint64 lastDue = 0;
    for (qsizetype k = 0; k < word.size(); ++k) {
      const qint64 due = start + (k + 1) * kKeyIntervalMs * 1000000LL;
      lastDue = due;
      QTimer::singleShot(static_cast<int>((due - start) / 1000000), Qt::PreciseTimer, edit, [&, due, k] {
        longestWait = std::max(longestWait, clock.nsecsElapsed() - due);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(word[k]));
        QCoreApplication::sendEvent(edit, &press);
      });
    }
    while (edit->text() != word) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      if (clock.nsecsElapsed() - lastDue > 10'000'000'000LL) {
        std::fprintf(stderr, "typing_bench: the keys typed \"%s\"\n", qPrintable(edit->text()));
        return 1;
      }
    }
    WaitShown(form, word);
    afterPause.push_back(Ms(clock.nsecsElapsed() - lastDue) - live_search::kPauseMilliseconds);
    grep.push_back(KovagrepMs(kovagrep, word, files));
  }
  std::printf(
      "typing %lld letters, %d ms apart, over %d x %.0f MB: longest keystroke wait %.1f ms; "
      "hits shown %.1f ms after the pause, kovagrep -c %.1f ms, ratio %.2f (%s)\n",
      static_cast<long long>(word.size()), kKeyIntervalMs, static_cast<int>(files.size()),
      static_cast<double>(QFileInfo(dictionary).size()) / 1e6, Ms(longestWait), Median(afterPause), Median(grep),
      Median(afterPause) / Median(grep), qPrintable(form.findChild<QLabel*>("Label2")->text()));

  THandOverServer server(&form, [&form](const handover::TRequest& request) { form.HandedOver(request); });
  if (!server.Listen(HandOverSocketPath())) {
    std::fprintf(stderr, "typing_bench: cannot listen at %s\n", HandOverSocketPath().c_str());
    return 1;
  }
  std::vector<double> handedOver;
  for (int run = 0; run < kRuns; ++run) {
    const QString query = run % 2 == 0 ? word : word.left(word.size() - 1);
    edit->clear();  // so that the hits shown are the hand-over's
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    QProcess second;
    second.start(kovalex, {QStringLiteral("--search"), query});
    WaitShown(form, query);
    handedOver.push_back(Ms(timer.nsecsElapsed()));
    while (second.state() != QProcess::NotRunning) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
  }
  std::printf("hand-over from a second start: hits shown %.1f ms after its start, kovagrep -c %.1f ms, ratio %.2f\n",
              Median(handedOver), Median(grep), Median(handedOver) / Median(grep));
  return 0;
}
