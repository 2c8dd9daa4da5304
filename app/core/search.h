// The search driver: from the query the user typed to the hits in the result
// view.
//
// A search turns the query into the search pattern (the "@" wildcard
// expanded) and the keyword pattern (wrapped for a whole-word search), sets
// them on the keyword matcher and the grep, and then walks the selected
// dictionaries in catalogue order: a header line per dictionary, a GrepFile
// per file.  Every line the grep reports comes back through Grep1Match,
// which keeps the line when the keyword pattern matches it and appends it
// with its marks, tag and coloured keyword run.  The driver counts the hits,
// stops at the hit limit, and reports the elapsed time and the number of
// hits at the end.
//
// The driver sees the window and its result view only through the two
// interfaces below, so that it runs the same way in the window and in tests.
// It runs on the caller's thread; the grep's message pump (set by the
// window) lets other commands run while it scans, so every entry point that
// such a command reaches is safe to call in the middle of a search.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/catalogue.h"
#include "core/hits.h"
#include "grep.h"
#include "regexp.h"

// The result view: a sequence of lines, each appended at the end in the
// normal character format.  Texts are Shift-JIS bytes.
class IResultView {
 public:
  virtual ~IResultView() = default;
  // Removes all text.
  virtual void Clear() = 0;
  // Appends a line in the normal format.
  virtual void AppendLine(const std::string& line) = 0;
  // Appends a line whose bytes [runStart, runStart + runLength) are the
  // keyword run, shown with the keyword style; the rest in the normal format.
  virtual void AppendHitLine(const std::string& line, int runStart, int runLength,
                             const hits::TKeywordStyle& style) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  // Whether the selection stays hidden (while a search fills the view).
  virtual void SetHideSelection(bool hide) = 0;
  // Puts the caret at the start of the text with an empty selection.
  virtual void CaretToStart() = 0;
};

// The window around a search: its controls, its status line, and the
// settings a search reads.
class ISearchWindow {
 public:
  virtual ~ISearchWindow() = default;
  // A message box with an OK button and no icon.
  virtual void ShowMessage(const std::u16string& text, const std::u16string& caption) = 0;
  // Whether dictionary number (1..6) is selected now.
  virtual bool DictionaryChecked(int number) const = 0;
  virtual void SetSearchButtonEnabled(bool enabled) = 0;
  virtual void SetCancelButtonEnabled(bool enabled) = 0;
  // Adds the query as typed to the end of the query history.
  virtual void AppendHistory(const std::u16string& query) = 0;
  virtual void SetQueryEnabled(bool enabled) = 0;
  // The dictionary and view menus.
  virtual void SetMenusEnabled(bool enabled) = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  virtual void SetStatus(const std::u16string& text) = 0;
  // Read when a search begins.
  virtual bool LimitEnabled() const = 0;
  virtual int HitLimit() const = 0;
  virtual int KeywordMark() const = 0;  // 1..5, see hits::MarksFor
  // Read for every hit.
  virtual bool ShowTags() const = 0;
  virtual hits::TKeywordStyle KeywordStyle() const = 0;
};

// The local time of day in seconds since midnight, with milliseconds.
double LocalTimeOfDay();

class TSearchDriver {
 public:
  // grep scans the files, matcher finds the keyword of each reported line;
  // both belong to the window and outlive the driver.  The caller routes
  // grep's OnMatch to Grep1Match.
  TSearchDriver(TGrep& grep, TAWKStr& matcher, IResultView& view, ISearchWindow& window);
  TSearchDriver(const TSearchDriver&) = delete;
  TSearchDriver& operator=(const TSearchDriver&) = delete;

  // The files found by discovery, dictionaries 1..6 at indexes 0..5, and the
  // folder they lie in ("" for the current directory).
  void SetDictionaries(const std::array<catalogue::TDictionaryFiles, 6>& files, const std::string& folder = "") {
    FFiles = files;
    FFolder = folder;
  }
  const std::array<catalogue::TDictionaryFiles, 6>& Dictionaries() const { return FFiles; }

  // The Search command.  An empty query or no selected dictionary shows its
  // message and returns.  A query without a Shift-JIS form or a malformed
  // pattern raises before anything has changed.  Otherwise the search runs
  // to its end; an error that ends it early (cancel, a file that cannot be
  // read) leaves here after EndSearch has run.  Does nothing while a search
  // runs.
  void Search(const std::u16string& query, bool wordSearch);

  // The grep's OnMatch handler: renders one reported line when it is a hit;
  // raises EEndOfFile at the hit limit.
  void Grep1Match(TGrep& sender, LineInfo_t lineInfo);

  // The Cancel command: the running scan stops at its next test.
  void Cancel() { FCancelFlag = true; }

  // The case-insensitive option: sets it on the grep, then on the keyword
  // matcher.  While a search runs, the change waits for the end of the
  // search, so that the scan in progress keeps its automaton and the hits of
  // one search are all found the same way.
  void SetIgnoreCase(bool ignoreCase);

  bool Searching() const { return FSearching; }
  int HitCount() const { return FHitCount; }
  bool CancelRequested() const { return FCancelFlag; }
  bool Stopped() const { return FStopFlag; }
  // The seconds of the last finished search.
  double Elapsed() const { return FStartTime; }

  // The clock; LocalTimeOfDay unless a test replaces it.
  std::function<double()> TimeOfDay = LocalTimeOfDay;

 private:
  void BeginSearch(const std::u16string& query);
  void EndSearch();
  void SearchDictionaries();
  void SearchFile(const std::string& fileName);
  void ApplyPendingIgnoreCase();

  TGrep& Grep1;
  TAWKStr& AWKStr1;
  IResultView& FView;
  ISearchWindow& FWindow;
  std::array<catalogue::TDictionaryFiles, 6> FFiles{};
  std::string FFolder;

  bool FSearching = false;
  std::int32_t FHitCount = 0;
  std::int32_t FEffectiveLimit = 0;
  bool FCancelFlag = false;
  bool FStopFlag = false;
  std::string FCurrentFile;         // as on disk, with the folder, as passed to GrepFile
  std::string FCurrentFileSjis;     // for tags
  std::u16string FCurrentFileText;  // for the status line
  hits::TMarks FMarks;
  double FStartTime = 0;  // time of day at the start, elapsed seconds at the end
  bool FIgnoreCasePending = false;
  bool FPendingIgnoreCase = false;
};
