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
//
//   window_bench --view DICTIONARY BIG_DICTIONARY WORD KOVAGREP
//
// The result view with every line a hit (WORD matches every line, the
// limit off):
// 3. DICTIONARY: the time until all its lines are shown against
//    kovagrep -n printing them (to /dev/null), and the process's memory
//    against the size of the shown text.
// 4. BIG_DICTIONARY (a million lines or more): the longest single scroll
//    step (page, line, jump, wheel), each painted at once; then copy all;
//    then what a screen reader first asks of the view: its length in UTF-16
//    units, and a line and a word in the middle.
// 5. One hit line of 20 MB: the longest pause of a 5 ms timer while it is
//    searched and shown and while the view scrolls along it, and whether
//    copy all gives it back exactly.
//
//   window_bench --copy DICTIONARY WORD [PASTE_COMMAND]
//
// 6. Copy all with every line of DICTIONARY a hit: the process's peak
//    resident memory while copying, above what it held before, against the
//    UTF-8 size of the copied text.  With PASTE_COMMAND (run by the shell,
//    such as "xclip -o -selection clipboard" under an X server and
//    QT_QPA_PLATFORM=xcb) another program then pastes the whole text, which
//    the window hands over meanwhile, and the peak includes that.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "text/encoding.h"
#include "ui/fontsubstitutes.h"
#include "ui/hitview.h"
#include "ui/mainform.h"
#include "ui/messagebox.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// A control of the window, found by the name the window gives it.
template <typename T>
T* Widget(const TMainForm& form, const char* name) {
  return form.findChild<T*>(name);
}

double KovagrepSeconds(const QString& kovagrep, const QString& word, const QString& file,
                       const QString& option = QStringLiteral("-c")) {
  QElapsedTimer timer;
  timer.start();
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(kovagrep, {option, word, file});
  process.waitForFinished(-1);
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// Runs one search and returns its seconds; maxPause gets the longest gap
// between two ticks of a 5 ms timer during it.
double SearchSeconds(TMainForm& form, const QString& word, double& maxPause) {
  Widget<QComboBox>(form, "ComboBox1")->setEditText(word);
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

// The process's resident memory in bytes: now (VmRSS) or at its peak (VmHWM).
double ResidentBytes(const char* field = "VmRSS:") {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == field) {
      double kb = 0;
      status >> kb;
      return kb * 1024;
    }
  }
  return 0;
}

// Starts measuring the peak anew from the memory resident now.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// A window searching one dictionary file (linked as dictionary 1) in its
// own directory.
struct TBenchWindow {
  QTemporaryDir Dir;
  std::unique_ptr<TMainForm> Form;
  QString Link;

  explicit TBenchWindow(const QString& dictionary) {
    Link = Dir.filePath(QStringLiteral("KOVA5BENCH.TXT"));
    QFile::link(dictionary, Link);
    QDir::setCurrent(Dir.path());
    Form = std::make_unique<TMainForm>();
    Form->SetSettingsPath(Dir.filePath(QStringLiteral("bench.ini")).toStdString());
    Form->FormCreate();
    Form->SetClientSize(800, 600);
    Form->show();
    settings::TSettingsValues values = Form->CurrentSettings();
    values.Dictionaries[0] = true;
    Form->ApplySettings(values);
  }
};

double Seconds(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e9; }

// The seconds one step takes, painted at once.
template <typename F>
double StepSeconds(THitView* view, F&& step) {
  QElapsedTimer timer;
  timer.start();
  step();
  view->viewport()->repaint();
  return Seconds(timer);
}

void AllLinesShown(const QString& dictionary, const QString& word, const QString& kovagrep) {
  TBenchWindow window(dictionary);
  const double before = ResidentBytes();
  std::vector<double> shown;
  std::vector<double> printed;
  double pause = 0;
  double longestPause = 0;
  for (int run = 0; run < 3; ++run) {
    shown.push_back(SearchSeconds(*window.Form, word, pause));
    longestPause = std::max(longestPause, pause);
    printed.push_back(KovagrepSeconds(kovagrep, word, window.Link, QStringLiteral("-n")));
  }
  const double text = static_cast<double>(window.Form->RichEdit1()->Store().Size());
  const double after = ResidentBytes();
  std::printf("all lines: %lld lines shown in %.3f s, kovagrep -n %.3f s, ratio %.2f, longest pause %.3f s\n",
              static_cast<long long>(window.Form->RichEdit1()->LineCount()), Median(shown), Median(printed),
              Median(shown) / Median(printed), longestPause);
  std::printf("memory: text %.1f MB, process %.1f MB (%.2fx the text), %.1f MB more than the empty window (%.2fx)\n",
              text / 1e6, after / 1e6, after / text, (after - before) / 1e6, (after - before) / text);
}

