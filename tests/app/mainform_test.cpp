// The main window: its definition, dictionary discovery and toggles, the
// search from the query box to the rendered hits, the keys, resizing, the
// edit and view commands, and the settings file, all against dictionary
// files written into a temporary directory that is the current directory.
#include "mainform.h"

#include <sys/stat.h>

#include <QAbstractItemView>
#include <QActionGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenuBar>
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

  // The window definition.
  void titleControlsAndMenus();
  void menuShortcutsAndCheckMarks();

  // Discovery and toggles.
  void onlyFoundDictionariesBecomeAvailable();
  void panelClickTogglesCheckAndBevel();
  void menuItemActsAsPanelClick();
  void functionKeysToggleOnlyAvailableDictionaries();
  void functionKeyFourDoesNotOpenTheQueryList();

  // The search.
  void emptyQueryAndNoDictionaryMessages();
  void headersAndHitsInCatalogueOrder();
  void keywordRunLandsExactlyOnTheMatch();
  void keywordRunAfterUndecodableBytes();
  void tagsAndMarks();
  void wordSearch();
  void caseInsensitiveToggle();
  void hitLimitStopsTheSearch();
  void cancelKeepsTheHitsSoFar();
  void malformedQueryChangesNothing();
  void queryWithoutShiftJisFormChangesNothing();
  void enterInTheQueryBoxSearches();
  void controlsDuringASearch();
  void dictionaryToggledDuringASearch();
  void twentyThousandHitsAreAllRendered();

  // Keys, layout and commands.
  void pageAndArrowKeysScrollTheView();
  void keyPreviewIsOffInTheView();
  void resizeBelowTheMinimumSnapsBack();
  void copyAndCopyAll();
  void normalFontKeepsKeywordColours();
  void keywordFontAndBackground();
  void fontChooserKeepsTheStyleAcrossFamilies();
  void limitToggleAndSetHitLimit();
  void versionBox();
  void helpWindowShowsTheHelpFile();

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
    auto* search = Form ? Form->SearchBtn : nullptr;
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
  Form->ComboBox1->setEditText(query);
  Form->SearchBtnClick();
}

