// The main window under hostile input: dictionary files that are binary or
// an image, that vanish or turn into a directory between discovery and
// search, queries of 10,000 bytes or ending in half a character, and
// settings files that are garbage, huge, read-only, in a directory that
// cannot be written, a FIFO, or hold a window larger than any screen.  Each
// must end in a correct result or a clear message, never a crash, a hang or
// lost settings.  Large files are left to tools/hostile_inputs.sh.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <random>

#include "core/encoding.h"
#include "core/profile.h"
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
  void imageRenamedAsADictionaryIsSearchedLineByLine();
  void dictionaryDeletedAfterDiscoveryIsReportedAndHitsStay();
  void dictionaryTurnedIntoADirectoryDuringTheSearchIsReported();
  void lineTooLongIsReportedWithItsFileAndTheHitsStay();

  // Queries.
  void queriesOfTenThousandBytes();
  void queriesEndingInHalfACharacter();
  void queryWhoseAttemptsRunToTheEndCanBeCancelled();

  // Settings files.
  void garbageSettingsGiveDefaultsAndSurviveTheSave();
  void tenThousandSectionsAreKept();
  void readOnlySettingsFileIsReportedAndStaysIntact();
  void settingsInADirectoryWithoutWritePermission();
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
  std::string ReadAll(const QString& path) const;
  // The status line ends with the hit count of a finished search.
  void VerifyFinishedWith(int hits);

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

std::string THostileTest::ReadAll(const QString& path) const {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return "<unreadable>";
  return file.readAll().toStdString();
}

void THostileTest::CreateForm(const QString& settingsPath) {
  Form = std::make_unique<TMainForm>();
  Form->SetSettingsPath(QFile::encodeName(settingsPath.isEmpty() ? SettingsPath() : settingsPath).toStdString());
  Form->FormCreate();
  Form->show();
}

void THostileTest::Search(const QString& query) {
  Form->ComboBox1->setEditText(query);
  Form->SearchBtnClick();
}

QStringList THostileTest::Lines() const {
  QStringList lines = Form->RichEdit1->toPlainText().split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

void THostileTest::VerifyFinishedWith(int hits) {
  const QString status = Form->Label2->text();
  QVERIFY2(status.startsWith(QStringLiteral("終了:")), qPrintable(status));
  QVERIFY2(status.endsWith(QStringLiteral("秒 %1件ﾋｯﾄ").arg(hits)), qPrintable(status));
  QVERIFY(Form->SearchBtn->isEnabled());
  QVERIFY(!Form->CancelBtn->isEnabled());
  QVERIFY(Form->RichEdit1->isEnabled());
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
  Form->ClickMenuItem(Form->SubMenuDic1);
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
  Form->CaseInsensitiveCheckBox->click();
  Search(QStringLiteral("e"));
  int either = 0;
  for (const std::string& line : ReaderLines(bytes))
    either += HoldsAtBoundary(line, "e") || HoldsAtBoundary(line, "E") ? 1 : 0;
  QVERIFY(either > expected);
  VerifyFinishedWith(either);
  QVERIFY(Messages.empty());
}

void THostileTest::imageRenamedAsADictionaryIsSearchedLineByLine() {
  // A PNG file's signature and header chunk in front of compressed-looking data.
  static const char header[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0\0\0\x01\0\x08\x06\0\0\0";
  static const char trailer[] = "\0\0\0\0IEND\xae\x42\x60\x82";
  const std::string png =
      std::string(header, sizeof header - 1) + RandomBytes(99, 60000) + std::string(trailer, sizeof trailer - 1);
  WriteRaw(QStringLiteral("KOVA4.TXT"), png);
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic6);
  Search(QStringLiteral("IHDR|IEND"));
  QVERIFY(Messages.empty());
  const int expected = [&] {
    int hits = 0;
    for (const std::string& line : ReaderLines(png))
      hits += HoldsAtBoundary(line, "IHDR") || HoldsAtBoundary(line, "IEND");
    return hits;
  }();
  QVERIFY(expected >= 2);
  VerifyFinishedWith(expected);
  QCOMPARE(Lines().size(), expected + 1);
  QVERIFY(Lines()[1].startsWith(QStringLiteral("IHDR")));
}

void THostileTest::dictionaryDeletedAfterDiscoveryIsReportedAndHitsStay() {
  WriteDictionary(QStringLiteral("KOVA5A.TXT"), {"cat 1"});
  WriteDictionary(QStringLiteral("KOVA5B.TXT"), {"cat 2"});
  WriteDictionary(QStringLiteral("KOVA4.TXT"), {"cat 3"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Form->ClickMenuItem(Form->SubMenuDic6);
  QVERIFY(QFile::remove(Dir->filePath(QStringLiteral("KOVA5B.TXT"))));
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat 1"}));
  VerifyFinishedWith(1);
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, QStringLiteral("KOVA5B.TXT: ファイルが見つかりません."));
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);

  // The file is back: the next search finds everything.
  WriteDictionary(QStringLiteral("KOVA5B.TXT"), {"cat 2"});
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat 1", "cat 2", "-----KOVA辞書第4版-----", "cat 3"}));
  QCOMPARE(Messages.size(), std::size_t{1});
}

void THostileTest::dictionaryTurnedIntoADirectoryDuringTheSearchIsReported() {
  // The program runs as any user, the superuser included, for whom no file
  // is unreadable: a directory in the file's place cannot be read by anyone.
  WriteDictionary(QStringLiteral("KOVA5A.TXT"), {"cat 1", "cat 2"});
  WriteDictionary(QStringLiteral("KOVA5B.TXT"), {"cat 3"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Form->Grep1.OnMatch = [this](TGrep& sender, LineInfo_t lineInfo) {
    Form->Grep1Match(sender, std::move(lineInfo));
    if (Form->Driver().HitCount() != 1) return;
    const QString path = Dir->filePath(QStringLiteral("KOVA5B.TXT"));
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkdir(path));
  };
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat 1", "cat 2"}));
  VerifyFinishedWith(2);
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, QStringLiteral("KOVA5B.TXT: ディレクトリは開けません."));
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);

  // A symbolic link to itself in its place: the reason in Japanese too.
  QVERIFY(QDir().rmdir(Dir->filePath(QStringLiteral("KOVA5B.TXT"))));
  std::filesystem::create_symlink("KOVA5B.TXT", Path(QStringLiteral("KOVA5B.TXT")));
  Form->Grep1.OnMatch = [this](TGrep& sender, LineInfo_t lineInfo) { Form->Grep1Match(sender, std::move(lineInfo)); };
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat 1", "cat 2"}));
  QCOMPARE(Messages.size(), std::size_t{2});
  QCOMPARE(Messages[1].Text, QStringLiteral("KOVA5B.TXT: シンボリックリンクが循環しています."));

  // A FIFO without a writer would hold the window in its open for ever.
  QVERIFY(QFile::remove(Dir->filePath(QStringLiteral("KOVA5B.TXT"))));
  QCOMPARE(mkfifo(Path(QStringLiteral("KOVA5B.TXT")).c_str(), 0644), 0);
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat 1", "cat 2"}));
  QCOMPARE(Messages.size(), std::size_t{3});
  QCOMPARE(Messages[2].Text, QStringLiteral("KOVA5B.TXT: 通常のファイルではありません."));
}

