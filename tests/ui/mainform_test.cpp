// The main window against dictionary and settings files written into a
// temporary working directory: its definition, the wiring of dictionaries,
// search, keys, fonts and commands to the core, the settings through a real
// close and start, hostile dictionaries and queries.  What a search finds and
// how settings are read are the core's tests; here one case of each kind.
#include "ui/mainform.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFontDialog>
#include <QFontInfo>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/about.h"
#include "core/colours.h"
#include "core/live_search.h"
#include "core/profile.h"
#include "core/settings_table.h"
#include "kovalex_version.h"
#include "support/accessible_events.h"
#include "text/encoding.h"
#include "ui/closeonsignals.h"
#include "ui/fontdialog.h"
#include "ui/fontsubstitutes.h"
#include "ui/functionpanel.h"
#include "ui/helpwindow.h"
#include "ui/hitview.h"
#include "ui/inputform.h"
#include "ui/messagebox.h"

using encoding::Sjis;

namespace {

settings::TSettingsValues LoadFile(const QString& path) {
  settings::TSettingsValues values = settings::DefaultSettings();
  settings::LoadSettings(TProfile(QFile::encodeName(path).toStdString()), values);
  return values;
}

}  // namespace

class TMainFormTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    SubstituteJapaneseFontNames();  // as the program does at start
    Dir = std::make_unique<QTemporaryDir>();
    OldDir = QDir::currentPath();
    QVERIFY(Dir->isValid() && QDir::setCurrent(Dir->path()));
    // Only the test's dictionaries count, and the user's folders are its own.
    for (const auto& [name, folder] :
         {std::pair{"XDG_DATA_HOME", "data"}, {"XDG_DATA_DIRS", "data-dirs"}, {"XDG_CONFIG_HOME", "config"}})
      qputenv(name, Path(folder).c_str());
    qunsetenv("KOVALEX_SETTINGS");
    Messages.clear();
    SetMessageBoxHook([this](QWidget*, const QString& text, const QString& caption, TMessageIcon icon) {
      const bool ready = Form && Widget<QPushButton>("SearchBtn") && Widget<QPushButton>("SearchBtn")->isEnabled();
      Messages << (ready ? "" : "busy ") + (icon == TMessageIcon::Error  ? "error: " + text
                                            : icon == TMessageIcon::None ? caption + ": " + text
                                                                         : "?");
    });
  }

  void cleanup() {
    Form.reset();
    SetMessageBoxHook({});
    QDir::setCurrent(OldDir);
    chmod(Path("program").c_str(), 0755);  // so that the folder can be removed
    Dir.reset();
  }

  void definitionAndMenus() {
    CreateForm();
    QVERIFY(Form->CurrentSettings() == settings::DefaultSettings());  // without a settings file
    QCOMPARE(Form->windowTitle(), QStringLiteral("KOVALEX Searcher Mini " KOVALEX_VERSION));
    QVERIFY(Widget<QLabel>("Label1")->buddy() == Query() && Query()->isEditable() && Query()->maxVisibleItems() == 10);
    QStringList captions;
    for (const char* name : {"Label1", "WordSearchCheckBox", "SearchBtn", "CaseInsensitiveCheckBox", "CancelBtn"})
      captions << Widget<QWidget>(name)->property("text").toString();
    for (int number = 1; number <= catalogue::kDictionaryCount; ++number)
      captions << Form->DictionaryPanel(number)->property("text").toString();
    QStringList menus{captions.join('|')};
    for (const QWidget* menu : std::initializer_list<const QWidget*>{
             Form->menuBar(), Widget<QMenu>("MenuDic"), Widget<QMenu>("MenuEdit"), Widget<QMenu>("MenuView"),
             Widget<QMenu>("SubMenuView6"), Widget<QMenu>("MenuHelp")}) {
      QStringList items;
      for (const QAction* item : menu->actions())
        items << (item->isSeparator() ? QStringLiteral("-") : item->text() + item->shortcut().toString());
      menus << items.join('|');
    }
    QCOMPARE(menus, (QStringList{"検索する語(&K)|単語検索(&W)|検索開始(&S)|大・小文字の同一視(&I)|中断(&P)|第５版|"
                                 "ﾊﾞｲﾘﾝｶﾞﾙ|略語|固有名詞|専門|第４版",
                                 "辞書(&D)|編集(&E)|表示(&V)|ﾍﾙﾌﾟ(&H)",
                                 "第5版|ﾊﾞｲﾘﾝｶﾞﾙ|略語|固有名詞|専門|第4版|-|辞書フォルダの選択(&O)...|終了(&X)",
                                 "コピー(&C)Ctrl+C|すべてをコピー(&A)Ctrl+A|-|検索(&F)...Ctrl+F",
                                 "ﾀｸﾞの表示(&T)|ｷｰﾜｰﾄﾞのﾏｰｸ(&M)|-|検索件数の制限(&L)|検索件数の設定(&S): 100|-|"
                                 "通常のﾌｫﾝﾄ(&F)...|ｷｰﾜｰﾄﾞのﾌｫﾝﾄ(&K)...|背景色(&B)...|-|入力中に検索(&Y)|"
                                 "クリップボードを監視(&C)",
                                 "【 】|《 》|** **|// //|なし", "ｵﾝﾗｲﾝﾍﾙﾌﾟ(&H)...|-|ﾊﾞｰｼﾞｮﾝ情報(&A)"}));
    // The marks behave as a radio group; without settings "なし" is checked.
    QCOMPARE(Form->KeywordMark(), 5);
    Click("SubMenuMark2");
    QVERIFY(!Widget<QAction>("SubMenuMark5")->isChecked() && Form->KeywordMark() == 2);
    for (const bool limit : {true, false}) {
      Click("SubMenuView7");
      QCOMPARE(Form->LimitEnabled(), limit);
    }
    // The version, and the window's own help viewer, which closes with it.
    Widget<QAction>("SubMenuHelp1")->trigger();
    Widget<QAction>("SubMenuHelp2")->trigger();
    QCOMPARE(Messages, QStringList{"KOVA Searcher Mini: " + QString::fromStdU16String(about::AboutText())});
    // It closes with Escape and Ctrl+W too.
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
      QApplication::setActiveWindow(Form->HelpWindow());
      QVERIFY(QTest::qWaitForWindowActive(Form->HelpWindow()));
      QTest::keySequence(Form->HelpWindow(), keys);
      QVERIFY(!Form->HelpWindow()->isVisible());
      Widget<QAction>("SubMenuHelp2")->trigger();
    }
    QVERIFY(Form->HelpWindow()->isVisible() && Form->close() && !Form->HelpWindow()->isVisible());
  }

  void dictionaryToggles() {
    // Only found dictionaries are available; a panel click, its menu item and
    // its function key toggle check mark and bevel together, and the others
    // take nothing.  F4 does not open the query list.
    WriteDictionaries({{"KOVA略語.TXT", {"x"}}, {"KOVA固名.TXT", {"x"}}});
    CreateForm();
    Query()->addItem(QStringLiteral("earlier"));
    const std::function<void(int)> toggles[] = {
        [this](int n) { QTest::mouseClick(Form->DictionaryPanel(n), Qt::LeftButton, {}, QPoint(5, 5)); },
        [this](int n) { Form->ClickMenuItem(Form->DictionaryItem(n)); },
        [this](int n) { Form->DictionaryItem(n)->trigger(); },
        [this](int n) { Key(n % 2 ? Query() : Widget<QWidget>("WordSearchCheckBox"), Qt::Key(Qt::Key_F1 + n - 1)); }};
    for (std::size_t way = 0; way < std::size(toggles); ++way) {  // each way turns on, the next off
      for (int number = 1; number <= catalogue::kDictionaryCount; ++number) {
        toggles[way](number);
        const bool available = number == 3 || number == 4, on = available && way % 2 == 0;
        QVERIFY(Form->DictionaryItem(number)->isEnabled() == available &&
                Form->DictionaryPanel(number)->isEnabled() == available);
        QVERIFY(Form->DictionaryItem(number)->isChecked() == on && Form->DictionaryPanel(number)->Lowered() == on);
      }
    }
    QVERIFY(!Query()->view()->isVisible());
  }

  void searchShowsInTheControls() {
    WriteDictionaries(
        {{"KOVA5.TXT", {"a cat", "dog cat"}}, {"KOVA略語.TXT", {"cat 2"}}, {"KOVA4.TXT", {"cat 3", "cat 4"}}});
    CreateForm();
    for (const char* item : {"SubMenuDic1", "SubMenuDic3", "SubMenuView1", "SubMenuMark3", "SubMenuView7"}) Click(item);
    Form->SetHitLimit(3);
    Widget<QCheckBox>("WordSearchCheckBox")->setChecked(true);
    Form->Grep1.OnMatch = [&, match = Form->Grep1.OnMatch](TGrep& sender, LineInfo_t lineInfo) {
      match(sender, std::move(lineInfo));
      if (Form->Driver().HitCount() != 1) return;
      VerifyControls(true);
      QCOMPARE(Status(), QStringLiteral("1件ﾋｯﾄ KOVA5.TXT"));
      // Toggles and the case option count as the search reaches them; a
      // second search does nothing (Exit: see the closing test).
      QTest::mouseClick(Form->DictionaryPanel(3), Qt::LeftButton, {}, QPoint(3, 3));
      Form->DictionaryPanel(6)->Click();
      QTest::mouseClick(Widget<QCheckBox>("CaseInsensitiveCheckBox"), Qt::LeftButton);
      QVERIFY(!Form->Grep1.IgnoreCase());
      Form->SearchBtnClick();
    };
    Query()->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("cat"));
    Key(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "KOVA5.TXT(1): a** cat**", "KOVA5.TXT(2): dog** cat**",
                                   "-----KOVA辞書第4版-----", "KOVA4.TXT(1): **cat **3"}));
    QVERIFY(Messages.empty() && Form->Grep1.IgnoreCase() && Form->AWKStr1.IgnoreCase());
    VerifyFinishedWith(3, true);
    // The view has its caret at the start; the query is in the history once
    // and selected, so the next word replaces it.
    QVERIFY(Form->RichEdit1()->CaretPosition() == 0 && !Form->RichEdit1()->HasSelection());
    QVERIFY(Query()->count() == 1 && QApplication::focusWidget() == Query());
    // Typed in the result view, the word goes there too.
    Form->RichEdit1()->setFocus();
    QTest::keyClick(Form->RichEdit1(), 'd');
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("og"));
    QCOMPARE(Query()->currentText(), QStringLiteral("dog"));
  }

  void screenReadersFindTheControlsAndHearEachSearchOnce() {
    for (const char* name : {"KOVA5.TXT", "KOVA-BIL.TXT", "KOVA略語.TXT", "KOVA固名.TXT", "KOVSEN.TXT", "KOVA4.TXT"})
      WriteDictionaries({{name, {"cat 1", "cat 2", "cat 3"}}});
    CreateForm();
    TAccessibleEvents events;
    const struct {
      const char* Control;
      QAccessible::Role Role;
      QString Name;
    } rows[] = {
        {"ComboBox1", QAccessible::ComboBox, "検索する語"},  {"RichEdit1", QAccessible::EditableText, "検索結果"},
        {"Label2", QAccessible::StatusBar, Status()},        {"SearchBtn", QAccessible::Button, "検索開始(S)"},
        {"FunctionPanel1", QAccessible::CheckBox, "第５版"}, {"FunctionPanel2", QAccessible::CheckBox, "ﾊﾞｲﾘﾝｶﾞﾙ"},
        {"FunctionPanel3", QAccessible::CheckBox, "略語"},   {"FunctionPanel4", QAccessible::CheckBox, "固有名詞"},
        {"FunctionPanel5", QAccessible::CheckBox, "専門"},   {"FunctionPanel6", QAccessible::CheckBox, "第４版"}};
    for (const auto& row : rows) {
      const QAccessibleInterface* control = QAccessible::queryAccessibleInterface(Widget<QWidget>(row.Control));
      QVERIFY2(control->role() == row.Role && control->text(QAccessible::Name) == row.Name, row.Control);
    }
    // Tab goes on from the result view to each panel; Space toggles it as a
    // click does, and a screen reader's toggle too.
    Form->RichEdit1()->setFocus();
    for (int number = 1; number <= catalogue::kDictionaryCount; ++number) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      TFunctionPanel* panel = Form->DictionaryPanel(number);
      QCOMPARE(QApplication::focusWidget(), panel);
      QTest::keyClick(panel, Qt::Key_Space);
      QVERIFY(Form->DictionaryChecked(number) && QAccessible::queryAccessibleInterface(panel)->state().checked);
      QCOMPARE(events.Take(panel), QStringList{"checked 1"});
    }
    QAccessible::queryAccessibleInterface(Form->DictionaryPanel(2))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!Form->DictionaryChecked(2) && !Form->DictionaryPanel(2)->Lowered());
    // A search tells of its lines once, and of its status once, not at every hit.
    events.Take(Widget<QLabel>("Label2"));
    Search(QStringLiteral("cat"));
    QCOMPARE(events.Take(Form->RichEdit1()), QStringList{"inserted 0 " + Form->RichEdit1()->toPlainText()});
    QCOMPARE(events.Take(Widget<QLabel>("Label2")), QStringList{"name " + Status()});
  }

  void cancelAndErrorsAreShownAfterTheControlsAreBack() {
    // Every "cat" starts an attempt that runs to the end of the file (three
    // blocks): the window processes events meanwhile, so Cancel reaches it.
    std::string content = "cat 1\r\n";
    while (content.size() < 250000) content += "cat dog\r\n";
    WriteRaw("KOVA5.TXT", content);
    CreateForm();
    Click("SubMenuViewTyping");     // the Search command alone, as without search as you type
    Search(QStringLiteral("cat"));  // no dictionary chosen
    Click("SubMenuDic1");
    // The Cancel button and Escape (wherever the focus is) cancel alike.
    const std::function<void()> cancels[] = {
        [this] { QTest::mouseClick(Widget<QPushButton>("CancelBtn"), Qt::LeftButton); },
        [this] {
          QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : Form.get(), Qt::Key_Escape);
        }};
    const auto process = Form->Grep1.ProcessMessages;
    for (const auto& cancel : cancels) {
      int calls = 0;
      Form->Grep1.ProcessMessages = [&] {
        // The first call comes with the first block read, the second with the next one.
        if (++calls == 2) cancel();
        process();
      };
      Search(QStringLiteral("cat(.|\\n)*QQ"));
      QCOMPARE(Lines(), QStringList{"-----KOVA辞書第5版-----"});
      VerifyFinishedWith(0);
    }
    Form->Grep1.ProcessMessages = process;
    // Queries that are empty, cannot be compiled or have no Shift-JIS form
    // change nothing.
    Search(QStringLiteral("1"));
    const QString view = Form->RichEdit1()->toPlainText(), status = Status();
    for (const QString& query : {QString(), QStringLiteral("ca(t"), QString(5000, '(') + "w" + QString(5000, ')'),
                                 QStringLiteral("caf\u00e9"), QStringLiteral("cat") + QChar(0xD842)})
      Search(query);
    QCOMPARE(Messages,
             (QStringList{"KOVA Searcher: 辞書を指定してください", "error: 中断しました.", "error: 中断しました.",
                          "KOVA Searcher: キーワードが指定されていません", "error: 右(閉じ)括弧が必要です.",
                          "error: 正規表現が複雑すぎます。.", "error: 文字 U+00E9 はShift-JISで表せません.",
                          "error: 文字 U+D842 はShift-JISで表せません."}));
    QVERIFY(Form->RichEdit1()->toPlainText() == view && Status() == status && Query()->count() == 3);
    VerifyFinishedWith(1);
  }

  void dictionaryTurnedIntoAFifoIsReportedAndTheSearchGoesOn() {
    // A FIFO without a writer would hold the window in its open for ever.
    WriteDictionaries({{"KOVA5A.TXT", {"cat 1"}}, {"KOVA5B.TXT", {"cat 2"}}, {"KOVA5C.TXT", {"cat 3"}}});
    CreateFormOnTheFifthEdition();
    QVERIFY(std::filesystem::remove(Path("KOVA5B.TXT")) && mkfifo(Path("KOVA5B.TXT").c_str(), 0644) == 0);
    Search(QStringLiteral("cat"));
    QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat 1", "cat 3"}));
    QVERIFY2(Status().endsWith(QStringLiteral("秒 2件ﾋｯﾄ (読めないファイル 1)")), qPrintable(Status()));
    QCOMPARE(Messages, QStringList{"error: KOVA5B.TXT: 通常のファイルではありません."});
  }

  void keysScrollAndSearch() {
    // Page Up/Down and the arrows scroll the view from the query box and
    // leave the query as typed; Alt+Down opens the list; in the view the
    // keys are its own.
    std::vector<std::string> lines;
    for (int i = 0; i < 300; ++i) lines.push_back("cat " + std::to_string(i));
    WriteDictionaries({{"KOVA5.TXT", lines}, {"KOVA略語.TXT", {"x"}}});
    CreateFormOnTheFifthEdition();
    Click("SubMenuViewTyping");
    Search(QStringLiteral("c"));
    Search(QStringLiteral("cat"));
    Query()->setCurrentIndex(0);
    QScrollBar* scroll = Form->RichEdit1()->verticalScrollBar();
    Key(Query(), Qt::Key_PageDown);
    const int page = scroll->value();
    QVERIFY(page > 0);
    QCOMPARE(Query()->currentText(), QStringLiteral("c"));
    Key(Query(), Qt::Key_Down);
    QVERIFY(scroll->value() > page && Query()->currentText() == "c");
    Key(Query(), Qt::Key_Up);
    QVERIFY(scroll->value() == page && Query()->currentText() == "c");
    Key(Query(), Qt::Key_PageUp);
    QVERIFY(scroll->value() == 0 && Query()->currentText() == "c");
    QTest::keyClick(Query(), Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(Query()->view()->isVisible());
    Query()->hidePopup();
    Key(Form->RichEdit1(), Qt::Key_F3);
    QVERIFY(!Form->KeyPreview() && !Widget<QAction>("SubMenuDic3")->isChecked());
    Key(Query(), Qt::Key_F3);
    QVERIFY(Form->KeyPreview() && Widget<QAction>("SubMenuDic3")->isChecked());
  }

  void typingSearchesAfterAPause() {
    WriteDictionaries({{"KOVA5.TXT", {"cat", "Cat", "category", "dog"}}});
    CreateFormOnTheFifthEdition();
    QVERIFY(Form->SearchAsYouType() && !Form->WatchClipboard());
    QLineEdit* edit = Query()->lineEdit();
    Key(Query(), Qt::Key_C);
    QTest::keyClick(edit, Qt::Key_A);
    QVERIFY(Lines().isEmpty());  // not before the pause
    QTRY_COMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat", "category"}));
    QVERIFY(QApplication::focusWidget() == Query() && edit->cursorPosition() == 2 && !edit->hasSelectedText());
    // A half-typed pattern says so in the status line; an emptied box clears.
    QTest::keyClicks(edit, QStringLiteral("(ze"));
    QTRY_VERIFY(Status().contains(QStringLiteral(" (位置 ")));
    QCOMPARE(Lines().size(), 3);
    edit->clear();
    QTRY_VERIFY(Lines().isEmpty() && Status().isEmpty());
    // A keystroke during a search ends it quietly; the new text is searched.
    int typedDuringSearch = 0;
    Form->Grep1.OnMatch = [&, match = Form->Grep1.OnMatch](TGrep& sender, LineInfo_t lineInfo) {
      match(sender, std::move(lineInfo));
      if (edit->text() == "c" && typedDuringSearch++ == 0) QTest::keyClicks(edit, QStringLiteral("ate"));
    };
    QTest::keyClick(edit, Qt::Key_C);
    QTRY_COMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "category"}));
    // Options re-run the search; only the Search command adds to the history.
    edit->setText(QStringLiteral("cat"));
    Widget<QCheckBox>("WordSearchCheckBox")->click();
    QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat"}));
    QVERIFY(typedDuringSearch == 1 && Query()->count() == 0 && Messages.empty());
    Key(Query(), Qt::Key_Return);
    QVERIFY(Query()->count() == 1 && Messages.empty());
    // The drop-down's items never change what is typed, case included.
    Key(Query(), Qt::Key_Backspace);
    QTest::keyClicks(edit, QStringLiteral("Cat"));
    Key(Query(), Qt::Key_Return);
    QVERIFY(Query()->currentText() == "Cat" && Lines() == (QStringList{"-----KOVA辞書第5版-----", "Cat"}));
    // Off, typing searches nothing and the command keeps its message boxes.
    Click("SubMenuViewTyping");
    edit->setText(QStringLiteral("(ze"));
    QTest::qWait(3 * live_search::kPauseMilliseconds);
    QVERIFY(Lines() == (QStringList{"-----KOVA辞書第5版-----", "Cat"}) && Messages.empty());
    Key(Query(), Qt::Key_Return);
    QVERIFY(Messages.size() == 1 && Messages.front().startsWith("error: "));
  }

  void firstStartSelectsEveryDictionaryInTheMiddle() {
    WriteDictionaries({{"KOVA5.TXT", {"cat"}}, {"KOVA4.TXT", {"cat"}}});
    CreateForm({}, true);
    QVERIFY(Form->DictionaryChecked(1) && Form->DictionaryChecked(6) && !Form->DictionaryChecked(2));
    QCOMPARE(Form->ClientSize(), QSize(TMainForm::kDefinedWidth, TMainForm::kDefinedHeight));
    // Centred as the window itself is; its frame is the window system's.
    const QRect area = Form->screen()->availableGeometry(), frame = Form->frameGeometry();
    QVERIFY(qAbs(Form->geometry().center().x() - area.center().x()) <= frame.width() - Form->width() + 1);
    QVERIFY(qAbs(Form->geometry().center().y() - area.center().y()) <= frame.height() - Form->height() + 1);
    // An empty settings file is no first start.
    QVERIFY(Form->close());
    WriteRaw("kovalex.ini", "");
    CreateForm({}, true);
    QVERIFY(!Form->DictionaryChecked(1) &&
            Form->ClientSize() != QSize(TMainForm::kDefinedWidth, TMainForm::kDefinedHeight));
  }

  void copyAndCopyAll() {
    WriteDictionaries({{"KOVA5.TXT", {"猫 cat", "犬 dog cat"}}});
    CreateFormOnTheFifthEdition();
    Search(QStringLiteral("cat"));
    const QString all = QStringLiteral("-----KOVA辞書第5版-----\n猫 cat\n犬 dog cat\n");
    Form->RichEdit1()->SetSelection(Form->RichEdit1()->LineStart(1), 6);  // "猫 cat" is six bytes
    Widget<QAction>("SubMenuEdit1")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("猫 cat"));
    Widget<QAction>("SubMenuEdit2")->trigger();
    QVERIFY(QGuiApplication::clipboard()->text() == all && !Form->RichEdit1()->HasSelection());
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/plain;charset=utf-8")), all.toUtf8());
    // The menu's keys come before the controls' own: Ctrl+A in the view and
    // in the query box copies everything instead of selecting.
    for (QWidget* control : {static_cast<QWidget*>(Form->RichEdit1()), static_cast<QWidget*>(Query())}) {
      QGuiApplication::clipboard()->clear();
      control->setFocus();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
      QVERIFY(QGuiApplication::clipboard()->text() == all && !Form->RichEdit1()->HasSelection());
    }
  }

  void fontsAndBackground() {
    // 0x85 0x40 has no character in the code page; 0xB1 is a half-width katakana.
    WriteRaw("KOVA5.TXT", "a\x85\x40\xB1 " + Sjis("日本語の猫辞書 dictionary") + "\x85\x41z\r\n");
    CreateFormOnTheFifthEdition();
    Click("SubMenuMark1");
    // Confirming the chooser as it opened keeps the stored face name; it opens
    // on the face the view draws "ＭＳ ゴシック" with.
    QFont offered;
    QColor offeredColour;
    Form->FontChooser = [&offered](QFont& font, QColor&) { return offered = font, true; };
    Widget<QAction>("SubMenuView3")->trigger();
    QCOMPARE(Form->CurrentSettings().NormalFontFace, Sjis("ＭＳ ゴシック"));
    QCOMPARE(offered.family(), QFontInfo(QFont(QStringLiteral("ＭＳ ゴシック"))).family());
    // The normal font's chooser sets face, size and colour; the keyword's
    // offers its style and colour, and only they are kept; the background's
    // offers the colour.
    Form->FontChooser = [](QFont& font, QColor& colour) {
      return font = QFont(QStringLiteral("ＭＳ Ｐゴシック"), 20), colour = QColor(0, 0, 255), true;
    };
    Widget<QAction>("SubMenuView3")->trigger();
    Form->FontChooser = [&](QFont& font, QColor& colour) {
      offered = std::exchange(font, QFont(font.family(), 30, QFont::Bold));
      font.setUnderline(true);
      return offeredColour = std::exchange(colour, QColor(0, 128, 0)), true;
    };
    Widget<QAction>("SubMenuView4")->trigger();
    QVERIFY(!offered.bold() && offeredColour == QColor(Qt::red));
    Form->ColourChooser = [&](QColor& colour) { return offeredColour = std::exchange(colour, Qt::yellow), true; };
    Widget<QAction>("SubMenuView5")->trigger();
    QCOMPARE(offeredColour, QColor(Qt::white));
    const settings::TSettingsValues chosen = Form->CurrentSettings();
    QVERIFY(chosen.NormalColour == 0xFF0000 && chosen.NormalFontSize == 20 && chosen.BackgroundColour == 0x00FFFF);
    // The text takes the looks: the keyword the normal font's face and size,
    // the marks and the rest of the line the normal font.
    Search(QStringLiteral("辞書 dic"));
    const QString text = Form->RichEdit1()->LineText(1);
    QStringList runs;
    for (const auto& [start, length, f] : Form->RichEdit1()->LineFormats(1)) {
      runs << text.mid(start, length) + " " + f.foreground().color().name() + " " + f.fontFamilies().toStringList()[0] +
                  QString::number(f.fontPointSize()) + (f.fontWeight() == QFont::Bold ? " bold" : "") +
                  (f.fontUnderline() ? " underline" : "");
    }
    QCOMPARE(runs, (QStringList{"a\uFFFDｱ 日本語の猫【 #0000ff ＭＳ Ｐゴシック20",
                                "辞書 dic #008000 ＭＳ Ｐゴシック20 bold underline",
                                "】tionary\uFFFDz #0000ff ＭＳ Ｐゴシック20"}));
    QCOMPARE(Form->RichEdit1()->palette().color(QPalette::Base), QColor(255, 255, 0));
    // A keyword colour stored as a system colour that names a background
    // stays readable on the view's background.
    for (const int system : {colours::kSystemWindow, colours::kSystemButtonFace, 20 /* button highlight */}) {
      Form->SetBackgroundColour(colours::SystemColour(system));
      Form->SetKeywordColour(colours::SystemColour(system));
      Search(QStringLiteral("辞書 dic"));
      const QColor background = Form->RichEdit1()->palette().color(QPalette::Base);
      const QColor shown = Form->RichEdit1()->LineFormats(1).at(1).format.foreground().color();
      QVERIFY2(std::abs(shown.lightness() - background.lightness()) > 64, qPrintable(QString::number(system)));
    }
  }

  void fontChoosersCloseWithEnterAndSizesStayInTheirRange() {
    // A stored size beyond what the chooser accepts is brought into its
    // range.  Enter in either chooser closes it as OK, wherever the focus
    // is when it opens, and never opens the colour window.
    WriteRaw("kovalex.ini", Sjis("[表示]\r\n通常のフォントサイズ=5000\r\n"));
    CreateForm();
    QCOMPARE(Form->NormalFontSize(), settings::kFontSizeRange[1]);
    const QString sizes =
        QStringLiteral("sizes %1..%2").arg(settings::kFontSizeRange[0]).arg(settings::kFontSizeRange[1]);
    for (const char* command : {"SubMenuView3", "SubMenuView4"}) {
      for (const int focus : {0, 1, 2}) {  // as opened, on the colour button, in the size box
        QStringList seen;
        WhenModal<TFontColourDialog>([&](TFontColourDialog* chooser) {
          QWidget* focused[] = {nullptr, chooser->findChild<QPushButton*>(QString(), Qt::FindDirectChildrenOnly),
                                nullptr};
          for (QLineEdit* edit : chooser->FontDialog()->findChildren<QLineEdit*>()) {
            if (const auto* range = qobject_cast<const QIntValidator*>(edit->validator()))
              seen << QStringLiteral("sizes %1..%2").arg(range->bottom()).arg(range->top()), focused[2] = edit;
          }
          // The keyword's chooser offers no face and size, which it would ignore.
          seen << (chooser->FontDialog()->isVisibleTo(chooser) ? QStringLiteral("face") : QStringLiteral("no face"));
          QObject::connect(chooser, &QDialog::accepted, [&] { seen << QStringLiteral("OK"); });
          WhenModal<QColorDialog>(
              [&](QColorDialog* colours) { seen << QStringLiteral("colour window"), colours->reject(); });
          QApplication::setActiveWindow(chooser);
          if (QTest::qWaitForWindowActive(chooser)) {
            if (focused[focus] != nullptr) focused[focus]->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
          }
          if (QApplication::activeModalWidget() == chooser) chooser->reject();
        });
        Widget<QAction>(command)->trigger();
        const QString face = command == std::string_view("SubMenuView3") ? "face" : "no face";
        QVERIFY2(seen == (QStringList{sizes, face, QStringLiteral("OK")}),
                 qPrintable(QStringLiteral("%1, focus %2: ").arg(command).arg(focus) + seen.join(", ")));
      }
    }
  }

  void setHitLimit() {
    // The dialog opens on the limit, selected: a number typed over it sets
    // the limit, Escape keeps it, an empty field is refused with a message.
    CreateForm();
    TInputForm input(Form.get());
    Form->SetDialogs(&input, nullptr);
    QStringList shown;
    for (const auto& [typed, key] : {std::pair{"250", Qt::Key_Return}, {"7", Qt::Key_Escape}, {"", Qt::Key_Return}}) {
      QTimer::singleShot(0, [&, typed = typed, key = key] {
        shown << input.MaskEdit1()->selectedText();
        QTest::keyClick(input.MaskEdit1(), Qt::Key_Delete);
        QTest::keyClicks(input.MaskEdit1(), typed);
        QTest::keyClick(input.MaskEdit1(), key);
      });
      Widget<QAction>("SubMenuView8")->trigger();
      QVERIFY(Form->HitLimitValue() == 250 && Widget<QAction>("SubMenuView8")->text() == "検索件数の設定(&S): 250");
    }
    QCOMPARE(shown, (QStringList{"100", "250", "250"}));
    QCOMPARE(Messages, QStringList{"error: '' は正しい整数値ではありません."});
  }

  void settingsRoundTrip() {
    // A read-only file beside the program, in a folder without any write
    // permission (read-only for the superuser too), gives a new user's starting
    // values.  The window shows them, gathers them back, and at its close
    // writes all (unknown keys too) to the user's folder.
    WriteDictionaries({{"KOVA5.TXT", {"x"}}, {"KOVA略語.TXT", {"x"}}});
    QVERIFY(QDir().mkpath(Dir->filePath("program")));
    const std::string defaults = Sjis(
        "[辞書]\r\nKOVA辞書第5版=1\r\nKOVA略語辞書=1\r\nKOVA辞書第4版=1\r\n[表示]\r\nタグの表示=1\r\n"
        "キーワードのマーク=2\r\n検索件数の制限=1\r\n検索件数=250\r\n通常のフォント名=ＭＳ Ｐゴシック\r\n"
        "通常のフォントサイズ=14\r\n通常のフォント色=8421376\r\nキーワードのフォントスタイル イタリック=1\r\n"
        "キーワードのフォント色=65280\r\n背景色=15790320\r\n[フォーム位置]\r\nトップ=40\r\nレフト=30\r\n幅=600\r\n"
        "高さ=300\r\n[ほか]\r\n未知=残す\r\n");
    WriteRaw("program/kovalex.ini", defaults);
    QVERIFY(chmod(Path("program/kovalex.ini").c_str(), 0444) == 0 && chmod(Path("program").c_str(), 0555) == 0);
    settings::TSettingsValues expected = LoadFile(Dir->filePath("program/kovalex.ini"));
    expected.Dictionaries[5] = false;  // its files are gone
    CreateForm(Dir->filePath("program/kovalex"));
    QVERIFY(Messages.empty() && Form->CurrentSettings() == expected && Form->DictionaryPanel(1)->Lowered());
    QCOMPARE(Widget<QAction>("SubMenuView8")->text(), QStringLiteral("検索件数の設定(&S): 250"));
    QCOMPARE(Form->RichEdit1()->palette().color(QPalette::Base), QColor(0xF0, 0xF0, 0xF0));
    QCOMPARE(Form->pos(), QPoint(30, 40));
    Click("SubMenuDic1");
    Click("SubMenuMark4");
    Form->SetClientSize(500, 250);
    Form->move(10, 20);
    expected = Form->CurrentSettings();
    QVERIFY(expected.Width == 500 && Form->close() && Messages.empty());
    const QString saved = Dir->filePath("config/kovalex/kovalex.ini");
    QVERIFY(LoadFile(saved) == expected);
    const TProfile profile(QFile::encodeName(saved).toStdString());
    QCOMPARE(profile.ReadString(Sjis("ほか"), Sjis("未知")), Sjis("残す"));
    QCOMPARE(settings::RememberedDictionaryFolder(profile), std::string());  // only once one is chosen
    Form.reset();
    CreateForm(Dir->filePath("program/kovalex"));
    QVERIFY(Form->CurrentSettings() == expected);
  }

  void badColourOrFailedSaveIsShownAndTheWindowGoesOn() {
    // A bad colour stops the loading there (keys before it count, the rest
    // keep their defaults), and the close leaves the keys it never read as
    // the file has them; a save that fails is said at the close.
    WriteRaw(
        "kovalex.ini",
        Sjis("[表示]\r\n検索件数=50\r\n通常のフォント色=red\r\nキーワードのフォントスタイル ボールド=1\r\n"
             "キーワードのフォント色=65280\r\n背景色=12345\r\n[フォーム位置]\r\nトップ=40\r\nレフト=30\r\n幅=600\r\n"
             "高さ=300\r\n"));
    CreateForm();
    QCOMPARE(Messages, QStringList{"error: 'red' は正しい整数値ではありません."});
    QVERIFY(Form->HitLimitValue() == 50 && Form->ResultView().BackgroundColour() == 16777215);
    QCOMPARE(Form->pos(), QPoint(TMainForm::kDefinedLeft, TMainForm::kDefinedTop));
    QVERIFY(Form->close());
    const TProfile saved(Path("kovalex.ini"));
    QStringList kept;
    for (const auto& [section, key] :
         {std::pair{"表示", "通常のフォント色"}, {"表示", "背景色"}, {"フォーム位置", "幅"}})
      kept << QString::fromStdString(saved.ReadString(Sjis(section), Sjis(key)).value_or("?"));
    QCOMPARE(kept, (QStringList{"red", "12345", "600"}));
    CreateForm();
    Form->SetSettingsPath(Path("missing/dir/kovalex.ini"));
    QVERIFY(Form->close() && Messages.size() == 3);
    QVERIFY(Messages[2].startsWith("error: ") && Messages[2].contains("kovalex.ini に書き込めません"));
  }

  void resizeLaysOutTheParts() {
    // The arithmetic is the core's; here that a resize reaches it.
    CreateForm();
    Form->SetClientSize(100, 50);
    QCOMPARE(Form->ClientSize(), QSize(Form->MinimumClientWidth(), TMainForm::kMinimumClientHeight));
    Form->SetClientSize(500, 300);
    QTRY_COMPARE(Widget<QWidget>("Panel4")->geometry(), QRect(0, 276, 500, 24));
    QCOMPARE(Form->RichEdit1()->geometry(), QRect(0, 90, 500, 186));
  }

  void closingOrExitDuringASearchOrBySignals() {
    // Closing during a search ends it first (quietly) and then closes and
    // saves; Exit during a search does nothing.
    WriteDictionaries({{"KOVA5.TXT", {"cat 1", "cat 2", "cat 3"}}});
    for (const bool exit : {false, true}) {
      QFile::remove(SettingsPath());
      CreateFormOnTheFifthEdition();
      Form->Grep1.OnMatch = [&, match = Form->Grep1.OnMatch](TGrep& sender, LineInfo_t lineInfo) {
        match(sender, std::move(lineInfo));
        if (Form->Driver().HitCount() != 1) return;
        if (exit) Widget<QAction>("SubMenuDic8")->trigger();
        if (!exit) QVERIFY(!Form->close());  // refused for now
        QVERIFY(Form->isVisible() && !QFile::exists(SettingsPath()));
      };
      Search(QStringLiteral("cat"));
      QVERIFY(Form->Driver().HitCount() == (exit ? 3 : 1) && Messages.empty());
      QVERIFY(Form->isVisible() == exit && QFile::exists(SettingsPath()) == !exit);
    }
    // A signal closes the window as its close box does, a modal dialog open or not.
    for (const auto& [signal, dialogOpen] : {std::pair{SIGTERM, false}, {SIGHUP, true}, {SIGINT, false}}) {
      QFile::remove(SettingsPath());
      CreateForm();
      new TCloseOnSignals(Form.get());
      Click("SubMenuMark3");
      QDialog dialog(Form.get());
      QTimer::singleShot(0, [signal = signal] { raise(signal); });
      if (dialogOpen) QCOMPARE(dialog.exec(), int(QDialog::Rejected));
      QTRY_VERIFY(!Form->isVisible());
      QVERIFY(Messages.empty() && LoadFile(SettingsPath()).KeywordMark == 3);
    }
    // Before any event loop has run (a huge settings file loading), a signal
    // ends the program at once.
    if (const pid_t child = fork(); child == 0) {
      new TCloseOnSignals(Form.get());
      raise(SIGTERM);
      _exit(0);
    } else {
      int status = 0;
      QVERIFY(waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    }
  }

  void chosenDictionaryFolderIsUsedAndRemembered() {
    // Nothing in any place: the view says where the program looked.
    CreateForm();
    QVERIFY(Lines().join(QString()).contains(Dir->filePath("data-dirs/kovalex/dictionaries")));
    // A folder named in Shift-JIS, which the chooser can only show with
    // replacement characters, is found all the same, and kept as its bytes
    // when the chooser is confirmed on it again.
    const std::string mine = QFile::encodeName(Dir->path()).toStdString() + "/" + Sjis("辞書");
    QVERIFY(mkdir(mine.c_str(), 0755) == 0);
    std::ofstream(mine + "/KOVA5.TXT") << "cat\r\n";
    const QString shown = QFile::decodeName(QByteArray::fromStdString(mine));
    QVERIFY(QFile::encodeName(shown).toStdString() != mine);
    for (const bool again : {false, true}) {
      QString offered;
      Form->FolderChooser = [&](QString& folder) { return offered = std::exchange(folder, shown), true; };
      Click("SubMenuDicFolder");
      QVERIFY(Form->DictionaryFolder() == mine && Form->DictionaryPanel(1)->isEnabled());
      QVERIFY(!again || offered == shown);
    }
    Click("SubMenuDic1");
    Search(QStringLiteral("cat"));
    QCOMPARE(Lines(), (QStringList{"-----KOVA辞書第5版-----", "cat"}));
    QVERIFY(Form->close());
    CreateForm();
    QVERIFY(Form->DictionaryFolder() == mine && Widget<QAction>("SubMenuDic1")->isChecked());
  }

 private:
  QString SettingsPath() const { return Dir->filePath("kovalex.ini"); }
  std::string Path(const char* name) const { return QFile::encodeName(Dir->filePath(name)).toStdString(); }

  void WriteRaw(const char* name, const std::string& bytes) {
    QFile file(Dir->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()));
  }

  // Dictionary files of the given lines (UTF-8, stored as Shift-JIS).
  void WriteDictionaries(const std::vector<std::pair<const char*, std::vector<std::string>>>& files) {
    for (const auto& [name, utf8Lines] : files) {
      std::string content;
      for (const std::string& line : utf8Lines) content += Sjis(line) + "\r\n";
      WriteRaw(name, content);
    }
  }

  // With a program path the settings' place is chosen for that program;
  // without, the settings file is kovalex.ini in the working directory.  A
  // missing file starts the window as a first start does only when asked;
  // otherwise an empty file stands in for it while the window is created.
  void CreateForm(const QString& programPath = {}, bool firstStart = false) {
    Form.reset();
    Form = std::make_unique<TMainForm>();
    if (programPath.isEmpty()) Form->SetSettingsPath(QFile::encodeName(SettingsPath()).toStdString());
    if (!programPath.isEmpty()) Form->SetProgramPath(QFile::encodeName(programPath).toStdString());
    const bool standIn = !firstStart && programPath.isEmpty() && !QFile::exists(SettingsPath());
    if (standIn) WriteRaw("kovalex.ini", "");
    Form->FormCreate();
    if (standIn) QFile::remove(SettingsPath());
    Form->show();
    QApplication::setActiveWindow(Form.get());
    QVERIFY(QTest::qWaitForWindowActive(Form.get()));
  }

  void CreateFormOnTheFifthEdition() {
    CreateForm();
    Click("SubMenuDic1");
  }

  // Runs act on the modal window of type T once it is open (at most for a
  // few seconds, so that a window that never opens cannot hang the test).
  template <typename T>
  static void WhenModal(std::function<void(T*)> act, int tries = 300) {
    QTimer::singleShot(10, [act = std::move(act), tries] {
      if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
        act(window);
      } else if (tries > 0) {
        WhenModal<T>(act, tries - 1);
      }
    });
  }

  // Keys reach the focused control, as the window system delivers them.
  void Key(QWidget* focus, Qt::Key key) {
    focus->setFocus();
    QCOMPARE(QApplication::focusWidget(), focus);
    QTest::keyClick(focus, key);
  }

  void Search(const QString& query) { Query()->setEditText(query), Form->SearchBtnClick(); }

  QStringList Lines() const { return Form->RichEdit1()->toPlainText().split('\n', Qt::SkipEmptyParts); }

  // During a search only Cancel, the edit and help menus, the options and
  // the dictionary toggles are usable; afterwards all but Cancel.
  void VerifyControls(bool searching) {
    QVERIFY(Widget<QPushButton>("SearchBtn")->isEnabled() != searching && Query()->isEnabled() != searching);
    QVERIFY(Widget<QPushButton>("CancelBtn")->isEnabled() == searching && Form->RichEdit1()->isEnabled() != searching);
    QVERIFY(Widget<QMenu>("MenuDic")->isEnabled() != searching && Widget<QMenu>("MenuView")->isEnabled() != searching);
    QVERIFY(Widget<QMenu>("MenuEdit")->isEnabled() && Widget<QMenu>("MenuHelp")->isEnabled());
    QVERIFY(Widget<QCheckBox>("WordSearchCheckBox")->isEnabled() && Form->DictionaryPanel(1)->isEnabled());
  }

  // The status line ends with the hit count of a finished search.
  void VerifyFinishedWith(int hits, bool limited = false) {
    const QString end = QStringLiteral("秒 %1件ﾋｯﾄ").arg(hits) + (limited ? QStringLiteral("（上限）") : QString());
    QVERIFY2(Status().startsWith("終了:") && Status().endsWith(end), qPrintable(Status()));
    VerifyControls(false);
  }

  // A control or menu item of the window, found by the name the window gives it.
  template <typename T>
  T* Widget(const char* name) const {
    return Form->findChild<T*>(name);
  }
  QComboBox* Query() const { return Widget<QComboBox>("ComboBox1"); }
  QString Status() const { return Widget<QLabel>("Label2")->text(); }
  void Click(const char* item) { Form->ClickMenuItem(Widget<QAction>(item)); }

  std::unique_ptr<QTemporaryDir> Dir;
  QString OldDir;
  std::unique_ptr<TMainForm> Form;
  // Each message as "error: text" or, without an icon, "caption: text"; with
  // "busy " first if the Search button was not usable when it was shown.
  QStringList Messages;
};

QTEST_MAIN(TMainFormTest)
#include "mainform_test.moc"
