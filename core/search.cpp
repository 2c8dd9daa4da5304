#include "core/search.h"

#include <chrono>
#include <ctime>
#include <new>
#include <utility>

#include "core/dictionary_folder.h"
#include "core/file_error.h"
#include "core/keyword_run.h"
#include "core/live_search.h"
#include "core/query.h"
#include "core/texts.h"
#include "sjis/exceptions.h"
#include "text/encoding.h"

namespace {

constexpr double kSecondsPerDay = 24 * 60 * 60;

// The message of the files a search could not read.
std::string UnreadFilesMessage(const std::vector<std::string>& unread) {
  std::string message;
  for (std::size_t i = 0; i < unread.size() && i < TSearchDriver::kMaxListedFiles; ++i)
    message += (i == 0 ? "" : "\n") + unread[i];
  if (unread.size() > TSearchDriver::kMaxListedFiles)
    message += "\n... (" + std::string(sjis_text::kTextUnreadFiles) + " " + std::to_string(unread.size()) + ")";
  return message;
}

}  // namespace

double LocalTimeOfDay() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + static_cast<double>(millis) * 0.001;
}

TSearchDriver::TSearchDriver(TGrep& grep, TAWKStr& matcher, IResultView& view, ISearchObserver& observer,
                             TDictionaryChecked dictionaryChecked)
    : Grep1(grep),
      AWKStr1(matcher),
      FView(view),
      FObserver(observer),
      FDictionaryChecked(std::move(dictionaryChecked)) {
  Grep1.OnMatch = [this](TGrep& /*sender*/, LineInfo_t lineInfo) { Grep1Match(std::move(lineInfo)); };
}

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
// The driver knows nothing of the window: it reads the options a search
// needs once, when the search begins, asks a callback which dictionaries
// are selected, fills the result view and tells an observer how the search
// goes; so it runs the same way in the window and in tests.
// It runs on the caller's thread; the grep's message pump (set by the
// window) lets other commands run while it scans, so every entry point that
// such a command reaches is safe to call in the middle of a search.
void TSearchDriver::Search(const std::u16string& query, bool wordSearch, const TSearchOptions& options,
                           TSearchKind kind) {
  if (FSearching || Grep1.Busy()) return;
  FKind = kind;
  const bool typed = kind == TSearchKind::Typed;
  if (query.empty()) {
    if (!typed) FObserver.SearchMessage(u"キーワードが指定されていません");
    return;
  }
  bool anyChecked = false;
  for (int number = 1; number <= catalogue::kDictionaryCount; ++number)
    anyChecked = anyChecked || FDictionaryChecked(number);
  if (!anyChecked) {
    if (typed) {
      FObserver.SearchDeclined(live_search::NoDictionaryStatus());
    } else {
      FObserver.SearchMessage(u"辞書を指定してください");
    }
    return;
  }

  // Nothing has changed yet when one of these raises.  A half-typed pattern
  // is no error worth a box: the status line says what is wrong and where.
  try {
    const std::string searchPattern = query::TransformQuery(encoding::Utf16ToSjis(query));
    AWKStr1.SetPattern(query::KeywordPattern(searchPattern, wordSearch));
    Grep1.SetPattern(searchPattern);
  } catch (const ERegExpParser& e) {
    if (!typed) throw;
    FObserver.SearchDeclined(live_search::PatternErrorStatus(e.what(), e.Position));
    return;
  } catch (const Exception& e) {
    if (!typed) throw;
    FObserver.SearchDeclined(encoding::SjisToUtf16(e.what()));
    return;
  }

  FOptions = options;
  BeginSearch(query);
  try {
    SearchDictionaries();
  } catch (...) {
    EndSearch();
    throw;
  }
  EndSearch();
  if (!FUnread.empty() && !typed) throw EInOutError(UnreadFilesMessage(FUnread));
}

void TSearchDriver::BeginSearch(const std::u16string& query) {
  FSearching = true;
  FHitCount = 0;
  FStopFlag = false;
  FUnread.clear();
  FObserver.SearchStarted(query, FKind);
  FView.BeginFill();
  FCancelFlag = false;
  FStartTime = TimeOfDay();
}

