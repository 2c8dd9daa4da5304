// The main window under hostile input: dictionary files that are binary,
// that vanish or turn into a directory, a loop or a FIFO between discovery
// and search or hold a line too long, queries of 10,000 bytes or ending in half a character, and
// settings files that are a FIFO or hold a window larger than any screen
// (the settings files' other troubles are the core's tests).  Each must end
// in a correct result or a clear message, never a crash, a hang or lost
// settings.  Large files are left to tools/hostile_inputs.sh.
#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <random>

#include "core/encoding.h"
#include "hitview.h"
#include "mainform.h"
#include "messagebox.h"
#include "reader_lines.h"
#include "sjis.h"

using encoding::Sjis;

namespace {

struct TMessage {
  QString Text;
  TMessageIcon Icon;
};

// Whether line holds keyword (single-byte characters only) on character
// boundaries, characters cut from the line's first byte.
bool HoldsAtBoundary(const std::string& line, const std::string& keyword) {
  for (std::size_t i = 0; i < line.size();) {
    if (line.compare(i, keyword.size(), keyword) == 0) return true;
    i += IsDBCSLeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1;
  }
  return false;
}

int ExpectedHits(const std::string& bytes, const std::string& keyword) {
  int hits = 0;
  for (const std::string& line : ReaderLines(bytes)) hits += HoldsAtBoundary(line, keyword) ? 1 : 0;
  return hits;
}

std::string RandomBytes(unsigned seed, std::size_t size) {
  std::mt19937 random(seed);
  std::string bytes;
  for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>(random() >> 8);
  return bytes;
}

}  // namespace

class THostileTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  // Dictionary files.
  void binaryDictionaryIsSearchedLineByLine();
  void dictionarySpoiledAfterDiscoveryIsReportedAndHitsStay_data();
  void dictionarySpoiledAfterDiscoveryIsReportedAndHitsStay();

  // Queries.
  void queriesOfTenThousandBytes();
  void queriesEndingInHalfACharacter();
  void queryWhoseAttemptsRunToTheEndCanBeCancelled();

  // Settings files.
  void settingsFileThatIsAFifo();
  void storedGeometryFitsTheScreen();

 private:
  void WriteRaw(const QString& name, const std::string& bytes);
  void WriteDictionary(const QString& name, const std::vector<std::string>& utf8Lines);
  void CreateForm(const QString& settingsPath = {});
  void Search(const QString& query);
  QStringList Lines() const;
  std::string Path(const QString& name) const { return QFile::encodeName(Dir->filePath(name)).toStdString(); }
  QString SettingsPath() const { return Dir->filePath(QStringLiteral("kovalex.ini")); }
  // The status line ends with the hit count of a finished search.
  void VerifyFinishedWith(int hits);

  // A control of the window, found by the name the window gives it.
  template <typename T>
  T* Widget(const char* name) const {
    return Form->findChild<T*>(name);
  }

  std::unique_ptr<QTemporaryDir> Dir;
  QString OldDir;
  std::unique_ptr<TMainForm> Form;
  std::vector<TMessage> Messages;
};

// ---------------------------------------------------------------------------

void THostileTest::init() {
  Dir = std::make_unique<QTemporaryDir>();
  QVERIFY(Dir->isValid());
  OldDir = QDir::currentPath();
  QVERIFY(QDir::setCurrent(Dir->path()));
  // Only the dictionaries a test writes into the working directory count.
  qputenv("XDG_DATA_HOME", QFile::encodeName(Dir->filePath(QStringLiteral("data"))));
  qputenv("XDG_DATA_DIRS", QFile::encodeName(Dir->filePath(QStringLiteral("data-dirs"))));
  Messages.clear();
  SetMessageBoxHook([this](QWidget*, const QString& text, const QString&, TMessageIcon icon) {
    Messages.push_back({text, icon});
  });
}

