// The pause-and-restart rule of search as you type, run as event scripts:
// each event and the orders it must give; and the status texts of a typed
// search that cannot begin.
#include "core/live_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/encoding.h"

using namespace live_search;

namespace {

// One event: 't' text changed to Text, 'f' the timer fired, 'o' an option
// toggled, 'c' the Search command, 'b' a typed search began, 'B' the
// command's search began, 'e' a search ended,
// 'l' a copied Text looked up, 'x' search as you type off.
struct TStep {
  char Event;
  std::u16string Text;
  TOrders Expected;
};

constexpr TOrders kNone{};
constexpr TOrders kTimer{false, TTimer::Start, TRun::None};
constexpr TOrders kRestart{true, TTimer::Start, TRun::None};
constexpr TOrders kTyped{false, TTimer::Keep, TRun::Typed};
constexpr TOrders kCancel{true, TTimer::Keep, TRun::None};
constexpr TOrders kCancelStop{true, TTimer::Stop, TRun::None};
constexpr TOrders kThenCommand{false, TTimer::Keep, TRun::Command};
constexpr TOrders kThenClear{false, TTimer::Keep, TRun::Clear};

struct TScript {
  const char* Name;
  std::vector<TStep> Steps;
};

// clang-format off
const TScript kScripts[] = {
    {"a pause searches the text",
     {{'t', u"c", kTimer}, {'t', u"ca", kTimer}, {'f', {}, kTyped}, {'b', {}, kNone}, {'e', {}, kNone}}},
    {"a keystroke cancels the running search, which runs again after the pause",
     {{'t', u"ca", kTimer}, {'f', {}, kTyped}, {'b', {}, kNone}, {'t', u"cat", kRestart}, {'f', {}, kCancel},
      {'e', {}, kTyped}}},
    {"a keystroke after the pause ended drops the queued search",
     {{'f', {}, kNone}, {'t', u"c", kTimer}, {'f', {}, kTyped}, {'b', {}, kNone}, {'t', u"ca", kRestart},
      {'f', {}, kCancel}, {'t', u"cat", kRestart}, {'e', {}, kNone}}},
    {"an emptied box clears, after the running search",
     {{'t', u"c", kTimer}, {'t', u"", {false, TTimer::Stop, TRun::Clear}}, {'t', u"c", kTimer}, {'f', {}, kTyped},
      {'b', {}, kNone}, {'t', u"", kCancelStop}, {'e', {}, kThenClear}}},
    {"an option re-runs the search at once or after the running one",
     {{'o', {}, kNone}, {'t', u"cat", kTimer}, {'o', {}, {false, TTimer::Stop, TRun::Typed}}, {'b', {}, kNone},
      {'o', {}, kCancelStop}, {'e', {}, kTyped}}},
    {"the command runs after the typed search and is not replaced",
     {{'t', u"cat", kTimer}, {'c', {}, {false, TTimer::Stop, TRun::Command}}, {'B', {}, kNone}, {'o', {}, kNone},
      {'e', {}, kNone}, {'f', {}, kTyped}, {'b', {}, kNone}, {'c', {}, kCancelStop}, {'o', {}, kCancelStop},
      {'e', {}, kThenCommand}}},
    {"off, only the command searches",
     {{'x', {}, kNone}, {'t', u"cat", kNone}, {'f', {}, kNone}, {'o', {}, kNone}, {'t', u"", kNone},
      {'c', {}, {false, TTimer::Stop, TRun::Command}}}},
    {"a copied text is searched at once, also when off",
     {{'x', {}, kNone}, {'l', u"", kNone}, {'l', u"cat", {false, TTimer::Stop, TRun::Typed}}, {'b', {}, kNone},
      {'l', u"dog", kCancelStop}, {'e', {}, kTyped}}},
};
// clang-format on

class LiveSearchScript : public ::testing::TestWithParam<TScript> {};

TEST_P(LiveSearchScript, OrdersFollowTheEvents) {
  TLiveSearch live;
  int step = 0;
  for (const TStep& s : GetParam().Steps) {
    TOrders orders;
    // clang-format off
    switch (s.Event) {
      case 't': orders = live.TextChanged(s.Text); break;
      case 'f': orders = live.TimerFired(); break;
      case 'o': orders = live.OptionChanged(); break;
      case 'c': orders = live.Command(); break;
      case 'l': orders = live.LookUp(s.Text); break;
      case 'b': live.SearchBegan(TRun::Typed); break;
      case 'B': live.SearchBegan(TRun::Command); break;
      case 'e': orders = live.SearchEnded(); break;
      case 'x': live.SetEnabled(false); break;
    }
    // clang-format on
    EXPECT_TRUE(orders == s.Expected) << "step " << step;
    ++step;
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, LiveSearchScript, ::testing::ValuesIn(kScripts),
                         [](const auto& info) { return "script" + std::to_string(info.index); });

TEST(LiveSearchStatus, SaysWhatIsWrongAndWhere) {
  EXPECT_EQ(encoding::Utf16ToUtf8(PatternErrorStatus(encoding::Sjis("括弧が閉じていません"), 4)),
            "括弧が閉じていません (位置 4)");
  EXPECT_EQ(encoding::Utf16ToUtf8(NoDictionaryStatus()), "辞書を指定してください");
}

}  // namespace
