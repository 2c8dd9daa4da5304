// The main window: its definition, dictionary toggles, a search as the
// controls show it, the keys, resizing, the edit and view commands, and the
// settings file, all against dictionary files written into a temporary
// directory that is the current directory.
#include "mainform.h"

#include <sys/stat.h>

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>
#include <csignal>
#include <memory>

#include "closeonsignals.h"
#include "core/colours.h"
#include "core/encoding.h"
#include "core/profile.h"
#include "exceptions.h"
#include "fontdialog.h"
#include "fontsubstitutes.h"
#include "functionpanel.h"
#include "helpwindow.h"
#include "hitview.h"
#include "inputform.h"
#include "messagebox.h"

using encoding::Sjis;

namespace {

struct TMessage {
  QString Text;
  QString Caption;
  TMessageIcon Icon;
  bool SearchEnabled;  // whether the Search button was usable when it was shown
};

// A run of text of one format within a line of the view.
struct TRun {
  QString Text;
  QTextCharFormat Format;
};

// The hit-limit dialog answering as a user would, without a modal loop.
class TScriptedInputForm : public TInputForm {
 public:
  TScriptedInputForm() : TInputForm(nullptr) {}
  int exec() override {
    Shown = MaskEdit1()->text();
    MaskEdit1()->setText(Answer);
    Cancelled = CancelIt;
    return CancelIt ? Rejected : Accepted;
  }
  QString Answer;
  bool CancelIt = false;
  QString Shown;
};

}  // namespace

class TMainFormTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  // The window, its dictionaries and a search through it (the search itself
  // is the core's tests).
  void definitionAndMenus();
  void dictionaryToggles();
  void searchShowsInTheControls();
  void keywordRunsAreDrawnWhereTheyLie();
  void cancelAndErrorsAreShownAfterTheControlsAreBack();

  // Keys, layout and commands.
  void keysScrollAndSearch();
  void resizeBelowTheMinimumSnapsBack();
  void copyAndCopyAll();
  void normalFontKeywordFontAndBackground();
  void fontChooserKeepsTheStyleAcrossFamilies();
  void setHitLimit();
  void versionAndHelp();

  // Settings and the end of the program.
  void settingsRoundTrip();
  void badColourOrFailedSaveIsShownAndTheWindowGoesOn();
  void closingOrExitDuringASearch();
  void signalsCloseAsTheCloseBox_data();
  void signalsCloseAsTheCloseBox();

  // Where the settings and the dictionaries are.
  void settingsGoToTheUserFolderWhenTheProgramFolderIsReadOnly();
  void chosenDictionaryFolderIsUsedAndRemembered();

 private:
  void WriteDictionary(const QString& name, const std::vector<std::string>& utf8Lines);
  void WriteRaw(const QString& name, const std::string& bytes);
  // With a program path the settings' place is chosen for that program;
  // without, the settings file is kovalex.ini in the working directory.
  void CreateForm(const QString& programPath = {});
  QString MakeProgramFolder(QFile::Permissions permissions);
  void Key(QWidget* focus, Qt::Key key);
  void Search(const QString& query);
  QStringList Lines() const;
  std::vector<TRun> Runs(int line) const;
  QString SettingsPath() const { return Dir->filePath(QStringLiteral("kovalex.ini")); }

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

void TMainFormTest::init() {
  SubstituteJapaneseFontNames();  // as the program does at start
  Dir = std::make_unique<QTemporaryDir>();
  QVERIFY(Dir->isValid());
  OldDir = QDir::currentPath();
  QVERIFY(QDir::setCurrent(Dir->path()));
  // Only the dictionaries a test writes into the working directory count,
  // and the user's own folders are the test's.
  qputenv("XDG_DATA_HOME", QFile::encodeName(Dir->filePath(QStringLiteral("data"))));
  qputenv("XDG_DATA_DIRS", QFile::encodeName(Dir->filePath(QStringLiteral("data-dirs"))));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(Dir->filePath(QStringLiteral("config"))));
  qunsetenv("KOVALEX_SETTINGS");
  Messages.clear();
  SetMessageBoxHook([this](QWidget*, const QString& text, const QString& caption, TMessageIcon icon) {
    auto* search = Form ? Widget<QPushButton>("SearchBtn") : nullptr;
    Messages.push_back({text, caption, icon, search != nullptr && search->isEnabled()});
  });
}

void TMainFormTest::cleanup() {
  Form.reset();
  SetMessageBoxHook({});
  QDir::setCurrent(OldDir);
  Dir.reset();
}

