// The search driver against the real grep and keyword matcher, with the
// window and the result view kept in memory: dictionary files are written
// into a temporary directory that is the current directory for the test.
#include "core/search.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/encoding.h"
#include "exceptions.h"
#include "temp_dir.h"

using encoding::Sjis;

namespace {

std::string Utf8(const std::u16string& text) { return encoding::Utf16ToUtf8(text); }

bool EndsWith(const std::u16string& text, const std::u16string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The view as a list of lines; every call is also written to the shared log.
class TMemoryView : public IResultView {
 public:
  struct TLine {
    std::string Text;  // Shift-JIS
    int RunStart = -1;
    int RunLength = 0;
    hits::TKeywordStyle Style;
  };

  explicit TMemoryView(std::vector<std::string>& log) : FLog(log) {}

  void Clear() override {
    FLog.push_back("Clear");
    Lines.clear();
  }
  void AppendLine(const std::string& line) override {
    FLog.push_back("Line:" + encoding::SjisToUtf8(line));
    Lines.push_back({line, -1, 0, {}});
  }
  void AppendHitLine(const std::string& line, int runStart, int runLength, const hits::TKeywordStyle& style) override {
    FLog.push_back("Hit:" + encoding::SjisToUtf8(line));
    Lines.push_back({line, runStart, runLength, style});
  }
  void SetEnabled(bool enabled) override {
    FLog.push_back(enabled ? "View:on" : "View:off");
    Enabled = enabled;
  }
  void SetHideSelection(bool hide) override {
    FLog.push_back(hide ? "Hide:on" : "Hide:off");
    HideSelection = hide;
  }
  void CaretToStart() override { FLog.push_back("Caret"); }

  // The lines as UTF-8, for comparisons.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const TLine& line : Lines) texts.push_back(encoding::SjisToUtf8(line.Text));
    return texts;
  }
  // The keyword run of line i as UTF-8.
  std::string Run(std::size_t i) const {
    const TLine& line = Lines.at(i);
    return encoding::SjisToUtf8(
        line.Text.substr(static_cast<std::size_t>(line.RunStart), static_cast<std::size_t>(line.RunLength)));
  }

  std::vector<TLine> Lines;
  bool Enabled = true;
  bool HideSelection = false;

 private:
  std::vector<std::string>& FLog;
};

class TMemoryWindow : public ISearchWindow {
 public:
  explicit TMemoryWindow(std::vector<std::string>& log) : FLog(log) {}

  void ShowMessage(const std::u16string& text, const std::u16string& caption) override {
    FLog.push_back("Message:" + Utf8(text) + "|" + Utf8(caption));
  }
  bool DictionaryChecked(int number) const override { return Checked.at(static_cast<std::size_t>(number - 1)); }
  void SetSearchButtonEnabled(bool enabled) override { Record("SearchBtn", SearchEnabled, enabled); }
  void SetCancelButtonEnabled(bool enabled) override { Record("CancelBtn", CancelEnabled, enabled); }
  void AppendHistory(const std::u16string& query) override {
    FLog.push_back("History:" + Utf8(query));
    History.push_back(query);
  }
  void SetQueryEnabled(bool enabled) override { Record("Query", QueryEnabled, enabled); }
  void SetMenusEnabled(bool enabled) override { Record("Menus", MenusEnabled, enabled); }
  void SetBusyCursor(bool busy) override { Record("Busy", Busy, busy); }
  void SetStatus(const std::u16string& text) override {
    FLog.push_back("Status:" + Utf8(text));
    Status = text;
  }
  bool LimitEnabled() const override { return Limiting; }
  int HitLimit() const override { return Limit; }
  int KeywordMark() const override { return Mark; }
  bool ShowTags() const override { return Tags; }
  hits::TKeywordStyle KeywordStyle() const override { return Style; }

  std::array<bool, 6> Checked{};
  bool Limiting = false;
  int Limit = 100;
  int Mark = 5;
  bool Tags = false;
  hits::TKeywordStyle Style;
  std::u16string Status = u"old status";
  std::vector<std::u16string> History;
  bool SearchEnabled = true;
  bool CancelEnabled = false;
  bool QueryEnabled = true;
  bool MenusEnabled = true;
  bool Busy = false;

