#include "ui/mainform.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <cstdlib>

#include "core/catalogue.h"
#include "core/colours.h"
#include "core/dictionary_folder.h"
#include "core/profile.h"
#include "core/screen_fit.h"
#include "core/texts.h"
#include "kovalex_version.h"
#include "sjis/exceptions.h"
#include "text/encoding.h"
#include "ui/findform.h"
#include "ui/fontdialog.h"
#include "ui/functionpanel.h"
#include "ui/helpwindow.h"
#include "ui/inputform.h"
#include "ui/keypreview.h"
#include "ui/messagebox.h"
#include "ui_mainform.h"

namespace {

QString FromUtf16(const std::u16string& text) { return QString::fromStdU16String(text); }

// The conversion error of a text that is not a decimal integer.
Exception NotAnInteger(const QString& text) {
  return Exception("'" + encoding::EncodeSjisLossy(text.toStdU16String()).Bytes + "' " +
                   std::string(sjis_text::kTextNotAnInteger));
}

}  // namespace

template <typename F>
void TMainForm::Command(F&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowError(this, e);
  }
}

THitView* TMainForm::SetUpUi() {
  ui->setupUi(this);
  setWindowTitle(QStringLiteral("KOVALEX Searcher Mini " KOVALEX_VERSION));
  return ui->RichEdit1;
}

THitView* TMainForm::RichEdit1() const { return ui->RichEdit1; }

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::TMainForm>()),
      FResultView(SetUpUi()),
      FDriver(Grep1, AWKStr1, FResultView, *this, [this](int number) { return DictionaryChecked(number); }) {
  FontChooser = [this](QFont& font, QColor& colour) {
    return TFontColourDialog::Choose(this, font, colour, FFontChoice);
  };
  ColourChooser = [this](QColor& colour) {
    const QColor chosen = QColorDialog::getColor(colour, this);
    if (!chosen.isValid()) return false;
    colour = chosen;
    return true;
  };
  FolderChooser = [this](QString& folder) {
    const QString chosen = QFileDialog::getExistingDirectory(this, QStringLiteral("辞書フォルダの選択"), folder);
    if (chosen.isEmpty()) return false;
    folder = chosen;
    return true;
  };

  Grep1.ProcessMessages = [this] { ProcessMessages(); };
  // A FIFO or device in a dictionary's place would hold the window in open().
  Grep1.RegularFilesOnly = true;

  // The keyword marks form a radio group: choosing one unchecks the others.
  MarkGroup = new QActionGroup(this);
  MarkGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
  for (int mark = 1; mark <= 5; ++mark) MarkGroup->addAction(MarkItem(mark));

  // The search button lies under the cancel button; Enter and its
  // accelerator reach it.
  ui->CancelBtn->raise();
  // The place of the window's definition; the settings may move it.
  move(kDefinedLeft, kDefinedTop);
  // Until the settings are loaded, the window shows the defaults.
  settings::TSettingsValues defaults = settings::DefaultSettings();
  defaults.Top = kDefinedTop;
  defaults.Left = kDefinedLeft;
  defaults.Width = ClientSize().width();
  defaults.Height = ClientSize().height();
  ApplySettings(defaults);
  ui->RichEdit1->raise();
  ui->Panel1->setMinimumSize(MinimumClientWidth(), kMinimumClientHeight);

  connect(ui->SearchBtn, &QPushButton::clicked, this, &TMainForm::SearchBtnClick);
  connect(ui->CancelBtn, &QPushButton::clicked, this, &TMainForm::CancelBtnClick);
  connect(ui->CaseInsensitiveCheckBox, &QCheckBox::clicked, this, &TMainForm::CaseInsensitiveCheckBoxClick);
  for (int number = 1; number <= 6; ++number) {
    TFunctionPanel* panel = DictionaryPanel(number);
    connect(panel, &TFunctionPanel::clicked, this, [this, panel] { FunctionPanel1Click(panel); });
  }
  connect(ui->SubMenuDic1, &QAction::triggered, this, &TMainForm::SubMenuDic1Click);
  connect(ui->SubMenuDic2, &QAction::triggered, this, &TMainForm::SubMenuDic2Click);
  connect(ui->SubMenuDic3, &QAction::triggered, this, &TMainForm::SubMenuDic3Click);
  connect(ui->SubMenuDic4, &QAction::triggered, this, &TMainForm::SubMenuDic4Click);
  connect(ui->SubMenuDic5, &QAction::triggered, this, &TMainForm::SubMenuDic5Click);
  connect(ui->SubMenuDic6, &QAction::triggered, this, &TMainForm::SubMenuDic6Click);
  connect(ui->SubMenuDic8, &QAction::triggered, this, &TMainForm::SubMenuDic8Click);
  connect(ui->SubMenuDicFolder, &QAction::triggered, this, &TMainForm::SubMenuDicFolderClick);
  connect(ui->SubMenuEdit1, &QAction::triggered, this, &TMainForm::SubMenuEdit1Click);
  connect(ui->SubMenuEdit2, &QAction::triggered, this, &TMainForm::SubMenuEdit2Click);
  connect(ui->SubMenuEdit3, &QAction::triggered, this, &TMainForm::SubMenuEdit3Click);
  connect(ui->SubMenuView3, &QAction::triggered, this, &TMainForm::SubMenuView3Click);
  connect(ui->SubMenuView4, &QAction::triggered, this, &TMainForm::SubMenuView4Click);
  connect(ui->SubMenuView5, &QAction::triggered, this, &TMainForm::SubMenuView5Click);
  connect(ui->SubMenuView8, &QAction::triggered, this, &TMainForm::SubMenuView8Click);
  connect(ui->SubMenuHelp1, &QAction::triggered, this, &TMainForm::SubMenuHelp1Click);
  connect(ui->SubMenuHelp2, &QAction::triggered, this, &TMainForm::SubMenuHelp2Click);

  // The client area's resizing lays out the controls; the view's focus
  // turns the key preview off and on.
  ui->Panel1->installEventFilter(this);
  ui->RichEdit1->installEventFilter(this);
  // Key presses reach FormKeyDown before the focused control.
  FKeyPreview = new TKeyPreview(this, {ui->SubMenuEdit1, ui->SubMenuEdit2, ui->SubMenuEdit3}, ui->SearchBtn,
                                [this](QKeyEvent* key) { return FormKeyDown(key); });
  FKeyPreview->Install();
}