void THostileTest::cleanup() {
  Form.reset();
  SetMessageBoxHook({});
  QDir::setCurrent(OldDir);
  // Permissions a test took away must not keep the removal from working.
  for (const QString& sub : {QString(), QStringLiteral("conf")})
    chmod(QFile::encodeName(Dir->filePath(sub)).constData(), 0755);
  Dir.reset();
}

void THostileTest::WriteRaw(const QString& name, const std::string& bytes) {
  QFile file(Dir->filePath(name));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void THostileTest::WriteDictionary(const QString& name, const std::vector<std::string>& utf8Lines) {
  std::string content;
  for (const std::string& line : utf8Lines) content += Sjis(line) + "\r\n";
  WriteRaw(name, content);
}

void THostileTest::CreateForm(const QString& settingsPath) {
  Form = std::make_unique<TMainForm>();
  Form->SetSettingsPath(QFile::encodeName(settingsPath.isEmpty() ? SettingsPath() : settingsPath).toStdString());
  Form->FormCreate();
  Form->show();
}

void THostileTest::Search(const QString& query) {
  Widget<QComboBox>("ComboBox1")->setEditText(query);
  Form->SearchBtnClick();
}

QStringList THostileTest::Lines() const {
  QStringList lines = Form->RichEdit1()->toPlainText().split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

void THostileTest::VerifyFinishedWith(int hits) {
  const QString status = Widget<QLabel>("Label2")->text();
  QVERIFY2(status.startsWith(QStringLiteral("終了:")), qPrintable(status));
  QVERIFY2(status.endsWith(QStringLiteral("秒 %1件ﾋｯﾄ").arg(hits)), qPrintable(status));
  QVERIFY(Widget<QPushButton>("SearchBtn")->isEnabled());
  QVERIFY(!Widget<QPushButton>("CancelBtn")->isEnabled());
  QVERIFY(Form->RichEdit1()->isEnabled());
}

// ---------------------------------------------------------------------------
// Dictionary files

void THostileTest::binaryDictionaryIsSearchedLineByLine() {
  // Random bytes: every byte value, lone lead bytes, zero bytes, CRs, and
  // characters with no Unicode form; more than two blocks of the reader, and
  // a lone lead byte as the last byte.
  const std::string bytes = RandomBytes(4711, 250000) + "e\x82";
  WriteRaw(QStringLiteral("KOVA5.TXT"), bytes);
  CreateForm();
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));
  Search(QStringLiteral("e"));
  QVERIFY(Messages.empty());
  const int expected = ExpectedHits(bytes, "e");
  QVERIFY(expected > 100);
  VerifyFinishedWith(expected);
  const QStringList lines = Lines();
  QCOMPARE(lines.size(), expected + 1);
  QCOMPARE(lines[0], QStringLiteral("-----KOVA辞書第5版-----"));
  for (int i = 1; i < lines.size(); ++i) QVERIFY2(lines[i].contains(QLatin1Char('e')), qPrintable(lines[i]));
  // Case ignored: more lines, still counted exactly.
  Widget<QCheckBox>("CaseInsensitiveCheckBox")->click();
  Search(QStringLiteral("e"));
  int either = 0;
  for (const std::string& line : ReaderLines(bytes))
    either += HoldsAtBoundary(line, "e") || HoldsAtBoundary(line, "E") ? 1 : 0;
  QVERIFY(either > expected);
  VerifyFinishedWith(either);
  QVERIFY(Messages.empty());
}