 private:
  void Record(const char* name, bool& field, bool value) {
    FLog.push_back(std::string(name) + (value ? ":on" : ":off"));
    field = value;
  }
  std::vector<std::string>& FLog;
};

class SearchTest : public ::testing::Test {
 protected:
  SearchTest() : FOldDir(std::filesystem::current_path()) {
    std::filesystem::current_path(Dir.Path());
    Grep1.OnMatch = [this](TGrep& sender, LineInfo_t lineInfo) {
      Driver.Grep1Match(sender, std::move(lineInfo));
      if (OnHit) OnHit();
    };
  }
  ~SearchTest() override { std::filesystem::current_path(FOldDir); }

  // Writes a dictionary file: lines given in UTF-8, stored as Shift-JIS.
  void WriteFile(const std::string& name, const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) content += Sjis(line) + "\r\n";
    Dir.Write(name, content);
  }
  void Discover() { Driver.SetDictionaries(catalogue::FindDictionaries("")); }
  void Check(int number) { Window.Checked[static_cast<std::size_t>(number - 1)] = true; }

  // The log entries that tell a state change (not the per-hit status).
  std::vector<std::string> Steps() const {
    std::vector<std::string> steps;
    for (const std::string& entry : Log) {
      if (entry.rfind("Status:", 0) != 0 || entry.find("終了") != std::string::npos) steps.push_back(entry);
    }
    return steps;
  }

  TTempDir Dir;
  std::vector<std::string> Log;
  TGrep Grep1;
  TAWKStr AWKStr1;
  TMemoryView View{Log};
  TMemoryWindow Window{Log};
  TSearchDriver Driver{Grep1, AWKStr1, View, Window};
  std::function<void()> OnHit;

 private:
  std::filesystem::path FOldDir;
};

// --- Before the search ------------------------------------------------------

TEST_F(SearchTest, EmptyQueryShowsItsMessageOnly) {
  Check(1);
  Driver.Search(u"", false);
  EXPECT_EQ(Log, std::vector<std::string>{"Message:キーワードが指定されていません|KOVA Searcher"});
}

TEST_F(SearchTest, NoDictionaryShowsItsMessageOnly) {
  Driver.Search(u"cat", false);
  EXPECT_EQ(Log, std::vector<std::string>{"Message:辞書を指定してください|KOVA Searcher"});
}

TEST_F(SearchTest, MalformedQueryChangesNothing) {
  WriteFile("KOVA5.TXT", {"a cat"});
  Discover();
  Check(1);
  Grep1.SetPattern("old");
  EXPECT_THROW(Driver.Search(u"ca(t", false), ERegExpParser);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(Window.Status, u"old status");
  EXPECT_TRUE(Window.History.empty());
  EXPECT_EQ(Grep1.GetPattern(), "old");
  EXPECT_FALSE(Driver.Searching());
}

TEST_F(SearchTest, MalformedWrappedQueryIsReportedBeforeTheGrepChanges) {
  WriteFile("KOVA5.TXT", {"a cat"});
  Discover();
  Check(1);
  Grep1.SetPattern("old");
  EXPECT_THROW(Driver.Search(u"[cat", true), ERegExpParser);
  EXPECT_EQ(Grep1.GetPattern(), "old");
  EXPECT_TRUE(Log.empty());
}

TEST_F(SearchTest, QueryWithoutShiftJisFormChangesNothing) {
  WriteFile("KOVA5.TXT", {"a cat"});
  Discover();
  Check(1);
  EXPECT_THROW(Driver.Search(u"caf\u00e9", false), encoding::EEncodingError);
  EXPECT_TRUE(Log.empty());
}

// --- The run of a search ----------------------------------------------------

