// The find dialog over a real result view: its controls and placement, the
// shared find cases driven through its controls, its messages, and a view
// of a hundred thousand lines.
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
#include "find_cases.h"
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
  void windowDefinition();
  void findCases_data();
  void findCases();
  void showingAgainStartsAFreshFindAndTopButtonMovesTheCaret();
  void malformedPatternShowsErrorAndKeepsSelection();
  void closeAndEscapeHideAndKeepState();
  void viewOfAHundredThousandLines();

 private:
  void SetLines(const std::vector<std::string>& utf8Lines);
  void FindNext() { Button("FindNextButton")->click(); }
  void SetText(const QString& text) { Edit()->setText(text); }
  QLineEdit* Edit() { return Form->findChild<QLineEdit*>("FindTextEdit"); }
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

void TFindFormTest::SetLines(const std::vector<std::string>& utf8Lines) {
  RichEdit1->Clear();
  for (const std::string& line : utf8Lines) RichEdit1->AppendLine(encoding::Sjis(line));
  SetCaret(0);
}

void TFindFormTest::windowDefinition() {
  QCOMPARE(Form->windowTitle(), QStringLiteral("検索"));
  QCOMPARE(Form->size(), QSize(444, 97));
  QCOMPARE(Form->minimumSize(), Form->maximumSize());
  // left = 100 + 601 / 2 - 444 / 2 (halves truncated), top = 200 + 20.
  QCOMPARE(Form->pos(), QPoint(100 + 300 - 222, 220));
  QVERIFY(!Form->isVisible());
  QVERIFY(!Form->isModal());
  QVERIFY(Form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QCOMPARE(Edit()->maxLength(), 255);
  QVERIFY(Button("FindNextButton")->isDefault());
  const std::pair<QAbstractButton*, QString> captions[] = {
      {Button("FindNextButton"), QStringLiteral("次を検索(&F)")},
      {Button("CloseButton"), QStringLiteral("閉じる")},
      {CheckBox("FindWordCheckBox"), QStringLiteral("単語検索(&W)")},
      {CheckBox("CaseInsensitiveCheckBox"), QStringLiteral("大･小文字の同一視(&I)")},
      {Radio("FindTopRadioButton"), QStringLiteral("先頭から(&T)")},
      {Radio("FindCursorRadioButton"), QStringLiteral("カーソル位置から(&C)")}};
  for (const auto& [button, caption] : captions) {
    QCOMPARE(button->text(), caption);
    // No check box caption is cut off.
    QVERIFY2(qobject_cast<QPushButton*>(button) || button->width() >= button->sizeHint().width(), qPrintable(caption));
    QCOMPARE(button->isChecked(), button == Radio("FindCursorRadioButton"));
  }
  QCOMPARE(Radio("FindTopRadioButton")->parentWidget()->objectName(), QStringLiteral("GroupBox1"));
}

void TFindFormTest::findCases_data() {
  QTest::addColumn<int>("row");
  for (int row = 0; row < int(std::size(find_cases::kFinds)); ++row) QTest::addRow("%d", row) << row;
}

void TFindFormTest::findCases() {
  QFETCH(int, row);
  const find_cases::TFindCase& c = find_cases::kFinds[row];
  SetLines(c.Lines);
  CheckBox("FindWordCheckBox")->setChecked(c.Word);
  CheckBox("CaseInsensitiveCheckBox")->setChecked(c.IgnoreCase);
  Radio(c.FromTop ? "FindTopRadioButton" : "FindCursorRadioButton")->setChecked(true);
  Form->show();
  SetCaret(c.Caret);  // moved after the showing: a find from the top still starts there
  SetText(QString::fromStdU16String(c.Text));
  bool first = true;
  for (const auto& [start, text] : c.Found) {
    if (first) {
      QTest::keyClick(Edit(), Qt::Key_Return);  // Enter in the text is the default button
    } else {
      FindNext();
    }
    first = false;
    QCOMPARE(Messages.size(), 0);
    QCOMPARE(SelStart(), start);
    QCOMPARE(Selected(), QString::fromStdString(text));
    QCOMPARE(RichEdit1->CaretPosition(), start + SelLength());
  }
  const std::int64_t last = SelStart();
  FindNext();
  QCOMPARE(Messages.size(), 1);
  QCOMPARE(Messages[0].Text, kNotFound);
  QCOMPARE(Messages[0].Caption, QStringLiteral("KOVALEX Searcher"));
  QCOMPARE(Messages[0].Parent, Form);
  QCOMPARE(Messages[0].Icon, TMessageIcon::None);
  QCOMPARE(SelStart(), last);
  QCOMPARE(SelLength(), 0);
  QVERIFY(Form->isVisible());
}

void TFindFormTest::showingAgainStartsAFreshFindAndTopButtonMovesTheCaret() {
  SetLines({"aaaa", "aa"});
  Form->show();
  SetText("aa");
  FindNext();
  Form->hide();
  Form->show();
  // A fresh find from the selection start finds the same match again; a
  // continued one would have gone on to the next line.
  FindNext();
  QCOMPARE(SelStart(), 0);
  QCOMPARE(SelLength(), 2);
  QCOMPARE(Form->focusWidget(), Edit());
  SetCaret(5);
  QTest::mouseClick(Radio("FindTopRadioButton"), Qt::LeftButton);
  QCOMPARE(SelStart(), 0);
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
  QVERIFY(Messages[0].Text != kNotFound && !Messages[0].Text.isEmpty());
  QCOMPARE(SelStart(), 4);
  QCOMPARE(SelLength(), 2);
}

void TFindFormTest::closeAndEscapeHideAndKeepState() {
  Form->show();
  SetText("bc");
  CheckBox("FindWordCheckBox")->setChecked(true);
  QTest::mouseClick(Button("CloseButton"), Qt::LeftButton);
  QVERIFY(!Form->isVisible());
  Form->show();
  QCOMPARE(Edit()->text(), QStringLiteral("bc"));
  QVERIFY(CheckBox("FindWordCheckBox")->isChecked());
  QTest::keyClick(Edit(), Qt::Key_Escape);
  QVERIFY(!Form->isVisible());
}

void TFindFormTest::viewOfAHundredThousandLines() {
  // Each line: a double-byte word, an undecodable pair (0x85 0x40), then
  // the keyword run "cat" and the line's number.
  constexpr int kLines = 100000;
  const std::string word = encoding::Sjis("見出し");
  auto line = [&word](int i) { return word + " \x85\x40" + "cat " + std::to_string(i); };
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

  // Selection and copy by keys.
  const std::int64_t start = RichEdit1->LineStart(50000);
  RichEdit1->SetSelection(start, 0);
  RichEdit1->setFocus();
  QTest::keyClick(RichEdit1, Qt::Key_End, Qt::ShiftModifier);
  for (int i = 0; i < 3; ++i) QTest::keyClick(RichEdit1, Qt::Key_Right, Qt::ShiftModifier);
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

QTEST_MAIN(TFindFormTest)
#include "findform_test.moc"