// clang-format off
void THostileTest::dictionarySpoiledAfterDiscoveryIsReportedAndHitsStay_data() {
  QTest::addColumn<QString>("spoil");
  QTest::addColumn<QString>("reason");
  QTest::addColumn<int>("hits");
  QTest::newRow("deleted") << "rm" << "ファイルが見つかりません." << 1;
  // The program runs as any user, the superuser included, for whom no file
  // is unreadable: a directory in the file's place cannot be read by anyone.
  QTest::newRow("a directory") << "mkdir" << "ディレクトリは開けません." << 1;
  QTest::newRow("a link to itself") << "ln" << "シンボリックリンクが循環しています." << 1;
  // A FIFO without a writer would hold the window in its open for ever.
  QTest::newRow("a FIFO") << "mkfifo" << "通常のファイルではありません." << 1;
  // A line that outgrows memory is reported as one longer than a bound is;
  // the bound stands in for the memory here.
  QTest::newRow("a line too long") << "long" << "行が長すぎます." << 2;
}
// clang-format on

void THostileTest::dictionarySpoiledAfterDiscoveryIsReportedAndHitsStay() {
  QFETCH(QString, spoil);
  QFETCH(QString, reason);
  QFETCH(int, hits);
  WriteDictionary(QStringLiteral("KOVA5A.TXT"), {"cat 1"});
  WriteDictionary(QStringLiteral("KOVA5B.TXT"), {"cat 2"});
  WriteDictionary(QStringLiteral("KOVA4.TXT"), {"cat 3"});
  CreateForm();
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic6"));
  const QString name = QStringLiteral("KOVA5B.TXT");
  if (spoil == "long") {
    WriteRaw(name, "cat 2\r\n" + std::string(300000, 'x') + " cat\r\ncat 9\r\n");
    Form->Grep1.MaxLineBytes = 100000;
  } else {
    QVERIFY(QFile::remove(Dir->filePath(name)));
    if (spoil == "mkdir") QVERIFY(QDir().mkdir(Dir->filePath(name)));
    if (spoil == "ln") std::filesystem::create_symlink("KOVA5B.TXT", Path(name));
    if (spoil == "mkfifo") QCOMPARE(mkfifo(Path(name).c_str(), 0644), 0);
  }
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat 1", "cat 2"}.mid(0, hits + 1)));
  VerifyFinishedWith(hits);
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, name + ": " + reason);
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);
}

// ---------------------------------------------------------------------------
// Queries

void THostileTest::queriesOfTenThousandBytes() {
  const QString longWord = QString(10000, QLatin1Char('w'));
  const QString longKanji = QString(5000, QChar(0x691C));  // 検, two bytes each
  WriteRaw(QStringLiteral("KOVA5.TXT"), "short w\r\n" + std::string(10000, 'w') + "\r\n" + Sjis("x") +
                                            encoding::Utf16ToSjis(longKanji.toStdU16String()) + "\r\n");
  CreateForm();
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));

  Search(longWord);
  QVERIFY(Messages.empty());
  VerifyFinishedWith(1);
  QCOMPARE(Lines().value(1), longWord);

  Search(longKanji);
  QVERIFY(Messages.empty());
  VerifyFinishedWith(1);
  QCOMPARE(Lines().value(1), QStringLiteral("x") + longKanji);

  // Too deeply nested to compile: a message, and nothing changes.
  const QString view = Form->RichEdit1()->toPlainText();
  Search(QString(5000, QLatin1Char('(')) + QStringLiteral("w") + QString(5000, QLatin1Char(')')));
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, QStringLiteral("正規表現が複雑すぎます。."));
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);
  QCOMPARE(Form->RichEdit1()->toPlainText(), view);
  QCOMPARE(Widget<QComboBox>("ComboBox1")->count(), 2);

  // A whole-word search wraps the long query; it still compiles and finds it.
  Widget<QCheckBox>("WordSearchCheckBox")->setChecked(true);
  Search(longWord);
  QCOMPARE(Messages.size(), std::size_t{1});
  VerifyFinishedWith(1);
}