TEST_F(SearchTest, BeginAndEndRunInTheirOrder) {
  WriteFile("KOVA5.TXT", {"nothing here"});
  Discover();
  Check(1);
  double clock = 100.0;
  Driver.TimeOfDay = [&clock] { return clock += 0.25; };
  Driver.Search(u"cat", false);
  const std::vector<std::string> expected = {"SearchBtn:off",
                                             "CancelBtn:on",
                                             "History:cat",
                                             "Query:off",
                                             "Menus:off",
                                             "Clear",
                                             "View:off",
                                             "Hide:on",
                                             "Busy:on",
                                             "Line:-----KOVA辞書第5版-----",
                                             "Status:終了:0.25秒 0件ﾋｯﾄ",
                                             "Busy:off",
                                             "View:on",
                                             "Caret",
                                             "Hide:off",
                                             "SearchBtn:on",
                                             "CancelBtn:off",
                                             "Query:on",
                                             "Menus:on"};
  EXPECT_EQ(Log, expected);
  EXPECT_EQ(Driver.HitCount(), 0);
  EXPECT_DOUBLE_EQ(Driver.Elapsed(), 0.25);
}

TEST_F(SearchTest, ElapsedTimeWrapsAtMidnight) {
  WriteFile("KOVA5.TXT", {"a cat"});
  Discover();
  Check(1);
  bool started = false;
  Driver.TimeOfDay = [&started] {
    if (started) return 0.5;
    started = true;
    return 86399.75;
  };
  Driver.Search(u"cat", false);
  EXPECT_EQ(Window.Status, u"終了:0.75秒 1件ﾋｯﾄ");
}

TEST_F(SearchTest, HeadersAndHitsFollowTheCatalogueOrder) {
  WriteFile("KOVA略語.TXT", {"abbr cat"});
  WriteFile("KOVA5B.TXT", {"second cat"});
  WriteFile("kova5a.txt", {"first cat", "no match"});
  WriteFile("KOVA4.TXT", {"fourth cat"});
  Discover();
  Check(3);
  Check(1);
  Driver.Search(u"cat", false);
  const std::vector<std::string> expected = {"-----KOVA辞書第5版-----", "first cat", "second cat",
                                             "-----KOVA略語辞書-----", "abbr cat"};
  EXPECT_EQ(View.Texts(), expected);
  EXPECT_TRUE(EndsWith(Window.Status, u"秒 3件ﾋｯﾄ"));
  EXPECT_TRUE(Window.SearchEnabled);
  EXPECT_FALSE(Window.CancelEnabled);
  EXPECT_TRUE(View.Enabled);
  EXPECT_FALSE(View.HideSelection);
}

TEST_F(SearchTest, NoHitsLeaveOnlyTheHeaders) {
  WriteFile("KOVA5.TXT", {"dog"});
  WriteFile("KOVSEN.TXT", {"bird"});
  Discover();
  Check(1);
  Check(5);
  Driver.Search(u"cat", false);
  EXPECT_EQ(View.Texts(), (std::vector<std::string>{"-----KOVA辞書第5版-----", "-----KOVA専門用語辞書第5版-----"}));
  EXPECT_TRUE(EndsWith(Window.Status, u"秒 0件ﾋｯﾄ"));
}

TEST_F(SearchTest, RepeatedQueryIsAddedToTheHistoryAgain) {
  WriteFile("KOVA5.TXT", {"a cat"});
  Discover();
  Check(1);
  Driver.Search(u"cat", false);
  Driver.Search(u"cat", false);
  EXPECT_EQ(Window.History, (std::vector<std::u16string>{u"cat", u"cat"}));
}

TEST_F(SearchTest, RunningStatusCountsAndNamesTheFile) {
  WriteFile("KOVA略語.TXT", {"cat one", "cat two"});
  Discover();
  Check(3);
  std::vector<std::u16string> seen;
  OnHit = [&] { seen.push_back(Window.Status); };
  Driver.Search(u"cat", false);
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"1件ﾋｯﾄ KOVA略語.TXT", u"2件ﾋｯﾄ KOVA略語.TXT"}));
}

// --- Rendering ---------------------------------------------------------------

