// The main window's search: the Search and Cancel commands, the message
// pump that keeps the window responsive meanwhile, the controls that show
// how a search goes, and closing the window, also in the middle of one.
//
// A search runs on this thread, inside SearchBtnClick; the grep's message
// pump lets the window's events run meanwhile, so the handlers that stay
// usable during a search (Cancel, the option boxes, the dictionary panels and
// keys, the edit and help menus, closing the window) are written to be safe
// in the middle of one:
//  - Exit does nothing while a search runs (its menu is disabled too).
//  - Closing the window during a search first ends the search: the close is
//    refused, the cancel flag is set, and once the search has unwound (its
//    cancel message is not shown then) the window closes for good, saving
//    the settings as any normal close does.
//  - The case-insensitive option takes effect when the running search ends
//    (see TSearchDriver::SetIgnoreCase).
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>

#include "core/hits.h"
#include "sjis/exceptions.h"
#include "ui/helpwindow.h"
#include "ui/mainform.h"
#include "ui/statusline.h"
#include "ui_mainform.h"

void TMainForm::SearchBtnClick() {
  // The button is disabled while its own search runs; a typed search is
  // cancelled and the command's search follows it.
  if (FDriver.Searching() && FDriver.Kind() == TSearchKind::Command) return;
  Obey(FLive.Command());
}

void TMainForm::RunSearch(TSearchKind kind) {
  // The status label changes with every hit; during the search it is painted
  // together with the result view, a few times a second (ProcessMessages).
  ui->Label2->setUpdatesEnabled(false);
  std::exception_ptr error;
  try {
    FDriver.Search(ui->ComboBox1->currentText().toStdU16String(), ui->WordSearchCheckBox->isChecked(), SearchOptions(),
                   kind);
  } catch (...) {
    error = std::current_exception();
  }
  ui->Label2->setUpdatesEnabled(true);
  // A cancel that typing, a new query or the closing of the window asked
  // for is no news, nor one of a typed search.
  const bool quiet = FQuietCancel || FCloseAfterSearch || kind == TSearchKind::Typed;
  FQuietCancel = false;
  if (error) {
    try {
      std::rethrow_exception(error);
    } catch (const ECancelRequest& e) {
      if (!quiet) ShowError(this, e);
    } catch (const std::exception& e) {
      ShowError(this, e);
    }
  }
}

void TMainForm::CancelBtnClick() { FDriver.Cancel(); }

void TMainForm::CaseInsensitiveCheckBoxClick() {
  Command([this] { FDriver.SetIgnoreCase(ui->CaseInsensitiveCheckBox->isChecked()); });
  Obey(FLive.OptionChanged());
}

void TMainForm::ProcessMessages() {
  // The grep asks before every line it reports; looking at the window's
  // events every few milliseconds keeps it as responsive and spares the
  // hundreds of thousands of looks a search with many hits would make.
  if (FMessagesProcessed.isValid() && FMessagesProcessed.elapsed() < kMessageInterval) return;
  if (FResultView.Refresh()) {
    ui->Label2->setUpdatesEnabled(true);
    ui->Label2->repaint();
    ui->Label2->setUpdatesEnabled(false);
  }
  QCoreApplication::processEvents();
  FMessagesProcessed.start();
}

TSearchOptions TMainForm::SearchOptions() const {
  TSearchOptions options;
  options.HitLimit = LimitEnabled() ? FHitLimit : 0;
  options.Marks = hits::MarksFor(KeywordMark());
  options.ShowTags = ShowTags();
  options.KeywordStyle = FKeywordStyle;
  return options;
}

void TMainForm::SearchStarted(const std::u16string& query, TSearchKind kind) {
  // Typing goes on during a typed search: the query box keeps the focus and
  // the window looks as it did.
  if (kind == TSearchKind::Typed) return;
  // Adding the first item would make it the current one and replace the
  // typed text; the text is the same, but keep the edit as it is.
  const QString typed = ui->ComboBox1->currentText();
  ui->ComboBox1->addItem(QString::fromStdU16String(query));
  ui->ComboBox1->setEditText(typed);
  SetSearchControlsEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

// Screen readers are told of the status when a search has ended, not of
// every hit counted on the way.
void TMainForm::SearchProgress(const std::u16string& status) { SetStatus(status, false); }

void TMainForm::SearchEnded(const std::u16string& status) {
  SetStatus(status, true);
  if (FDriver.Kind() == TSearchKind::Typed) return;
  QApplication::restoreOverrideCursor();
  SetSearchControlsEnabled(true);
  // Disabling moved the focus away; the next word is typed over this one.
  ui->ComboBox1->setFocus();
  ui->ComboBox1->lineEdit()->selectAll();
}

void TMainForm::SearchMessage(const std::u16string& text) {
  ShowMessageBox(this, QString::fromStdU16String(text), QStringLiteral("KOVA Searcher"));
}

void TMainForm::SearchDeclined(const std::u16string& status) { SetStatus(status, true); }

void TMainForm::SetSearchControlsEnabled(bool enabled) {
  ui->SearchBtn->setEnabled(enabled);
  ui->CancelBtn->setEnabled(!enabled);
  ui->ComboBox1->setEnabled(enabled);
  ui->MenuDic->setEnabled(enabled);
  ui->MenuView->setEnabled(enabled);
}

void TMainForm::SetStatus(const std::u16string& text, bool announce) {
  ui->Label2->SetStatus(QString::fromStdU16String(text), announce);
}

// ---------------------------------------------------------------------------
// Closing

void TMainForm::closeEvent(QCloseEvent* event) {
  if (FDriver.Searching()) {
    // The search runs further down this thread's stack: let it stop at its
    // next test of the cancel flag, and close once it has unwound.
    FCloseAfterSearch = true;
    FDriver.Cancel();
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

void TMainForm::FormClose() {
  if (!ui->MenuDic->isEnabled()) return;
  if (!FSettingsSaved) {
    FSettingsSaved = true;
    Command([this] { SaveSettings(); });
  }
  FHelpFile = QStringLiteral("KOVAH.HLP");
  if (FHelpWindow != nullptr) FHelpWindow->Quit();
}

void TMainForm::SubMenuDic8Click() {
  if (!ui->MenuDic->isEnabled() || FDriver.Searching()) return;
  FormClose();
  QCoreApplication::quit();
}