TMainForm::~TMainForm() = default;

// ---------------------------------------------------------------------------
// Creation, settings, closing

void TMainForm::FormCreate() {
  Command([this] {
    FHelpFile = QStringLiteral("kovah.hlp");
    FindDictionaries();
    LoadSettings();
  });
  // What the window shows now is what this run's changes are counted against.
  FSettings.SetLoadedValues(CurrentSettings());
}

void TMainForm::SetDialogs(TInputForm* inputForm, TFindForm* findForm) {
  FInputForm = inputForm;
  FFindForm = findForm;
}

std::string TMainForm::SettingsPath() const { return SettingsLocation().Path; }

settings::TSettingsLocation TMainForm::SettingsLocation() const {
  if (!FSettingsPath.empty()) return {settings::TSettingsKind::Named, FSettingsPath, ""};
  const std::string program =
      FProgramPath.empty() ? QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString() : FProgramPath;
  return settings::ChooseSettingsLocation(settings::SettingsPlacesFromEnvironment(program));
}

void TMainForm::FindDictionaries() {
  // A folder chosen during this run counts as one given on the command line.
  const std::string remembered =
      settings::RememberedDictionaryFolder(TProfile(settings::FileToLoad(SettingsLocation())));
  const dictionary_folder::TChoice choice = dictionary_folder::Choose(dictionary_folder::PlacesFromEnvironment(
      FChosenFolder.empty() ? FDictionaryArgument : FChosenFolder, remembered));
  FDictionaryFolder = choice.Folder;
  FDriver.SetDictionaries(choice.Found, choice.Folder);
  for (int number = 1; number <= 6; ++number) {
    TFunctionPanel* panel = DictionaryPanel(number);
    QAction* item = DictionaryItem(number);
    const bool available = choice.Found[static_cast<std::size_t>(number - 1)].Available;
    panel->SetFaceColour(ToQColor(
        colours::SystemColour(available ? colours::kSystemButtonFace : colours::kSystemButtonShadow), palette()));
    panel->setEnabled(available);
    item->setEnabled(available);
    // A dictionary that a new folder lacks is no longer selected.
    if (!available && item->isChecked()) {
      item->setChecked(false);
      panel->SetLowered(false);
    }
  }
  SetStatus(QString::fromStdString(dictionary_folder::FolderStatus(choice)).toStdU16String());
  ui->Label2->setToolTip(QString::fromStdString(dictionary_folder::FolderStatus(choice)));
  if (choice.Folder.empty()) {
    FResultView.Clear();
    for (const std::string& line : dictionary_folder::NothingFoundLines(choice)) FResultView.AppendLine(line);
  }
}