void TMainFormTest::WriteRaw(const QString& name, const std::string& bytes) {
  QFile file(Dir->filePath(name));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void TMainFormTest::WriteDictionary(const QString& name, const std::vector<std::string>& utf8Lines) {
  std::string content;
  for (const std::string& line : utf8Lines) content += Sjis(line) + "\r\n";
  WriteRaw(name, content);
}

void TMainFormTest::CreateForm(const QString& programPath) {
  Form = std::make_unique<TMainForm>();
  if (programPath.isEmpty()) {
    Form->SetSettingsPath(QFile::encodeName(SettingsPath()).toStdString());
  } else {
    Form->SetProgramPath(QFile::encodeName(programPath).toStdString());
  }
  Form->FormCreate();
  Form->show();
  QApplication::setActiveWindow(Form.get());
  QVERIFY(QTest::qWaitForWindowActive(Form.get()));
}

void TMainFormTest::Key(QWidget* focus, Qt::Key key) {
  // Keys reach the focused control, as the window system delivers them.
  focus->setFocus();
  QCOMPARE(QApplication::focusWidget(), focus);
  QTest::keyClick(focus, key);
}

void TMainFormTest::Search(const QString& query) {
  Widget<QComboBox>("ComboBox1")->setEditText(query);
  Form->SearchBtnClick();
}

QStringList TMainFormTest::Lines() const {
  QStringList lines = Form->RichEdit1()->toPlainText().split(QLatin1Char('\n'));
  // The view ends after the line break of its last line.
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

std::vector<TRun> TMainFormTest::Runs(int line) const {
  std::vector<TRun> runs;
  const QString text = Form->RichEdit1()->LineText(line);
  for (const QTextLayout::FormatRange& range : Form->RichEdit1()->LineFormats(line)) {
    runs.push_back({text.mid(range.start, range.length), range.format});
  }
  return runs;
}

// ---------------------------------------------------------------------------
// The window, its dictionaries and a search through it

namespace {

QStringList Texts(const QList<QAction*>& items) {
  QStringList texts;
  for (const QAction* item : items) texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
  return texts;
}

}  // namespace

void TMainFormTest::definitionAndMenus() {
  CreateForm();
  QCOMPARE(Form->windowTitle(), QStringLiteral("KOVALEX Searcher Mini 1.10"));
  QCOMPARE(Widget<QLabel>("Label1")->buddy(), Widget<QComboBox>("ComboBox1"));
  QVERIFY(Widget<QComboBox>("ComboBox1")->isEditable());
  QCOMPARE(Widget<QComboBox>("ComboBox1")->maxVisibleItems(), 10);
  QVERIFY(Form->RichEdit1()->isReadOnly());
  QVERIFY(!Widget<QPushButton>("CancelBtn")->isEnabled());
  const std::pair<QWidget*, QString> captions[] = {
      {Widget<QLabel>("Label1"), "検索する語(&K)"},
      {Widget<QCheckBox>("WordSearchCheckBox"), "単語検索(&W)"},
      {Widget<QPushButton>("SearchBtn"), "検索開始(&S)"},
      {Widget<QCheckBox>("CaseInsensitiveCheckBox"), "大・小文字の同一視(&I)"},
      {Widget<QPushButton>("CancelBtn"), "中断(&P)"},
      {Widget<TFunctionPanel>("FunctionPanel1"), "第５版"},
      {Widget<TFunctionPanel>("FunctionPanel2"), "ﾊﾞｲﾘﾝｶﾞﾙ"},
      {Widget<TFunctionPanel>("FunctionPanel3"), "略語"},
      {Widget<TFunctionPanel>("FunctionPanel4"), "固有名詞"},
      {Widget<TFunctionPanel>("FunctionPanel5"), "専門"},
      {Widget<TFunctionPanel>("FunctionPanel6"), "第４版"}};
  for (const auto& [widget, caption] : captions) QCOMPARE(widget->property("text").toString(), caption);
  for (const char* name : {"Panel1", "Panel2", "Panel3", "Panel4", "Bevel1", "Label2"}) {
    QVERIFY2(Form->findChild<QWidget*>(name) != nullptr, name);
  }
  QCOMPARE(Texts(Form->menuBar()->actions()), (QStringList{"辞書(&D)", "編集(&E)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
  QCOMPARE(Texts(Widget<QMenu>("MenuDic")->actions()),
           (QStringList{"第5版", "ﾊﾞｲﾘﾝｶﾞﾙ", "略語", "固有名詞", "専門", "第4版", "-", "辞書フォルダの選択(&O)...",
                        "終了(&X)"}));
  QCOMPARE(Texts(Widget<QMenu>("MenuEdit")->actions()),
           (QStringList{"コピー(&C)", "すべてをコピー(&A)", "-", "検索(&F)..."}));
  QCOMPARE(Texts(Widget<QMenu>("MenuView")->actions()),
           (QStringList{"ﾀｸﾞの表示(&T)", "ｷｰﾜｰﾄﾞのﾏｰｸ(&M)", "-", "検索件数の制限(&L)", "検索件数の設定(&S): 100", "-",
                        "通常のﾌｫﾝﾄ(&F)...", "ｷｰﾜｰﾄﾞのﾌｫﾝﾄ(&K)...", "背景色(&B)..."}));
  QCOMPARE(Texts(Widget<QMenu>("SubMenuView6")->actions()), (QStringList{"【 】", "《 》", "** **", "// //", "なし"}));
  QCOMPARE(Texts(Widget<QMenu>("MenuHelp")->actions()), (QStringList{"ｵﾝﾗｲﾝﾍﾙﾌﾟ(&H)...", "-", "ﾊﾞｰｼﾞｮﾝ情報(&A)"}));
  QCOMPARE(Widget<QAction>("SubMenuEdit1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
  QCOMPARE(Widget<QAction>("SubMenuEdit2")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
  QCOMPARE(Widget<QAction>("SubMenuEdit3")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
  // The marks behave as a radio group; without settings "なし" is checked.
  QCOMPARE(Form->KeywordMark(), 5);
  Form->ClickMenuItem(Widget<QAction>("SubMenuMark2"));
  QVERIFY(!Widget<QAction>("SubMenuMark5")->isChecked());
  QCOMPARE(Form->KeywordMark(), 2);
  for (const bool limit : {true, false}) {
    Form->ClickMenuItem(Widget<QAction>("SubMenuView7"));
    QCOMPARE(Form->LimitEnabled(), limit);
  }
}

void TMainFormTest::dictionaryToggles() {
  // Only found dictionaries are available; a panel click, its menu item and
  // its function key toggle check mark and bevel together, and the others
  // take nothing.  F4 does not open the query list.
  WriteDictionary(QStringLiteral("KOVA略語.TXT"), {"x"});
  WriteDictionary(QStringLiteral("KOVA固名.TXT"), {"x"});
  CreateForm();
  Widget<QComboBox>("ComboBox1")->addItem(QStringLiteral("earlier"));
  QVERIFY(Widget<TFunctionPanel>("FunctionPanel3")->palette().color(QPalette::Window) !=
          Widget<TFunctionPanel>("FunctionPanel1")->palette().color(QPalette::Window));
  const std::function<void(int)> toggles[] = {
      [this](int n) { QTest::mouseClick(Form->DictionaryPanel(n), Qt::LeftButton, {}, QPoint(5, 5)); },
      [this](int n) { Form->DictionaryPanel(n)->Click(); },
      [this](int n) { Form->ClickMenuItem(Form->DictionaryItem(n)); },
      [this](int n) { Form->DictionaryItem(n)->trigger(); },
      [this](int n) { Key(Widget<QComboBox>("ComboBox1"), Qt::Key(Qt::Key_F1 + n - 1)); },
      [this](int n) { Key(Widget<QCheckBox>("WordSearchCheckBox"), Qt::Key(Qt::Key_F1 + n - 1)); }};
  bool on = false;
  for (const auto& toggle : toggles) {
    on = !on;
    for (int number = 1; number <= 6; ++number) {
      toggle(number);
      const bool available = number == 3 || number == 4;
      QCOMPARE(Form->DictionaryItem(number)->isEnabled(), available);
      QCOMPARE(Form->DictionaryPanel(number)->isEnabled(), available);
      QCOMPARE(Form->DictionaryItem(number)->isChecked(), available && on);
      QCOMPARE(Form->DictionaryPanel(number)->Lowered(), available && on);
    }
  }
  QVERIFY(!Widget<QComboBox>("ComboBox1")->view()->isVisible());
}

void TMainFormTest::searchShowsInTheControls() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"a cat", "dog cat"});
  WriteDictionary(QStringLiteral("KOVA略語.TXT"), {"cat 2"});
  WriteDictionary(QStringLiteral("KOVA4.TXT"), {"cat 3", "cat 4"});
  CreateForm();
  Search(QString());
  Search(QStringLiteral("cat"));
  QCOMPARE(Messages.size(), std::size_t{2});
  QCOMPARE(Messages[0].Text, QStringLiteral("キーワードが指定されていません"));
  QCOMPARE(Messages[1].Text, QStringLiteral("辞書を指定してください"));
  for (const TMessage& message : Messages) {
    QCOMPARE(message.Caption, QStringLiteral("KOVA Searcher"));
    QCOMPARE(message.Icon, TMessageIcon::None);
  }
  QCOMPARE(Widget<QComboBox>("ComboBox1")->count(), 0);
  Messages.clear();
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic3"));
  Form->ClickMenuItem(Widget<QAction>("SubMenuView1"));
  Form->ClickMenuItem(Widget<QAction>("SubMenuMark3"));
  Form->ClickMenuItem(Widget<QAction>("SubMenuView7"));
  Form->SetHitLimit(3);
  Widget<QCheckBox>("WordSearchCheckBox")->setChecked(true);
  int hits = 0;
  const auto match = Form->Grep1.OnMatch;
  Form->Grep1.OnMatch = [&](TGrep& sender, LineInfo_t lineInfo) {
    match(sender, std::move(lineInfo));
    if (++hits != 1) return;
    QVERIFY(!Widget<QPushButton>("SearchBtn")->isEnabled() && Widget<QPushButton>("CancelBtn")->isEnabled());
    QVERIFY(!Widget<QComboBox>("ComboBox1")->isEnabled() && !Form->RichEdit1()->isEnabled());
    QVERIFY(!Widget<QMenu>("MenuDic")->isEnabled() && !Widget<QMenu>("MenuView")->isEnabled());
    QVERIFY(Widget<QMenu>("MenuEdit")->isEnabled() && Widget<QMenu>("MenuHelp")->isEnabled());
    QVERIFY(Widget<QCheckBox>("WordSearchCheckBox")->isEnabled() &&
            Widget<TFunctionPanel>("FunctionPanel1")->isEnabled());
    QCOMPARE(Widget<QLabel>("Label2")->text(), QStringLiteral("1件ﾋｯﾄ KOVA5.TXT"));
    // Toggles and the case option count as the search reaches them; a
    // second search and Exit do nothing.
    QTest::mouseClick(Widget<TFunctionPanel>("FunctionPanel3"), Qt::LeftButton, {}, QPoint(3, 3));
    Widget<TFunctionPanel>("FunctionPanel6")->Click();
    QTest::mouseClick(Widget<QCheckBox>("CaseInsensitiveCheckBox"), Qt::LeftButton);
    QVERIFY(!Form->Grep1.IgnoreCase());
    Form->SearchBtnClick();
    Form->SubMenuDic8Click();
    QVERIFY(!QFile::exists(SettingsPath()));
  };
  Widget<QComboBox>("ComboBox1")->setEditText(QString());
  Widget<QComboBox>("ComboBox1")->setFocus();
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("cat"));
  Key(QApplication::focusWidget(), Qt::Key_Return);
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "KOVA5.TXT(1): a** cat**", "KOVA5.TXT(2): dog** cat**",
                                 "-----KOVA辞書第4版-----", "KOVA4.TXT(1): **cat **3"}));
  QVERIFY(Messages.empty());
  QVERIFY2(Widget<QLabel>("Label2")->text().startsWith(QStringLiteral("終了:")),
           qPrintable(Widget<QLabel>("Label2")->text()));
  QVERIFY(Widget<QLabel>("Label2")->text().endsWith(QStringLiteral("秒 3件ﾋｯﾄ")));
  QVERIFY(Form->Grep1.IgnoreCase() && Form->AWKStr1.IgnoreCase());
  // The controls are back; the view has its caret at the start; the query
  // is in the history once and selected, so the next word replaces it.
  QVERIFY(Widget<QPushButton>("SearchBtn")->isEnabled() && !Widget<QPushButton>("CancelBtn")->isEnabled());
  QVERIFY(Widget<QMenu>("MenuDic")->isEnabled() && Widget<QMenu>("MenuView")->isEnabled() &&
          Form->RichEdit1()->isEnabled());
  QCOMPARE(Form->RichEdit1()->CaretPosition(), 0);
  QVERIFY(!Form->RichEdit1()->HasSelection());
  QCOMPARE(Widget<QComboBox>("ComboBox1")->count(), 1);
  QCOMPARE(QApplication::focusWidget(), Widget<QComboBox>("ComboBox1"));
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("dog"));
  QCOMPARE(Widget<QComboBox>("ComboBox1")->currentText(), QStringLiteral("dog"));
}

void TMainFormTest::keywordRunsAreDrawnWhereTheyLie() {
  // 0x85 0x40 has no character in the code page; 0xB1 is a half-width
  // katakana.  20,000 hits are all drawn.
  std::string content = "a\x85\x40\xB1 " + Sjis("日本語の猫辞書 dictionary") + "\x85\x41z\r\n";
  for (int i = 0; i < 20000; ++i) content += Sjis("見出し語 ") + std::to_string(i) + Sjis(" の辞書 dic 訳語\r\n");
  WriteRaw(QStringLiteral("KOVA5.TXT"), content);
  CreateForm();
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));
  Form->ClickMenuItem(Widget<QAction>("SubMenuMark1"));
  Form->SetKeywordStyle(true, true, false);
  Form->SetKeywordColour(0x00FF00);  // green
  Search(QStringLiteral("辞書 dic"));
  QCOMPARE(Form->RichEdit1()->LineCount(), 20002);
  QCOMPARE(Runs(20001).at(1).Text, QStringLiteral("辞書 dic"));
  const std::vector<TRun> runs = Runs(1);
  QCOMPARE(runs.size(), std::size_t{3});
  QCOMPARE(runs[0].Text, QStringLiteral("a\uFFFDｱ 日本語の猫【"));
  QCOMPARE(runs[1].Text, QStringLiteral("辞書 dic"));
  QCOMPARE(runs[2].Text, QStringLiteral("】tionary\uFFFDz"));
  const QTextCharFormat keyword = runs[1].Format;
  QCOMPARE(keyword.foreground().color(), QColor(0, 255, 0));
  QCOMPARE(keyword.fontWeight(), int(QFont::Bold));
  QVERIFY(keyword.fontItalic() && !keyword.fontUnderline());
  // Face and size stay those of the normal font; the marks are normal text.
  QCOMPARE(keyword.fontFamilies(), runs[0].Format.fontFamilies());
  QCOMPARE(keyword.fontPointSize(), runs[0].Format.fontPointSize());
  QCOMPARE(runs[0].Format.foreground().color(), QColor(Qt::black));
  QCOMPARE(runs[0].Format.fontWeight(), int(QFont::Normal));
  QCOMPARE(runs[2].Format.foreground().color(), QColor(Qt::black));
}

