// The search driver against the real grep and keyword matcher and the
// in-memory view: dictionary files are written into a temporary directory
// that is the current directory for the test.  One table of searches gives
// the view's lines (keyword runs in braces) and the hit count; a cancelled
// search keeps its hits.  The window's tests make searches fail or change
// things while they run.
#include "core/search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "sjis/exceptions.h"
#include "support/memory_view.h"
#include "support/temp_dir.h"
#include "text/encoding.h"

using encoding::Sjis;
using TLines = std::vector<std::string>;

namespace {

// The observer's last word of each kind, and a hook run on every hit.
struct TRecorder : ISearchObserver {
  void SearchStarted(const std::u16string& query, TSearchKind kind) override {
    if (kind == TSearchKind::Command) History.push_back(encoding::Utf16ToUtf8(query));
  }
  void SearchProgress(const std::u16string& status) override {
    Progress.push_back(encoding::Utf16ToUtf8(status));
    if (OnHit) OnHit();
  }
  void SearchEnded(const std::u16string& status) override { Ended = encoding::Utf16ToUtf8(status); }
  void SearchMessage(const std::u16string& text) override { Message = encoding::Utf16ToUtf8(text); }
  void SearchDeclined(const std::u16string& status) override { Declined = encoding::Utf16ToUtf8(status); }
  TLines History, Progress;
  std::string Ended, Message, Declined;
  std::function<void()> OnHit;
};

class SearchTest : public ::testing::Test {
 protected:
  SearchTest() : FOldDir(std::filesystem::current_path()) {
    std::filesystem::current_path(Dir.Path());
    Driver.TimeOfDay = [this] { return Clock += 0.25; };
  }
  ~SearchTest() override { std::filesystem::current_path(FOldDir); }

  // Writes dictionary files (lines in UTF-8, stored as Shift-JIS), finds
  // them and selects the given dictionaries.
  void Dictionaries(const std::map<std::string, TLines>& files, std::vector<int> checked) {
    for (const auto& [name, lines] : files) {
      std::string content;
      for (const std::string& line : lines) content += Sjis(line) + "\r\n";
      Dir.Write(name, content);
    }
    Driver.SetDictionaries(catalogue::FindDictionaries(""));
    Checked.fill(false);
    for (int number : checked) Checked[static_cast<std::size_t>(number - 1)] = true;
  }
  void Search(const std::u16string& query, bool word = false) { Driver.Search(query, word, Options); }

  TTempDir Dir;
  TGrep Grep1;
  TAWKStr AWKStr1;
  TMemoryView View;
  TRecorder Observer;
  std::array<bool, catalogue::kDictionaryCount> Checked{};
  TSearchOptions Options;
  double Clock = 100.0;
  TSearchDriver Driver{Grep1, AWKStr1, View, Observer,
                       [this](int number) { return Checked.at(static_cast<std::size_t>(number - 1)); }};