QStringList TMainFormTest::Lines() const {
  QStringList lines = Form->RichEdit1->toPlainText().split(QLatin1Char('\n'));
  // The view ends after the line break of its last line.
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

std::vector<TRun> TMainFormTest::Runs(int line) const {
  std::vector<TRun> runs;
  const QString text = Form->RichEdit1->LineText(line);
  for (const QTextLayout::FormatRange& range : Form->RichEdit1->LineFormats(line)) {
    runs.push_back({text.mid(range.start, range.length), range.format});
  }
  return runs;
}

// ---------------------------------------------------------------------------
// The window definition

void TMainFormTest::titleControlsAndMenus() {
  CreateForm();
  QCOMPARE(Form->windowTitle(), QStringLiteral("KOVALEX Searcher Mini 1.10"));
  QCOMPARE(Form->Label1->text(), QStringLiteral("検索する語(&K)"));
  QCOMPARE(Form->Label1->buddy(), Form->ComboBox1);
  QVERIFY(Form->ComboBox1->isEditable());
  QCOMPARE(Form->ComboBox1->maxVisibleItems(), 10);
  QCOMPARE(Form->WordSearchCheckBox->text(), QStringLiteral("単語検索(&W)"));
  QCOMPARE(Form->CaseInsensitiveCheckBox->text(), QStringLiteral("大・小文字の同一視(&I)"));
  QCOMPARE(Form->SearchBtn->text(), QStringLiteral("検索開始(&S)"));
  QCOMPARE(Form->CancelBtn->text(), QStringLiteral("中断(&P)"));
  QVERIFY(!Form->CancelBtn->isEnabled());
  QVERIFY(Form->RichEdit1->isReadOnly());
  const QStringList captions = {"第５版", "ﾊﾞｲﾘﾝｶﾞﾙ", "略語", "固有名詞", "専門", "第４版"};
  for (int number = 1; number <= 6; ++number) {
    QCOMPARE(Form->DictionaryPanel(number)->text(), captions[number - 1]);
    QCOMPARE(Form->DictionaryPanel(number)->objectName(), QStringLiteral("FunctionPanel%1").arg(number));
  }
  for (const char* name : {"Panel1", "Panel2", "Panel3", "Panel4", "Bevel1", "Label2"}) {
    QVERIFY2(Form->findChild<QWidget*>(name) != nullptr, name);
  }
  const QList<QAction*> menus = Form->menuBar()->actions();
  QCOMPARE(menus.size(), 4);
  QCOMPARE(menus[0]->text(), QStringLiteral("辞書(&D)"));
  QCOMPARE(menus[1]->text(), QStringLiteral("編集(&E)"));
  QCOMPARE(menus[2]->text(), QStringLiteral("表示(&V)"));
  QCOMPARE(menus[3]->text(), QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  QStringList dictionaryItems;
  for (QAction* item : Form->MenuDic->actions()) dictionaryItems << (item->isSeparator() ? "-" : item->text());
  QCOMPARE(dictionaryItems, (QStringList{"第5版", "ﾊﾞｲﾘﾝｶﾞﾙ", "略語", "固有名詞", "専門", "第4版", "-",
                                         "辞書フォルダの選択(&O)...", "終了(&X)"}));
  QStringList viewItems;
  for (QAction* item : Form->MenuView->actions()) viewItems << (item->isSeparator() ? "-" : item->text());
  QCOMPARE(viewItems,
           (QStringList{"ﾀｸﾞの表示(&T)", "ｷｰﾜｰﾄﾞのﾏｰｸ(&M)", "-", "検索件数の制限(&L)", "検索件数の設定(&S): 100", "-",
                        "通常のﾌｫﾝﾄ(&F)...", "ｷｰﾜｰﾄﾞのﾌｫﾝﾄ(&K)...", "背景色(&B)..."}));
  QStringList markItems;
  for (QAction* item : Form->SubMenuView6->actions()) markItems << item->text();
  QCOMPARE(markItems, (QStringList{"【 】", "《 》", "** **", "// //", "なし"}));
  QStringList helpItems;
  for (QAction* item : Form->MenuHelp->actions()) helpItems << (item->isSeparator() ? "-" : item->text());
  QCOMPARE(helpItems, (QStringList{"ｵﾝﾗｲﾝﾍﾙﾌﾟ(&H)...", "-", "ﾊﾞｰｼﾞｮﾝ情報(&A)"}));
}

void TMainFormTest::menuShortcutsAndCheckMarks() {
  CreateForm();
  QCOMPARE(Form->SubMenuEdit1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
  QCOMPARE(Form->SubMenuEdit2->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
  QCOMPARE(Form->SubMenuEdit3->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
  QCOMPARE(Form->SubMenuEdit1->text(), QStringLiteral("コピー(&C)"));
  QCOMPARE(Form->SubMenuEdit2->text(), QStringLiteral("すべてをコピー(&A)"));
  QCOMPARE(Form->SubMenuEdit3->text(), QStringLiteral("検索(&F)..."));
  QVERIFY(Form->SubMenuView1->isCheckable());
  QVERIFY(Form->SubMenuView7->isCheckable());
  // The marks behave as a radio group; without settings "なし" is checked.
  QVERIFY(Form->SubMenuMark5->isChecked());
  Form->ClickMenuItem(Form->SubMenuMark2);
  QVERIFY(Form->SubMenuMark2->isChecked());
  QVERIFY(!Form->SubMenuMark5->isChecked());
  QCOMPARE(Form->KeywordMark(), 2);
  // Limit hits on/off inverts its mark.
  QVERIFY(!Form->LimitEnabled());
  Form->ClickMenuItem(Form->SubMenuView7);
  QVERIFY(Form->LimitEnabled());
  Form->ClickMenuItem(Form->SubMenuView7);
  QVERIFY(!Form->LimitEnabled());
}

// ---------------------------------------------------------------------------
// Discovery and toggles

void TMainFormTest::onlyFoundDictionariesBecomeAvailable() {
  WriteDictionary(QStringLiteral("KOVA略語.TXT"), {"abbr"});
  CreateForm();
  for (int number = 1; number <= 6; ++number) {
    const bool available = number == 3;
    QCOMPARE(Form->DictionaryPanel(number)->isEnabled(), available);
    QCOMPARE(Form->DictionaryItem(number)->isEnabled(), available);
    QVERIFY(!Form->DictionaryItem(number)->isChecked());
    QVERIFY(!Form->DictionaryPanel(number)->Lowered());
  }
  // An available panel is painted in another colour than a greyed-out one.
  QVERIFY(Form->FunctionPanel3->palette().color(QPalette::Window) !=
          Form->FunctionPanel1->palette().color(QPalette::Window));
}

void TMainFormTest::panelClickTogglesCheckAndBevel() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"x"});
  CreateForm();
  QTest::mouseClick(Form->FunctionPanel1, Qt::LeftButton, {}, QPoint(5, 5));
  QVERIFY(Form->SubMenuDic1->isChecked());
  QVERIFY(Form->FunctionPanel1->Lowered());
  QTest::mouseClick(Form->FunctionPanel1, Qt::LeftButton, {}, QPoint(5, 5));
  QVERIFY(!Form->SubMenuDic1->isChecked());
  QVERIFY(!Form->FunctionPanel1->Lowered());
  // A greyed-out panel takes no clicks.
  QTest::mouseClick(Form->FunctionPanel2, Qt::LeftButton, {}, QPoint(5, 5));
  Form->FunctionPanel2->Click();
  QVERIFY(!Form->SubMenuDic2->isChecked());
  QVERIFY(!Form->FunctionPanel2->Lowered());
}

void TMainFormTest::menuItemActsAsPanelClick() {
  WriteDictionary(QStringLiteral("KOVA固名.TXT"), {"x"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic4);
  QVERIFY(Form->SubMenuDic4->isChecked());
  QVERIFY(Form->FunctionPanel4->Lowered());
  Form->SubMenuDic4->trigger();
  QVERIFY(!Form->SubMenuDic4->isChecked());
  QVERIFY(!Form->FunctionPanel4->Lowered());
  // A disabled item does nothing.
  Form->ClickMenuItem(Form->SubMenuDic3);
  QVERIFY(!Form->SubMenuDic3->isChecked());
  QVERIFY(!Form->FunctionPanel3->Lowered());
}

void TMainFormTest::functionKeysToggleOnlyAvailableDictionaries() {
  WriteDictionary(QStringLiteral("KOVA略語.TXT"), {"x"});
  WriteDictionary(QStringLiteral("KOVA4.TXT"), {"x"});
  CreateForm();
  for (const Qt::Key key : {Qt::Key_F3, Qt::Key_F1, Qt::Key_F6, Qt::Key_F2, Qt::Key_F5}) Key(Form->ComboBox1, key);
  for (int number = 1; number <= 6; ++number) {
    const bool toggled = number == 3 || number == 6;
    QVERIFY2(Form->DictionaryItem(number)->isChecked() == toggled, qPrintable(QString::number(number)));
    QCOMPARE(Form->DictionaryPanel(number)->Lowered(), toggled);
  }
  Key(Form->ComboBox1, Qt::Key_F3);
  QVERIFY(!Form->SubMenuDic3->isChecked());
  // The same from another control.
  Key(Form->WordSearchCheckBox, Qt::Key_F6);
  QVERIFY(!Form->SubMenuDic6->isChecked());
}

void TMainFormTest::functionKeyFourDoesNotOpenTheQueryList() {
  WriteDictionary(QStringLiteral("KOVA固名.TXT"), {"x"});
  CreateForm();
  Form->ComboBox1->addItem(QStringLiteral("earlier"));
  Key(Form->ComboBox1, Qt::Key_F4);
  QVERIFY(Form->SubMenuDic4->isChecked());
  QVERIFY(!Form->ComboBox1->view()->isVisible());
}

// ---------------------------------------------------------------------------
// The search

void TMainFormTest::emptyQueryAndNoDictionaryMessages() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"cat"});
  CreateForm();
  Form->SetStatus(u"before");
  Search(QString());
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, QStringLiteral("キーワードが指定されていません"));
  QCOMPARE(Messages[0].Caption, QStringLiteral("KOVA Searcher"));
  QCOMPARE(Messages[0].Icon, TMessageIcon::None);
  Search(QStringLiteral("cat"));
  QCOMPARE(Messages.size(), std::size_t{2});
  QCOMPARE(Messages[1].Text, QStringLiteral("辞書を指定してください"));
  QCOMPARE(Messages[1].Caption, QStringLiteral("KOVA Searcher"));
  QCOMPARE(Messages[1].Icon, TMessageIcon::None);
  QCOMPARE(Form->Label2->text(), QStringLiteral("before"));
  QCOMPARE(Form->ComboBox1->count(), 0);
}