void TMainFormTest::cancelAndErrorsAreShownAfterTheControlsAreBack() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"cat 1", "cat 2"});
  CreateForm();
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));
  const auto match = Form->Grep1.OnMatch;
  Form->Grep1.OnMatch = [&](TGrep& sender, LineInfo_t lineInfo) {
    match(sender, std::move(lineInfo));
    QTest::mouseClick(Widget<QPushButton>("CancelBtn"), Qt::LeftButton);
  };
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat 1"}));
  QVERIFY(Widget<QLabel>("Label2")->text().endsWith(QStringLiteral("秒 1件ﾋｯﾄ")));
  Form->Grep1.OnMatch = match;
  const QString view = Form->RichEdit1()->toPlainText();
  const QString status = Widget<QLabel>("Label2")->text();
  Search(QStringLiteral("ca(t"));
  Search(QStringLiteral("caf\u00e9"));
  QCOMPARE(Messages.size(), std::size_t{3});
  QCOMPARE(Messages[0].Text, QStringLiteral("中断しました."));
  QCOMPARE(Messages[1].Text, QStringLiteral("右(閉じ)括弧が必要です."));
  for (const TMessage& message : Messages) {
    QCOMPARE(message.Icon, TMessageIcon::Error);
    QVERIFY(message.SearchEnabled);
  }
  QCOMPARE(Form->RichEdit1()->toPlainText(), view);
  QCOMPARE(Widget<QLabel>("Label2")->text(), status);
  QCOMPARE(Widget<QComboBox>("ComboBox1")->count(), 1);
  QVERIFY(!Widget<QPushButton>("CancelBtn")->isEnabled() && Widget<QComboBox>("ComboBox1")->isEnabled() &&
          Widget<QMenu>("MenuDic")->isEnabled());
}

