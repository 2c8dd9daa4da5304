// window_bench: times searches in the main window, headless, against
// kovagrep on the same file in the same run.
//
//   window_bench DICTIONARY FEW_HITS_WORD MANY_HITS_WORD KOVAGREP
//
// 1. With the default hit limit, a word with few hits (the whole file is
//    read): the window's search time against kovagrep -c (median of 3 each).
// 2. With a limit of 20,000, a word with more hits: the time until 20,000
//    hits are rendered, and the longest pause of a 5 ms timer meanwhile (how
//    long the window could not react).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "fontsubstitutes.h"
#include "mainform.h"
#include "messagebox.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double KovagrepSeconds(const QString& kovagrep, const QString& word, const QString& file) {
  QElapsedTimer timer;
  timer.start();
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(kovagrep, {QStringLiteral("-c"), word, file});
  process.waitForFinished(-1);
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// Runs one search and returns its seconds; maxPause gets the longest gap
// between two ticks of a 5 ms timer during it.
double SearchSeconds(TMainForm& form, const QString& word, double& maxPause) {
  form.ComboBox1->setEditText(word);
  QElapsedTimer sinceTick;
  qint64 longest = 0;
  QTimer ticker;
  ticker.setInterval(5);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    longest = std::max(longest, sinceTick.nsecsElapsed());
    sinceTick.restart();
  });
  QElapsedTimer timer;
  timer.start();
  sinceTick.start();
  ticker.start();
  form.SearchBtnClick();
  ticker.stop();
  maxPause = static_cast<double>(std::max(longest, sinceTick.nsecsElapsed())) / 1e9;
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SubstituteJapaneseFontNames();
  if (argc != 5) {
    std::fprintf(stderr, "usage: window_bench DICTIONARY FEW_HITS_WORD MANY_HITS_WORD KOVAGREP\n");
    return 2;
  }
  const QString dictionary = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
  const QString few = QString::fromUtf8(argv[2]);
  const QString many = QString::fromUtf8(argv[3]);
  const QString kovagrep = QFileInfo(QString::fromLocal8Bit(argv[4])).absoluteFilePath();

  QTemporaryDir dir;
  const QString link = dir.filePath(QStringLiteral("KOVA5BENCH.TXT"));
  if (!QFile::link(dictionary, link)) {
    std::fprintf(stderr, "window_bench: cannot link %s\n", argv[1]);
    return 2;
  }
  QDir::setCurrent(dir.path());
  SetMessageBoxHook([](QWidget*, const QString& text, const QString&, TMessageIcon) {
    std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
  });

  TMainForm form;
  form.SetSettingsPath(dir.filePath(QStringLiteral("bench.ini")).toStdString());
  form.FormCreate();
  form.show();
  form.ClickDictionary(1);

  form.SetLimitEnabled(true);
  form.SetHitLimit(100);
  std::vector<double> window;
  std::vector<double> terminal;
  double pause = 0;
  double longestPause = 0;
  for (int run = 0; run < 3; ++run) {
    window.push_back(SearchSeconds(form, few, pause));
    longestPause = std::max(longestPause, pause);
    terminal.push_back(KovagrepSeconds(kovagrep, few, link));
  }
  std::printf("few hits (%s): window %.3f s, kovagrep %.3f s, ratio %.2f, longest pause %.3f s, status %s\n", argv[2],
              Median(window), Median(terminal), Median(window) / Median(terminal), longestPause,
              form.Label2->text().toUtf8().constData());

  form.SetHitLimit(20000);
  std::vector<double> render;
  longestPause = 0;
  for (int run = 0; run < 3; ++run) {
    render.push_back(SearchSeconds(form, many, pause));
    longestPause = std::max(longestPause, pause);
  }
  std::printf("20,000 hits (%s): %.3f s, longest pause %.3f s, status %s\n", argv[3], Median(render), longestPause,
              form.Label2->text().toUtf8().constData());
  return 0;
}
