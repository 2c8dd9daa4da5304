// The hit-limit dialog: its key filter, its two buttons with Enter and
// Escape, and a modal run as the main window performs it.
#include "inputform.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

class TInputFormTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  // The window definition.
  void captionControlsAndWindow();

  // The edit field keeps at most four digits.
  void lettersMinusAndPunctuationAreRefused();
  void refusedKeyLeavesSelectionAlone();
  void digitsAndBackspaceWork();
  void fifthDigitIsRefused();
  void editingKeysWork();
  void insertedNonDigitsAreRefused();

  // The buttons.
  void zeroIsRefusedWithoutClosing();
  void severalZerosAndEmptyAreAccepted();
  void enterConfirms();
  void escapeCancels();
  void buttonsSetCancelled();
  void modalRunAsTheCallerDoesIt();

 private:
  QLineEdit* Edit() const { return Form->MaskEdit1(); }

  std::unique_ptr<TInputForm> Form;
};

void TInputFormTest::init() { Form = std::make_unique<TInputForm>(nullptr); }

void TInputFormTest::cleanup() { Form.reset(); }

void TInputFormTest::captionControlsAndWindow() {
  QCOMPARE(Form->windowTitle(), QStringLiteral("KVOALEX Searcher Mini"));
  QVERIFY(!Form->Cancelled);
  QVERIFY(Form->isModal());
  QCOMPARE(Form->size(), QSize(268, 70));
  QCOMPARE(Form->minimumSize(), Form->maximumSize());
  QCOMPARE(Form->pos(), QPoint(262, 264));
  const Qt::WindowFlags flags = Form->windowFlags();
  QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
  QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));
  QVERIFY(Edit());
  QCOMPARE(Edit()->objectName(), QStringLiteral("MaskEdit1"));
  QCOMPARE(Edit()->maxLength(), 4);
  auto* confirm = Form->findChild<QPushButton*>("CancelBtn");
  auto* cancel = Form->findChild<QPushButton*>("Button1");
  QVERIFY(confirm && cancel);
  QCOMPARE(confirm->text(), QStringLiteral("設定(&S)"));
  QVERIFY(confirm->isDefault());
  QCOMPARE(cancel->text(), QStringLiteral("ｷｬﾝｾﾙ(&C)"));
  QCOMPARE(Form->findChild<QLabel*>("Label1")->text(), QStringLiteral("検索件数"));
}

void TInputFormTest::lettersMinusAndPunctuationAreRefused() {
  Edit()->setText("1");
  Edit()->setCursorPosition(1);
  QTest::keyClicks(Edit(), "aZ-%'/ .+");
  QCOMPARE(Edit()->text(), QStringLiteral("1"));
  // Characters beyond ASCII, full-width digits among them.
  for (const QString& text : {QStringLiteral("１"), QStringLiteral("あ"), QStringLiteral("٣")}) {
    QTest::sendKeyEvent(QTest::Press, Edit(), Qt::Key_unknown, text, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, Edit(), Qt::Key_unknown, text, Qt::NoModifier);
  }
  QCOMPARE(Edit()->text(), QStringLiteral("1"));
}

void TInputFormTest::refusedKeyLeavesSelectionAlone() {
  Edit()->setText("123");
  Edit()->selectAll();
  QTest::keyClicks(Edit(), "a");
  QCOMPARE(Edit()->text(), QStringLiteral("123"));
  QCOMPARE(Edit()->selectedText(), QStringLiteral("123"));
}

void TInputFormTest::digitsAndBackspaceWork() {
  Edit()->clear();
  QTest::keyClicks(Edit(), "907");
  QCOMPARE(Edit()->text(), QStringLiteral("907"));
  QTest::keyClick(Edit(), Qt::Key_Backspace);
  QCOMPARE(Edit()->text(), QStringLiteral("90"));
  QTest::keyClicks(Edit(), "12");
  QCOMPARE(Edit()->text(), QStringLiteral("9012"));
}

void TInputFormTest::fifthDigitIsRefused() {
  Edit()->clear();
  QTest::keyClicks(Edit(), "12345");
  QCOMPARE(Edit()->text(), QStringLiteral("1234"));
}

