// The find dialog over a real result view: its definition, a find through its
// controls (the finds themselves are the core's table), its messages and
// showings, and a view of a hundred thousand lines (drawing, keys, mouse, find).
#include "ui/findform.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>
#include <memory>

#include "regexp/regexp.h"
#include "text/encoding.h"
#include "ui/hitview.h"
#include "ui/messagebox.h"

class TFindFormTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    MainForm = std::make_unique<QWidget>();
    MainForm->setGeometry(100, 200, 601, 400);
    View = new THitView(MainForm.get());
    Form = new TFindForm(MainForm.get(), View, AWKStr1);
    Messages.clear();
    SetMessageBoxHook([this](QWidget* parent, const QString& text, const QString& caption, TMessageIcon icon) {
      QCOMPARE(parent, Form);
      // An error is marked so; other messages show no icon, under the program's name.
      Messages << (icon == TMessageIcon::Error  ? "error: " + text
                   : icon == TMessageIcon::None ? caption + ": " + text
                                                : "?");
    });
  }

  void cleanup() {
    SetMessageBoxHook({});
    MainForm.reset();  // owns the dialog and the view
  }

  void windowDefinition() {
    QCOMPARE(Form->windowTitle(), QStringLiteral("検索"));
    QVERIFY(Form->minimumSize() == QSize(444, 97) && Form->maximumSize() == QSize(444, 97));
    // left = 100 + 601 / 2 - 444 / 2 (halves truncated), top = 200 + 20.
    QCOMPARE(Form->pos(), QPoint(100 + 300 - 222, 220));
    // A main window narrower than the dialog at the screen's edge: the
    // dialog still lies inside the screen's available area.
    const QRect area = MainForm->screen()->availableGeometry();
    MainForm->setGeometry(area.left(), area.top(), 200, 150);
    Form->PlaceBesideMainForm();
    QVERIFY(area.contains(Form->frameGeometry()));
    QCOMPARE(Form->y(), MainForm->frameGeometry().top() + 20);
    QVERIFY(!Form->isVisible() && !Form->isModal() && Form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(Edit()->maxLength() == 255 && Button("FindNextButton")->isDefault());
    QStringList captions;
    for (const QAbstractButton* button : Form->findChildren<QAbstractButton*>()) {
      // No check box caption is cut off; only the cursor button starts checked.
      QVERIFY2(qobject_cast<const QPushButton*>(button) || button->width() >= button->sizeHint().width(),
               qPrintable(button->text()));
      captions << button->objectName() + "=" + button->text() + (button->isChecked() ? "*" : "");
    }
    captions.sort();
    QCOMPARE(captions.join('|'),
             QStringLiteral("CaseInsensitiveCheckBox=大･小文字の同一視(&I)|CloseButton=閉じる|"
                            "FindCursorRadioButton=カーソル位置から(&C)*|FindNextButton=次を検索(&F)|"
                            "FindTopRadioButton=先頭から(&T)|FindWordCheckBox=単語検索(&W)"));
  }

  void findThroughTheControls() {
    // Whole words with case ignored, from the top though the caret is at the
    // end: "word-like" is no word, "WORD" is one; the delimiters are not
    // selected.  Enter in the text is the default button.
    for (const char* line : {"xAbC word", "a word-like", "the WORD."}) View->AppendLine(line);
    CheckBox("FindWordCheckBox")->setChecked(true);
    CheckBox("CaseInsensitiveCheckBox")->setChecked(true);
    Radio("FindTopRadioButton")->setChecked(true);
    Form->show();
    Select(View->LineStart(2) + 9);
    Edit()->setText(QStringLiteral("word"));
    QTest::keyClick(Edit(), Qt::Key_Return);
    QCOMPARE(Selection(), std::make_pair(std::int64_t{5}, QStringLiteral("word")));
    FindNext();
    QCOMPARE(Selection(), std::make_pair(View->LineStart(2) + 4, QStringLiteral("WORD")));
    QVERIFY(Messages.isEmpty() && View->CaretPosition() == View->LineStart(2) + 8);
    FindNext();
    QCOMPARE(Messages, QStringList{"KOVALEX Searcher:      見つかりません     "});
    QVERIFY(Selection() == std::make_pair(View->LineStart(2) + 4, QString()) && Form->isVisible());
  }

  void showingsErrorsAndClosing() {
    for (const char* line : {"aaaa", "aa"}) View->AppendLine(line);
    Form->show();
    Edit()->setText("aa");
    FindNext();
    Form->hide();
    Form->show();
    // A fresh find from the selection start finds the same match again; a
    // continued one would have gone on to the next line.
    FindNext();
    QVERIFY(Selection() == std::make_pair(std::int64_t{0}, QStringLiteral("aa")) && Form->focusWidget() == Edit());
    Select(5);
    QTest::mouseClick(Radio("FindTopRadioButton"), Qt::LeftButton);
    QCOMPARE(View->SelStart(), 0);
    // A malformed pattern is an error and leaves the selection alone.
    Select(1, 2);
    Edit()->setText("(");
    FindNext();
    QVERIFY2(Messages.size() == 1 && Messages[0].startsWith("error: "), qPrintable(Messages.join('|')));
    QCOMPARE(Selection(), std::make_pair(std::int64_t{1}, QStringLiteral("aa")));
    // Close and Escape hide the dialog; text and options stay.
    CheckBox("FindWordCheckBox")->setChecked(true);
    QTest::mouseClick(Button("CloseButton"), Qt::LeftButton);
    QVERIFY(!Form->isVisible());
    Form->show();
    QVERIFY(Edit()->text() == "(" && CheckBox("FindWordCheckBox")->isChecked());
    QTest::keyClick(Edit(), Qt::Key_Escape);
    QVERIFY(!Form->isVisible());
  }

  void viewOfAHundredThousandLines() {
    // Each line: a double-byte word, an undecodable pair (0x85 0x40), then
    // the keyword run "cat" and the line's number.
    constexpr int kLines = 100000;
    const std::string word = encoding::Sjis("見出し");
    const std::size_t runStart = word.size() + 3;
    View->BeginFill();
    for (int i = 0; i < kLines; ++i) View->AppendHitLine(word + " \205@cat " + std::to_string(i), runStart, 3, {true});
    View->EndFill();
    QCOMPARE(View->LineCount(), kLines);
    // The keyword run covers exactly "cat", behind both characters.
    const QString text = View->LineText(kLines - 1);
    QCOMPARE(text, QStringLiteral("見出し \uFFFDcat %1").arg(kLines - 1));
    const QTextLayout::FormatRange keyword = View->LineFormats(kLines - 1).value(1);
    QVERIFY(text.mid(keyword.start, keyword.length) == "cat" && keyword.format.fontWeight() == QFont::Bold);
    // Selection and copy by keys.
    const std::int64_t start = View->LineStart(50000);
    Select(start);
    View->setFocus();
    QTest::keyClick(View, Qt::Key_End, Qt::ShiftModifier);
    for (int i = 0; i < 3; ++i) QTest::keyClick(View, Qt::Key_Right, Qt::ShiftModifier);
    View->Copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("見出し \uFFFDcat 50000\n見出"));
    // A mouse drag along the top row selects from where it started.
    View->resize(400, 200);
    Select(start);
    const int top = View->verticalScrollBar()->value();
    QWidget* area = View->viewport();
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(1, 2));
    QTest::mouseMove(area, QPoint(area->width() - 1, 2));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(area->width() - 1, 2));
    QCOMPARE(View->SelStart(), View->LineStart(top));
    QVERIFY(View->SelLength() > 0 && View->LineText(top).startsWith(View->SelectedText()));
    // Find selects the match on the stored bytes, far down the view.
    Form->show();
    Select(0);
    Edit()->setText(QStringLiteral("cat 99998"));
    FindNext();
    QCOMPARE(Selection(), std::make_pair(View->LineStart(99998) + std::int64_t(runStart), QStringLiteral("cat 99998")));
  }

 private:
  void FindNext() { Button("FindNextButton")->click(); }
  QLineEdit* Edit() { return Form->findChild<QLineEdit*>("FindTextEdit"); }
  QPushButton* Button(const char* name) { return Form->findChild<QPushButton*>(name); }
  QCheckBox* CheckBox(const char* name) { return Form->findChild<QCheckBox*>(name); }
  QRadioButton* Radio(const char* name) { return Form->findChild<QRadioButton*>(name); }
  // Positions count bytes of the Shift-JIS text.
  void Select(std::int64_t start, std::int64_t length = 0) { View->SetSelection(start, length); }
  std::pair<std::int64_t, QString> Selection() const { return {View->SelStart(), View->SelectedText()}; }

  std::unique_ptr<QWidget> MainForm;
  THitView* View = nullptr;
  TAWKStr AWKStr1;
  TFindForm* Form = nullptr;
  QStringList Messages;
};

QTEST_MAIN(TFindFormTest)
#include "findform_test.moc"
