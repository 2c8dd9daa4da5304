// The find dialog over a real result view: its controls, its placement, and
// finds driven through its buttons, with message boxes captured.
#include "findform.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>
#include <memory>

#include "core/encoding.h"
#include "hitview.h"
#include "messagebox.h"
#include "regexp.h"

namespace {

struct TMessage {
  QWidget* Parent;
  QString Text;
  QString Caption;
  TMessageIcon Icon;
};

const QString kNotFound = QStringLiteral("     見つかりません     ");

}  // namespace

class TFindFormTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  // The window definition.
  void captionControlsAndInitialState();
  void placedBelowTopEdgeCentredOnMainWindow();
  void modelessAndAlwaysOnTop();

  // Finds through the buttons.
  void fourEqualLettersSecondFindGoesToFollowingLines();
  void twoLetterPairFindsBothOccurrences();
  void enterInFindTextFinds();
  void afterLastOccurrenceShowsNotFoundAndKeepsCaret();
  void fromTopStartsAtTopWhateverTheCaret();
  void fromCaretStartsAtCaret();
  void showingAgainStartsAFreshFind();
  void topRadioButtonPutsCaretAtTop();
  void selectionSpanningLinesSearchesFromItsStart();
  void wordSearchAtLineStartAndEndButNotBeforeHyphen();
  void caseInsensitiveKatakanaAIsNotDi();
  void doubleByteTextBeforeMatch();
  void longLine();
  void viewOfAHundredThousandLines();
  void patternCharactersAreRegularExpression();
  void malformedPatternShowsErrorAndKeepsSelection();
  void findSetsThePatternOfTheSharedMatcher();

  // Closing.
  void closeButtonHidesAndKeepsState();
  void escapeHides();

 private:
  void SetLines(const QStringList& lines);
  void FindNext() { Button("FindNextButton")->click(); }
  void SetText(const QString& text) { Form->findChild<QLineEdit*>("FindTextEdit")->setText(text); }
  QPushButton* Button(const char* name) { return Form->findChild<QPushButton*>(name); }
  QCheckBox* CheckBox(const char* name) { return Form->findChild<QCheckBox*>(name); }
  QRadioButton* Radio(const char* name) { return Form->findChild<QRadioButton*>(name); }
  // Positions count bytes of the Shift-JIS text.
  std::int64_t SelStart() const { return RichEdit1->SelStart(); }
  std::int64_t SelLength() const { return RichEdit1->SelLength(); }
  QString Selected() const { return RichEdit1->SelectedText(); }
  void SetCaret(std::int64_t position) { RichEdit1->SetSelection(position, 0); }

  std::unique_ptr<QWidget> MainForm;
  THitView* RichEdit1 = nullptr;
  std::unique_ptr<TAWKStr> AWKStr1;
  TFindForm* Form = nullptr;
  QList<TMessage> Messages;
};

void TFindFormTest::init() {
  MainForm = std::make_unique<QWidget>();
  MainForm->setGeometry(100, 200, 601, 400);
  RichEdit1 = new THitView(MainForm.get());
  AWKStr1 = std::make_unique<TAWKStr>();
  Form = new TFindForm(MainForm.get(), RichEdit1, *AWKStr1);
  Messages.clear();
  SetMessageBoxHook([this](QWidget* parent, const QString& text, const QString& caption, TMessageIcon icon) {
    Messages.append({parent, text, caption, icon});
  });
}

void TFindFormTest::cleanup() {
  SetMessageBoxHook({});
  MainForm.reset();  // owns the dialog and the view
  AWKStr1.reset();
}

void TFindFormTest::SetLines(const QStringList& lines) {
  RichEdit1->Clear();
  for (const QString& line : lines) RichEdit1->AppendLine(encoding::Utf16ToSjis(line.toStdU16String()));
  SetCaret(0);
}