void TMainFormTest::headersAndHitsInCatalogueOrder() {
  WriteDictionary(QStringLiteral("KOVA略語.TXT"), {"abbr cat"});
  WriteDictionary(QStringLiteral("KOVA5B.TXT"), {"second cat"});
  WriteDictionary(QStringLiteral("kova5a.txt"), {"first cat", "dog"});
  WriteDictionary(QStringLiteral("KOVSEN.TXT"), {"special cat"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic3);
  Form->ClickMenuItem(Form->SubMenuDic1);
  Search(QStringLiteral("cat"));
  QVERIFY(Messages.empty());
  QCOMPARE(Lines(),
           (QStringList{"-----KOVA辞書第5版-----", "first cat", "second cat", "-----KOVA略語辞書-----", "abbr cat"}));
  QVERIFY2(Form->Label2->text().startsWith(QStringLiteral("終了:")), qPrintable(Form->Label2->text()));
  QVERIFY(Form->Label2->text().endsWith(QStringLiteral("秒 3件ﾋｯﾄ")));
  QCOMPARE(Form->ComboBox1->count(), 1);
  QCOMPARE(Form->ComboBox1->itemText(0), QStringLiteral("cat"));
  // The view is usable again, caret at the start, selection empty.
  QVERIFY(Form->RichEdit1->isEnabled());
  QCOMPARE(Form->RichEdit1->CaretPosition(), 0);
  QVERIFY(!Form->RichEdit1->HasSelection());
  QVERIFY(Form->SearchBtn->isEnabled());
  QVERIFY(!Form->CancelBtn->isEnabled());
  QVERIFY(Form->MenuDic->isEnabled());
  QVERIFY(Form->MenuView->isEnabled());
}

void TMainFormTest::keywordRunLandsExactlyOnTheMatch() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"ｱｲｳ日本語の猫辞書 dictionary です"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Form->ClickMenuItem(Form->SubMenuMark1);
  Form->SetKeywordStyle(true, true, false);
  Form->SetKeywordColour(0x00FF00);  // green
  Search(QStringLiteral("辞書 dic"));
  QCOMPARE(Lines().value(1), QStringLiteral("ｱｲｳ日本語の猫【辞書 dic】tionary です"));
  const std::vector<TRun> runs = Runs(1);
  QCOMPARE(runs.size(), std::size_t{3});
  QCOMPARE(runs[0].Text, QStringLiteral("ｱｲｳ日本語の猫【"));
  QCOMPARE(runs[1].Text, QStringLiteral("辞書 dic"));
  QCOMPARE(runs[2].Text, QStringLiteral("】tionary です"));
  const QTextCharFormat keyword = runs[1].Format;
  QCOMPARE(keyword.foreground().color(), QColor(0, 255, 0));
  QCOMPARE(keyword.fontWeight(), int(QFont::Bold));
  QVERIFY(keyword.fontItalic());
  QVERIFY(!keyword.fontUnderline());
  // Face and size stay those of the normal font; the marks are normal text.
  QCOMPARE(keyword.fontFamilies(), runs[0].Format.fontFamilies());
  QCOMPARE(keyword.fontPointSize(), runs[0].Format.fontPointSize());
  QCOMPARE(runs[0].Format.foreground().color(), QColor(Qt::black));
  QCOMPARE(runs[0].Format.fontWeight(), int(QFont::Normal));
  QCOMPARE(runs[2].Format.foreground().color(), QColor(Qt::black));
}

