// TMainForm: the program's main window.  It hosts the query area, the result
// view, the dictionary bar and the menus, owns the grep (Grep1) and the
// keyword matcher (AWKStr1), and hands each command to the core: the search
// driver, dictionary discovery and the settings file.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "core/form_geometry.h"
#include "core/handover.h"
#include "core/live_search.h"
#include "core/search.h"
#include "core/settings.h"
#include "core/settings_location.h"
#include "core/settings_session.h"
#include "grep/grep.h"
#include "regexp/regexp.h"
#include "ui/dictionarybar.h"
#include "ui/fontdialog.h"
#include "ui/keypreview.h"
#include "ui/messagebox.h"
#include "ui/resultview.h"

class QAction;
class QActionGroup;
class QKeyEvent;
class QTimer;
class TFindForm;
class TFunctionPanel;
class THelpWindow;
class TInputForm;
namespace Ui {
class TMainForm;
}

class TMainForm : public QMainWindow, public ISearchObserver {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // The window's creation: help file, hit limit, dictionary discovery, then
  // the settings.  An error is shown and the window starts all the same.
  void FormCreate();

  // The dialogs created after the main window; either may be null.
  void SetDialogs(TInputForm* inputForm, TFindForm* findForm);

  // The settings file: the given path when set, else as
  // core/settings_location chooses it for the program's path.
  void SetSettingsPath(const std::string& path) { FSettingsPath = path; }
  std::string SettingsPath() const;
  settings::TSettingsLocation SettingsLocation() const;
  // The executable's path that the settings' place depends on; the
  // application's own unless set.
  void SetProgramPath(const std::string& path) { FProgramPath = path; }

  // The dictionary folder given on the command line ("" when none); set
  // before FormCreate.
  void SetDictionaryArgument(const std::string& folder) { FDictionaryArgument = folder; }
  // The folder whose dictionaries are in use ("" when none was found).
  const std::string& DictionaryFolder() const { return FDictionaryFolder; }
  // The folder chosen with the menu command during this run ("" when none).
  const std::string& ChosenFolder() const { return FChosenFolder; }
  // The chooser of the dictionary folder command; tests replace it.  Gets
  // the current folder, returns false when cancelled.
  std::function<bool(QString& folder)> FolderChooser;

  // Choosers of the font and colour commands; tests replace them.  Each
  // gets the current choice, returns false when cancelled and otherwise
  // leaves the choice in its arguments.
  std::function<bool(QFont& font, QColor& colour)> FontChooser;
  std::function<bool(QColor& colour)> ColourChooser;

  // The window's state that the menus do not show.
  int HitLimitValue() const { return FHitLimit; }
  hits::TKeywordStyle KeywordStyleValue() const { return FKeywordStyle; }
  std::int32_t KeywordColour() const { return FKeywordStyle.Colour; }
  std::string NormalFontFace() const;  // Shift-JIS
  int NormalFontSize() const;
  std::int32_t NormalColour() const { return FResultView.NormalColour(); }
  std::int32_t BackgroundColour() const { return FResultView.BackgroundColour(); }
  TResultView& ResultView() { return FResultView; }
  // The result view's control, which the find dialog searches.
  THitView* RichEdit1() const;
  TSearchDriver& Driver() { return FDriver; }
  THelpWindow* HelpWindow() const { return FHelpWindow; }
  QString HelpFile() const { return FHelpFile; }
  bool KeyPreview() const { return FKeyPreview->Enabled; }

  // The client area: the window without its menu bar.
  QSize ClientSize() const;
  void SetClientSize(int width, int height);
  int MinimumClientWidth() const;
  static constexpr int kMinimumClientHeight = form_geometry::kMinimumHeight;
  // Where the window stands before the settings place it.
  static constexpr int kDefinedLeft = 127;
  static constexpr int kDefinedTop = 115;
  // The client size of the window's definition, that of a first start.
  static constexpr int kDefinedWidth = 555;
  static constexpr int kDefinedHeight = 385;

  // The settings as they stand now.
  settings::TSettingsValues CurrentSettings() const;
  // Shows values: sets every control and state that differs from
  // CurrentSettings().  A dictionary whose files were not found stays
  // unselected; the window's place and size are fitted to the screen.
  void ApplySettings(const settings::TSettingsValues& values);

  // A click of a menu item; does nothing while the item is disabled.
  static void ClickMenuItem(QAction* item);
  QAction* DictionaryItem(int number) const { return FDictionaryBar.Item(number); }
  TFunctionPanel* DictionaryPanel(int number) const { return FDictionaryBar.Panel(number); }
  QAction* MarkItem(int mark) const;

  TGrep Grep1;
  TAWKStr AWKStr1;