void TFindFormTest::captionControlsAndInitialState() {
  QCOMPARE(Form->windowTitle(), QStringLiteral("検索"));
  QCOMPARE(Form->size(), QSize(444, 97));
  QCOMPARE(Form->minimumSize(), Form->maximumSize());
  QVERIFY(!Form->isVisible());
  const auto* edit = Form->findChild<QLineEdit*>("FindTextEdit");
  QVERIFY(edit);
  QCOMPARE(edit->maxLength(), 255);
  QCOMPARE(Button("FindNextButton")->text(), QStringLiteral("次を検索(&F)"));
  QVERIFY(Button("FindNextButton")->isDefault());
  QCOMPARE(Button("CloseButton")->text(), QStringLiteral("閉じる"));
  QCOMPARE(CheckBox("FindWordCheckBox")->text(), QStringLiteral("単語検索(&W)"));
  // No caption is cut off.
  QList<QAbstractButton*> boxes;
  for (QCheckBox* box : Form->findChildren<QCheckBox*>()) boxes << box;
  for (QRadioButton* radio : Form->findChildren<QRadioButton*>()) boxes << radio;
  for (const QAbstractButton* box : boxes) {
    QVERIFY2(box->width() >= box->sizeHint().width(), qPrintable(box->objectName()));
  }
  QCOMPARE(CheckBox("CaseInsensitiveCheckBox")->text(), QStringLiteral("大･小文字の同一視(&I)"));
  QVERIFY(!CheckBox("FindWordCheckBox")->isChecked());
  QVERIFY(!CheckBox("CaseInsensitiveCheckBox")->isChecked());
  QCOMPARE(Radio("FindTopRadioButton")->text(), QStringLiteral("先頭から(&T)"));
  QCOMPARE(Radio("FindCursorRadioButton")->text(), QStringLiteral("カーソル位置から(&C)"));
  QVERIFY(!Radio("FindTopRadioButton")->isChecked());
  QVERIFY(Radio("FindCursorRadioButton")->isChecked());
  QCOMPARE(Radio("FindTopRadioButton")->parentWidget()->objectName(), QStringLiteral("GroupBox1"));
  Radio("FindTopRadioButton")->click();
  QVERIFY(!Radio("FindCursorRadioButton")->isChecked());
}

void TFindFormTest::placedBelowTopEdgeCentredOnMainWindow() {
  // left = 100 + 601 / 2 - 444 / 2 (halves truncated), top = 200 + 20.
  QCOMPARE(Form->pos(), QPoint(100 + 300 - 222, 220));
}

