// The result view as screen readers read it, through the toolkit's own
// accessibility interfaces: its text by offsets against the toolkit's
// default reading of the whole text, its words, caret and selection, and the
// events it raises.
#include "ui/hitview_accessible.h"

#include <QScrollBar>
#include <QtTest>

#include "support/accessible_events.h"
#include "text/encoding.h"
#include "ui/hitview.h"

using encoding::Sjis;

namespace {

// Before, at and after an offset: the view's own reading and the toolkit's
// default one, which reads the whole text.
using TReading = QString (*)(QAccessibleTextInterface*, int, QAccessible::TextBoundaryType, int*, int*);
const std::pair<TReading, TReading> kReadings[] = {
    {[](auto* t, int o, auto b, int* s, int* e) { return t->textBeforeOffset(o, b, s, e); },
     [](auto* t, int o, auto b, int* s, int* e) { return t->QAccessibleTextInterface::textBeforeOffset(o, b, s, e); }},
    {[](auto* t, int o, auto b, int* s, int* e) { return t->textAtOffset(o, b, s, e); },
     [](auto* t, int o, auto b, int* s, int* e) { return t->QAccessibleTextInterface::textAtOffset(o, b, s, e); }},
    {[](auto* t, int o, auto b, int* s, int* e) { return t->textAfterOffset(o, b, s, e); },
     [](auto* t, int o, auto b, int* s, int* e) { return t->QAccessibleTextInterface::textAfterOffset(o, b, s, e); }}};

}  // namespace

class THitViewAccessibleTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    View = std::make_unique<THitView>();
    View->resize(300, 80);
    // A header, Japanese and half-width katakana, an empty line, a lead byte
    // that ends its line, and a last line longer than the view is wide.
    for (const std::string& line :
         {Sjis("-----KOVA辞書第5版-----"), Sjis("■cat  {名-1} 猫、ネコ"), std::string(),
          Sjis("日本語の辞書です。ｶﾀｶﾅ abc"), std::string("x\x82"), Sjis("long ") + std::string(300, 'w')}) {
      View->AppendLine(line);
    }
    View->show();
    Text = QAccessible::queryAccessibleInterface(View.get())->textInterface();
  }
  void cleanup() { View.reset(); }

  void readsAsTheToolkitReadsTheWholeText() {
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(View.get());
    QVERIFY(view->role() == QAccessible::EditableText && view->state().readOnly && view->state().multiLine);
    QCOMPARE(view->text(QAccessible::Name), QString());  // the window names it
    const QString all = View->toPlainText();
    QVERIFY(Text->characterCount() == all.size() && Text->text(0, -1) == all && Text->text(5, 9) == all.mid(5, 4));
    // The view reads only the lines asked for.  (Sentences are its lines.)
    for (const auto boundary : {QAccessible::CharBoundary, QAccessible::LineBoundary, QAccessible::ParagraphBoundary,
                                QAccessible::NoBoundary}) {
      for (const auto& [ours, toolkits] : kReadings) {
        for (int offset = -1; offset <= all.size() + 1; ++offset) {
          auto read = [&](auto reading) {
            int start = 0, end = 0;
            const QString text = reading(Text, offset, boundary, &start, &end);
            return QStringLiteral("%1 at %2: %3 [%4, %5)").arg(boundary).arg(offset).arg(text).arg(start).arg(end);
          };
          QCOMPARE(read(ours), read(toolkits));
        }
      }
    }
  }

  void wordsAreRunsOfOneKind() {
    const int line = Offset(3);  // 日本語の辞書です。ｶﾀｶﾅ abc; Which: before, at, after
    const struct {
      int Which, Offset;
      QString Word;
    } rows[] = {{0, line + 3, "日本語"}, {1, line + 1, "日本語"}, {2, line + 1, "の"},  {1, line + 4, "辞書"},
                {1, line + 10, "ｶﾀｶﾅ"},  {2, line + 10, " "},     {1, line + 17, "\n"}, {0, line, "\n"},
                {2, line + 17, "x"},     {1, line + 16, "abc"}};
    for (const auto& row : rows) {
      int start = 0, end = 0;
      QCOMPARE(kReadings[row.Which].first(Text, row.Offset, QAccessible::WordBoundary, &start, &end), row.Word);
      QCOMPARE(Text->text(start, end), row.Word);
    }
    // A double click selects the same word.
    QTest::mouseDClick(View->viewport(), Qt::LeftButton, {}, View->CharacterRect(View->LineStart(3) + 8).center());
    QCOMPARE(View->SelectedText(), QStringLiteral("辞書"));
  }

  void caretSelectionAndTextAreToldOf() {
    TAccessibleEvents events;
    const int line = Offset(1);
    View->SetSelection(View->LineStart(1) + 2, 3);  // "■cat": bytes 2-5 are "cat"
    int start = 0, end = 0;
    Text->selection(0, &start, &end);
    QVERIFY(start == line + 1 && end == line + 4 && Text->cursorPosition() == line + 4);
    Text->setSelection(0, line + 12, line + 14);  // "猫、", from byte 14
    QVERIFY(View->SelectedText() == QStringLiteral("猫、") && View->SelStart() == View->LineStart(1) + 14);
    Text->setCursorPosition(-1);
    QVERIFY(View->CaretPosition() == View->Store().Size() && Text->selectionCount() == 0);
    QCOMPARE(Text->textAtOffset(-2, QAccessible::LineBoundary, &start, &end), QString());  // the row below the last
    QCOMPARE(events.Take(View.get()), (QStringList{QStringLiteral("selection %1 %2").arg(line + 1).arg(line + 4),
                                                   QStringLiteral("caret %1").arg(line + 4),
                                                   QStringLiteral("selection %1 %2").arg(line + 12).arg(line + 14),
                                                   QStringLiteral("caret %1").arg(line + 14),
                                                   QStringLiteral("selection %1 %1").arg(Text->characterCount()),
                                                   QStringLiteral("caret %1").arg(Text->characterCount())}));
    // A fill tells of its text once at its end, a clear of the text removed;
    // more than kAnnouncedText bytes are not carried in events.
    const QString before = View->toPlainText();
    View->Clear();
    View->BeginFill();
    View->AppendLine(Sjis("猫 cat"));
    View->EndFill();
    View->Clear();
    View->BeginFill();
    for (int i = 0; i * 100 <= THitView::kAnnouncedText; ++i) View->AppendLine(std::string(99, 'a'));
    View->EndFill();
    View->Clear();
    QCOMPARE(events.Take(View.get()),
             (QStringList{"removed 0 " + before, "caret 0", "inserted 0 猫 cat\n", "removed 0 猫 cat\n"}));
  }

  void endsOfTheTextDoNotScrollSideways() {
    View->horizontalScrollBar()->setValue(View->horizontalScrollBar()->maximum() / 2);
    QTest::keyClick(View.get(), Qt::Key_End, Qt::ControlModifier);
    QVERIFY(View->CaretPosition() == View->Store().Size() && View->horizontalScrollBar()->value() == 0);
    QVERIFY(View->verticalScrollBar()->value() > 0);
    QTest::keyClick(View.get(), Qt::Key_Up);  // to the last line's start
    QCOMPARE(View->CaretPosition(), View->LineStart(5));
    QTest::keyClick(View.get(), Qt::Key_Home, Qt::ControlModifier);
    QVERIFY(View->CaretPosition() == 0 && View->verticalScrollBar()->value() == 0);
  }

 private:
  int Offset(std::int64_t line) const { return static_cast<int>(View->OffsetOf(View->LineStart(line))); }

  std::unique_ptr<THitView> View;
  QAccessibleTextInterface* Text = nullptr;
};

QTEST_MAIN(THitViewAccessibleTest)
#include "hitview_accessible_test.moc"