void TMainFormTest::keywordRunAfterUndecodableBytes() {
  // 0x85 0x40 has no character in the code page; 0xB1 is a half-width katakana.
  WriteRaw(QStringLiteral("KOVA5.TXT"), "a\x85\x40\xB1 " + Sjis("語") + "cat\x85\x41z\r\n");
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines().value(1), QStringLiteral("a\uFFFDｱ 語cat\uFFFDz"));
  const std::vector<TRun> runs = Runs(1);
  QCOMPARE(runs.size(), std::size_t{3});
  QCOMPARE(runs[1].Text, QStringLiteral("cat"));
  QCOMPARE(runs[1].Format.foreground().color(), QColor(Qt::red));
}

void TMainFormTest::tagsAndMarks() {
  WriteDictionary(QStringLiteral("KOVA略語.TXT"),
                  {"one", "two", "x", "y", "z", "a", "b", "c", "d", "e", "f", "a cat sat"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic3);
  Form->ClickMenuItem(Form->SubMenuView1);
  const QStringList expected = {"KOVA略語.TXT(12): a 【cat】 sat", "KOVA略語.TXT(12): a 《cat》 sat",
                                "KOVA略語.TXT(12): a **cat** sat", "KOVA略語.TXT(12): a //cat// sat",
                                "KOVA略語.TXT(12): a cat sat"};
  for (int mark = 1; mark <= 5; ++mark) {
    Form->ClickMenuItem(Form->MarkItem(mark));
    Search(QStringLiteral("cat"));
    QCOMPARE(Lines().value(1), expected[mark - 1]);
    const std::vector<TRun> runs = Runs(1);
    const auto keyword = std::find_if(
        runs.begin(), runs.end(), [](const TRun& run) { return run.Format.foreground().color() == QColor(Qt::red); });
    QVERIFY(keyword != runs.end());
    QCOMPARE(keyword->Text, QStringLiteral("cat"));
  }
  // Tags off again: the line starts with its own text.
  Form->ClickMenuItem(Form->SubMenuView1);
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines().value(1), QStringLiteral("a cat sat"));
}

void TMainFormTest::wordSearch() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"category", "a cat.", "cat (pet)"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Form->WordSearchCheckBox->setChecked(true);
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "a cat.", "cat (pet)"}));
  QCOMPARE(Runs(1).at(1).Text, QStringLiteral(" cat."));
  QCOMPARE(Runs(2).at(0).Text, QStringLiteral("cat "));
  QVERIFY(Form->Label2->text().endsWith(QStringLiteral(" 2件ﾋｯﾄ")));
}

void TMainFormTest::caseInsensitiveToggle() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"a CAT", "a cat"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "a cat"}));
  QTest::mouseClick(Form->CaseInsensitiveCheckBox, Qt::LeftButton);
  QVERIFY(Form->CaseInsensitiveCheckBox->isChecked());
  QVERIFY(Form->Grep1.IgnoreCase());
  QVERIFY(Form->AWKStr1.IgnoreCase());
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "a CAT", "a cat"}));
  QTest::mouseClick(Form->CaseInsensitiveCheckBox, Qt::LeftButton);
  QVERIFY(!Form->Grep1.IgnoreCase());
  QVERIFY(!Form->AWKStr1.IgnoreCase());
}

void TMainFormTest::hitLimitStopsTheSearch() {
  WriteDictionary(QStringLiteral("KOVA5A.TXT"), {"cat 1", "cat 2", "cat 3", "cat 4", "cat 5"});
  WriteDictionary(QStringLiteral("KOVA5B.TXT"), {"cat 6"});
  WriteDictionary(QStringLiteral("KOVA4.TXT"), {"cat 7"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Form->ClickMenuItem(Form->SubMenuDic6);
  Form->ClickMenuItem(Form->SubMenuView7);
  Form->SetHitLimit(3);
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat 1", "cat 2", "cat 3"}));
  QVERIFY(Form->Label2->text().endsWith(QStringLiteral("秒 3件ﾋｯﾄ")));
  QVERIFY(Messages.empty());
  // Limiting off: the limit is ignored.
  Form->ClickMenuItem(Form->SubMenuView7);
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines().size(), 9);
}

void TMainFormTest::cancelKeepsTheHitsSoFar() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"cat 1"});
  WriteDictionary(QStringLiteral("KOVA-BIL.TXT"), {"cat 2", "cat 3", "cat 4"});
  WriteDictionary(QStringLiteral("KOVA4.TXT"), {"cat 5"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Form->ClickMenuItem(Form->SubMenuDic2);
  Form->ClickMenuItem(Form->SubMenuDic6);
  Form->Grep1.OnMatch = [this](TGrep& sender, LineInfo_t lineInfo) {
    Form->Grep1Match(sender, std::move(lineInfo));
    if (Form->Driver().HitCount() == 2) QTest::mouseClick(Form->CancelBtn, Qt::LeftButton);
  };
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat 1", "-----KOVAﾊﾞｲﾘﾝｶﾞﾙ辞書-----", "cat 2"}));
  QVERIFY(Form->Label2->text().endsWith(QStringLiteral("秒 2件ﾋｯﾄ")));
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, QStringLiteral("中断しました."));
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);
  // The message comes after the controls are usable again.
  QVERIFY(Messages[0].SearchEnabled);
  QVERIFY(!Form->CancelBtn->isEnabled());
}