void TFindFormTest::modelessAndAlwaysOnTop() {
  QVERIFY(!Form->isModal());
  QVERIFY(Form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QCOMPARE(Form->parentWidget(), MainForm.get());
}

void TFindFormTest::fourEqualLettersSecondFindGoesToFollowingLines() {
  SetLines({"aaaa", "xaa"});
  Form->show();
  SetText("aa");
  FindNext();
  QCOMPARE(SelStart(), 0);
  QCOMPARE(SelLength(), 2);
  FindNext();
  QCOMPARE(SelStart(), 6);
  QCOMPARE(Selected(), QStringLiteral("aa"));
  QVERIFY(Messages.isEmpty());
}

void TFindFormTest::twoLetterPairFindsBothOccurrences() {
  SetLines({"abab"});
  Form->show();
  SetText("ab");
  FindNext();
  QCOMPARE(SelStart(), 0);
  QCOMPARE(SelLength(), 2);
  FindNext();
  QCOMPARE(SelStart(), 2);
  QCOMPARE(SelLength(), 2);
  // The caret stands at the end of the match.
  QCOMPARE(RichEdit1->CaretPosition(), 4);
}

void TFindFormTest::enterInFindTextFinds() {
  SetLines({"x ab"});
  Form->show();
  SetText("ab");
  QTest::keyClick(Form->findChild<QLineEdit*>("FindTextEdit"), Qt::Key_Return);
  QCOMPARE(SelStart(), 2);
  QCOMPARE(SelLength(), 2);
  QVERIFY(Form->isVisible());
}

void TFindFormTest::afterLastOccurrenceShowsNotFoundAndKeepsCaret() {
  SetLines({"abab", "x"});
  Form->show();
  SetText("ab");
  FindNext();
  FindNext();
  QVERIFY(Messages.isEmpty());
  FindNext();
  QCOMPARE(Messages.size(), 1);
  QCOMPARE(Messages[0].Text, kNotFound);
  QCOMPARE(Messages[0].Caption, QStringLiteral("KOVALEX Searcher"));
  QCOMPARE(Messages[0].Parent, Form);
  QCOMPARE(Messages[0].Icon, TMessageIcon::None);
  QCOMPARE(SelStart(), 2);
  QCOMPARE(SelLength(), 0);
  FindNext();
  QCOMPARE(Messages.size(), 2);
  QCOMPARE(SelStart(), 2);
}

void TFindFormTest::fromTopStartsAtTopWhateverTheCaret() {
  SetLines({"x ab", "ab", "ab ab"});
  SetCaret(8);
  Radio("FindTopRadioButton")->setChecked(true);
  Form->show();
  QCOMPARE(SelStart(), 0);
  SetCaret(8);  // moved after the showing: the first find still starts at the top
  SetText("ab");
  FindNext();
  QCOMPARE(SelStart(), 2);
  FindNext();
  QCOMPARE(SelStart(), 5);
  FindNext();
  QCOMPARE(SelStart(), 8);
}

void TFindFormTest::fromCaretStartsAtCaret() {
  SetLines({"x ab", "ab", "ab ab"});
  SetCaret(8);
  Form->show();
  QCOMPARE(SelStart(), 8);
  SetText("ab");
  FindNext();
  QCOMPARE(SelStart(), 8);
  FindNext();
  QCOMPARE(SelStart(), 11);
}

void TFindFormTest::showingAgainStartsAFreshFind() {
  SetLines({"aaaa", "aa"});
  Form->show();
  SetText("aa");
  FindNext();
  QCOMPARE(SelStart(), 0);
  Form->hide();
  Form->show();
  // A fresh find from the selection start finds the same match again; a
  // continued one would have gone on to the next line.
  FindNext();
  QCOMPARE(SelStart(), 0);
  QCOMPARE(SelLength(), 2);
  QCOMPARE(Form->focusWidget(), Form->findChild<QLineEdit*>("FindTextEdit"));
}

void TFindFormTest::topRadioButtonPutsCaretAtTop() {
  SetLines({"abc", "def"});
  Form->show();
  SetCaret(5);
  QTest::mouseClick(Radio("FindTopRadioButton"), Qt::LeftButton);
  QVERIFY(Radio("FindTopRadioButton")->isChecked());
  QCOMPARE(SelStart(), 0);
}

void TFindFormTest::selectionSpanningLinesSearchesFromItsStart() {
  SetLines({"xx ab", "ab"});
  Form->show();
  RichEdit1->SetSelection(1, 6);  // the caret ends on the second line
  SetText("ab");
  FindNext();
  QCOMPARE(SelStart(), 3);
  QCOMPARE(SelLength(), 2);
}

void TFindFormTest::wordSearchAtLineStartAndEndButNotBeforeHyphen() {
  SetLines({"word-like", "word here", "the word", "■word!"});
  Form->show();
  CheckBox("FindWordCheckBox")->setChecked(true);
  SetText("word");
  FindNext();
  QCOMPARE(SelStart(), 10);
  QCOMPARE(Selected(), QStringLiteral("word"));
  FindNext();
  QCOMPARE(SelStart(), 24);
  QCOMPARE(Selected(), QStringLiteral("word"));
  FindNext();
  QCOMPARE(SelStart(), 31);  // after the two bytes of "■"
  QCOMPARE(Selected(), QStringLiteral("word"));
  FindNext();
  QCOMPARE(Messages.size(), 1);
}

void TFindFormTest::caseInsensitiveKatakanaAIsNotDi() {
  SetLines({"ヂ", "xア", "ABC"});
  Form->show();
  CheckBox("CaseInsensitiveCheckBox")->setChecked(true);
  SetText("ア");
  FindNext();
  QCOMPARE(SelStart(), 4);
  QCOMPARE(Selected(), QStringLiteral("ア"));
  FindNext();
  QCOMPARE(Messages.size(), 1);
  SetCaret(0);
  SetText("aBc");
  Form->hide();
  Form->show();
  FindNext();
  QCOMPARE(SelStart(), 7);
  QCOMPARE(Selected(), QStringLiteral("ABC"));
}

void TFindFormTest::doubleByteTextBeforeMatch() {
  SetLines({"英和辞典", "日本語abc"});
  Form->show();
  SetText("abc");
  FindNext();
  QCOMPARE(SelStart(), 15);
  QCOMPARE(SelLength(), 3);
  QCOMPARE(Selected(), QStringLiteral("abc"));
}

void TFindFormTest::viewOfAHundredThousandLines() {
  // Each line: a double-byte word, an undecodable pair (0x85 0x40), then
  // the keyword run "cat" and the line's number.
  constexpr int kLines = 100000;
  const std::string word = encoding::Sjis("見出し");
  auto line = [&word](int i) {
    return word +
           " \x85\x40"
           "cat " +
           std::to_string(i);
  };
  const std::size_t runStart = word.size() + 3;
  RichEdit1->BeginFill();
  for (int i = 0; i < kLines; ++i) RichEdit1->AppendHitLine(line(i), runStart, 3, hits::TKeywordStyle{true});
  RichEdit1->EndFill();
  QCOMPARE(RichEdit1->LineCount(), kLines);
  // The keyword run covers exactly "cat", behind both characters.
  const int last = kLines - 1;
  const QString text = RichEdit1->LineText(last);
  QCOMPARE(text, QStringLiteral("見出し \uFFFDcat %1").arg(last));
  const QList<QTextLayout::FormatRange> formats = RichEdit1->LineFormats(last);
  QCOMPARE(formats.size(), 3);
  QCOMPARE(text.mid(formats[1].start, formats[1].length), QStringLiteral("cat"));
  QCOMPARE(formats[1].format.fontWeight(), int(QFont::Bold));

  // Selection and copy, by position and by keys.
  const std::int64_t start = RichEdit1->LineStart(50000);
  RichEdit1->SetSelection(start + static_cast<std::int64_t>(runStart), 3);
  QCOMPARE(RichEdit1->SelectedText(), QStringLiteral("cat"));
  RichEdit1->SetSelection(start, 0);
  RichEdit1->setFocus();
  QTest::keyClick(RichEdit1, Qt::Key_End, Qt::ShiftModifier);
  QTest::keyClick(RichEdit1, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(RichEdit1, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(RichEdit1, Qt::Key_Right, Qt::ShiftModifier);
  RichEdit1->Copy();
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("見出し \uFFFDcat 50000\n見出"));
  // A mouse drag along the top row selects from where it started.
  RichEdit1->resize(400, 200);
  RichEdit1->SetSelection(start, 0);
  const int top = RichEdit1->verticalScrollBar()->value();
  QWidget* area = RichEdit1->viewport();
  QTest::mousePress(area, Qt::LeftButton, {}, QPoint(1, 2));
  QTest::mouseMove(area, QPoint(area->width() - 1, 2));
  QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(area->width() - 1, 2));
  QCOMPARE(RichEdit1->SelStart(), RichEdit1->LineStart(top));
  QVERIFY(RichEdit1->SelLength() > 0);
  QVERIFY(RichEdit1->LineText(top).startsWith(RichEdit1->SelectedText()));

  // Find selects the match on the stored bytes, far down the view.
  Form->show();
  SetCaret(0);
  SetText(QStringLiteral("cat 99998"));
  FindNext();
  QCOMPARE(SelStart(), RichEdit1->LineStart(99998) + static_cast<std::int64_t>(runStart));
  QCOMPARE(Selected(), QStringLiteral("cat 99998"));
  // Copy all gives every line.
  RichEdit1->CopyAll();
  const QString all = QGuiApplication::clipboard()->text();
  QCOMPARE(all.count(QLatin1Char('\n')), kLines);
  QVERIFY(all.endsWith(text + QLatin1Char('\n')));
  QCOMPARE(RichEdit1->SelLength(), 0);
}

void TFindFormTest::longLine() {
  SetLines({QString(5000, 'x') + "needle", "needle"});
  Form->show();
  SetText("needle");
  FindNext();
  QCOMPARE(SelStart(), 5000);
  QCOMPARE(Selected(), QStringLiteral("needle"));
  FindNext();
  QCOMPARE(SelStart(), 5007);
}

void TFindFormTest::patternCharactersAreRegularExpression() {
  SetLines({"xabc", "ayz"});
  Form->show();
  SetText("a.c");
  FindNext();
  QCOMPARE(Selected(), QStringLiteral("abc"));
  SetText("[xy]z");
  FindNext();
  QCOMPARE(Selected(), QStringLiteral("yz"));
}

void TFindFormTest::malformedPatternShowsErrorAndKeepsSelection() {
  SetLines({"(ab", "cd"});
  Form->show();
  RichEdit1->SetSelection(4, 2);
  SetText("(");
  FindNext();
  QCOMPARE(Messages.size(), 1);
  QCOMPARE(Messages[0].Icon, TMessageIcon::Error);
  QCOMPARE(Messages[0].Parent, Form);
  QVERIFY(!Messages[0].Text.isEmpty());
  QVERIFY(Messages[0].Text != kNotFound);
  QCOMPARE(SelStart(), 4);
  QCOMPARE(SelLength(), 2);
}

void TFindFormTest::findSetsThePatternOfTheSharedMatcher() {
  SetLines({"abc"});
  Form->show();
  SetText("b.");
  FindNext();
  QCOMPARE(AWKStr1->GetPattern(), std::string("b."));
  CheckBox("FindWordCheckBox")->setChecked(true);
  FindNext();
  QCOMPARE(AWKStr1->GetPattern(), encoding::Sjis("[ \"■{(]b.[ \")!?.,:;]"));
}

void TFindFormTest::closeButtonHidesAndKeepsState() {
  SetLines({"abc"});
  Form->show();
  SetText("bc");
  CheckBox("FindWordCheckBox")->setChecked(true);
  QTest::mouseClick(Button("CloseButton"), Qt::LeftButton);
  QVERIFY(!Form->isVisible());
  Form->show();
  QCOMPARE(Form->findChild<QLineEdit*>("FindTextEdit")->text(), QStringLiteral("bc"));
  QVERIFY(CheckBox("FindWordCheckBox")->isChecked());
}

void TFindFormTest::escapeHides() {
  Form->show();
  QTest::keyClick(Form->findChild<QLineEdit*>("FindTextEdit"), Qt::Key_Escape);
  QVERIFY(!Form->isVisible());
}

QTEST_MAIN(TFindFormTest)
#include "findform_test.moc"