TEST_F(SearchTest, TagAndMarksFrameTheKeyword) {
  WriteFile("KOVA略語.TXT", {"x", "y", "a cat sat"});
  Discover();
  Check(3);
  Window.Tags = true;
  Window.Mark = 1;
  Window.Style = {true, false, true, 0x00FF00};
  Driver.Search(u"cat", false);
  ASSERT_EQ(View.Lines.size(), 2u);
  EXPECT_EQ(View.Texts()[1], "KOVA略語.TXT(3): a 【cat】 sat");
  EXPECT_EQ(View.Run(1), "cat");
  EXPECT_TRUE(View.Lines[1].Style.Bold);
  EXPECT_TRUE(View.Lines[1].Style.Underline);
  EXPECT_EQ(View.Lines[1].Style.Colour, 0x00FF00);
}

TEST_F(SearchTest, EachMarkStyle) {
  WriteFile("KOVA5.TXT", {"a cat sat"});
  Discover();
  Check(1);
  const std::vector<std::string> expected = {"a 【cat】 sat", "a 《cat》 sat", "a **cat** sat", "a //cat// sat",
                                             "a cat sat"};
  for (int mark = 1; mark <= 5; ++mark) {
    Window.Mark = mark;
    Driver.Search(u"cat", false);
    ASSERT_EQ(View.Lines.size(), 2u);
    EXPECT_EQ(View.Texts()[1], expected[static_cast<std::size_t>(mark - 1)]);
    EXPECT_EQ(View.Run(1), "cat");
  }
}

TEST_F(SearchTest, DoubleByteKeywordAfterDoubleByteText) {
  WriteFile("KOVA5.TXT", {"ｱｲｳ日本語の辞書です"});
  Discover();
  Check(1);
  Window.Mark = 2;
  Driver.Search(u"辞書", false);
  ASSERT_EQ(View.Lines.size(), 2u);
  EXPECT_EQ(View.Texts()[1], "ｱｲｳ日本語の《辞書》です");
  EXPECT_EQ(View.Lines[1].RunStart, 3 + 8 + 2);
  EXPECT_EQ(View.Lines[1].RunLength, 4);
  EXPECT_EQ(View.Run(1), "辞書");
}

TEST_F(SearchTest, OnlyTheLeftmostOccurrenceIsMarked) {
  WriteFile("KOVA5.TXT", {"cat cat cat"});
  Discover();
  Check(1);
  Window.Mark = 3;
  Driver.Search(u"cat", false);
  EXPECT_EQ(View.Texts(), (std::vector<std::string>{"-----KOVA辞書第5版-----", "**cat** cat cat"}));
  EXPECT_EQ(Driver.HitCount(), 1);
}

TEST_F(SearchTest, AtWildcardMatchingNothingPutsTheMarksTogether) {
  WriteFile("KOVA5.TXT", {"日本 Japan"});
  Discover();
  Check(1);
  Window.Mark = 3;
  Driver.Search(u"@", false);
  EXPECT_EQ(View.Texts().at(1), "****日本 Japan");
  EXPECT_EQ(View.Lines[1].RunLength, 0);
}

TEST_F(SearchTest, WordSearchKeepsWholeWordsOnly) {
  WriteFile("KOVA5.TXT", {"category", "a cat.", "cat (pet)", "the cat", "concat"});
  Discover();
  Check(1);
  Driver.Search(u"cat", true);
  EXPECT_EQ(View.Texts(), (std::vector<std::string>{"-----KOVA辞書第5版-----", "a cat.", "cat (pet)", "the cat"}));
  EXPECT_EQ(View.Run(1), " cat.");
  EXPECT_EQ(View.Run(2), "cat ");
  EXPECT_EQ(View.Run(3), " cat");
  EXPECT_EQ(Driver.HitCount(), 3);
}

TEST_F(SearchTest, CaseInsensitiveOptionFindsOtherCases) {
  WriteFile("KOVA5.TXT", {"a CAT", "a Cat", "a cat"});
  Discover();
  Check(1);
  Driver.Search(u"cat", false);
  EXPECT_EQ(Driver.HitCount(), 1);
  Driver.SetIgnoreCase(true);
  EXPECT_TRUE(Grep1.IgnoreCase());
  EXPECT_TRUE(AWKStr1.IgnoreCase());
  Driver.Search(u"cat", false);
  EXPECT_EQ(Driver.HitCount(), 3);
  EXPECT_EQ(View.Run(1), "CAT");
}