void TMainFormTest::malformedQueryChangesNothing() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"cat"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Search(QStringLiteral("cat"));
  const QString view = Form->RichEdit1->toPlainText();
  const QString status = Form->Label2->text();
  Search(QStringLiteral("ca(t"));
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, QStringLiteral("右(閉じ)括弧が必要です."));
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);
  QCOMPARE(Form->RichEdit1->toPlainText(), view);
  QCOMPARE(Form->Label2->text(), status);
  QCOMPARE(Form->ComboBox1->count(), 1);
  QVERIFY(Form->SearchBtn->isEnabled());
  QVERIFY(!Form->CancelBtn->isEnabled());
  QVERIFY(Form->ComboBox1->isEnabled());
  QVERIFY(Form->MenuDic->isEnabled());
  QVERIFY(Form->RichEdit1->isEnabled());
}

void TMainFormTest::queryWithoutShiftJisFormChangesNothing() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"cat"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Search(QStringLiteral("caf\u00e9"));
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);
  QCOMPARE(Form->ComboBox1->count(), 0);
  QVERIFY(Form->RichEdit1->toPlainText().isEmpty());
}

void TMainFormTest::enterInTheQueryBoxSearches() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"a cat"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Form->ComboBox1->setFocus();
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("cat"));
  Key(QApplication::focusWidget(), Qt::Key_Return);
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "a cat"}));
  QCOMPARE(Form->ComboBox1->count(), 1);
  QCOMPARE(Form->ComboBox1->currentText(), QStringLiteral("cat"));
  // The focus is back in the query box with the query selected: the next
  // word replaces it.
  QCOMPARE(QApplication::focusWidget(), Form->ComboBox1);
  QCOMPARE(Form->ComboBox1->lineEdit()->selectedText(), QStringLiteral("cat"));
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("dog"));
  QCOMPARE(Form->ComboBox1->currentText(), QStringLiteral("dog"));
}

void TMainFormTest::controlsDuringASearch() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"a cat"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  bool checked = false;
  Form->Grep1.OnMatch = [&](TGrep& sender, LineInfo_t lineInfo) {
    Form->Grep1Match(sender, std::move(lineInfo));
    checked = true;
    QVERIFY(!Form->SearchBtn->isEnabled());
    QVERIFY(Form->CancelBtn->isEnabled());
    QVERIFY(!Form->ComboBox1->isEnabled());
    QVERIFY(!Form->MenuDic->isEnabled());
    QVERIFY(!Form->MenuView->isEnabled());
    QVERIFY(!Form->RichEdit1->isEnabled());
    QVERIFY(Form->MenuEdit->isEnabled());
    QVERIFY(Form->MenuHelp->isEnabled());
    QVERIFY(Form->WordSearchCheckBox->isEnabled());
    QVERIFY(Form->FunctionPanel1->isEnabled());
    QCOMPARE(Form->Label2->text(), QStringLiteral("1件ﾋｯﾄ KOVA5.TXT"));
    // The case option waits for the end of the search.
    QTest::mouseClick(Form->CaseInsensitiveCheckBox, Qt::LeftButton);
    QVERIFY(!Form->Grep1.IgnoreCase());
    // A second search cannot start, Exit does nothing.
    Form->SearchBtnClick();
    Form->SubMenuDic8Click();
    QVERIFY(!QFile::exists(SettingsPath()));
  };
  Search(QStringLiteral("cat"));
  QVERIFY(checked);
  QCOMPARE(Form->ComboBox1->count(), 1);
  QVERIFY(Form->Grep1.IgnoreCase());
  QVERIFY(Form->AWKStr1.IgnoreCase());
}