void TMainForm::SubMenuDicFolderClick() {
  Command([this] {
    if (!ui->MenuDic->isEnabled() || FDriver.Searching()) return;
    QString folder = QFile::decodeName(QByteArray::fromStdString(FDictionaryFolder));
    if (!FolderChooser(folder)) return;
    FChosenFolder = QFile::encodeName(folder).toStdString();
    FResultView.Clear();
    FindDictionaries();
  });
}

void TMainForm::LoadSettings() {
  // Reading stops at a colour that is not an integer; what was read before
  // it is shown all the same.
  settings::TSettingsValues values = CurrentSettings();
  try {
    FSettings.Load(settings::FileToLoad(SettingsLocation()), values);
  } catch (...) {
    ApplySettings(values);
    throw;
  }
  ApplySettings(values);
}

void TMainForm::SaveSettings() {
  const settings::TSettingsLocation location = SettingsLocation();
  settings::PrepareSave(location);
  FSettings.Save(location.Path, CurrentSettings());
}

settings::TSettingsValues TMainForm::CurrentSettings() const {
  settings::TSettingsValues values;
  for (int number = 1; number <= 6; ++number) {
    values.Dictionaries[static_cast<std::size_t>(number - 1)] = DictionaryItem(number)->isChecked();
  }
  values.ShowTags = ShowTags();
  values.KeywordMark = KeywordMark();
  values.LimitEnabled = LimitEnabled();
  values.HitLimit = FHitLimit;
  const QFont font = FResultView.NormalFont();
  values.NormalFontFace = encoding::EncodeSjisLossy(font.family().toStdU16String()).Bytes;
  values.NormalFontSize = font.pointSizeF() > 0 ? qRound(font.pointSizeF())
                                                : qRound(font.pixelSize() * 72.0 / ui->RichEdit1->logicalDpiY());
  values.NormalColour = FResultView.NormalColour();
  values.Bold = FKeywordStyle.Bold;
  values.Italic = FKeywordStyle.Italic;
  values.Underline = FKeywordStyle.Underline;
  values.KeywordColour = FKeywordStyle.Colour;
  values.BackgroundColour = FResultView.BackgroundColour();
  values.Top = y();
  values.Left = x();
  const QSize client = ClientSize();
  values.Width = client.width();
  values.Height = client.height();
  values.DictionaryFolder = FChosenFolder;
  return values;
}

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

// ---------------------------------------------------------------------------
// The search

