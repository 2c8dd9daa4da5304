// The hit-limit dialog: its definition, its key filter (a table of what is
// typed and what the field then holds) and how it closes (a table of keys
// and buttons).
#include "ui/inputform.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

class TInputFormTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { Form = std::make_unique<TInputForm>(nullptr); }
  void cleanup() { Form.reset(); }

  void windowDefinition() {
    QVERIFY(Form->isModal() && !Form->Cancelled && Form->pos() == QPoint(262, 264));
    QVERIFY(Form->minimumSize() == QSize(268, 70) && Form->maximumSize() == QSize(268, 70));
    const Qt::WindowFlags flags = Form->windowFlags();
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint) && !flags.testFlag(Qt::WindowCloseButtonHint) &&
            !flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(Edit()->maxLength() == 4 && Button("CancelBtn")->isDefault());
    QCOMPARE(Form->windowTitle() + Button("CancelBtn")->text() + Button("Button1")->text() +
                 Form->findChild<QLabel*>("Label1")->text(),
             QStringLiteral("KVOALEX Searcher Mini設定(&S)ｷｬﾝｾﾙ(&C)検索件数"));
  }

  // clang-format off
  void keyFilter_data() {
    // "<" is Backspace, "^" Home, "#" Delete, ">" Right; "|" starts text
    // inserted as a paste or drop does; every other character is typed.
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("letters, minus, punctuation") << "1" << "aZ-%'/ .+" << "1";
    QTest::newRow("beyond ASCII") << "1" << "１あ٣" << "1";
    QTest::newRow("digits and backspace") << "" << "907<12" << "9012";
    QTest::newRow("fifth digit") << "" << "12345" << "1234";
    QTest::newRow("editing keys") << "123" << "^#>5" << "253";
    QTest::newRow("inserted non-digits") << "12" << "|3a" << "12";
    QTest::newRow("inserted digits") << "12" << "|34" << "1234";
  }
  // clang-format on

  void keyFilter() {
    QFETCH(QString, start);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    Edit()->setText(start);
    if (input.startsWith('|')) Edit()->insert(input.mid(1));
    for (const QChar c : input.startsWith('|') ? QString() : input) {
      const Qt::Key keys[] = {Qt::Key_Backspace, Qt::Key_Home, Qt::Key_Delete, Qt::Key_Right};
      const int editing = QStringLiteral("<^#>").indexOf(c);
      if (editing >= 0) QTest::keyClick(Edit(), keys[editing]);
      if (editing < 0) QTest::sendKeyEvent(QTest::Press, Edit(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QCOMPARE(Edit()->text(), expected);
  }

  // clang-format off
  void closing_data() {
    // How: Return, Enter, Escape, or a click on "set" or "cancel".
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("zero is refused") << "0" << "Return" << false << true;
    QTest::newRow("zero by the button") << "0" << "set" << false << true;
    QTest::newRow("two zeros") << "00" << "Return" << true << false;
    QTest::newRow("empty") << "" << "Return" << true << false;
    QTest::newRow("Enter") << "250" << "Enter" << true << false;
    QTest::newRow("set") << "7" << "set" << true << false;
    QTest::newRow("Escape") << "250" << "Escape" << true << true;
    QTest::newRow("cancel") << "7" << "cancel" << true << true;
  }
  // clang-format on

  void closing() {
    QFETCH(QString, text);
    QFETCH(QString, how);
    QFETCH(bool, closed);
    QFETCH(bool, cancelled);
    Form->Cancelled = !cancelled || !closed;
    Form->open();
    Edit()->setText(text);
    if (how == "set" || how == "cancel") {
      QTest::mouseClick(Button(how == "set" ? "CancelBtn" : "Button1"), Qt::LeftButton);
    } else {
      QTest::keyClick(Edit(), how == "Return" ? Qt::Key_Return : how == "Enter" ? Qt::Key_Enter : Qt::Key_Escape);
    }
    QVERIFY(Form->isVisible() != closed && Form->Cancelled == cancelled);
    if (!closed) return;
    QCOMPARE(Form->result(), int(cancelled ? QDialog::Rejected : QDialog::Accepted));
    // The field keeps its text between showings and opens with it selected,
    // so a new limit is typed over the old one.
    Form->open();
    QVERIFY(Edit()->text() == text && Edit()->selectedText() == text);
  }

 private:
  QLineEdit* Edit() const { return Form->MaskEdit1(); }
  QPushButton* Button(const char* name) const { return Form->findChild<QPushButton*>(name); }
  std::unique_ptr<TInputForm> Form;
};

QTEST_MAIN(TInputFormTest)
#include "inputform_test.moc"