void TMainFormTest::dictionaryToggledDuringASearch() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"cat 1"});
  WriteDictionary(QStringLiteral("KOVA略語.TXT"), {"cat 2"});
  WriteDictionary(QStringLiteral("KOVA4.TXT"), {"cat 3"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Form->ClickMenuItem(Form->SubMenuDic3);
  Form->Grep1.OnMatch = [this](TGrep& sender, LineInfo_t lineInfo) {
    Form->Grep1Match(sender, std::move(lineInfo));
    if (Form->Driver().HitCount() != 1) return;
    QTest::mouseClick(Form->FunctionPanel3, Qt::LeftButton, {}, QPoint(3, 3));
    Form->FunctionPanel6->Click();
  };
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat 1", "-----KOVA辞書第4版-----", "cat 3"}));
}

void TMainFormTest::twentyThousandHitsAreAllRendered() {
  std::string content;
  for (int i = 0; i < 20000; ++i) content += Sjis("見出し語 ") + std::to_string(i) + Sjis(" の cat 訳語です\r\n");
  WriteRaw(QStringLiteral("KOVA5.TXT"), content);
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Form->ClickMenuItem(Form->SubMenuMark1);
  Search(QStringLiteral("cat"));
  // Every hit is in the view, the last one with its keyword run in place
  // (the time it takes is measured by bench/window_bench, not here).
  QCOMPARE(Form->Driver().HitCount(), 20000);
  QCOMPARE(Form->RichEdit1->LineCount(), 20001);
  QCOMPARE(Runs(20000).at(1).Text, QStringLiteral("cat"));
}

// ---------------------------------------------------------------------------
// Keys, layout and commands

void TMainFormTest::pageAndArrowKeysScrollTheView() {
  std::vector<std::string> lines;
  for (int i = 0; i < 300; ++i) lines.push_back("cat " + std::to_string(i));
  WriteDictionary(QStringLiteral("KOVA5.TXT"), lines);
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Search(QStringLiteral("c"));
  Search(QStringLiteral("cat"));
  Form->ComboBox1->setCurrentIndex(0);
  QScrollBar* scroll = Form->RichEdit1->verticalScrollBar();
  QCOMPARE(scroll->value(), 0);
  Key(Form->ComboBox1, Qt::Key_PageDown);
  const int page = scroll->value();
  QVERIFY(page > 0);
  // Up and Down scroll the view and also reach the query box, which walks
  // its history.
  Key(Form->ComboBox1, Qt::Key_Down);
  QVERIFY(scroll->value() > page);
  QCOMPARE(Form->ComboBox1->currentText(), QStringLiteral("cat"));
  Key(Form->ComboBox1, Qt::Key_Up);
  QCOMPARE(scroll->value(), page);
  QCOMPARE(Form->ComboBox1->currentText(), QStringLiteral("c"));
  Key(Form->ComboBox1, Qt::Key_PageUp);
  QCOMPARE(scroll->value(), 0);
}

void TMainFormTest::keyPreviewIsOffInTheView() {
  WriteDictionary(QStringLiteral("KOVA略語.TXT"), {"x"});
  CreateForm();
  Key(Form->RichEdit1, Qt::Key_F3);
  QVERIFY(!Form->KeyPreview());
  QVERIFY(!Form->SubMenuDic3->isChecked());
  Key(Form->ComboBox1, Qt::Key_F3);
  QVERIFY(Form->KeyPreview());
  QVERIFY(Form->SubMenuDic3->isChecked());
}

void TMainFormTest::resizeBelowTheMinimumSnapsBack() {
  CreateForm();
  QCOMPARE(Form->MinimumClientWidth(), 345 + 63 + 5);
  Form->SetClientSize(600, 400);
  QCOMPARE(Form->ClientSize(), QSize(600, 400));
  Form->resize(200, 100);
  QTest::qWait(0);
  QVERIFY(Form->ClientSize().width() >= 413);
  QVERIFY(Form->ClientSize().height() >= 180);
  Form->SetClientSize(100, 50);
  QCOMPARE(Form->ClientSize(), QSize(413, 180));
  // The view fills the width and the height between query area and bar.
  Form->SetClientSize(500, 300);
  QTRY_COMPARE(Form->Panel1->size(), QSize(500, 300));
  const QRect view = Form->RichEdit1->geometry();
  QCOMPARE(view.width(), 500);
  QCOMPARE(view.top(), Form->Panel3->geometry().bottom() + 1);
  QCOMPARE(view.bottom() + 1, Form->Panel4->geometry().top());
  QCOMPARE(Form->Panel4->geometry().bottom() + 1, 300);
}

void TMainFormTest::copyAndCopyAll() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"猫 cat", "犬 dog cat"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Search(QStringLiteral("cat"));
  // "猫 cat" is six bytes.
  Form->RichEdit1->SetSelection(Form->RichEdit1->LineStart(1), 6);
  Form->SubMenuEdit1->trigger();
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("猫 cat"));
  Form->SubMenuEdit2->trigger();
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("-----KOVA辞書第5版-----\n猫 cat\n犬 dog cat\n"));
  QCOMPARE(Form->RichEdit1->CaretPosition(), Form->RichEdit1->LineStart(1));
  QVERIFY(!Form->RichEdit1->HasSelection());
  // The menu's keys come before the controls' own: Ctrl+A in the view and
  // in the query box copies everything instead of selecting.
  QGuiApplication::clipboard()->clear();
  Form->RichEdit1->setFocus();
  QTest::keyClick(Form->RichEdit1, Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("-----KOVA辞書第5版-----\n猫 cat\n犬 dog cat\n"));
  QVERIFY(!Form->RichEdit1->HasSelection());
  QGuiApplication::clipboard()->clear();
  Form->ComboBox1->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("-----KOVA辞書第5版-----\n猫 cat\n犬 dog cat\n"));
}