// ---------------------------------------------------------------------------
// Keys, layout and commands

void TMainFormTest::keysScrollAndSearch() {
  // Page Up/Down and the arrows scroll the view from the query box, which
  // walks its history with the arrows too; in the view the keys are its own.
  std::vector<std::string> lines;
  for (int i = 0; i < 300; ++i) lines.push_back("cat " + std::to_string(i));
  WriteDictionary(QStringLiteral("KOVA5.TXT"), lines);
  WriteDictionary(QStringLiteral("KOVA略語.TXT"), {"x"});
  CreateForm();
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));
  Search(QStringLiteral("c"));
  Search(QStringLiteral("cat"));
  Widget<QComboBox>("ComboBox1")->setCurrentIndex(0);
  QScrollBar* scroll = Form->RichEdit1()->verticalScrollBar();
  QCOMPARE(scroll->value(), 0);
  Key(Widget<QComboBox>("ComboBox1"), Qt::Key_PageDown);
  const int page = scroll->value();
  QVERIFY(page > 0);
  Key(Widget<QComboBox>("ComboBox1"), Qt::Key_Down);
  QVERIFY(scroll->value() > page);
  QCOMPARE(Widget<QComboBox>("ComboBox1")->currentText(), QStringLiteral("cat"));
  Key(Widget<QComboBox>("ComboBox1"), Qt::Key_Up);
  QCOMPARE(scroll->value(), page);
  QCOMPARE(Widget<QComboBox>("ComboBox1")->currentText(), QStringLiteral("c"));
  Key(Widget<QComboBox>("ComboBox1"), Qt::Key_PageUp);
  QCOMPARE(scroll->value(), 0);
  Key(Form->RichEdit1(), Qt::Key_F3);
  QVERIFY(!Form->KeyPreview());
  QVERIFY(!Widget<QAction>("SubMenuDic3")->isChecked());
  Key(Widget<QComboBox>("ComboBox1"), Qt::Key_F3);
  QVERIFY(Form->KeyPreview());
  QVERIFY(Widget<QAction>("SubMenuDic3")->isChecked());
}