TEST_F(SearchTest, CaseOptionChangedDuringASearchWaitsForItsEnd) {
  WriteFile("KOVA5.TXT", {"a cat", "a CAT", "a cat"});
  Discover();
  Check(1);
  OnHit = [&] {
    Driver.SetIgnoreCase(true);
    EXPECT_FALSE(Grep1.IgnoreCase());
    EXPECT_FALSE(AWKStr1.IgnoreCase());
  };
  Driver.Search(u"cat", false);
  EXPECT_EQ(Driver.HitCount(), 2);
  EXPECT_TRUE(Grep1.IgnoreCase());
  EXPECT_TRUE(AWKStr1.IgnoreCase());
}

TEST_F(SearchTest, LineEndingInALoneLeadByteIsStillRendered) {
  AWKStr1.SetPattern("cat");
  Driver.Grep1Match(Grep1, LineInfo_t{"a cat\x82", 4});
  ASSERT_EQ(View.Lines.size(), 1u);
  EXPECT_EQ(View.Lines[0].Text, "a cat\x82");
  EXPECT_EQ(View.Run(0), "cat");
  EXPECT_EQ(Driver.HitCount(), 1);
}

TEST_F(SearchTest, LineWithoutKeywordIsSkippedSilently) {
  AWKStr1.SetPattern("dog");
  Driver.Grep1Match(Grep1, LineInfo_t{"a cat", 1});
  EXPECT_TRUE(View.Lines.empty());
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(Driver.HitCount(), 0);
}

// --- Limits, cancel and errors ----------------------------------------------

TEST_F(SearchTest, HitLimitStopsTheWholeSearch) {
  WriteFile("KOVA5A.TXT", {"cat 1", "cat 2", "cat 3", "cat 4", "cat 5"});
  WriteFile("KOVA5B.TXT", {"cat 6"});
  WriteFile("KOVA4.TXT", {"cat 7"});
  Discover();
  Check(1);
  Check(6);
  Window.Limiting = true;
  Window.Limit = 3;
  Driver.Search(u"cat", false);
  EXPECT_EQ(View.Texts(), (std::vector<std::string>{"-----KOVA辞書第5版-----", "cat 1", "cat 2", "cat 3"}));
  EXPECT_TRUE(Driver.Stopped());
  EXPECT_TRUE(EndsWith(Window.Status, u"秒 3件ﾋｯﾄ"));
  EXPECT_TRUE(Window.MenusEnabled);
}

TEST_F(SearchTest, HitLimitOfOne) {
  WriteFile("KOVA5.TXT", {"cat 1", "cat 2"});
  WriteFile("KOVA4.TXT", {"cat 3"});
  Discover();
  Check(1);
  Check(6);
  Window.Limiting = true;
  Window.Limit = 1;
  Driver.Search(u"cat", false);
  EXPECT_EQ(View.Texts(), (std::vector<std::string>{"-----KOVA辞書第5版-----", "cat 1"}));
}

TEST_F(SearchTest, LimitIsIgnoredWhenLimitingIsOff) {
  WriteFile("KOVA5.TXT", {"cat 1", "cat 2", "cat 3"});
  Discover();
  Check(1);
  Window.Limiting = false;
  Window.Limit = 1;
  Driver.Search(u"cat", false);
  EXPECT_EQ(Driver.HitCount(), 3);
  EXPECT_FALSE(Driver.Stopped());
}

TEST_F(SearchTest, CancelFromAHitKeepsTheHitsSoFar) {
  WriteFile("KOVA5.TXT", {"cat 1", "cat 2", "cat 3"});
  WriteFile("KOVA4.TXT", {"cat 4"});
  Discover();
  Check(1);
  Check(6);
  OnHit = [&] {
    if (Driver.HitCount() == 2) Driver.Cancel();
  };
  try {
    Driver.Search(u"cat", false);
    FAIL() << "the search was not cancelled";
  } catch (const ECancelRequest& e) {
    EXPECT_EQ(e.Message(), Sjis("中断しました"));
  }
  EXPECT_EQ(View.Texts(), (std::vector<std::string>{"-----KOVA辞書第5版-----", "cat 1", "cat 2"}));
  EXPECT_TRUE(EndsWith(Window.Status, u"秒 2件ﾋｯﾄ"));
  EXPECT_FALSE(Driver.Searching());
  EXPECT_FALSE(Driver.CancelRequested());
  EXPECT_TRUE(Window.SearchEnabled);
  EXPECT_TRUE(Window.QueryEnabled);
  EXPECT_TRUE(Window.MenusEnabled);
  EXPECT_FALSE(Window.Busy);
}