 private:
  std::filesystem::path FOldDir;
};

const std::string k5 = "-----KOVA辞書第5版-----";
const std::string k4 = "-----KOVA辞書第4版-----";
const std::string kAbbr = "-----KOVA略語辞書-----";

// clang-format off
struct TSearchCase {
  const char* Name;
  std::map<std::string, TLines> Files;
  std::vector<int> Checked;
  std::u16string Query;
  bool Word; int Limit, Mark; bool Tags, IgnoreCase;
  TLines Expected;
};

const TSearchCase kSearches[] = {
    {"catalogue order, not file order",
     {{"KOVA略語.TXT", {"abbr cat"}}, {"KOVA5B.TXT", {"second cat"}}, {"kova5a.txt", {"first cat", "no match"}},
      {"KOVA4.TXT", {"fourth cat"}}},
     {3, 1}, u"cat", false, 0, 5, false, false,
     {k5, "first {cat}", "second {cat}", kAbbr, "abbr {cat}"}},
    {"no hits leave the headers", {{"KOVA5.TXT", {"dog"}}, {"KOVSEN.TXT", {"bird"}}}, {1, 5}, u"cat", false, 0, 5,
     false, false, {k5, "-----KOVA専門用語辞書第5版-----"}},
    {"tag and mark 1", {{"KOVA略語.TXT", {"x", "y", "a cat sat"}}}, {3}, u"cat", false, 0, 1, true, false,
     {kAbbr, "KOVA略語.TXT(3): a 【{cat}】 sat"}},
    {"mark 2 after double-byte text", {{"KOVA5.TXT", {"ｱｲｳ日本語の辞書です"}}}, {1}, u"辞書", false, 0, 2, false,
     false, {k5, "ｱｲｳ日本語の《{辞書}》です"}},
    {"mark 4, leftmost only", {{"KOVA5.TXT", {"cat cat cat"}}}, {1}, u"cat", false, 0, 4, false, false,
     {k5, "//{cat}// cat cat"}},
    {"@ marks its first non-empty match", {{"KOVA5.TXT", {"日本 Japan"}}}, {1}, u"@", false, 0, 3, false, false,
     {k5, "日本 **{Japan}**"}},
    {"a starred keyword marks what it stands for", {{"KOVA5.TXT", {"黒い猫猫が"}}}, {1}, u"猫*", false, 0, 1, false,
     false, {k5, "黒い【{猫猫}】が"}},
    {"no line head inside the line", {{"KOVA5.TXT", {"bab"}}}, {1}, u"^a*", false, 0, 1, false, false,
     {k5, "【{}】bab"}},
    {"whole words", {{"KOVA5.TXT", {"category", "a cat.", "cat (pet)", "the cat", "concat"}}}, {1}, u"cat", true, 0,
     5, false, false, {k5, "a{ cat.}", "{cat }(pet)", "the{ cat}"}},
    {"exact case, no mark 7", {{"KOVA5.TXT", {"a CAT", "a cat"}}}, {1}, u"cat", false, 0, 7, false, false,
     {k5, "a {cat}"}},
    {"ignoring case", {{"KOVA5.TXT", {"a CAT", "a Cat"}}}, {1}, u"cat", false, 0, 5, false, true,
     {k5, "a {CAT}", "a {Cat}"}},
    {"limit stops every dictionary",
     {{"KOVA5A.TXT", {"cat 1", "cat 2", "cat 3", "cat 4"}}, {"KOVA5B.TXT", {"cat 6"}}, {"KOVA4.TXT", {"cat 7"}}},
     {1, 6}, u"cat", false, 3, 5, false, false, {k5, "{cat} 1", "{cat} 2", "{cat} 3"}},
    {"limit reached in the last file", {{"KOVA5.TXT", {"cat 1"}}, {"KOVA4.TXT", {"cat 2"}}}, {1, 6}, u"cat", false,
     2, 5, false, false, {k5, "{cat} 1", k4, "{cat} 2"}},
};
// clang-format on

class SearchTable : public SearchTest, public ::testing::WithParamInterface<TSearchCase> {};

TEST_P(SearchTable, LinesAndCounts) {
  const TSearchCase& c = GetParam();
  Dictionaries(c.Files, c.Checked);
  Options = {c.Limit, hits::MarksFor(c.Mark), c.Tags, {true, false, true, 0x00FF00}};
  Driver.SetIgnoreCase(c.IgnoreCase);
  Search(c.Query, c.Word);
  EXPECT_EQ(View.Lines(), c.Expected);
  int hits = 0;
  for (std::int64_t i = 0; i < View.Store.LineCount(); ++i) {
    if (View.Store.Run(i).Style == hits::kNoRun) continue;
    ++hits;
    EXPECT_EQ(View.Store.Style(View.Store.Run(i).Style), Options.KeywordStyle);
  }
  EXPECT_EQ(Driver.HitCount(), hits);
  EXPECT_EQ(Driver.Stopped(), c.Limit != 0 && hits == c.Limit);
  EXPECT_EQ(Observer.Ended, "終了:0.25秒 " + std::to_string(hits) + "件ﾋｯﾄ" + (Driver.Stopped() ? "（上限）" : ""));
  EXPECT_EQ(Observer.History, TLines{encoding::Utf16ToUtf8(c.Query)});
  EXPECT_EQ(Observer.Progress.size(), static_cast<std::size_t>(hits));
  EXPECT_FALSE(View.Filling || Driver.Searching());
}

INSTANTIATE_TEST_SUITE_P(Searches, SearchTable, ::testing::ValuesIn(kSearches),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

// A search cancelled on its second hit keeps the hits so far; the status
// names the file, and the time taken wraps at midnight.
TEST_F(SearchTest, CancelKeepsTheHitsSoFar) {
  Dictionaries({{"KOVA5.TXT", {"cat 1"}}, {"KOVA-BIL.TXT", {"cat 2", "cat 3"}}, {"KOVA4.TXT", {"cat 4"}}}, {1, 2, 6});
  Driver.Cancel();  // a flag left from before counts for nothing
  Observer.OnHit = [&] {
    if (Driver.HitCount() == 2) Driver.Cancel();
  };
  bool started = false;
  Driver.TimeOfDay = [&started] { return started ? 0.5 : (started = true, 86399.75); };
  try {
    Search(u"cat");
    FAIL() << "the search was not cancelled";
  } catch (const ECancelRequest& e) {
    EXPECT_EQ(e.Message(), Sjis("中断しました"));
  }
  EXPECT_EQ(View.Lines(), (TLines{k5, "{cat} 1", "-----KOVAﾊﾞｲﾘﾝｶﾞﾙ辞書-----", "{cat} 2"}));
  EXPECT_EQ(Observer.Progress, (TLines{"1件ﾋｯﾄ KOVA5.TXT", "2件ﾋｯﾄ KOVA-BIL.TXT"}));
  EXPECT_EQ(Observer.Ended, "終了:0.75秒 2件ﾋｯﾄ");
  EXPECT_DOUBLE_EQ(Driver.Elapsed(), 0.75);
  EXPECT_FALSE(Driver.Searching() || Driver.CancelRequested() || View.Filling);
}

// Files that cannot be read are passed over: each is named once, after the
// search, the first ten of them in the message, and the end status counts
// them.  A file that becomes a directory after discovery is one.
TEST_F(SearchTest, UnreadableFilesArePassedOverAndCounted) {
  for (const std::size_t unread : {std::size_t{1}, TSearchDriver::kMaxListedFiles + 2}) {
    std::map<std::string, TLines> files = {{"KOVA5A.TXT", {"cat 1"}}, {"KOVA4.TXT", {"cat 2"}}};
    std::vector<std::string> gone{"KOVA5B.TXT"};
    for (std::size_t k = 10; gone.size() < unread; ++k) gone.push_back("KOVA-BIL." + std::to_string(k));
    for (const std::string& name : gone) files[name] = {"cat"};
    Dictionaries(files, {1, 2, 6});
    for (const std::string& name : gone) {
      std::filesystem::remove(Dir / name);
      std::filesystem::create_directory(Dir / name);
    }
    try {
      Search(u"cat");
      ADD_FAILURE() << "no error";
    } catch (const EInOutError& e) {
      std::string expected;
      for (std::size_t k = 0; k < std::min(unread, TSearchDriver::kMaxListedFiles); ++k)
        expected += (k == 0 ? "" : "\n") + gone[k] + ": ディレクトリは開けません";
      if (unread > TSearchDriver::kMaxListedFiles) expected += "\n... (読めないファイル 12)";
      EXPECT_EQ(encoding::SjisToUtf8(e.Message()), expected);
    }
    EXPECT_EQ(View.Lines(), (TLines{k5, "{cat} 1", "-----KOVAﾊﾞｲﾘﾝｶﾞﾙ辞書-----", k4, "{cat} 2"}));
    EXPECT_EQ(Observer.Ended, "終了:0.25秒 2件ﾋｯﾄ (読めないファイル " + std::to_string(unread) + ")");
    EXPECT_EQ(Driver.UnreadFiles(), unread);
    for (const std::string& name : gone) std::filesystem::remove(Dir / name);
  }
}

// A typed search adds no history and shows no message: what keeps it from
// beginning goes to the status line, and files it cannot read only to the
// end status.
TEST_F(SearchTest, TypedSearchesSayWhyInTheStatusLine) {
  Dictionaries({{"KOVA5.TXT", {"cat 1"}}, {"KOVA4.TXT", {"cat 2"}}}, {});
  const auto typed = [this](const std::u16string& query) { Driver.Search(query, false, Options, TSearchKind::Typed); };
  typed(u"cat");
  EXPECT_EQ(Observer.Declined, "辞書を指定してください");
  Checked = {true, false, false, false, false, true};
  typed(u"(zeb");
  EXPECT_TRUE(Observer.Declined.find("(位置 ") != std::string::npos) << Observer.Declined;
  typed(u"");
  std::filesystem::remove(Dir / "KOVA4.TXT");
  std::filesystem::create_directory(Dir / "KOVA4.TXT");
  EXPECT_NO_THROW(typed(u"cat"));
  EXPECT_EQ(Observer.Ended, "終了:0.25秒 1件ﾋｯﾄ (読めないファイル 1)");
  EXPECT_TRUE(Observer.History.empty() && Observer.Message.empty() && Driver.Kind() == TSearchKind::Typed);
  EXPECT_THROW(Search(u"cat"), EInOutError);
  EXPECT_THROW(Search(u"[a-"), ERegExpParser);
  EXPECT_EQ(Observer.History, TLines{"cat"});
}

}  // namespace