void TMainFormTest::resizeBelowTheMinimumSnapsBack() {
  CreateForm();
  QCOMPARE(Form->MinimumClientWidth(), 345 + 63 + 5);
  Form->resize(200, 100);
  QTest::qWait(0);
  QVERIFY(Form->ClientSize().width() >= 413);
  QVERIFY(Form->ClientSize().height() >= 180);
  Form->SetClientSize(100, 50);
  QCOMPARE(Form->ClientSize(), QSize(413, 180));
  // The view fills the width and the height between query area and bar.
  Form->SetClientSize(500, 300);
  QTRY_COMPARE(Widget<QWidget>("Panel1")->size(), QSize(500, 300));
  const QRect view = Form->RichEdit1()->geometry();
  QCOMPARE(view.width(), 500);
  QCOMPARE(view.top(), Widget<QWidget>("Panel3")->geometry().bottom() + 1);
  QCOMPARE(view.bottom() + 1, Widget<QWidget>("Panel4")->geometry().top());
  QCOMPARE(Widget<QWidget>("Panel4")->geometry().bottom() + 1, 300);
}

void TMainFormTest::copyAndCopyAll() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"猫 cat", "犬 dog cat"});
  CreateForm();
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));
  Search(QStringLiteral("cat"));
  const QString all = QStringLiteral("-----KOVA辞書第5版-----\n猫 cat\n犬 dog cat\n");
  Form->RichEdit1()->SetSelection(Form->RichEdit1()->LineStart(1), 6);  // "猫 cat" is six bytes
  Widget<QAction>("SubMenuEdit1")->trigger();
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("猫 cat"));
  Widget<QAction>("SubMenuEdit2")->trigger();
  QCOMPARE(QGuiApplication::clipboard()->text(), all);
  QCOMPARE(Form->RichEdit1()->CaretPosition(), Form->RichEdit1()->LineStart(1));
  QVERIFY(!Form->RichEdit1()->HasSelection());
  // The menu's keys come before the controls' own: Ctrl+A in the view and
  // in the query box copies everything instead of selecting.
  for (QWidget* control :
       {static_cast<QWidget*>(Form->RichEdit1()), static_cast<QWidget*>(Widget<QComboBox>("ComboBox1"))}) {
    QGuiApplication::clipboard()->clear();
    control->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), all);
  }
  QVERIFY(!Form->RichEdit1()->HasSelection());
}

