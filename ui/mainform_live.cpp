// Search as you type, and words that come from other programs: the pause
// timer and the query box wired to the core's rule (core/live_search.h),
// the clipboard watch, and a query handed over by a second start.
//
// Searches never nest: an event that arrives while one runs (it runs inside
// the grep's message pump) only cancels it, quietly, and what follows runs
// once it has unwound (TMainForm::Obey).
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

#include "ui/mainform.h"
#include "ui_mainform.h"

void TMainForm::ConnectLiveSearch() {
  FLiveTimer = new QTimer(this);
  FLiveTimer->setSingleShot(true);
  FLiveTimer->setInterval(live_search::kPauseMilliseconds);
  connect(FLiveTimer, &QTimer::timeout, this, [this] { Obey(FLive.TimerFired()); });
  connect(ui->ComboBox1, &QComboBox::editTextChanged, this, &TMainForm::ComboBox1Change);
  connect(ui->WordSearchCheckBox, &QCheckBox::toggled, this, [this] { Obey(FLive.OptionChanged()); });
  for (int number = 1; number <= catalogue::kDictionaryCount; ++number)
    connect(DictionaryItem(number), &QAction::toggled, this, [this] { Obey(FLive.OptionChanged()); });
  connect(ui->SubMenuViewTyping, &QAction::toggled, this, &TMainForm::SetSearchAsYouType);
  connect(ui->SubMenuViewClipboard, &QAction::toggled, this, &TMainForm::SetWatchClipboard);
  // The clipboard only: watching the primary selection would search
  // whatever the mouse passes over in any window.
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TMainForm::ClipboardChange);
}

bool TMainForm::SearchAsYouType() const { return ui->SubMenuViewTyping->isChecked(); }

void TMainForm::SetSearchAsYouType(bool on) {
  ui->SubMenuViewTyping->setChecked(on);
  if (FLive.Enabled() == on) return;
  FLive.SetEnabled(on);
  if (!on) FLiveTimer->stop();
}

bool TMainForm::WatchClipboard() const { return ui->SubMenuViewClipboard->isChecked(); }

void TMainForm::SetWatchClipboard(bool on) { ui->SubMenuViewClipboard->setChecked(on); }

void TMainForm::ComboBox1Change(const QString& text) {
  // The history's item added by a search puts the same text back.
  if (text.toStdU16String() == FLive.Text()) return;
  Obey(FLive.TextChanged(text.toStdU16String()));
}

void TMainForm::ClipboardChange() {
  // What this window copies itself (from the results) is no query.
  const QClipboard* clipboard = QApplication::clipboard();
  if (!WatchClipboard() || clipboard->ownsClipboard()) return;
  const QMimeData* data = clipboard->mimeData();
  if (data == nullptr || !data->hasText()) return;
  const QString text = data->text().trimmed();
  if (text.isEmpty() || text.size() > kMaxWatchedText || text.contains(QLatin1Char('\n'))) return;
  if (text == ui->ComboBox1->currentText()) return;
  ui->ComboBox1->setEditText(text);
  Obey(FLive.LookUp(text.toStdU16String()));
}

void TMainForm::LookUp(const QString& query) {
  ui->ComboBox1->setEditText(query);
  ui->ComboBox1->setFocus();
  Obey(FLive.Command());
}

void TMainForm::Obey(const live_search::TOrders& orders) {
  if (orders.Cancel && FDriver.Searching()) {
    FQuietCancel = true;
    FDriver.Cancel();
  }
  if (orders.Timer == live_search::TTimer::Start) FLiveTimer->start();
  if (orders.Timer == live_search::TTimer::Stop) FLiveTimer->stop();
  // Runs come only while no search runs; each may leave another queued.
  live_search::TRun run = orders.Run;
  while (run != live_search::TRun::None) {
    if (run == live_search::TRun::Clear) {
      FResultView.Clear();
      SetStatus(u"", false);
    } else {
      FLive.SearchBegan(run);
      RunSearch(run == live_search::TRun::Command ? TSearchKind::Command : TSearchKind::Typed);
    }
    run = FLive.SearchEnded().Run;
    if (FCloseAfterSearch) break;
  }
  if (FCloseAfterSearch && !FDriver.Searching()) {
    FCloseAfterSearch = false;
    close();
  }
}

void TMainForm::HandedOver(const handover::TRequest& request) {
  // On Wayland the desktop lets the window take the focus with the token
  // it gave the second start; on X11 raising and activating is enough.
  if (!request.Token.empty()) qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(request.Token));
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
  if (!request.Folder.empty() && request.Folder != FDictionaryFolder && !FDriver.Searching()) {
    FDictionaryArgument = request.Folder;
    FChosenFolder.clear();
    FindDictionaries();
  }
  if (!request.Query.empty()) {
    LookUp(QString::fromStdString(request.Query));
    return;
  }
  // The clipboard's text; on Wayland it can be read once the window has
  // the focus.
  FClipboardOnActivation = !isActiveWindow();
  if (!FClipboardOnActivation) LookUpClipboard();
}

void TMainForm::LookUpClipboard() {
  FClipboardOnActivation = false;
  const QString text = QApplication::clipboard()->text().section(QLatin1Char('\n'), 0, 0).trimmed();
  if (!text.isEmpty()) LookUp(text.left(static_cast<qsizetype>(handover::kMaxQueryBytes)));
}

void TMainForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && FClipboardOnActivation) LookUpClipboard();
}