void TMainFormTest::normalFontKeepsKeywordColours() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"a cat"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Search(QStringLiteral("cat"));
  // Confirming the chooser as it opened keeps the stored face name.
  Form->FontChooser = [](QFont&, QColor&) { return true; };
  Form->SubMenuView3->trigger();
  QCOMPARE(Form->CurrentSettings().NormalFontFace, Sjis("ＭＳ ゴシック"));
  QFont offered;
  Form->FontChooser = [&offered](QFont& font, QColor& colour) {
    offered = font;
    font = QFont(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSize(20);
    colour = QColor(0, 0, 255);
    return true;
  };
  Form->SubMenuView3->trigger();
  // The chooser opens on the face the view draws "ＭＳ ゴシック" with.
  QCOMPARE(offered.family(), QFontInfo(QFont(QStringLiteral("ＭＳ ゴシック"))).family());
  if (QFontDatabase::hasFamily(QStringLiteral("IPAGothic"))) QCOMPARE(offered.family(), QStringLiteral("IPAGothic"));
  const std::vector<TRun> runs = Runs(1);
  QCOMPARE(runs.at(1).Text, QStringLiteral("cat"));
  QCOMPARE(runs.at(1).Format.foreground().color(), QColor(Qt::red));
  QCOMPARE(runs.at(1).Format.fontPointSize(), 20.0);
  QCOMPARE(runs.at(1).Format.fontFamilies().toStringList().value(0), QStringLiteral("ＭＳ Ｐゴシック"));
  QCOMPARE(runs.at(0).Format.foreground().color(), QColor(Qt::black));
  QCOMPARE(runs.at(0).Format.fontPointSize(), 20.0);
  QCOMPARE(Form->RichEdit1->CaretPosition(), 0);
  // New text takes the new normal format, colour included.
  Search(QStringLiteral("cat"));
  QCOMPARE(Runs(1).at(0).Format.foreground().color(), QColor(0, 0, 255));
  QCOMPARE(Runs(1).at(0).Format.fontPointSize(), 20.0);
  QCOMPARE(Form->CurrentSettings().NormalColour, 0xFF0000);
  QCOMPARE(Form->CurrentSettings().NormalFontFace, Sjis("ＭＳ Ｐゴシック"));
  QCOMPARE(Form->CurrentSettings().NormalFontSize, 20);
  // Cancelling changes nothing.
  Form->FontChooser = [](QFont&, QColor&) { return false; };
  Form->SubMenuView3->trigger();
  QCOMPARE(Form->CurrentSettings().NormalFontSize, 20);
}

void TMainFormTest::keywordFontAndBackground() {
  WriteDictionary(QStringLiteral("KOVA5.TXT"), {"a cat"});
  CreateForm();
  Form->ClickMenuItem(Form->SubMenuDic1);
  Search(QStringLiteral("cat"));
  QFont offeredFont;
  QColor offeredColour;
  Form->FontChooser = [&](QFont& font, QColor& colour) {
    offeredFont = font;
    offeredColour = colour;
    font.setBold(true);
    font.setUnderline(true);
    font.setPointSize(30);  // only style and colour are the keyword's own
    colour = QColor(0, 128, 0);
    return true;
  };
  Form->SubMenuView4->trigger();
  QVERIFY(!offeredFont.bold());
  QCOMPARE(offeredColour, QColor(Qt::red));
  const hits::TKeywordStyle style = Form->KeywordStyleValue();
  QVERIFY(style.Bold);
  QVERIFY(!style.Italic);
  QVERIFY(style.Underline);
  QCOMPARE(style.Colour, 0x008000);
  // Text already in the view keeps its look; the next search uses the new one.
  QCOMPARE(Runs(1).at(1).Format.foreground().color(), QColor(Qt::red));
  Search(QStringLiteral("cat"));
  const QTextCharFormat keyword = Runs(1).at(1).Format;
  QCOMPARE(keyword.foreground().color(), QColor(0, 128, 0));
  QCOMPARE(keyword.fontWeight(), int(QFont::Bold));
  QVERIFY(keyword.fontUnderline());
  QCOMPARE(keyword.fontPointSize(), Runs(1).at(0).Format.fontPointSize());

  Form->ColourChooser = [&offeredColour](QColor& colour) {
    offeredColour = colour;
    colour = QColor(255, 255, 0);
    return true;
  };
  Form->SubMenuView5->trigger();
  QCOMPARE(offeredColour, QColor(Qt::white));
  QCOMPARE(Form->RichEdit1->palette().color(QPalette::Base), QColor(255, 255, 0));
  QCOMPARE(Form->CurrentSettings().BackgroundColour, 0x00FFFF);

  // A keyword colour stored as a system colour that names a background
  // stays readable on the view's background; an explicit one is kept.
  for (const int system : {colours::kSystemWindow, colours::kSystemButtonFace, 20 /* button highlight */}) {
    Form->SetBackgroundColour(colours::SystemColour(system));
    Form->SetKeywordColour(colours::SystemColour(system));
    Search(QStringLiteral("cat"));
    const QColor background = Form->RichEdit1->palette().color(QPalette::Base);
    const QColor shown = Runs(1).at(1).Format.foreground().color();
    QVERIFY2(std::abs(shown.lightness() - background.lightness()) > 64, qPrintable(QString::number(system)));
  }
  Form->SetKeywordColour(0x00FF00);
  Search(QStringLiteral("cat"));
  QCOMPARE(Runs(1).at(1).Format.foreground().color(), QColor(0, 255, 0));
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

void TMainFormTest::limitToggleAndSetHitLimit() {
  CreateForm();
  TScriptedInputForm input;
  Form->SetDialogs(&input, nullptr);
  input.Answer = QStringLiteral("250");
  Form->SubMenuView8->trigger();
  QCOMPARE(input.Shown, QStringLiteral("100"));
  QCOMPARE(Form->HitLimitValue(), 250);
  QCOMPARE(Form->SubMenuView8->text(), QStringLiteral("検索件数の設定(&S): 250"));
  // Cancelled: nothing changes.
  input.Answer = QStringLiteral("7");
  input.CancelIt = true;
  Form->SubMenuView8->trigger();
  QCOMPARE(Form->HitLimitValue(), 250);
  // Not a number: the conversion error, the old limit stays.
  input.CancelIt = false;
  input.Answer = QString();
  Form->SubMenuView8->trigger();
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Text, QStringLiteral("'' は正しい整数値ではありません."));
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);
  input.Answer = QStringLiteral("1%");
  Form->SubMenuView8->trigger();
  QCOMPARE(Messages.size(), std::size_t{2});
  QCOMPARE(Form->HitLimitValue(), 250);
  QCOMPARE(Form->SubMenuView8->text(), QStringLiteral("検索件数の設定(&S): 250"));
  // Without a dialog the command does nothing.
  Form->SetDialogs(nullptr, nullptr);
  Form->SubMenuView8->trigger();
  Form->SubMenuEdit3->trigger();
  QCOMPARE(Messages.size(), std::size_t{2});
}

