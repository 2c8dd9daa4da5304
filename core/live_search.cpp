#include "core/live_search.h"

#include "text/encoding.h"

namespace live_search {

void TLiveSearch::SetEnabled(bool enabled) {
  FEnabled = enabled;
  if (!enabled && FPending == TRun::Typed) FPending = TRun::None;
}

// A keystroke ends the running search at once and waits for the pause; an
// emptied box clears the view without searching.
TOrders TLiveSearch::TextChanged(const std::u16string& text) {
  FText = text;
  if (!FEnabled) return {};
  if (FPending != TRun::Command) FPending = TRun::None;
  if (text.empty()) return RunOrQueue(TRun::Clear, TTimer::Stop);
  TOrders orders;
  orders.Cancel = FRunning;
  orders.Timer = TTimer::Start;
  return orders;
}

TOrders TLiveSearch::TimerFired() {
  if (!FEnabled || FText.empty()) return {};
  return RunOrQueue(TRun::Typed, TTimer::Keep);
}

TOrders TLiveSearch::OptionChanged() {
  if (!FEnabled || FText.empty() || (FRunning && FRunningCommand)) return {};
  return RunOrQueue(TRun::Typed, TTimer::Stop);
}

TOrders TLiveSearch::Command() { return RunOrQueue(TRun::Command, TTimer::Stop); }

TOrders TLiveSearch::LookUp(const std::u16string& text) {
  FText = text;
  if (text.empty()) return {};
  return RunOrQueue(TRun::Typed, TTimer::Stop);
}

TOrders TLiveSearch::SearchEnded() {
  FRunning = false;
  TOrders orders;
  orders.Run = FPending;
  FPending = TRun::None;
  return orders;
}

TOrders TLiveSearch::RunOrQueue(TRun run, TTimer timer) {
  TOrders orders;
  orders.Timer = timer;
  if (!FRunning) {
    orders.Run = run;
    return orders;
  }
  // The command's search is not replaced by a typed one queued after it.
  if (FPending != TRun::Command || run == TRun::Command) FPending = run;
  orders.Cancel = true;
  return orders;
}

std::u16string PatternErrorStatus(const std::string& messageSjis, int position) {
  std::u16string number;
  for (const char c : std::to_string(position)) number += static_cast<char16_t>(c);
  return encoding::SjisToUtf16(messageSjis) + u" (位置 " + number + u")";
}

std::u16string NoDictionaryStatus() { return u"辞書を指定してください"; }

}  // namespace live_search