void MillionLines(const QString& dictionary, const QString& word) {
  TBenchWindow window(dictionary);
  double pause = 0;
  const double searched = SearchSeconds(*window.Form, word, pause);
  THitView* view = window.Form->RichEdit1();
  QScrollBar* scroll = view->verticalScrollBar();
  double longest = 0;
  auto step = [&](auto&& f) { longest = std::max(longest, StepSeconds(view, f)); };
  for (int i = 0; i < 200; ++i) step([&] { scroll->triggerAction(QAbstractSlider::SliderPageStepAdd); });
  for (int i = 0; i < 200; ++i) step([&] { scroll->triggerAction(QAbstractSlider::SliderSingleStepAdd); });
  std::mt19937 random(7);
  for (int i = 0; i < 200; ++i) step([&] { scroll->setValue(static_cast<int>(random() % (scroll->maximum() + 1))); });
  for (int i = 0; i < 100; ++i) {
    step([&] {
      QWheelEvent wheel(QPointF(10, 10), view->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(view->viewport(), &wheel);
    });
  }
  step([&] { scroll->setValue(scroll->maximum()); });
  step([&] { view->SetSelection(view->Store().Size() / 2, 0); });
  std::printf("%lld lines (search %.2f s): longest scroll step %.1f ms\n", static_cast<long long>(view->LineCount()),
              searched, longest * 1e3);
  QElapsedTimer timer;
  timer.start();
  window.Form->SubMenuEdit2Click();
  const double copied = Seconds(timer);
  std::printf("copy all of %lld lines: %.2f s, %lld characters\n", static_cast<long long>(view->LineCount()), copied,
              static_cast<long long>(QGuiApplication::clipboard()->text().size()));
  QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(view)->textInterface();
  timer.restart();
  const int length = text->characterCount();
  const double counted = Seconds(timer);
  int start = 0;
  int end = 0;
  timer.restart();
  const QString line = text->textAtOffset(length / 2, QAccessible::LineBoundary, &start, &end);
  const QString middleWord = text->textAtOffset(length / 2, QAccessible::WordBoundary, &start, &end);
  std::printf(
      "screen reader: length %d UTF-16 units counted in %.1f ms; a line and a word in the middle (%lld and "
      "%lld characters) read in %.2f ms\n",
      length, counted * 1e3, static_cast<long long>(line.size()), static_cast<long long>(middleWord.size()),
      Seconds(timer) * 1e3);
}

void TwentyMegabyteLine(const QString& dir) {
  // "■" and a headword, then Japanese and ASCII text to 20 MB, the keyword
  // in the middle.
  const std::string unit = encoding::Sjis("辞書の見出し語と訳語 dictionary entry ｶﾀｶﾅ ");
  std::string line = encoding::Sjis("■longline ");
  while (line.size() < 10'000'000) line += unit;
  line += "needle ";
  while (line.size() < 20'000'000) line += unit;
  const QString file = dir + QStringLiteral("/long.txt");
  {
    std::ofstream out(QFile::encodeName(file).toStdString(), std::ios::binary);
    out << line << "\r\n";
  }
  TBenchWindow window(file);
  double pause = 0;
  const double shown = SearchSeconds(*window.Form, QStringLiteral("needle"), pause);
  THitView* view = window.Form->RichEdit1();
  QScrollBar* across = view->horizontalScrollBar();
  double longest = 0;
  for (int i = 0; i < 100; ++i) {
    longest = std::max(longest, StepSeconds(view, [&] { across->setValue(across->maximum() / 100 * i); }));
  }
  longest = std::max(longest, StepSeconds(view, [&] { across->setValue(across->maximum()); }));
  longest = std::max(longest, StepSeconds(view, [&] { view->SetSelection(view->LineStart(1) + 10'000'000, 6); }));
  window.Form->SubMenuEdit2Click();
  const std::string copied = encoding::Utf16ToSjis(QGuiApplication::clipboard()->text().toStdU16String());
  const std::string expected = std::string(view->Store().Text());
  std::printf(
      "20 MB line: searched and shown in %.2f s, longest pause %.3f s, longest scroll step %.1f ms, "
      "copy all %s\n",
      shown, pause, longest * 1e3, copied == expected ? "exact" : "DIFFERS");
}

// Runs command by the shell while the window's events are processed; returns
// the number of bytes it wrote.
double PastedBytes(const QString& command) {
  QProcess paste;
  paste.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  double bytes = 0;
  QObject::connect(&paste, &QProcess::readyReadStandardOutput,
                   [&] { bytes += static_cast<double>(paste.readAllStandardOutput().size()); });
  paste.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
  while (paste.state() != QProcess::NotRunning) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  bytes += static_cast<double>(paste.readAllStandardOutput().size());
  return bytes;
}

void CopyAllMemory(const QString& dictionary, const QString& word, const QString& pasteCommand) {
  TBenchWindow window(dictionary);
  double pause = 0;
  const double searched = SearchSeconds(*window.Form, word, pause);
  THitView* view = window.Form->RichEdit1();
  ResetPeak();
  const double before = ResidentBytes();
  QElapsedTimer timer;
  timer.start();
  window.Form->SubMenuEdit2Click();
  const double copied = Seconds(timer);
  const double pasted = pasteCommand.isEmpty() ? 0 : PastedBytes(pasteCommand);
  const double peak = ResidentBytes("VmHWM:");
  // The UTF-8 size of the text, converted line by line.
  double utf8 = 0;
  std::string buffer;
  for (std::int64_t line = 0; line < view->LineCount(); ++line) {
    const std::string_view bytes = view->Store().Line(line);
    buffer.resize(bytes.size() * encoding::kMaxUtf8PerSjisByte);
    utf8 += static_cast<double>(encoding::SjisToUtf8(bytes, buffer.data()) + 1);
  }
  std::printf(
      "copy all of %lld lines (search %.2f s): %.2f s; text %.1f MB Shift-JIS, %.1f MB UTF-8; process %.1f MB before, "
      "peak %.1f MB: %.1f MB more (%.2fx the UTF-8 text)\n",
      static_cast<long long>(view->LineCount()), searched, copied, static_cast<double>(view->Store().Size()) / 1e6,
      utf8 / 1e6, before / 1e6, peak / 1e6, (peak - before) / 1e6, (peak - before) / utf8);
  if (!pasteCommand.isEmpty()) std::printf("pasted by another program: %.1f MB\n", pasted / 1e6);
}

int ViewBench(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: window_bench --view DICTIONARY BIG_DICTIONARY WORD KOVAGREP\n");
    return 2;
  }
  const QString dictionary = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
  const QString big = QFileInfo(QString::fromLocal8Bit(argv[3])).absoluteFilePath();
  const QString word = QString::fromUtf8(argv[4]);
  const QString kovagrep = QFileInfo(QString::fromLocal8Bit(argv[5])).absoluteFilePath();
  SetMessageBoxHook([](QWidget*, const QString& text, const QString&, TMessageIcon) {
    std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
  });
  AllLinesShown(dictionary, word, kovagrep);
  MillionLines(big, word);
  QTemporaryDir dir;
  TwentyMegabyteLine(dir.path());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Headless unless a platform is asked for (the copy case's paste needs one
  // with a clipboard other programs see).
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SubstituteJapaneseFontNames();
  if (argc > 1 && QByteArray(argv[1]) == "--view") return ViewBench(argc, argv);
  if ((argc == 4 || argc == 5) && QByteArray(argv[1]) == "--copy") {
    CopyAllMemory(QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath(), QString::fromUtf8(argv[3]),
                  argc == 5 ? QString::fromLocal8Bit(argv[4]) : QString());
    return 0;
  }
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
  settings::TSettingsValues values = form.CurrentSettings();
  values.Dictionaries[0] = true;
  values.LimitEnabled = true;
  values.HitLimit = 100;
  form.ApplySettings(values);
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
              Widget<QLabel>(form, "Label2")->text().toUtf8().constData());

  form.SetHitLimit(20000);
  std::vector<double> render;
  longestPause = 0;
  for (int run = 0; run < 3; ++run) {
    render.push_back(SearchSeconds(form, many, pause));
    longestPause = std::max(longestPause, pause);
  }
  std::printf("20,000 hits (%s): %.3f s, longest pause %.3f s, status %s\n", argv[3], Median(render), longestPause,
              Widget<QLabel>(form, "Label2")->text().toUtf8().constData());
  return 0;
}
