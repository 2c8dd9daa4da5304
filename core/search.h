// The search driver: from the query the user typed to the hits in the result
// view.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/hits.h"
#include "grep/grep.h"
#include "regexp/regexp.h"

// The result view as a search fills it: a sequence of lines, each appended
// at the end.  Texts are Shift-JIS bytes.
class IResultView {
 public:
  virtual ~IResultView() = default;
  // A search begins to fill the view: all text goes; until EndFill the view
  // only gathers the lines, shows them now and then and takes no commands.
  virtual void BeginFill() = 0;
  // Appends a line in the normal format.
  virtual void AppendLine(const std::string& line) = 0;
  // Appends a line whose bytes [runStart, runStart + runLength) are the
  // keyword run, shown with the keyword style; the rest in the normal format.
  virtual void AppendHitLine(const std::string& line, int runStart, int runLength,
                             const hits::TKeywordStyle& style) = 0;
  // The search has ended: the view shows all its lines from the top and
  // takes commands again.
  virtual void EndFill() = 0;
};

// What a search needs to know from the window, read once when it begins.
struct TSearchOptions {
  int HitLimit = 0;  // the search stops at this many hits; 0: no limit
  hits::TMarks Marks;
  bool ShowTags = false;
  hits::TKeywordStyle KeywordStyle;
};

// The Search command's search, or one started by typing: a typed search adds
// nothing to the history and shows no message box; what keeps it from
// beginning goes to the status line, files it could not read only to the
// end status.
enum class TSearchKind { Command, Typed };

// Whom a search tells how it goes: the window maps these to its own
// controls.  Texts are the status and message texts to show.
class ISearchObserver {
 public:
  virtual ~ISearchObserver() = default;
  // The search of query (as typed) has begun; only the Search command's
  // search goes into the query box's history.
  virtual void SearchStarted(const std::u16string& query, TSearchKind kind) = 0;
  // Another hit: the running status.
  virtual void SearchProgress(const std::u16string& status) = 0;
  // The search has ended, normally or by an error: the end status.
  virtual void SearchEnded(const std::u16string& status) = 0;
  // A search that cannot begin says why.
  virtual void SearchMessage(const std::u16string& text) = 0;
  // A typed search that cannot begin says why in the status line.
  virtual void SearchDeclined(const std::u16string& status) = 0;
};

// Whether dictionary number (1..kDictionaryCount) is selected now.
using TDictionaryChecked = std::function<bool(int number)>;

// The local time of day in seconds since midnight, with milliseconds.
double LocalTimeOfDay();

class TSearchDriver {
 public:
  // grep scans the files, matcher finds the keyword of each reported line;
  // they, the view and the observer outlive the driver.  The driver takes
  // grep's OnMatch for itself.
  TSearchDriver(TGrep& grep, TAWKStr& matcher, IResultView& view, ISearchObserver& observer,
                TDictionaryChecked dictionaryChecked);
  TSearchDriver(const TSearchDriver&) = delete;
  TSearchDriver& operator=(const TSearchDriver&) = delete;

  // The files found by discovery and the folder they lie in ("" for the
  // current directory).
  void SetDictionaries(const catalogue::TFoundDictionaries& files, const std::string& folder = "") {
    FFiles = files;
    FFolder = folder;
  }
  const catalogue::TFoundDictionaries& Dictionaries() const { return FFiles; }

  // The Search command.  An empty query or no selected dictionary shows its
  // message and returns.  A query without a Shift-JIS form or a malformed
  // pattern raises before anything has changed.  Otherwise the search runs
  // to its end, past files that cannot be opened or read; the end status
  // counts them, and EInOutError then names them (<file>: <reason>, one a
  // line, the first kMaxListedFiles).  An error that ends the search early
  // (cancel) leaves here after EndSearch has run.  Does nothing while a
  // search runs.
  void Search(const std::u16string& query, bool wordSearch, const TSearchOptions& options,
              TSearchKind kind = TSearchKind::Command);
  // The kind of the running or last search.
  TSearchKind Kind() const { return FKind; }

  // The Cancel command: the running scan stops at its next test.
  void Cancel() { FCancelFlag = true; }

  // The case-insensitive option: sets it on the grep, then on the keyword
  // matcher.  While a search runs, the change waits for the end of the
  // search, so that the scan in progress keeps its automaton and the hits of
  // one search are all found the same way.
  void SetIgnoreCase(bool ignoreCase);

  static constexpr std::size_t kMaxListedFiles = 10;

  bool Searching() const { return FSearching; }
  int HitCount() const { return FHitCount; }
  // The files the last search could not read.
  std::size_t UnreadFiles() const { return FUnread.size(); }
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
  // The grep's OnMatch handler: renders one reported line when it is a hit;
  // raises EEndOfFile at the hit limit.
  void Grep1Match(LineInfo_t lineInfo);

  TGrep& Grep1;
  TAWKStr& AWKStr1;
  IResultView& FView;
  ISearchObserver& FObserver;
  TDictionaryChecked FDictionaryChecked;
  catalogue::TFoundDictionaries FFiles{};
  std::string FFolder;

  bool FSearching = false;
  TSearchKind FKind = TSearchKind::Command;
  std::int32_t FHitCount = 0;
  TSearchOptions FOptions;
  bool FCancelFlag = false;
  bool FStopFlag = false;
  std::string FCurrentFile;          // as on disk, with the folder, as passed to GrepFile
  std::string FCurrentFileSjis;      // for tags
  std::u16string FCurrentFileText;   // for the status line
  std::vector<std::string> FUnread;  // "<file>: <reason>" of each file that could not be read
  double FStartTime = 0;             // time of day at the start, elapsed seconds at the end
  bool FIgnoreCasePending = false;
  bool FPendingIgnoreCase = false;
};