void THostileTest::queriesEndingInHalfACharacter() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"cat", "表示", "catx"});
  CreateForm();
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));
  Search(QStringLiteral("cat"));
  const QString view = Form->RichEdit1()->toPlainText();
  QCOMPARE(Widget<QComboBox>("ComboBox1")->count(), 1);

  // Half of a surrogate pair has no Shift-JIS form.
  Search(QStringLiteral("cat") + QChar(0xD842));
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages.back().Icon, TMessageIcon::Error);
  QVERIFY2(Messages.back().Text.endsWith(QStringLiteral("はShift-JISで表せません.")), qPrintable(Messages.back().Text));
  // An escape at the very end has nothing to escape.
  Search(QStringLiteral("cat\\"));
  QCOMPARE(Messages.size(), std::size_t{2});
  QCOMPARE(Messages.back().Text, QStringLiteral("\"\\\"の次には文字が必要です。."));
  QCOMPARE(Form->RichEdit1()->toPlainText(), view);
  QCOMPARE(Widget<QComboBox>("ComboBox1")->count(), 1);

  // An escape that spells a lead byte alone: no text holds that character.
  Search(QStringLiteral("cat\\x82"));
  QCOMPARE(Messages.size(), std::size_t{2});
  VerifyFinishedWith(0);
  // The second byte of 表 is the code of "\": never an escape.
  Search(QStringLiteral("表"));
  QCOMPARE(Messages.size(), std::size_t{2});
  VerifyFinishedWith(1);
  QCOMPARE(Lines().value(1), QStringLiteral("表示"));
}

void THostileTest::queryWhoseAttemptsRunToTheEndCanBeCancelled() {
  // Every "cat" starts an attempt that runs to the end of the file (three
  // blocks of the reader): the window must process events while they run,
  // so that Cancel reaches the search.
  std::string content;
  while (content.size() < 250000) content += "cat dog\r\n";
  WriteRaw(QStringLiteral("KOVA5.TXT"), content);
  CreateForm();
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));
  const TProcessMessages processMessages = Form->Grep1.ProcessMessages;
  int calls = 0;
  Form->Grep1.ProcessMessages = [&] {
    // The first call comes with the first block read, the second with the
    // next one.
    if (++calls == 2) QTest::mouseClick(Widget<QPushButton>("CancelBtn"), Qt::LeftButton);
    processMessages();
  };
  Search(QStringLiteral("cat(.|\\n)*QQ"));
  QCOMPARE(calls, 2);
  QCOMPARE(Lines(), QStringList{"-----KOVA辞書第5版-----"});
  VerifyFinishedWith(0);
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, QStringLiteral("中断しました."));
}

// ---------------------------------------------------------------------------
// Settings files

void THostileTest::settingsFileThatIsAFifo() {
  // Opened as a plain file, a FIFO without a writer would hold the program
  // before its window appears.  It is reported once, at the start, and the
  // end neither writes it nor reports a write failure.
  QCOMPARE(mkfifo(QFile::encodeName(SettingsPath()).constData(), 0644), 0);
  CreateForm();
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, SettingsPath() + QStringLiteral(": 通常のファイルではありません."));
  QCOMPARE(Form->HitLimitValue(), 100);
  QCOMPARE(Form->ClientSize(), QSize(415, 180));
  QVERIFY(Form->close());
  QCOMPARE(Messages.size(), std::size_t{1});
  QVERIFY(std::filesystem::is_fifo(QFile::encodeName(SettingsPath()).toStdString()));
}

void THostileTest::storedGeometryFitsTheScreen() {
  WriteRaw(QStringLiteral("kovalex.ini"),
           Sjis("[フォーム位置]\r\nトップ=90000\r\nレフト=-90000\r\n幅=100000\r\n高さ=100000\r\n"));
  CreateForm();
  QVERIFY(Messages.empty());
  // The window itself is as large as the area; its frame, which the window
  // system adds around it, starts within the area.
  const QRect area = Form->screen()->availableGeometry();
  QCOMPARE(Form->size(), area.size());
  QVERIFY(area.contains(Form->frameGeometry().topLeft()));
}

QTEST_MAIN(THostileTest)
#include "hostile_test.moc"
