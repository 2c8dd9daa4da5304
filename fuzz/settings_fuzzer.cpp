// The settings file under hostile content.
//
// Input: the bytes of a profile file.  It is loaded and saved unchanged;
// then, each time from the input's bytes, one key of the "表示" section, one
// key in a new section, and all of the program's settings are written and
// saved, and the file is read back.
//
// Properties: an unchanged save gives the input back byte for byte; reading
// the settings raises at most Exception (a colour that is not an integer)
// and keeps the ranges the window relies on; saving raises nothing; written
// keys read back as written, the settings as saved; and every line the save
// did not own stays, in its place and with its line end.  A save owns the
// line of each written key that existed (its value part may change) and the
// lines it adds ("key=value", "[section]" with the file's line end); a last
// line without a line end may get one when a line is added after it.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "core/profile.h"
#include "core/settings.h"
#include "exceptions.h"
#include "fuzz_common.h"

namespace {

struct TLine {
  std::string Text;
  std::string End;
  bool operator==(const TLine&) const = default;
};

std::vector<TLine> Lines(const std::string& content) {
  std::vector<TLine> lines;
  for (std::size_t start = 0; start < content.size();) {
    const std::size_t lf = content.find('\n', start);
    if (lf == std::string::npos) {
      lines.push_back({content.substr(start), ""});
      break;
    }
    const std::size_t textEnd = lf > start && content[lf - 1] == '\r' ? lf - 1 : lf;
    lines.push_back({content.substr(start, textEnd - start), content.substr(textEnd, lf + 1 - textEnd)});
    start = lf + 1;
  }
  return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

struct TWrite {
  std::string Section, Key, Value;
};

// Whether line is the line of a written key rewritten to the written value:
// everything up to the first "=" and the blanks after it stays, the value
// follows, the line end stays.
bool IsRewrite(const TLine& before, const TLine& after, const std::vector<TWrite>& writes) {
  if (before.End != after.End) return false;
  const std::size_t eq = before.Text.find('=');
  if (eq == std::string::npos) return false;
  std::size_t valueStart = eq + 1;
  while (valueStart < before.Text.size() && IsBlank(before.Text[valueStart])) ++valueStart;
  const std::string key = encoding::AsciiLower(Trim(before.Text.substr(0, eq)));
  for (const TWrite& w : writes) {
    if (encoding::AsciiLower(Trim(w.Key)) == key && after.Text == before.Text.substr(0, valueStart) + w.Value)
      return true;
  }
  return false;
}

bool IsAdded(const TLine& line, const std::vector<TWrite>& writes, const std::string& newLine) {
  if (line.End != newLine) return false;
  for (const TWrite& w : writes) {
    if (line.Text == w.Key + "=" + w.Value || line.Text == "[" + w.Section + "]") return true;
  }
  return false;
}

// Checks that after is before with only owned lines changed or added: the
// lines of before appear in after in their order, each unchanged or (a
// written key's line) rewritten, and every other line of after is an added
// line.  Which line of after stands for which of before is searched over all
// alignments, since an added line can look like a rewritten one.
void CheckOnlyOwnedLinesChanged(const std::string& beforeBytes, const std::string& afterBytes,
                                const std::vector<TWrite>& writes) {
  const std::vector<TLine> before = Lines(beforeBytes);
  const std::vector<TLine> after = Lines(afterBytes);
  std::string newLine = "\r\n";
  for (const TLine& line : before) {
    if (!line.End.empty()) {
      newLine = line.End;
      break;
    }
  }
  const auto fail = [&](const char* what) {
    fuzz::Fail(what, "before " + fuzz::Hex(beforeBytes, 400) + "\nafter  " + fuzz::Hex(afterBytes, 400));
  };
  if (after.size() < before.size()) fail("a line that the save did not own is gone");
  const std::size_t maxAdded = after.size() - before.size();
  // reachable[i][a]: before[i..] and after[i + a..] can still be aligned
  // (0 unknown, 1 yes, 2 no); a counts the added lines so far.
  std::vector<std::vector<std::uint8_t>> memo(before.size() + 1, std::vector<std::uint8_t>(maxAdded + 1, 0));
  const auto aligns = [&](auto& self, std::size_t i, std::size_t added) -> bool {
    const std::size_t j = i + added;
    if (i == before.size()) {
      for (std::size_t k = j; k < after.size(); ++k)
        if (!IsAdded(after[k], writes, newLine)) return false;
      return true;
    }
    std::uint8_t& known = memo[i][added];
    if (known != 0) return known == 1;
    bool ok = false;
    if (j < after.size()) {
      TLine expected = before[i];
      // The last line may have gained a line end when lines follow it.
      if (i + 1 == before.size() && expected.End.empty() && j + 1 < after.size()) expected.End = after[j].End;
      if ((after[j] == expected || IsRewrite(expected, after[j], writes)) && self(self, i + 1, added)) ok = true;
      if (!ok && added < maxAdded && IsAdded(after[j], writes, newLine) && self(self, i, added + 1)) ok = true;
    }
    known = ok ? 1 : 2;
    return ok;
  };
  if (!aligns(aligns, 0, 0)) fail("a line that the save did not own changed");
}

const std::string& FilePath() { return fuzz::ScratchFile("settings.ini"); }

std::string ReadFile() {
  std::ifstream in(FilePath(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Loads the settings over values that no file gives, and checks the ranges
// the window relies on.
void LoadChecked(const TProfile& profile) {
  settings::TSettingsValues v;
  v.KeywordMark = v.HitLimit = -1;
  try {
    settings::LoadSettings(profile, v);
  } catch (const Exception&) {
    // A colour that is not an integer ends the loading.
  } catch (const std::exception& e) {
    fuzz::Unexpected("LoadSettings", e);
  }
  if (v.KeywordMark < 1 || v.KeywordMark > 5) fuzz::Fail("a keyword mark outside 1..5");
  if (v.HitLimit < 1 || v.HitLimit > 9999) fuzz::Fail("a hit limit outside 1..9999");
  if (v.NormalFontFace.size() > 255) fuzz::Fail("a font face longer than 255 bytes");
}

// Writes keys into the input's file with write, saves and checks the file.
template <typename F>
void CheckSave(const std::string& bytes, const std::vector<TWrite>& writes, F write) {
  fuzz::WriteWhole(FilePath(), bytes);
  TProfile profile(FilePath());
  try {
    write(profile);
  } catch (const std::invalid_argument&) {
    return;  // a name that the file cannot hold; refused before anything changed
  }
  try {
    profile.Save();
  } catch (const std::exception& e) {
    fuzz::Unexpected("Save", e);
  }
  const std::string after = ReadFile();
  CheckOnlyOwnedLinesChanged(bytes, after, writes);
  const TProfile reloaded(FilePath());
  if (reloaded.Content() != after) fuzz::Fail("the saved file loads as other content");
  for (const TWrite& w : writes) {
    if (reloaded.ReadString(w.Section, w.Key) != Trim(w.Value))
      fuzz::Fail("a written key does not read back", fuzz::Hex(w.Key) + "\nfile " + fuzz::Hex(after, 400));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using encoding::Sjis;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  fuzz::WriteWhole(FilePath(), bytes);
  {
    TProfile profile(FilePath());
    if (profile.Content() != bytes) fuzz::Fail("the profile does not hold the file's bytes", fuzz::Hex(bytes));
    LoadChecked(profile);
  }
  CheckSave(bytes, {}, [](TProfile&) {});
  if (ReadFile() != bytes) fuzz::Fail("a save without a change changed the file", fuzz::Hex(bytes));
  for (const TWrite& w : {TWrite{Sjis("表示"), Sjis("検索件数"), "250"}, TWrite{"KovalexFuzzNew", "key", "value"}})
    CheckSave(bytes, {w}, [&w](TProfile& p) { p.WriteString(w.Section, w.Key, w.Value); });

  settings::TSettingsValues values{{true, false, true, false, false, true},
                                   true,
                                   2,
                                   true,
                                   250,
                                   Sjis("ＭＳ 明朝"),
                                   14,
                                   -2147483643,
                                   false,
                                   false,
                                   true,
                                   0x00FF00,
                                   0,
                                   -5,
                                   7,
                                   640,
                                   480,
                                   ""};
  std::vector<TWrite> writes;
  for (const settings::TSettingText& t : settings::SettingTexts(values)) writes.push_back({t.Section, t.Key, t.Value});
  CheckSave(bytes, writes, [&values](TProfile& p) { settings::SaveSettings(p, values); });
  settings::TSettingsValues reloaded;
  try {
    settings::LoadSettings(TProfile(FilePath()), reloaded);
  } catch (const std::exception& e) {
    fuzz::Unexpected("LoadSettings after SaveSettings", e);
  }
  if (reloaded != values) fuzz::Fail("saved settings do not load back", fuzz::Hex(ReadFile(), 400));
  return 0;
}