void TMainFormTest::normalFontKeywordFontAndBackground() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"a cat"});
  CreateForm();
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));
  Search(QStringLiteral("cat"));
  // Confirming the chooser as it opened keeps the stored face name; it opens
  // on the face the view draws "ＭＳ ゴシック" with.
  QFont offered;
  QColor offeredColour;
  Form->FontChooser = [&offered](QFont& font, QColor&) { return offered = font, true; };
  Widget<QAction>("SubMenuView3")->trigger();
  QCOMPARE(Form->CurrentSettings().NormalFontFace, Sjis("ＭＳ ゴシック"));
  QCOMPARE(offered.family(), QFontInfo(QFont(QStringLiteral("ＭＳ ゴシック"))).family());
  Form->FontChooser = [](QFont& font, QColor& colour) {
    font = QFont(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSize(20);
    colour = QColor(0, 0, 255);
    return true;
  };
  Widget<QAction>("SubMenuView3")->trigger();
  // The text in the view takes face and size, its colours stay.
  QCOMPARE(Runs(1).at(1).Format.foreground().color(), QColor(Qt::red));
  QCOMPARE(Runs(1).at(1).Format.fontPointSize(), 20.0);
  QCOMPARE(Runs(1).at(0).Format.foreground().color(), QColor(Qt::black));
  QCOMPARE(Runs(1).at(0).Format.fontFamilies().toStringList().value(0), QStringLiteral("ＭＳ Ｐゴシック"));
  QCOMPARE(Form->CurrentSettings().NormalColour, 0xFF0000);
  QCOMPARE(Form->CurrentSettings().NormalFontSize, 20);
  // The keyword's chooser offers its style and colour; only they are kept.
  Form->FontChooser = [&](QFont& font, QColor& colour) {
    offered = font;
    offeredColour = colour;
    font.setBold(true);
    font.setUnderline(true);
    font.setPointSize(30);
    colour = QColor(0, 128, 0);
    return true;
  };
  Widget<QAction>("SubMenuView4")->trigger();
  QVERIFY(!offered.bold());
  QCOMPARE(offeredColour, QColor(Qt::red));
  QCOMPARE(Form->KeywordStyleValue(), (hits::TKeywordStyle{true, false, true, 0x008000}));
  Form->ColourChooser = [&offeredColour](QColor& colour) {
    offeredColour = colour;
    colour = QColor(255, 255, 0);
    return true;
  };
  Widget<QAction>("SubMenuView5")->trigger();
  QCOMPARE(offeredColour, QColor(Qt::white));
  QCOMPARE(Form->CurrentSettings().BackgroundColour, 0x00FFFF);
  // New text takes the new looks.
  Search(QStringLiteral("cat"));
  QCOMPARE(Runs(1).at(0).Format.foreground().color(), QColor(0, 0, 255));
  const QTextCharFormat keyword = Runs(1).at(1).Format;
  QCOMPARE(keyword.foreground().color(), QColor(0, 128, 0));
  QVERIFY(keyword.fontWeight() == int(QFont::Bold) && keyword.fontUnderline());
  QCOMPARE(keyword.fontPointSize(), 20.0);
  QCOMPARE(Form->RichEdit1()->palette().color(QPalette::Base), QColor(255, 255, 0));
  // Cancelling changes nothing.
  Form->FontChooser = [](QFont&, QColor&) { return false; };
  Widget<QAction>("SubMenuView3")->trigger();
  Widget<QAction>("SubMenuView4")->trigger();
  QCOMPARE(Form->CurrentSettings().NormalFontSize, 20);
  QCOMPARE(Form->KeywordStyleValue().Colour, 0x008000);
  // A keyword colour stored as a system colour that names a background
  // stays readable on the view's background.
  for (const int system : {colours::kSystemWindow, colours::kSystemButtonFace, 20 /* button highlight */}) {
    Form->SetBackgroundColour(colours::SystemColour(system));
    Form->SetKeywordColour(colours::SystemColour(system));
    Search(QStringLiteral("cat"));
    const QColor background = Form->RichEdit1()->palette().color(QPalette::Base);
    const QColor shown = Runs(1).at(1).Format.foreground().color();
    QVERIFY2(std::abs(shown.lightness() - background.lightness()) > 64, qPrintable(QString::number(system)));
  }
}

void TMainFormTest::fontChooserKeepsTheStyleAcrossFamilies() {
  QFont font(QStringLiteral("DejaVu Sans"), 11);
  font.setBold(true);
  font.setItalic(true);
  TFontColourDialog dialog(font, Qt::red, TFontChoice::Keyword);
  // Strikeout, which nothing stores, is not offered.
  for (const QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
    QVERIFY(!box->isVisibleTo(&dialog) || !box->text().contains(QStringLiteral("trike")));
  }
  // A family with the style: its face is shown; one without: its regular
  // face is shown and the flags stay, to be drawn synthetically.
  for (const char* family : {"DejaVu Serif", "IPAGothic", "DejaVu Sans Mono"}) {
    if (!QFontDatabase::hasFamily(QString::fromLatin1(family))) continue;
    dialog.FontDialog()->setCurrentFont(QFont(QString::fromLatin1(family), 11));
    const QFont selected = dialog.SelectedFont();
    QCOMPARE(selected.family(), QString::fromLatin1(family));
    QVERIFY(selected.bold() && selected.italic());
    QCOMPARE(selected.pointSize(), 11);
    const bool hasFace = QFontDatabase::styles(QString::fromLatin1(family)).size() > 1;
    QTRY_VERIFY2(dialog.FontDialog()->currentFont().bold() == hasFace, family);
  }
  // Enter in the chooser's lists ends the whole dialog, never only its body.
  dialog.show();
  auto* families = dialog.FontDialog()->findChild<QAbstractItemView*>();
  QVERIFY(families);
  QTest::keyClick(families, Qt::Key_Return);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QVERIFY(!dialog.isVisible());
  QVERIFY(!dialog.FontDialog()->isHidden());
}

void TMainFormTest::setHitLimit() {
  CreateForm();
  TScriptedInputForm input;
  Form->SetDialogs(&input, nullptr);
  // answer, cancelled -> limit, messages so far
  const struct {
    const char* Answer;
    bool Cancel;
    int Limit;
    std::size_t Messages;
  } steps[] = {{"250", false, 250, 0}, {"7", true, 250, 0}, {"", false, 250, 1}, {"1%", false, 250, 2}};
  for (const auto& step : steps) {
    input.Answer = QString::fromLatin1(step.Answer);
    input.CancelIt = step.Cancel;
    Widget<QAction>("SubMenuView8")->trigger();
    QCOMPARE(Form->HitLimitValue(), step.Limit);
    QCOMPARE(Widget<QAction>("SubMenuView8")->text(), QStringLiteral("検索件数の設定(&S): %1").arg(step.Limit));
    QCOMPARE(Messages.size(), step.Messages);
  }
  QCOMPARE(input.Shown, QStringLiteral("250"));
  QCOMPARE(Messages[0].Text, QStringLiteral("'' は正しい整数値ではありません."));
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);
  // Without a dialog the command does nothing.
  Form->SetDialogs(nullptr, nullptr);
  Widget<QAction>("SubMenuView8")->trigger();
  Widget<QAction>("SubMenuEdit3")->trigger();
  QCOMPARE(Messages.size(), std::size_t{2});
}