void TMainForm::SearchBtnClick() {
  if (FDriver.Searching()) return;
  // The status label changes with every hit; during the search it is painted
  // together with the result view, a few times a second (ProcessMessages).
  ui->Label2->setUpdatesEnabled(false);
  std::exception_ptr error;
  try {
    FDriver.Search(ui->ComboBox1->currentText().toStdU16String(), ui->WordSearchCheckBox->isChecked(), SearchOptions());
  } catch (...) {
    error = std::current_exception();
  }
  ui->Label2->setUpdatesEnabled(true);
  if (error) {
    try {
      std::rethrow_exception(error);
    } catch (const ECancelRequest& e) {
      // A cancel that the closing of the window asked for is no news.
      if (!FCloseAfterSearch) ShowError(this, e);
    } catch (const std::exception& e) {
      ShowError(this, e);
    }
  }
  if (FCloseAfterSearch) {
    FCloseAfterSearch = false;
    close();
  }
}

void TMainForm::CancelBtnClick() { FDriver.Cancel(); }

void TMainForm::CaseInsensitiveCheckBoxClick() {
  Command([this] { FDriver.SetIgnoreCase(ui->CaseInsensitiveCheckBox->isChecked()); });
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

void TMainForm::SearchStarted(const std::u16string& query) {
  // Adding the first item would make it the current one and replace the
  // typed text; the text is the same, but keep the edit as it is.
  const QString typed = ui->ComboBox1->currentText();
  ui->ComboBox1->addItem(FromUtf16(query));
  ui->ComboBox1->setEditText(typed);
  SetSearchControlsEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TMainForm::SearchProgress(const std::u16string& status) { SetStatus(status); }

void TMainForm::SearchEnded(const std::u16string& status) {
  SetStatus(status);
  QApplication::restoreOverrideCursor();
  SetSearchControlsEnabled(true);
  // Disabling moved the focus away; the next word is typed over this one.
  ui->ComboBox1->setFocus();
  ui->ComboBox1->lineEdit()->selectAll();
}

void TMainForm::SearchMessage(const std::u16string& text) {
  ShowMessageBox(this, FromUtf16(text), QStringLiteral("KOVA Searcher"));
}

void TMainForm::SetSearchControlsEnabled(bool enabled) {
  ui->SearchBtn->setEnabled(enabled);
  ui->CancelBtn->setEnabled(!enabled);
  ui->ComboBox1->setEnabled(enabled);
  ui->MenuDic->setEnabled(enabled);
  ui->MenuView->setEnabled(enabled);
}

bool TMainForm::DictionaryChecked(int number) const { return DictionaryItem(number)->isChecked(); }

void TMainForm::SetStatus(const std::u16string& text) { ui->Label2->setText(FromUtf16(text)); }

bool TMainForm::LimitEnabled() const { return ui->SubMenuView7->isChecked(); }

int TMainForm::KeywordMark() const {
  for (int mark = 1; mark <= 4; ++mark) {
    if (MarkItem(mark)->isChecked()) return mark;
  }
  return 5;
}

bool TMainForm::ShowTags() const { return ui->SubMenuView1->isChecked(); }

// ---------------------------------------------------------------------------
// Dictionaries

QAction* TMainForm::DictionaryItem(int number) const {
  QAction* const items[] = {ui->SubMenuDic1, ui->SubMenuDic2, ui->SubMenuDic3,
                            ui->SubMenuDic4, ui->SubMenuDic5, ui->SubMenuDic6};
  return items[number - 1];
}

TFunctionPanel* TMainForm::DictionaryPanel(int number) const {
  TFunctionPanel* const panels[] = {ui->FunctionPanel1, ui->FunctionPanel2, ui->FunctionPanel3,
                                    ui->FunctionPanel4, ui->FunctionPanel5, ui->FunctionPanel6};
  return panels[number - 1];
}

QAction* TMainForm::MarkItem(int mark) const {
  QAction* const items[] = {ui->SubMenuMark1, ui->SubMenuMark2, ui->SubMenuMark3, ui->SubMenuMark4, ui->SubMenuMark5};
  return items[mark - 1];
}

void TMainForm::ClickMenuItem(QAction* item) {
  if (item->isEnabled()) item->trigger();
}

void TMainForm::FunctionPanel1Click(QObject* sender) {
  for (int number = 1; number <= 6; ++number) {
    TFunctionPanel* panel = DictionaryPanel(number);
    if (panel != sender) continue;
    QAction* item = DictionaryItem(number);
    item->setChecked(!item->isChecked());
    panel->SetLowered(!panel->Lowered());
    return;
  }
}

void TMainForm::SubMenuDicClick(int number) {
  // The item's check mark is the panel click's to invert; the toolkit has
  // already inverted it on the way here, so put it back first.
  QAction* item = DictionaryItem(number);
  item->setChecked(!item->isChecked());
  DictionaryPanel(number)->Click();
}

void TMainForm::SubMenuDic1Click() { SubMenuDicClick(1); }
void TMainForm::SubMenuDic2Click() { SubMenuDicClick(2); }
void TMainForm::SubMenuDic3Click() { SubMenuDicClick(3); }
void TMainForm::SubMenuDic4Click() { SubMenuDicClick(4); }
void TMainForm::SubMenuDic5Click() { SubMenuDicClick(5); }
void TMainForm::SubMenuDic6Click() { SubMenuDicClick(6); }

// ---------------------------------------------------------------------------
// Settings

void TMainForm::ApplySettings(const settings::TSettingsValues& values) {
  const settings::TSettingsValues now = CurrentSettings();
  for (int number = 1; number <= 6; ++number) {
    const std::size_t index = static_cast<std::size_t>(number - 1);
    if (values.Dictionaries[index] != now.Dictionaries[index]) ClickMenuItem(DictionaryItem(number));
  }
  ui->SubMenuView1->setChecked(values.ShowTags);
  SetKeywordMark(values.KeywordMark);
  ui->SubMenuView7->setChecked(values.LimitEnabled);
  SetHitLimit(values.HitLimit);
  if (values.NormalFontFace != now.NormalFontFace || values.NormalFontSize != now.NormalFontSize) {
    SetNormalFont(values.NormalFontFace, values.NormalFontSize);
  }
  SetNormalColour(values.NormalColour);
  SetKeywordStyle(values.Bold, values.Italic, values.Underline);
  SetKeywordColour(values.KeywordColour);
  SetBackgroundColour(values.BackgroundColour);
  if (values.Top != now.Top || values.Left != now.Left || values.Width != now.Width || values.Height != now.Height) {
    SetGeometry(values.Top, values.Left, values.Width, values.Height);
  }
}

void TMainForm::SetKeywordMark(int mark) { MarkItem(mark >= 1 && mark <= 4 ? mark : 5)->setChecked(true); }

void TMainForm::SetHitLimit(int limit) {
  FHitLimit = limit;
  SetHitLimitCaption();
}

void TMainForm::SetHitLimitCaption() {
  ui->SubMenuView8->setText(QStringLiteral("検索件数の設定(&S): ") + QString::number(FHitLimit));
}

void TMainForm::SetNormalFont(const std::string& faceSjis, int size) {
  QFont font = FResultView.NormalFont();
  font.setFamilies({FromUtf16(encoding::SjisToUtf16(faceSjis))});
  // A size that no font can have keeps the present one.
  if (size > 0) font.setPointSize(size);
  FResultView.SetNormalFont(font);
}

void TMainForm::SetNormalColour(std::int32_t colour) { FResultView.SetNormalColour(colour); }

void TMainForm::SetKeywordStyle(bool bold, bool italic, bool underline) {
  FKeywordStyle.Bold = bold;
  FKeywordStyle.Italic = italic;
  FKeywordStyle.Underline = underline;
}

void TMainForm::SetKeywordColour(std::int32_t colour) { FKeywordStyle.Colour = colour; }

void TMainForm::SetBackgroundColour(std::int32_t colour) { FResultView.SetBackgroundColour(colour); }

void TMainForm::SetGeometry(int top, int left, int width, int height) {
  // The stored place may lie off every screen and the size exceed any.
  screen_fit::TRect fitted{left, top, width, height};
  const QScreen* screen = QGuiApplication::screenAt(QPoint(left, top));
  if (screen == nullptr) screen = this->screen();
  if (screen != nullptr) {
    const QRect area = screen->availableGeometry();
    fitted = screen_fit::FitToArea(fitted, {area.x(), area.y(), area.width(), area.height()}, 0,
                                   this->height() - ClientSize().height());
  }
  move(fitted.Left, fitted.Top);
  SetClientSize(fitted.Width, fitted.Height);
}

// ---------------------------------------------------------------------------
// Layout and keys

QSize TMainForm::ClientSize() const {
  const int menuHeight = menuBar()->isNativeMenuBar() ? 0 : menuBar()->sizeHint().height();
  return {width(), height() - menuHeight};
}

void TMainForm::SetClientSize(int width, int height) {
  const int menuHeight = menuBar()->isNativeMenuBar() ? 0 : menuBar()->sizeHint().height();
  resize(std::max(width, MinimumClientWidth()), std::max(height, kMinimumClientHeight) + menuHeight);
}

int TMainForm::MinimumClientWidth() const { return ui->FunctionPanel6->x() + ui->FunctionPanel6->width() + 5; }

void TMainForm::FormResize() {
  const QSize client = ui->Panel1->size();
  if (client.width() < MinimumClientWidth() || client.height() < kMinimumClientHeight) {
    SetClientSize(client.width(), client.height());
    return;
  }
  const int width = client.width();
  ui->Bevel1->setGeometry(0, 0, width, ui->Bevel1->height());
  ui->Panel3->setGeometry(0, ui->Bevel1->height(), width, ui->Panel3->height());
  ui->Panel4->setGeometry(0, client.height() - ui->Panel4->height(), width, ui->Panel4->height());
  // The result view fills the space between the query area and the
  // dictionary bar.
  const int top = ui->Panel3->y() + ui->Panel3->height();
  ui->RichEdit1->setGeometry(0, top, width, ui->Panel4->y() - top);
  ui->RichEdit1->update();
}

bool TMainForm::FormKeyDown(QKeyEvent* key) {
  QScrollBar* scroll = ui->RichEdit1->verticalScrollBar();
  switch (key->key()) {
    case Qt::Key_PageUp:
      scroll->triggerAction(QAbstractSlider::SliderPageStepSub);
      return false;
    case Qt::Key_PageDown:
      scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
      return false;
    case Qt::Key_Up:
      scroll->triggerAction(QAbstractSlider::SliderSingleStepSub);
      return false;
    case Qt::Key_Down:
      scroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      return false;
    case Qt::Key_F1:
    case Qt::Key_F2:
    case Qt::Key_F3:
    case Qt::Key_F5:
    case Qt::Key_F6:
      ClickMenuItem(DictionaryItem(key->key() - Qt::Key_F1 + 1));
      return false;
    case Qt::Key_F4:
      // Consumed, so that the query box does not open its list.
      ClickMenuItem(ui->SubMenuDic4);
      return true;
    default:
      return false;
  }
}

void TMainForm::RichEdit1Enter() { FKeyPreview->Enabled = false; }

void TMainForm::RichEdit1Exit() { FKeyPreview->Enabled = true; }

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Resize:
      if (watched == ui->Panel1) FormResize();
      break;
    case QEvent::FocusIn:
      if (watched == ui->RichEdit1) RichEdit1Enter();
      break;
    case QEvent::FocusOut:
      if (watched == ui->RichEdit1) RichEdit1Exit();
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Edit commands

void TMainForm::SubMenuEdit1Click() { ui->RichEdit1->Copy(); }

void TMainForm::SubMenuEdit2Click() { ui->RichEdit1->CopyAll(); }

void TMainForm::SubMenuEdit3Click() {
  if (FFindForm == nullptr) return;
  FFindForm->show();
  FFindForm->raise();
  FFindForm->activateWindow();
}

// ---------------------------------------------------------------------------
// View commands

void TMainForm::SubMenuView3Click() {
  Command([this] {
    // The chooser opens on the face the view really shows; that face, kept,
    // keeps the name it was stored under.
    const QFont stored = FResultView.NormalFont();
    QFont font = TFontColourDialog::ShownFont(stored);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    const QColor current = ToQColor(FResultView.NormalColour(), ui->RichEdit1->palette());
    QColor colour = current;
    FFontChoice = TFontChoice::Normal;
    if (!FontChooser(font, colour)) return;
    if (font.family() == QFontInfo(stored).family()) font.setFamilies(stored.families());
    // An unchanged colour keeps its stored value (a system colour stays one).
    const std::int32_t value = colour == current ? FResultView.NormalColour() : FromQColor(colour);
    FResultView.ApplyNormalFont(font, value);
  });
}

void TMainForm::SubMenuView4Click() {
  Command([this] {
    QFont font = TFontColourDialog::ShownFont(FResultView.NormalFont());
    font.setBold(FKeywordStyle.Bold);
    font.setItalic(FKeywordStyle.Italic);
    font.setUnderline(FKeywordStyle.Underline);
    const QColor current = ToQColor(FKeywordStyle.Colour, ui->RichEdit1->palette());
    QColor colour = current;
    FFontChoice = TFontChoice::Keyword;
    if (!FontChooser(font, colour)) return;
    FKeywordStyle.Bold = font.bold();
    FKeywordStyle.Italic = font.italic();
    FKeywordStyle.Underline = font.underline();
    if (colour != current) FKeywordStyle.Colour = FromQColor(colour);
  });
}

void TMainForm::SubMenuView5Click() {
  Command([this] {
    QColor colour = ToQColor(FResultView.BackgroundColour(), ui->RichEdit1->palette());
    if (!ColourChooser(colour)) return;
    FResultView.SetBackgroundColour(FromQColor(colour));
  });
}

void TMainForm::SubMenuView8Click() {
  Command([this] {
    if (FInputForm == nullptr) return;
    FInputForm->MaskEdit1()->setText(QString::number(FHitLimit));
    FInputForm->exec();
    if (FInputForm->Cancelled) return;
    const QString text = FInputForm->MaskEdit1()->text();
    bool ok = false;
    const int limit = text.toInt(&ok, 10);
    if (!ok) throw NotAnInteger(text);
    SetHitLimit(limit);
  });
}

// ---------------------------------------------------------------------------
// Help

void TMainForm::SubMenuHelp2Click() {
  if (FHelpWindow == nullptr) FHelpWindow = new THelpWindow(this);
  FHelpWindow->ShowContents(FHelpFile);
}

void TMainForm::SubMenuHelp1Click() {
  // Lines centred on the longest one with spaces, counted in the columns
  // they take in a fixed-pitch font (a double-byte character takes two).
  const QString lines[] = {QStringLiteral("KOVALEX Searcher Mini " KOVALEX_VERSION), QString(),
                           QStringLiteral("正規表現コンポーネント0.14")};
  auto columns = [](const QString& line) {
    return static_cast<int>(encoding::EncodeSjisLossy(line.toStdU16String()).Bytes.size());
  };
  int widest = 0;
  for (const QString& line : lines) widest = std::max(widest, columns(line));
  QStringList centred;
  for (const QString& line : lines) {
    centred << (line.isEmpty() ? line : QString((widest - columns(line)) / 2, QLatin1Char(' ')) + line);
  }
  ShowMessageBox(this, centred.join(QLatin1Char('\n')), QStringLiteral("KOVA Searcher Mini"));
}
