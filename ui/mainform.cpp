// The main window's wiring: its controls, the handlers they call, the key
// preview, and the commands of the edit and help menus.
#include "ui/mainform.h"

#include <sys/stat.h>

#include <QActionGroup>
#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <cerrno>

#include "core/about.h"
#include "core/dictionary_folder.h"
#include "core/file_system.h"
#include "kovalex_version.h"
#include "ui/findform.h"
#include "ui/functionpanel.h"
#include "ui/helpwindow.h"
#include "ui_mainform.h"

THitView* TMainForm::SetUpUi() {
  ui->setupUi(this);
  setWindowTitle(QStringLiteral(KOVALEX_WINDOW_PRODUCT " " KOVALEX_VERSION));
  return ui->RichEdit1;
}

THitView* TMainForm::RichEdit1() const { return ui->RichEdit1; }

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::TMainForm>()),
      FResultView(SetUpUi()),
      FDictionaryBar(
          {ui->SubMenuDic1, ui->SubMenuDic2, ui->SubMenuDic3, ui->SubMenuDic4, ui->SubMenuDic5, ui->SubMenuDic6},
          {ui->FunctionPanel1, ui->FunctionPanel2, ui->FunctionPanel3, ui->FunctionPanel4, ui->FunctionPanel5,
           ui->FunctionPanel6}),
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
  for (int mark = 1; mark <= hits::kMarkCount; ++mark) MarkGroup->addAction(MarkItem(mark));

  // The search button lies under the cancel button; Enter and its
  // accelerator reach it.
  ui->CancelBtn->raise();
  // What was typed is searched as typed: no completion (it would change the
  // case, or add what was not typed), and Enter never swaps the text for a
  // history item that differs in case.
  ui->ComboBox1->setCompleter(nullptr);
  ui->ComboBox1->setDuplicatesEnabled(true);
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
  Connect();
}

TMainForm::~TMainForm() = default;

void TMainForm::Connect() {
  connect(ui->SearchBtn, &QPushButton::clicked, this, &TMainForm::SearchBtnClick);
  connect(ui->CancelBtn, &QPushButton::clicked, this, &TMainForm::CancelBtnClick);
  connect(ui->CaseInsensitiveCheckBox, &QCheckBox::clicked, this, &TMainForm::CaseInsensitiveCheckBoxClick);
  for (int number = 1; number <= catalogue::kDictionaryCount; ++number) {
    TFunctionPanel* panel = DictionaryPanel(number);
    connect(panel, &TFunctionPanel::clicked, this, [this, panel] { FunctionPanel1Click(panel); });
    connect(panel, &TFunctionPanel::toggled, this,
            [this, number](bool lowered) { FDictionaryBar.PanelToggled(number, lowered); });
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
  // turns the key preview off and on; what is typed in the view starts a
  // new query.
  ui->Panel1->installEventFilter(this);
  ui->RichEdit1->installEventFilter(this);
  ui->RichEdit1->SetTypingTarget(ui->ComboBox1);
  // Key presses reach FormKeyDown before the focused control, except while
  // the result view has the focus; the edit menu's shortcuts come before
  // the controls' own use of those keys, and Enter outside the result view
  // runs the Search button, the window's default button.
  FKeyPreview = new TKeyPreview(this, {ui->SubMenuEdit1, ui->SubMenuEdit2, ui->SubMenuEdit3}, ui->SearchBtn,
                                [this](QKeyEvent* key) { return FormKeyDown(key); });
  FKeyPreview->Install();
  ConnectLiveSearch();
}

void TMainForm::FormCreate() {
  Command([this] {
    FHelpFile = QStringLiteral("kovah.hlp");
    // Read once: discovery takes the remembered folder from it, then the
    // settings select among what it found.
    const std::string path = settings::FileToLoad(SettingsLocation());
    struct stat st {};
    const bool firstStart = lstat(path.c_str(), &st) != 0 && errno == ENOENT;
    FSettings.Read(path);
    FindDictionaries();
    LoadSettings();
    if (firstStart) FirstStart();
  });
  // What the window shows now is what this run's changes are counted against.
  FSettings.SetLoadedValues(CurrentSettings());
}

// With no settings file at all, the window opens at its defined size in the
// middle of the screen, and every dictionary found is selected, so that the
// first word typed finds something.
void TMainForm::FirstStart() {
  for (int number = 1; number <= catalogue::kDictionaryCount; ++number) {
    if (!DictionaryChecked(number)) ClickMenuItem(DictionaryItem(number));
  }
  const QScreen* shown = screen();
  if (shown == nullptr) return;
  const QRect area = shown->availableGeometry();
  const int frameHeight = height() - ClientSize().height();
  SetGeometry(area.y() + (area.height() - kDefinedHeight - frameHeight) / 2,
              area.x() + (area.width() - kDefinedWidth) / 2, kDefinedWidth, kDefinedHeight);
}

void TMainForm::SetDialogs(TInputForm* inputForm, TFindForm* findForm) {
  FInputForm = inputForm;
  FFindForm = findForm;
}

void TMainForm::ClickMenuItem(QAction* item) {
  if (item->isEnabled()) item->trigger();
}

QAction* TMainForm::MarkItem(int mark) const {
  QAction* const items[hits::kMarkCount] = {ui->SubMenuMark1, ui->SubMenuMark2, ui->SubMenuMark3, ui->SubMenuMark4,
                                            ui->SubMenuMark5};
  return items[mark - 1];
}

// ---------------------------------------------------------------------------
// Dictionaries

void TMainForm::FunctionPanel1Click(QObject* sender) { FDictionaryBar.PanelClicked(sender); }

void TMainForm::SubMenuDic1Click() { FDictionaryBar.ItemClicked(1); }
void TMainForm::SubMenuDic2Click() { FDictionaryBar.ItemClicked(2); }
void TMainForm::SubMenuDic3Click() { FDictionaryBar.ItemClicked(3); }
void TMainForm::SubMenuDic4Click() { FDictionaryBar.ItemClicked(4); }
void TMainForm::SubMenuDic5Click() { FDictionaryBar.ItemClicked(5); }
void TMainForm::SubMenuDic6Click() { FDictionaryBar.ItemClicked(6); }

void TMainForm::FindDictionaries() {
  // A folder chosen during this run counts as one given on the command line.
  const dictionary_folder::TChoice choice = dictionary_folder::Choose(dictionary_folder::PlacesFromEnvironment(
      FChosenFolder.empty() ? FDictionaryArgument : FChosenFolder, FSettings.RememberedFolder()));
  FDictionaryFolder = choice.Folder;
  FDriver.SetDictionaries(choice.Found, choice.Folder);
  FDictionaryBar.ShowFound(choice.Found, palette());
  const QString status = QString::fromStdString(dictionary_folder::FolderStatus(choice));
  SetStatus(status.toStdU16String(), true);
  ui->Label2->setToolTip(status);
  if (choice.Folder.empty()) {
    FResultView.Clear();
    for (const std::string& line : dictionary_folder::NothingFoundLines(choice)) FResultView.AppendLine(line);
  }
}

void TMainForm::SubMenuDicFolderClick() {
  Command([this] {
    if (!ui->MenuDic->isEnabled() || FDriver.Searching()) return;
    const QString shown = QFile::decodeName(QByteArray::fromStdString(FDictionaryFolder));
    QString folder = shown;
    if (!FolderChooser(folder)) return;
    // A name that is no text in the user's locale (Shift-JIS bytes) comes
    // back as the chooser shows it, with replacement characters: the folder
    // in use keeps its bytes, another one is looked up on disk.
    const std::string found = file_system::PathShownAs(
        folder.toStdU16String(),
        [](const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)).toStdU16String(); },
        [](const std::u16string& name) { return QFile::encodeName(QString::fromStdU16String(name)).toStdString(); });
    FChosenFolder = folder == shown && !FDictionaryFolder.empty() ? FDictionaryFolder
                    : !found.empty()                              ? found
                                                                  : QFile::encodeName(folder).toStdString();
    FResultView.Clear();
    FindDictionaries();
  });
}