void TInputFormTest::editingKeysWork() {
  Edit()->setText("123");
  Edit()->setCursorPosition(3);
  QTest::keyClick(Edit(), Qt::Key_Home);
  QTest::keyClick(Edit(), Qt::Key_Delete);
  QCOMPARE(Edit()->text(), QStringLiteral("23"));
  QTest::keyClick(Edit(), Qt::Key_Right);
  QTest::keyClicks(Edit(), "5");
  QCOMPARE(Edit()->text(), QStringLiteral("253"));
}

void TInputFormTest::insertedNonDigitsAreRefused() {
  // Pasting and dropping insert text without key presses.
  Edit()->setText("12");
  Edit()->setCursorPosition(2);
  Edit()->insert("3a");
  QCOMPARE(Edit()->text(), QStringLiteral("12"));
  Edit()->insert("%");
  QCOMPARE(Edit()->text(), QStringLiteral("12"));
  Edit()->insert("34");
  QCOMPARE(Edit()->text(), QStringLiteral("1234"));
}

void TInputFormTest::zeroIsRefusedWithoutClosing() {
  Form->Cancelled = true;
  Form->open();
  Edit()->setText("0");
  QTest::keyClick(Edit(), Qt::Key_Return);
  QVERIFY(Form->isVisible());
  QVERIFY(Form->Cancelled);
  Form->findChild<QPushButton*>("CancelBtn")->click();
  QVERIFY(Form->isVisible());
  QVERIFY(Form->Cancelled);
}

void TInputFormTest::severalZerosAndEmptyAreAccepted() {
  for (const QString& text : {QStringLiteral("00"), QString()}) {
    Form->Cancelled = true;
    Form->open();
    Edit()->setText(text);
    QTest::keyClick(Edit(), Qt::Key_Return);
    QVERIFY2(!Form->isVisible(), qPrintable(text));
    QVERIFY2(!Form->Cancelled, qPrintable(text));
    QCOMPARE(Form->result(), int(QDialog::Accepted));
    QCOMPARE(Edit()->text(), text);
  }
}

void TInputFormTest::enterConfirms() {
  Form->Cancelled = true;
  Form->open();
  Edit()->setText("250");
  QTest::keyClick(Edit(), Qt::Key_Enter);
  QVERIFY(!Form->isVisible());
  QVERIFY(!Form->Cancelled);
  QCOMPARE(Form->result(), int(QDialog::Accepted));
}

void TInputFormTest::escapeCancels() {
  Form->open();
  Edit()->setText("250");
  QTest::keyClick(Edit(), Qt::Key_Escape);
  QVERIFY(!Form->isVisible());
  QVERIFY(Form->Cancelled);
  QCOMPARE(Form->result(), int(QDialog::Rejected));
}

void TInputFormTest::buttonsSetCancelled() {
  Form->open();
  Edit()->setText("7");
  QTest::mouseClick(Form->findChild<QPushButton*>("Button1"), Qt::LeftButton);
  QVERIFY(!Form->isVisible());
  QVERIFY(Form->Cancelled);
  Form->open();
  QTest::mouseClick(Form->findChild<QPushButton*>("CancelBtn"), Qt::LeftButton);
  QVERIFY(!Form->isVisible());
  QVERIFY(!Form->Cancelled);
  // The field keeps its text between showings.
  QCOMPARE(Edit()->text(), QStringLiteral("7"));
}

void TInputFormTest::modalRunAsTheCallerDoesIt() {
  Edit()->setText("100");
  QTimer::singleShot(0, this, [this] {
    // The field opens with its text selected: what is typed replaces it.
    QCOMPARE(Edit()->selectedText(), QStringLiteral("100"));
    QTest::keyClicks(Edit(), "x12");
    QTest::keyClick(Edit(), Qt::Key_Backspace);
    QTest::keyClicks(Edit(), "x5");
    QTest::keyClick(Edit(), Qt::Key_Return);
  });
  QCOMPARE(Form->exec(), int(QDialog::Accepted));
  QVERIFY(!Form->Cancelled);
  QCOMPARE(Edit()->text(), QStringLiteral("15"));

  QTimer::singleShot(0, this, [this] {
    QTest::keyClicks(Edit(), "9");
    QTest::keyClick(Edit(), Qt::Key_Escape);
  });
  QCOMPARE(Form->exec(), int(QDialog::Rejected));
  QVERIFY(Form->Cancelled);
}

QTEST_MAIN(TInputFormTest)
#include "inputform_test.moc"