TEST_F(SearchTest, CancelFromTheMessagePumpDuringTheSecondDictionary) {
  WriteFile("KOVA5.TXT", {"cat 1"});
  WriteFile("KOVA-BIL.TXT", {"cat 2", "cat 3"});
  WriteFile("KOVA4.TXT", {"cat 4"});
  Discover();
  Check(1);
  Check(2);
  Check(6);
  Grep1.ProcessMessages = [&] {
    if (Driver.HitCount() == 2) Driver.Cancel();
  };
  EXPECT_THROW(Driver.Search(u"cat", false), ECancelRequest);
  EXPECT_EQ(View.Texts(),
            (std::vector<std::string>{"-----KOVA辞書第5版-----", "cat 1", "-----KOVAﾊﾞｲﾘﾝｶﾞﾙ辞書-----", "cat 2"}));
}

TEST_F(SearchTest, CancelFlagLeftFromBeforeIsCleared) {
  WriteFile("KOVA5.TXT", {"cat"});
  Discover();
  Check(1);
  Driver.Cancel();
  EXPECT_NO_THROW(Driver.Search(u"cat", false));
  EXPECT_EQ(Driver.HitCount(), 1);
}

TEST_F(SearchTest, MissingFileIsReportedWithItsName) {
  WriteFile("KOVA5.TXT", {"cat"});
  Discover();
  Check(1);
  std::filesystem::remove("KOVA5.TXT");
  try {
    Driver.Search(u"cat", false);
    FAIL() << "no error";
  } catch (const EFileNotFound& e) {
    EXPECT_EQ(e.Message().rfind("KOVA5.TXT: ", 0), 0u) << e.Message();
  }
  EXPECT_TRUE(Window.SearchEnabled);
  EXPECT_EQ(View.Texts(), (std::vector<std::string>{"-----KOVA辞書第5版-----"}));
}

// --- Re-entrancy ------------------------------------------------------------

TEST_F(SearchTest, DictionaryToggledDuringTheSearchCountsWhenReached) {
  WriteFile("KOVA5.TXT", {"cat 1"});
  WriteFile("KOVA略語.TXT", {"cat 2"});
  WriteFile("KOVA4.TXT", {"cat 3"});
  Discover();
  Check(1);
  Check(3);
  OnHit = [&] {
    if (Driver.HitCount() == 1) {
      Window.Checked[2] = false;  // not searched yet: skipped
      Window.Checked[5] = true;   // not searched yet: searched
    }
  };
  Driver.Search(u"cat", false);
  EXPECT_EQ(View.Texts(),
            (std::vector<std::string>{"-----KOVA辞書第5版-----", "cat 1", "-----KOVA辞書第4版-----", "cat 3"}));
}

TEST_F(SearchTest, SecondSearchDuringASearchDoesNothing) {
  WriteFile("KOVA5.TXT", {"cat 1", "cat 2"});
  Discover();
  Check(1);
  OnHit = [&] { Driver.Search(u"dog", false); };
  Driver.Search(u"cat", false);
  EXPECT_EQ(Driver.HitCount(), 2);
  EXPECT_EQ(Window.History, (std::vector<std::u16string>{u"cat"}));
}

TEST_F(SearchTest, KeywordPatternReplacedDuringTheSearchMarksLaterHits) {
  WriteFile("KOVA5.TXT", {"cat and dog", "dog and cat"});
  Discover();
  Check(1);
  Window.Mark = 3;
  OnHit = [&] { AWKStr1.SetPattern("dog"); };  // as the find dialog does
  Driver.Search(u"cat", false);
  EXPECT_EQ(View.Texts().at(1), "**cat** and dog");
  EXPECT_EQ(View.Texts().at(2), "**dog** and cat");
}

}  // namespace
