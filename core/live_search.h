// Search as you type: the rule that decides when the query box's text is
// searched.  The window feeds it events (text changed, the pause timer fired,
// an option toggled, the Search command, a search began or ended) and carries
// out the orders it returns: cancel the running search, start or stop the
// pause timer, run a search or clear the view.  Also the status texts of a
// typed search that cannot run.
#pragma once

#include <string>

namespace live_search {

// The pause after the last keystroke before the typed text is searched.
inline constexpr int kPauseMilliseconds = 150;

enum class TTimer { Keep, Start, Stop };
// What to run now: nothing, a typed search (no history, no message boxes), the
// Search command's search, or clearing the view and the status line.
enum class TRun { None, Typed, Command, Clear };

struct TOrders {
  bool Cancel = false;  // end the running search quietly
  TTimer Timer = TTimer::Keep;
  TRun Run = TRun::None;
  bool operator==(const TOrders&) const = default;
};

// One search at a time: while one runs, what should follow it waits until it
// has unwound (SearchEnded), so that searches never nest.
class TLiveSearch {
 public:
  // Search as you type on or off; off, only the Search command searches.
  void SetEnabled(bool enabled);
  bool Enabled() const { return FEnabled; }

  // The query box's text changed (typed, pasted or chosen from the list).
  TOrders TextChanged(const std::u16string& text);
  // The pause timer fired.
  TOrders TimerFired();
  // The word-search or case option, or a dictionary, was toggled.  The
  // Search command's own search goes on (it takes dictionaries as it reaches
  // them, the case option when it ends).
  TOrders OptionChanged();
  // The Search command (Enter, Alt+S) or a query handed over.
  TOrders Command();
  // A text to search at once as if typed (a copied text), also while search
  // as you type is off.
  TOrders LookUp(const std::u16string& text);
  // A search, typed or commanded (run), has begun; it has ended (normally,
  // by an error or cancelled): the orders say what follows it.
  void SearchBegan(TRun run) {
    FRunning = true;
    FRunningCommand = run == TRun::Command;
  }
  TOrders SearchEnded();

  bool Running() const { return FRunning; }
  const std::u16string& Text() const { return FText; }

 private:
  // Runs run now, or after the running search has been cancelled.
  TOrders RunOrQueue(TRun run, TTimer timer);

  bool FEnabled = true;
  bool FRunning = false;
  bool FRunningCommand = false;
  TRun FPending = TRun::None;
  std::u16string FText;
};

// The status line of a typed search whose pattern does not compile: the
// parser's message (Shift-JIS) and the 1-based byte position it names.
std::u16string PatternErrorStatus(const std::string& messageSjis, int position);
// The status line of a typed search with no dictionary selected.
std::u16string NoDictionaryStatus();

}  // namespace live_search