void TSearchDriver::EndSearch() {
  double elapsed = TimeOfDay() - FStartTime;
  // A search that runs past midnight sees the clock start again at zero.
  if (elapsed < 0) elapsed += kSecondsPerDay;
  FStartTime = elapsed;
  FView.EndFill();
  FObserver.SearchEnded(hits::EndStatus(elapsed, FHitCount, FUnread.size(), FStopFlag));
  FCancelFlag = false;
  FSearching = false;
  ApplyPendingIgnoreCase();
}

void TSearchDriver::SearchDictionaries() {
  for (const catalogue::TDictionaryInfo& info : catalogue::kDictionaries) {
    // The check mark counts as it is when the search gets here: a dictionary
    // toggled during the search is searched or skipped accordingly.
    if (!FDictionaryChecked(info.Number)) continue;
    if (FStopFlag) return;
    FView.AppendLine(std::string(info.HeaderLine));
    std::vector<std::string> files = FFiles[static_cast<std::size_t>(info.Number - 1)].Files;
    // A single-file dictionary always searches its file; if discovery did not
    // find it, opening it reports the missing file.
    if (files.empty() && info.FixedName) files.emplace_back(info.FileMask);
    for (const std::string& file : files) {
      if (FStopFlag) return;
      SearchFile(file);
    }
  }
}

void TSearchDriver::SearchFile(const std::string& fileName) {
  FCurrentFile = dictionary_folder::FileInFolder(FFolder, fileName);
  FCurrentFileSjis = catalogue::FileNameAsSjis(fileName);
  FCurrentFileText = catalogue::DisplayFileName(fileName);
  // A file that cannot be opened or read is noted, with its name (the
  // reader's messages leave it out), and the search goes on with the next;
  // memory that ran out while reading a file is such an error too.
  try {
    Grep1.GrepFile(FCurrentFile, &FCancelFlag);
  } catch (const EEndOfFile&) {
    throw;
  } catch (const EInOutError& e) {
    FUnread.push_back(file_error::Message(FCurrentFileSjis, e));
  } catch (const std::bad_alloc& e) {
    FUnread.push_back(file_error::Message(FCurrentFileSjis, e));
  }
}

void TSearchDriver::Grep1Match(LineInfo_t lineInfo) {
  int pos = 0;
  int len = 0;
  // The line itself, unless a lone lead byte at its end must be cut off.
  const std::string& line = lineInfo.Line;
  const std::size_t subject = hits::MatchSubjectLength(line);
  pos = subject == line.size() ? keyword_run::Find(AWKStr1, line, len)
                               : keyword_run::Find(AWKStr1, line.substr(0, subject), len);
  if (pos == 0) return;
  ++FHitCount;
  const std::string tag = FOptions.ShowTags ? hits::Tag(FCurrentFileSjis, lineInfo.LineNo) : std::string();
  const hits::THitLine hit = hits::BuildHitLine(tag, std::move(lineInfo.Line), pos, len, FOptions.Marks);
  FView.AppendHitLine(hit.Text, hit.RunStart, hit.RunLength, FOptions.KeywordStyle);
  FObserver.SearchProgress(hits::RunningStatus(FHitCount, FCurrentFileText));
  if (FHitCount == FOptions.HitLimit) {
    FStopFlag = true;
    throw EEndOfFile(std::string(sjis_text::kTextHitLimitReached));
  }
}

void TSearchDriver::SetIgnoreCase(bool ignoreCase) {
  if (FSearching || Grep1.Busy()) {
    FIgnoreCasePending = true;
    FPendingIgnoreCase = ignoreCase;
    return;
  }
  FIgnoreCasePending = false;
  Grep1.SetIgnoreCase(ignoreCase);
  AWKStr1.SetIgnoreCase(ignoreCase);
}

void TSearchDriver::ApplyPendingIgnoreCase() {
  if (!FIgnoreCasePending) return;
  FIgnoreCasePending = false;
  Grep1.SetIgnoreCase(FPendingIgnoreCase);
  AWKStr1.SetIgnoreCase(FPendingIgnoreCase);
}