void THostileTest::lineTooLongIsReportedWithItsFileAndTheHitsStay() {
  // A line that outgrows memory is reported as one longer than a bound is;
  // the bound stands in for the memory here.
  WriteRaw(QStringLiteral("KOVA5.TXT"), "cat 1\r\ncat 2\r\n" + std::string(300000, 'x') + " cat\r\ncat 3\r\n");
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Form->Grep1.MaxLineBytes = 100000;
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat 1", "cat 2"}));
  VerifyFinishedWith(2);
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, QStringLiteral("KOVA5.TXT: 行が長すぎます."));
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
  Form->ClickMenuItem(Form->SubMenuDic1);

  Search(longWord);
  QVERIFY(Messages.empty());
  VerifyFinishedWith(1);
  QCOMPARE(Lines().value(1), longWord);

  Search(longKanji);
  QVERIFY(Messages.empty());
  VerifyFinishedWith(1);
  QCOMPARE(Lines().value(1), QStringLiteral("x") + longKanji);

  // Too deeply nested to compile: a message, and nothing changes.
  const QString view = Form->RichEdit1->toPlainText();
  Search(QString(5000, QLatin1Char('(')) + QStringLiteral("w") + QString(5000, QLatin1Char(')')));
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, QStringLiteral("正規表現が複雑すぎます。."));
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);
  QCOMPARE(Form->RichEdit1->toPlainText(), view);
  QCOMPARE(Form->ComboBox1->count(), 2);

  // A whole-word search wraps the long query; it still compiles and finds it.
  Form->WordSearchCheckBox->setChecked(true);
  Search(longWord);
  QCOMPARE(Messages.size(), std::size_t{1});
  VerifyFinishedWith(1);
}