  // Handlers (also called by tests).
  void SearchBtnClick();
  void CancelBtnClick();
  void CaseInsensitiveCheckBoxClick();
  void FunctionPanel1Click(QObject* sender);
  void SubMenuDic1Click();
  void SubMenuDic2Click();
  void SubMenuDic3Click();
  void SubMenuDic4Click();
  void SubMenuDic5Click();
  void SubMenuDic6Click();
  void SubMenuDic8Click();
  void SubMenuDicFolderClick();
  void SubMenuEdit1Click();
  void SubMenuEdit2Click();
  void SubMenuEdit3Click();
  void SubMenuView3Click();
  void SubMenuView4Click();
  void SubMenuView5Click();
  void SubMenuView8Click();
  void SubMenuHelp1Click();
  void SubMenuHelp2Click();
  void FindDictionaries();
  void LoadSettings();
  void SaveSettings();
  // The key preview: true when the key is consumed.
  bool FormKeyDown(QKeyEvent* key);
  void FormResize();
  void RichEdit1Enter();
  void RichEdit1Exit();

  // The choices of the menus.
  bool DictionaryChecked(int number) const { return FDictionaryBar.Checked(number); }
  bool LimitEnabled() const;
  int KeywordMark() const;
  bool ShowTags() const;
  // The options of a search that begins now.
  TSearchOptions SearchOptions() const;

  // ISearchObserver: a search shows in the controls.
  void SearchStarted(const std::u16string& query, TSearchKind kind) override;
  void SearchProgress(const std::u16string& status) override;
  void SearchEnded(const std::u16string& status) override;
  void SearchMessage(const std::u16string& text) override;
  void SearchDeclined(const std::u16string& status) override;

  // Search as you type and the clipboard watch (menu 表示).
  bool SearchAsYouType() const;
  void SetSearchAsYouType(bool on);
  bool WatchClipboard() const;
  void SetWatchClipboard(bool on);
  // The longest copied text the clipboard watch searches.
  static constexpr int kMaxWatchedText = 100;
  // A query from another program: shown in the query box and searched as
  // the Search command searches it.
  void LookUp(const QString& query);
  // A request a later start handed over: the window comes to the front and
  // searches its query, or the clipboard's text when it has none.
  void HandedOver(const handover::TRequest& request);
  void LookUpClipboard();
  void ComboBox1Change(const QString& text);
  // The clipboard watch: a copied text of one line is searched as typed.
  void ClipboardChange();

  // Single settings, as ApplySettings sets them.
  void SetShowTags(bool show);
  void SetKeywordMark(int mark);
  void SetLimitEnabled(bool enabled);
  void SetHitLimit(int limit);
  void SetNormalFont(const std::string& faceSjis, int size);
  void SetNormalColour(std::int32_t colour);
  void SetKeywordStyle(bool bold, bool italic, bool underline);
  void SetKeywordColour(std::int32_t colour);
  void SetBackgroundColour(std::int32_t colour);
  void SetGeometry(int top, int left, int width, int height);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Connect();
  void ConnectLiveSearch();
  // Carries out the orders of the search-as-you-type rule.
  void Obey(const live_search::TOrders& orders);
  // One search of the query box's text.
  void RunSearch(TSearchKind kind);
  void FormClose();
  void FirstStart();
  // Shows the status; with announce, screen readers are told of it.
  void SetStatus(const std::u16string& text, bool announce);
  // The controls a search leaves alone are usable while none runs.
  void SetSearchControlsEnabled(bool enabled);
  // Lets pending window events run in the middle of a search, at most every
  // kMessageInterval milliseconds.
  void ProcessMessages();
  static constexpr int kMessageInterval = 5;
  QElapsedTimer FMessagesProcessed;
  // Runs a command handler; an error it raises goes to the error display.
  template <typename F>
  void Command(F&& handler) {
    try {
      handler();
    } catch (const std::exception& e) {
      ShowError(this, e);
    }
  }
  // Builds the controls of the window's definition; returns the result view.
  THitView* SetUpUi();

  // The controls of the window's definition (ui/mainform.ui).
  std::unique_ptr<Ui::TMainForm> ui;
  TResultView FResultView;
  TDictionaryBar FDictionaryBar;
  TSearchDriver FDriver;
  QActionGroup* MarkGroup;
  TInputForm* FInputForm = nullptr;
  TFindForm* FFindForm = nullptr;
  THelpWindow* FHelpWindow = nullptr;
  QString FHelpFile;
  std::string FSettingsPath;
  settings::TSettingsSession FSettings;
  std::string FProgramPath;
  std::string FDictionaryArgument;
  std::string FChosenFolder;
  std::string FDictionaryFolder;
  int FHitLimit = 0;  // and the other settings: DefaultSettings() until loaded
  hits::TKeywordStyle FKeywordStyle;
  TFontChoice FFontChoice = TFontChoice::Normal;  // for the font chooser
  TKeyPreview* FKeyPreview = nullptr;
  bool FCloseAfterSearch = false;
  live_search::TLiveSearch FLive;
  QTimer* FLiveTimer = nullptr;
  bool FQuietCancel = false;            // the running search was cancelled for the next one
  bool FClipboardOnActivation = false;  // a handed-over clipboard search waits for the focus
  bool FSettingsSaved = false;
};