void TMainFormTest::versionAndHelp() {
  const QString help = Dir->filePath(QStringLiteral("kovah.hlp"));
  QFile file(help);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("<html><body><h1>KOVALEX ヘルプ</h1><p>使い方</p></body></html>");
  file.close();
  CreateForm();
  Widget<QAction>("SubMenuHelp1")->trigger();
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Caption, QStringLiteral("KOVA Searcher Mini"));
  QCOMPARE(Messages[0].Icon, TMessageIcon::None);
  QCOMPARE(Messages[0].Text, QStringLiteral("KOVALEX Searcher Mini 1.10\n\n正規表現コンポーネント0.14"));
  QCOMPARE(Form->HelpFile(), QStringLiteral("kovah.hlp"));
  QVERIFY(
      THelpWindow::SearchPaths(QStringLiteral("kovah.hlp")).first().startsWith(QCoreApplication::applicationDirPath()));
  THelpWindow window;
  window.ShowContents(help);
  QCOMPARE(window.ShownFile(), help);
  QVERIFY(window.Browser()->toPlainText().contains(QStringLiteral("使い方")));
  window.ShowContents(Dir->filePath(QStringLiteral("missing.hlp")));
  QVERIFY(window.ShownFile().isEmpty());
  QVERIFY(window.Browser()->toPlainText().contains(QStringLiteral("見つかりません")));
  // The window's own viewer closes when the window closes.
  Widget<QAction>("SubMenuHelp2")->trigger();
  QVERIFY(Form->HelpWindow() != nullptr && Form->HelpWindow()->isVisible());
  Form->close();
  QVERIFY(!Form->HelpWindow()->isVisible());
}

// ---------------------------------------------------------------------------
// Settings and the end of the program

namespace {

settings::TSettingsValues LoadFile(const QString& path) {
  settings::TSettingsValues values = settings::DefaultSettings();
  settings::LoadSettings(TProfile(QFile::encodeName(path).toStdString()), values);
  return values;
}

}  // namespace

// The window shows what the file holds (the defaults without one), gathers
// it back, and writes its changes when it closes; unknown keys stay.
void TMainFormTest::settingsRoundTrip() {
  CreateForm();
  QVERIFY(Messages.empty());
  QVERIFY(Form->CurrentSettings() == settings::DefaultSettings());
  QCOMPARE(Widget<QAction>("SubMenuView8")->text(), QStringLiteral("検索件数の設定(&S): 100"));
  Form.reset();
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"x"});
  WriteDictionary(QStringLiteral("KOVA略語.TXT"), {"x"});
  WriteRaw(QStringLiteral("kovalex.ini"), Sjis("[辞書]\r\nKOVA辞書第5版=1\r\nKOVA略語辞書=1\r\nKOVA辞書第4版=1\r\n"
                                               "[表示]\r\nタグの表示=1\r\nキーワードのマーク=2\r\n検索件数の制限=1\r\n"
                                               "検索件数=250\r\n通常のフォント名=ＭＳ Ｐゴシック\r\n"
                                               "通常のフォントサイズ=14\r\n通常のフォント色=8421376\r\n"
                                               "キーワードのフォントスタイル イタリック=1\r\n"
                                               "キーワードのフォント色=65280\r\n背景色=15790320\r\n"
                                               "[フォーム位置]\r\nトップ=40\r\nレフト=30\r\n幅=600\r\n高さ=300\r\n"
                                               "[ほか]\r\n未知=残す\r\n"));
  settings::TSettingsValues expected = LoadFile(SettingsPath());
  expected.Dictionaries[5] = false;  // its files are gone
  CreateForm();
  QVERIFY(Messages.empty());
  QVERIFY(Form->CurrentSettings() == expected);
  QVERIFY(Widget<TFunctionPanel>("FunctionPanel1")->Lowered());
  QCOMPARE(Widget<QAction>("SubMenuView8")->text(), QStringLiteral("検索件数の設定(&S): 250"));
  QCOMPARE(Form->RichEdit1()->palette().color(QPalette::Base), QColor(0xF0, 0xF0, 0xF0));
  QCOMPARE(Form->pos(), QPoint(30, 40));

  Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));
  Form->ClickMenuItem(Widget<QAction>("SubMenuMark4"));
  Form->SetClientSize(500, 250);
  Form->move(10, 20);
  expected = Form->CurrentSettings();
  QCOMPARE(expected.Width, 500);
  QVERIFY(Form->close());
  QVERIFY(LoadFile(SettingsPath()) == expected);
  const TProfile profile(QFile::encodeName(SettingsPath()).toStdString());
  QCOMPARE(profile.ReadString(Sjis("ほか"), Sjis("未知")), Sjis("残す"));
  QCOMPARE(settings::RememberedDictionaryFolder(profile), std::string());  // only once one is chosen
  Form.reset();
  CreateForm();
  QVERIFY(Form->CurrentSettings() == expected);
}

// A bad colour ends the loading: what came before it is shown, the rest
// keeps the window's own; a failed save is shown and the window closes.
void TMainFormTest::badColourOrFailedSaveIsShownAndTheWindowGoesOn() {
  WriteRaw(QStringLiteral("kovalex.ini"), Sjis("[表示]\r\n検索件数=50\r\n通常のフォント色=blue\r\n背景色=0\r\n"));
  CreateForm();
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, QStringLiteral("'blue' は正しい整数値ではありません."));
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);
  QCOMPARE(Form->HitLimitValue(), 50);
  QCOMPARE(Form->ResultView().BackgroundColour(), 16777215);
  QCOMPARE(Form->pos(), QPoint(TMainForm::kDefinedLeft, TMainForm::kDefinedTop));
  Form->SetSettingsPath(QFile::encodeName(Dir->filePath(QStringLiteral("missing/dir/kovalex.ini"))).toStdString());
  QVERIFY(Form->close());
  QCOMPARE(Messages.size(), std::size_t{2});
  QVERIFY(Messages[1].Text.endsWith(QStringLiteral("kovalex.ini に書き込めません.")));
}