void THostileTest::queriesEndingInHalfACharacter() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"cat", "表示", "catx"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Search(QStringLiteral("cat"));
  const QString view = Form->RichEdit1->toPlainText();
  QCOMPARE(Form->ComboBox1->count(), 1);

  // Half of a surrogate pair has no Shift-JIS form.
  Search(QStringLiteral("cat") + QChar(0xD842));
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages.back().Icon, TMessageIcon::Error);
  QVERIFY2(Messages.back().Text.endsWith(QStringLiteral("はShift-JISで表せません.")), qPrintable(Messages.back().Text));
  // An escape at the very end has nothing to escape.
  Search(QStringLiteral("cat\\"));
  QCOMPARE(Messages.size(), std::size_t{2});
  QCOMPARE(Messages.back().Text, QStringLiteral("\"\\\"の次には文字が必要です。."));
  QCOMPARE(Form->RichEdit1->toPlainText(), view);
  QCOMPARE(Form->ComboBox1->count(), 1);

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
  Form->ClickMenuItem(Form->SubMenuDic1);
  const TProcessMessages processMessages = Form->Grep1.ProcessMessages;
  int calls = 0;
  Form->Grep1.ProcessMessages = [&] {
    // The first call comes with the first block read, the second with the
    // next one.
    if (++calls == 2) QTest::mouseClick(Form->CancelBtn, Qt::LeftButton);
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

void THostileTest::garbageSettingsGiveDefaultsAndSurviveTheSave() {
  const std::string garbage = RandomBytes(2024, 100000) + "\x82";
  WriteRaw(QStringLiteral("kovalex.ini"), garbage);
  CreateForm();
  QVERIFY(Messages.empty());
  QCOMPARE(Form->HitLimitValue(), 100);
  QVERIFY(Form->SubMenuMark5->isChecked());
  QCOMPARE(Form->ClientSize(), QSize(415, 180));
  Form->ClickMenuItem(Form->SubMenuMark2);
  QVERIFY(Form->close());
  QVERIFY(Messages.empty());
  const std::string saved = ReadAll(SettingsPath());
  QVERIFY(saved.size() > garbage.size());
  QVERIFY(saved.compare(0, garbage.size(), garbage) == 0);
  // The next window reads what this one saved.
  Form.reset();
  CreateForm();
  QVERIFY(Messages.empty());
  QVERIFY(Form->SubMenuMark2->isChecked());
}

void THostileTest::tenThousandSectionsAreKept() {
  std::string before, after;
  for (int i = 0; i < 5000; ++i) before += "[unknown" + std::to_string(i) + "]\r\nkey=" + std::to_string(i) + "\r\n";
  for (int i = 5000; i < 10000; ++i) after += "[unknown" + std::to_string(i) + "]\r\nkey=" + std::to_string(i) + "\r\n";
  WriteRaw(QStringLiteral("kovalex.ini"), before + Sjis("[表示]\r\n検索件数=250\r\n") + after);
  CreateForm();
  QVERIFY(Messages.empty());
  QCOMPARE(Form->HitLimitValue(), 250);
  QVERIFY(Form->close());
  QVERIFY(Messages.empty());
  const std::string saved = ReadAll(SettingsPath());
  QVERIFY(saved.compare(0, before.size(), before) == 0);
  const std::size_t tail = saved.find("[unknown5000]");
  QVERIFY(tail != std::string::npos);
  QVERIFY(saved.compare(tail, after.size(), after) == 0);
  const TProfile profile(QFile::encodeName(SettingsPath()).toStdString());
  QCOMPARE(profile.ReadString(Sjis("表示"), Sjis("検索件数")).value_or("?"), std::string("250"));
}

void THostileTest::readOnlySettingsFileIsReportedAndStaysIntact() {
  const std::string original = Sjis("[表示]\r\n検索件数=250\r\n[ほか]\r\n未知=残す\r\n");
  WriteRaw(QStringLiteral("kovalex.ini"), original);
  QVERIFY(QFile::setPermissions(SettingsPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
  CreateForm();
  QVERIFY(Messages.empty());
  QCOMPARE(Form->HitLimitValue(), 250);
  Form->ClickMenuItem(Form->SubMenuMark2);
  // Closing goes on after the message.
  QVERIFY(Form->close());
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, SettingsPath() + QStringLiteral(" に書き込めません."));
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);
  QVERIFY(!Form->isVisible());
  QCOMPARE(ReadAll(SettingsPath()), original);
  QCOMPARE(QDir(Dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kovalex.ini"});
}

void THostileTest::settingsInADirectoryWithoutWritePermission() {
  // The file that is there is written in place; a new one cannot be made.
  QVERIFY(QDir(Dir->path()).mkdir(QStringLiteral("conf")));
  const QString conf = Dir->filePath(QStringLiteral("conf"));
  const QString existing = conf + QStringLiteral("/kovalex.ini");
  WriteRaw(QStringLiteral("conf/kovalex.ini"), Sjis("[表示]\r\n検索件数=250\r\n"));
  QCOMPARE(chmod(QFile::encodeName(conf).constData(), 0555), 0);
  CreateForm(existing);
  Form->ClickMenuItem(Form->SubMenuMark2);
  QVERIFY(Form->close());
  QVERIFY(Messages.empty());
  const TProfile saved(QFile::encodeName(existing).toStdString());
  QCOMPARE(saved.ReadString(Sjis("表示"), Sjis("キーワードのマーク")).value_or("?"), std::string("2"));
  QCOMPARE(saved.ReadString(Sjis("表示"), Sjis("検索件数")).value_or("?"), std::string("250"));
  Form.reset();

  const QString created = conf + QStringLiteral("/new.ini");
  CreateForm(created);
  QVERIFY(Messages.empty());
  QVERIFY(Form->close());
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, created + QStringLiteral(" に書き込めません."));
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);
  QCOMPARE(QDir(conf).entryList(QDir::Files | QDir::Hidden), QStringList{"kovalex.ini"});
}

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