void TMainFormTest::versionBox() {
  CreateForm();
  Form->SubMenuHelp1->trigger();
  QCOMPARE(Messages.size(), std::size_t{1});
  QCOMPARE(Messages[0].Caption, QStringLiteral("KOVA Searcher Mini"));
  QCOMPARE(Messages[0].Icon, TMessageIcon::None);
  const QStringList lines = Messages[0].Text.split(QLatin1Char('\n'));
  QCOMPARE(lines.size(), 3);
  QCOMPARE(lines[0].trimmed(), QStringLiteral("KOVALEX Searcher Mini 1.10"));
  QVERIFY(lines[1].trimmed().isEmpty());
  QCOMPARE(lines[2].trimmed(), QStringLiteral("正規表現コンポーネント0.14"));
}

void TMainFormTest::helpWindowShowsTheHelpFile() {
  const QString help = Dir->filePath(QStringLiteral("kovah.hlp"));
  QFile file(help);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("<html><body><h1>KOVALEX ヘルプ</h1><p>使い方</p></body></html>");
  file.close();
  CreateForm();
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
  Form->SubMenuHelp2->trigger();
  QVERIFY(Form->HelpWindow() != nullptr);
  QVERIFY(Form->HelpWindow()->isVisible());
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
  QCOMPARE(Form->SubMenuView8->text(), QStringLiteral("検索件数の設定(&S): 100"));
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
  QVERIFY(Form->FunctionPanel1->Lowered());
  QCOMPARE(Form->SubMenuView8->text(), QStringLiteral("検索件数の設定(&S): 250"));
  QCOMPARE(Form->RichEdit1->palette().color(QPalette::Base), QColor(0xF0, 0xF0, 0xF0));
  QCOMPARE(Form->pos(), QPoint(30, 40));

  Form->ClickMenuItem(Form->SubMenuDic1);
  Form->ClickMenuItem(Form->SubMenuMark4);
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
    Form->ClickMenuItem(Form->SubMenuDic1);
    Form->Grep1.OnMatch = [&](TGrep& sender, LineInfo_t lineInfo) {
      Form->Grep1Match(sender, std::move(lineInfo));
      if (Form->Driver().HitCount() != 1) return;
      if (exit) {
        Form->SubMenuDic8->trigger();
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
  Form->ClickMenuItem(Form->SubMenuMark3);
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
  Form->ClickMenuItem(Form->SubMenuView1);
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
  QVERIFY(Form->SubMenuView1->isChecked());
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TMainFormTest::chosenDictionaryFolderIsUsedAndRemembered() {
  CreateForm();
  // Nothing in any place: the view says where the program looked.
  QCOMPARE(Form->DictionaryFolder(), std::string());
  QVERIFY(Lines().join(QString()).contains(Dir->filePath(QStringLiteral("data-dirs/kovalex/dictionaries"))));
  QVERIFY(!Form->SubMenuDic1->isEnabled());
  QDir().mkpath(Dir->filePath(QStringLiteral("mine")));
  WriteDictionary(QStringLiteral("mine/KOVA5.TXT"), {"cat"});
  Form->FolderChooser = [&](QString& folder) {
    folder = Dir->filePath(QStringLiteral("mine"));
    return true;
  };
  Form->ClickMenuItem(Form->SubMenuDicFolder);
  QVERIFY(Form->SubMenuDic1->isEnabled() && Form->FunctionPanel1->isEnabled());
  QVERIFY(Form->Label2->text().contains(QStringLiteral("mine")));
  Form->ClickMenuItem(Form->SubMenuDic1);
  Search(QStringLiteral("cat"));
  QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat"}));
  QVERIFY(Form->close());
  Form.reset();
  CreateForm();
  QCOMPARE(Form->DictionaryFolder(), QFile::encodeName(Dir->filePath(QStringLiteral("mine"))).toStdString());
  QVERIFY(Form->SubMenuDic1->isChecked());
}

QTEST_MAIN(TMainFormTest)
#include "mainform_test.moc"