// Closing during a search ends it first (quietly) and then closes and saves;
// Exit during a search does nothing.
void TMainFormTest::closingOrExitDuringASearch() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"cat 1", "cat 2", "cat 3"});
  for (const bool exit : {false, true}) {
    QFile::remove(SettingsPath());
    CreateForm();
    Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));
    Form->Grep1.OnMatch = [&, match = Form->Grep1.OnMatch](TGrep& sender, LineInfo_t lineInfo) {
      match(sender, std::move(lineInfo));
      if (Form->Driver().HitCount() != 1) return;
      if (exit) {
        Widget<QAction>("SubMenuDic8")->trigger();
        Form->SubMenuDic8Click();
      } else {
        QVERIFY(!Form->close());  // refused for now
      }
      QVERIFY(Form->isVisible());
      QVERIFY(!QFile::exists(SettingsPath()));
    };
    Search(QStringLiteral("cat"));
    QCOMPARE(Form->Driver().HitCount(), exit ? 3 : 1);
    QVERIFY(Messages.empty());
    QCOMPARE(Form->isVisible(), exit);
    QCOMPARE(QFile::exists(SettingsPath()), !exit);
  }
}

void TMainFormTest::signalsCloseAsTheCloseBox_data() {
  QTest::addColumn<int>("signal");
  QTest::addColumn<bool>("dialogOpen");
  QTest::newRow("SIGTERM") << SIGTERM << false;
  QTest::newRow("SIGHUP, a modal dialog open") << SIGHUP << true;
  QTest::newRow("SIGINT") << SIGINT << false;
}

void TMainFormTest::signalsCloseAsTheCloseBox() {
  QFETCH(int, signal);
  QFETCH(bool, dialogOpen);
  CreateForm();
  new TCloseOnSignals(Form.get());
  Form->ClickMenuItem(Widget<QAction>("SubMenuMark3"));
  if (dialogOpen) {
    QDialog dialog(Form.get());
    QTimer::singleShot(0, [signal] { raise(signal); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
  } else {
    QCOMPARE(raise(signal), 0);
  }
  QTRY_VERIFY(!Form->isVisible());
  QVERIFY(Messages.empty());
  QCOMPARE(LoadFile(SettingsPath()).KeywordMark, 3);
}

// ---------------------------------------------------------------------------
// Where the settings and the dictionaries are

// A folder for the program (which need not exist as a file there) with the
// given permissions.  A folder without any write permission counts as
// read-only for the superuser too.
QString TMainFormTest::MakeProgramFolder(QFile::Permissions permissions) {
  const QString folder = Dir->filePath(QStringLiteral("program"));
  QDir().mkpath(folder);
  QFile::setPermissions(folder, permissions);
  return folder;
}

// A read-only program folder sends the settings to the user's folder; a
// read-only file beside the program gives the defaults and stays.
void TMainFormTest::settingsGoToTheUserFolderWhenTheProgramFolderIsReadOnly() {
  const QString folder = MakeProgramFolder(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const std::string defaults = Sjis("[表示]\r\n検索件数=250\r\n");
  WriteRaw(QStringLiteral("program/kovalex.ini"), defaults);
  QVERIFY(QFile::setPermissions(folder + "/kovalex.ini", QFile::ReadOwner | QFile::ReadOther));
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
  CreateForm(folder + "/kovalex");
  QCOMPARE(Form->HitLimitValue(), 250);
  Form->ClickMenuItem(Widget<QAction>("SubMenuView1"));
  QVERIFY(Form->close());
  QVERIFY(Messages.empty());
  const QString saved = Dir->filePath(QStringLiteral("config/kovalex/kovalex.ini"));
  QVERIFY(LoadFile(saved).ShowTags && LoadFile(saved).HitLimit == 250);
  struct stat st;
  QCOMPARE(stat(QFile::encodeName(Dir->filePath(QStringLiteral("config/kovalex"))).constData(), &st), 0);
  QCOMPARE(st.st_mode & 0777, 0700u);
  QFile beside(folder + "/kovalex.ini");
  QVERIFY(beside.open(QIODevice::ReadOnly));
  QCOMPARE(beside.readAll().toStdString(), defaults);
  Form.reset();
  CreateForm(folder + "/kovalex");
  QVERIFY(Widget<QAction>("SubMenuView1")->isChecked());
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TMainFormTest::chosenDictionaryFolderIsUsedAndRemembered() {
  CreateForm();
  // Nothing in any place: the view says where the program looked.
  QCOMPARE(Form->DictionaryFolder(), std::string());
  QVERIFY(Lines().join(QString()).contains(Dir->filePath(QStringLiteral("data-dirs/kovalex/dictionaries"))));
  QVERIFY(!Widget<QAction>("SubMenuDic1")->isEnabled());
  QDir().mkpath(Dir->filePath(QStringLiteral("mine")));
  WriteDictionary(QStringLiteral("mine/KOVA5.TXT"), {"cat"});
  Form->FolderChooser = [&](QString& folder) {
    folder = Dir->filePath(QStringLiteral("mine"));
    return true;
  };
  Form->ClickMenuItem(Widget<QAction>("SubMenuDicFolder"));
  QVERIFY(Widget<QAction>("SubMenuDic1")->isEnabled() && Widget<TFunctionPanel>("FunctionPanel1")->isEnabled());
  QVERIFY(Widget<QLabel>("Label2")->text().contains(QStringLiteral("mine")));
  Form->ClickMenuItem(Widget<QAction>("SubMenuDic1"));
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat"}));
  QVERIFY(Form->close());
  Form.reset();
  CreateForm();
  QCOMPARE(Form->DictionaryFolder(), QFile::encodeName(Dir->filePath(QStringLiteral("mine"))).toStdString());
  QVERIFY(Widget<QAction>("SubMenuDic1")->isChecked());
}

QTEST_MAIN(TMainFormTest)
#include "mainform_test.moc"
