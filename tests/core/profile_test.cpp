// The profile as a document: reading, and writing in place with every other
// byte kept.  How the file is saved is safe_save's test.
#include "core/profile.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "support/temp_dir.h"
#include "text/encoding.h"

using encoding::Sjis;

// Names compare without regard to ASCII case and blanks, character by
// character ("]" and "A" as second bytes); the first of a name counts.
TEST(Profile, ReadTable) {
  TTempDir dir;
  const TProfile p(dir.Write("a.ini",
                             "k=0\n[ View ]\r\n  Tags =  1  \r\nEmpty=\nKey=a=b\n;c=1\n# d=2\nno equals\n=3\n"
                             "[s]\nk=1\nK=2\n[S]\nk=3\nonly=4\n" +
                                 Sjis("[ゾーン]\nア=1\n") + "[i]\na=0x1F\nb=x\n"));
  // clang-format off
  const struct {
    std::string Section, Key;
    std::optional<std::string> Value;
  } rows[] = {
      {"  VIEW", "tags ", "1"}, {"view", "empty", ""}, {"view", "key", "a=b"}, {"view", "missing", std::nullopt},
      {"view", ";c", std::nullopt}, {"view", "no equals", std::nullopt}, {"view", "k", std::nullopt},
      {"other", "k", std::nullopt}, {"s", "k", "1"}, {"s", "only", std::nullopt},
      {Sjis("ゾーン"), Sjis("ア"), "1"}, {Sjis("ゾーン"), Sjis("ヂ"), std::nullopt}};
  // clang-format on
  for (const auto& row : rows) EXPECT_EQ(p.ReadString(row.Section, row.Key), row.Value) << row.Section << row.Key;
  // Integers read as ProfileInteger reads them.
  EXPECT_TRUE(p.ReadInteger("i", "a") == 31 && !p.ReadInteger("i", "b") && !p.ReadInteger("i", "z"));
}

// Written keys replace their values where they stand; a missing key goes
// after the last key of its section, a missing section to the end, with the
// line end of the file's first line; every other byte stays.
TEST(Profile, WriteTable) {
  const struct {
    std::string Content;
    std::vector<std::array<std::string, 3>> Writes;
    std::string Expected;
  } rows[] = {
      {"; s\r\n[U]\r\nFoo = bar \r\n\r\n[View]\n# c\nTags = 0\nOther=x\r\n\tgarbage ]\r\n",
       {{"VIEW", "tags", "1"}},
       "; s\r\n[U]\r\nFoo = bar \r\n\r\n[View]\n# c\nTags = 1\nOther=x\r\n\tgarbage ]\r\n"},
      {"[a]\r\nx=1\r\n; note\r\n\r\n[b]\r\ny=2\r\n",
       {{"a", "new", "v"}, {"a", "newer", "w"}, {"b", "z", "3"}},
       "[a]\r\nx=1\r\nnew=v\r\nnewer=w\r\n; note\r\n\r\n[b]\r\ny=2\r\nz=3\r\n"},
      {"[a]\n\n[b]\nk=1\n", {{"a", "k", "2"}}, "[a]\nk=2\n\n[b]\nk=1\n"},
      {"[a]\nk=1", {{"new", "n", "1"}, {"a", "k2", "2"}}, "[a]\nk=1\nk2=2\n[new]\nn=1\n"},
      {"",
       {{"one", "b", "1"}, {"one", "a", "2"}, {"two", "z", "3"}, {"one", "B", "5"}},
       "[one]\r\nb=5\r\na=2\r\n[two]\r\nz=3\r\n"},
      // A key added to an inner section leaves the last line alone.
      {"; c\n[a]\nk=1\n[b]\nx=y", {{"a", "new", "v"}}, "; c\n[a]\nk=1\nnew=v\n[b]\nx=y"},
      // A last line ending in a carriage return keeps it.
      {"[a]\nlast=x\r", {{"a", "new", "v"}}, "[a]\nlast=x\r\r\nnew=v\n"},
      {"[a]\r\nlast=x\r", {{"a", "new", "v"}}, "[a]\r\nlast=x\r\r\nnew=v\r\n"},
  };
  for (const auto& row : rows) {
    TTempDir dir;
    const std::string path = dir.Write("a.ini", row.Content);
    TProfile p(path);
    for (const auto& [section, key, value] : row.Writes) p.WriteString(section, key, value);
    p.Save();
    EXPECT_EQ(TTempDir::Read(path), row.Expected) << row.Content;
    const auto& [section, key, value] = row.Writes.back();
    EXPECT_EQ(TProfile(path).ReadString(section, key), value) << row.Content;
  }
}

// Names and values whose lines would not read back as written are refused.
TEST(Profile, RefusesTextsTheFileCannotHold) {
  TTempDir dir;
  const std::string original = "[s]\n[abc=1\n";
  TProfile p(dir.Write("a.ini", original));
  const std::array<std::string, 3> refused[] = {
      {"s", "k", "two\r\nlines"}, {"s", "k=v", "x"}, {"s]", "k", "x"},   {"s", " ", "x"},
      {"s", "[Other]x", "1"},     {"s", " [x", "]"}, {"s", "[abc", "]"}, {"s", "[abc", "x]"},
      {"s", ";k", "1"},           {"s", " #k", "1"}, {"s\x95", "k", "1"}};
  for (const auto& [section, key, value] : refused)
    EXPECT_THROW(p.WriteString(section, key, value), std::invalid_argument) << section << " " << key;
  EXPECT_EQ(p.Content(), original);
  for (const auto& [section, key, value] : std::vector<std::array<std::string, 3>>{
           {"s", "[abc", "x"}, {"s\x95\x5c", "k", "1"}, {"s", "k", "[v]"}, {Sjis("ゾ"), "k", "x"}}) {
    p.WriteString(section, key, value);
    EXPECT_EQ(p.ReadString(section, key), value);
  }
}

// A file that could not be read is never replaced.
TEST(Profile, RefusesToSaveWhatItCouldNotRead) {
  TTempDir dir;
  ASSERT_EQ(mkdir((dir / "a.ini").c_str(), 0755), 0);
  TProfile p(dir / "a.ini");
  EXPECT_NE(p.ReadError(), 0);
  EXPECT_THROW(p.Save(), Exception);
}