// ---------------------------------------------------------------------------
// Keys

bool TMainForm::FormKeyDown(QKeyEvent* key) {
  QScrollBar* scroll = ui->RichEdit1->verticalScrollBar();
  // In the query box these keys only scroll: the query stays as typed (the
  // list opens with its button and Alt+Down).
  const bool inQuery =
      ui->ComboBox1->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == ui->ComboBox1;
  const bool scrolls = (key->modifiers() & Qt::AltModifier) == 0;
  switch (key->key()) {
    case Qt::Key_PageUp:
      if (scrolls) scroll->triggerAction(QAbstractSlider::SliderPageStepSub);
      return scrolls && inQuery;
    case Qt::Key_PageDown:
      if (scrolls) scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
      return scrolls && inQuery;
    case Qt::Key_Up:
      if (scrolls) scroll->triggerAction(QAbstractSlider::SliderSingleStepSub);
      return scrolls && inQuery;
    case Qt::Key_Down:
      if (scrolls) scroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      return scrolls && inQuery;
    case Qt::Key_F1:
    case Qt::Key_F2:
    case Qt::Key_F3:
    case Qt::Key_F5:
    case Qt::Key_F6:
      ClickMenuItem(DictionaryItem(key->key() - Qt::Key_F1 + 1));
      return false;
    case Qt::Key_F4:
      // Consumed, so that the query box does not open its list.
      ClickMenuItem(DictionaryItem(4));
      return true;
    case Qt::Key_Escape:
      // During a search, as the Cancel button.
      if (!FDriver.Searching()) return false;
      CancelBtnClick();
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
// Edit and help commands

void TMainForm::SubMenuEdit1Click() { ui->RichEdit1->Copy(); }

void TMainForm::SubMenuEdit2Click() { ui->RichEdit1->CopyAll(); }

void TMainForm::SubMenuEdit3Click() {
  if (FFindForm == nullptr) return;
  if (!FFindForm->isVisible()) FFindForm->PlaceBesideMainForm();
  FFindForm->show();
  FFindForm->raise();
  FFindForm->activateWindow();
}

void TMainForm::SubMenuHelp2Click() {
  if (FHelpWindow == nullptr) FHelpWindow = new THelpWindow(this);
  FHelpWindow->ShowContents(FHelpFile);
}

void TMainForm::SubMenuHelp1Click() {
  ShowMessageBox(this, QString::fromStdU16String(about::AboutText()), QStringLiteral("KOVA Searcher Mini"));
}
