// The settings file under hostile content.
//
// Input: the bytes of a profile file.  The file is loaded, the program's
// settings are read from it, and then, starting each time from the input's
// bytes, single keys are written and saved (a key of the "表示" section, the
// first key of the file's first section, a new key in that section, a key
// in a new section), and finally all of the program's settings are saved.
// After every save the file is read back.
//
// Properties:
//  - loading and saving without a change give back the input byte for byte;
//  - reading the settings raises at most Exception (a colour that is not an
//    integer); saving raises nothing;
//  - after a save every written key reads back as written, and the
//    program's settings load back as they were saved;
//  - every line that the save did not own is unchanged, in its place and
//    with its line end.  A save owns (a) the line of each written key that
//    already existed (the first such key of the first section of that name),
//    whose value part may be rewritten, and (b) the lines it adds: "key=value"
//    for a key that did not exist and "[section]" for a section that did not
//    exist.  The only other change allowed is that a last line without a
//    line end gets one when a line is added after it.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
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
  std::size_t start = 0;
  while (start < content.size()) {
    const std::size_t lf = content.find('\n', start);
    if (lf == std::string::npos) {
      lines.push_back({content.substr(start), ""});
      break;
    }
    std::size_t textEnd = lf;
    if (textEnd > start && content[textEnd - 1] == '\r') --textEnd;
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
  std::string Section;
  std::string Key;
  std::string Value;
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
  std::string content;
  const int fd = open(FilePath().c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fuzz::Fail("the saved file cannot be opened", FilePath());
  char buffer[65536];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) content.append(buffer, static_cast<std::size_t>(n));
  close(fd);
  return content;
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
  }
  if (v.KeywordMark < 1 || v.KeywordMark > 5) fuzz::Fail("a keyword mark outside 1..5");
  if (v.HitLimit < 1 || v.HitLimit > 9999) fuzz::Fail("a hit limit outside 1..9999");
  if (v.NormalFontFace.size() > 255) fuzz::Fail("a font face longer than 255 bytes");
}

// The first section of the content and the first key line after it, as the
// content spells them (a cheap guess; the properties hold for any names).
std::pair<std::string, std::string> FirstSectionAndKey(const std::string& content) {
  std::string section;
  bool inSection = false;
  for (const TLine& line : Lines(content)) {
    const std::string text = Trim(line.Text);
    if (!inSection) {
      const std::size_t close = text.find(']');
      if (!text.empty() && text[0] == '[' && close != std::string::npos) {
        section = Trim(text.substr(1, close - 1));
        inSection = true;
      }
      continue;
    }
    const std::size_t eq = text.find('=');
    if (eq != std::string::npos && eq > 0 && text[0] != ';' && text[0] != '#')
      return {section, Trim(text.substr(0, eq))};
  }
  return {section, "FuzzKey"};
}

// Writes one key into the input's file and checks the save.
void WriteOneKey(const std::string& bytes, const TWrite& w) {
  fuzz::WriteWhole(FilePath(), bytes);
  TProfile profile(FilePath());
  try {
    profile.WriteString(w.Section, w.Key, w.Value);
  } catch (const std::invalid_argument&) {
    return;  // a name that the file cannot hold; refused before anything changed
  }
  try {
    profile.Save();
  } catch (const std::exception& e) {
    fuzz::Unexpected("Save after WriteString", e);
  }
  const std::string after = ReadFile();
  CheckOnlyOwnedLinesChanged(bytes, after, {w});
  const TProfile reloaded(FilePath());
  if (reloaded.Content() != after) fuzz::Fail("the saved file loads as other content");
  if (reloaded.ReadString(w.Section, w.Key) != Trim(w.Value))
    fuzz::Fail("a written key does not read back",
               "section " + fuzz::Hex(w.Section) + " key " + fuzz::Hex(w.Key) + "\nfile " + fuzz::Hex(after, 400));
}

// Every key that SaveSettings writes, with the value it writes for values.
std::vector<TWrite> AllWrites(const settings::TSettingsValues& v) {
  std::vector<TWrite> writes;
  for (const settings::TSettingText& t : settings::SettingTexts(v)) writes.push_back({t.Section, t.Key, t.Value});
  return writes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using encoding::Sjis;
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // Loading and saving without a change.
  fuzz::WriteWhole(FilePath(), bytes);
  {
    TProfile profile(FilePath());
    if (profile.Content() != bytes) fuzz::Fail("the profile does not hold the file's bytes", fuzz::Hex(bytes));
    try {
      LoadChecked(profile);
    } catch (const std::exception& e) {
      fuzz::Unexpected("LoadSettings", e);
    }
    try {
      profile.Save();
    } catch (const std::exception& e) {
      fuzz::Unexpected("Save without a change", e);
    }
    if (ReadFile() != bytes) fuzz::Fail("a save without a change changed the file", fuzz::Hex(bytes));
  }

  // Single keys.
  const auto [section, key] = FirstSectionAndKey(bytes);
  WriteOneKey(bytes, {Sjis("表示"), Sjis("検索件数"), "250"});
  if (!section.empty()) {
    WriteOneKey(bytes, {section, key, "written"});
    WriteOneKey(bytes, {section, "KovalexFuzzNewKey", "1"});
  }
  WriteOneKey(bytes, {"KovalexFuzzNewSection", "key", "value"});

  // All of the program's settings.
  fuzz::WriteWhole(FilePath(), bytes);
  settings::TSettingsValues values = settings::DefaultSettings();
  values.Dictionaries = {true, false, true, false, false, true};
  values.ShowTags = true;
  values.KeywordMark = 2;
  values.LimitEnabled = true;
  values.HitLimit = 250;
  values.NormalFontFace = Sjis("ＭＳ 明朝");
  values.NormalFontSize = 14;
  values.NormalColour = -2147483643;
  values.Underline = true;
  values.KeywordColour = 0x00FF00;
  values.BackgroundColour = 0;
  values.Top = -5;
  values.Left = 7;
  values.Width = 640;
  values.Height = 480;
  {
    TProfile profile(FilePath());
    try {
      settings::SaveSettings(profile, values);
    } catch (const std::exception& e) {
      fuzz::Unexpected("SaveSettings", e);
    }
  }
  const std::string after = ReadFile();
  CheckOnlyOwnedLinesChanged(bytes, after, AllWrites(values));
  settings::TSettingsValues reloaded;
  try {
    settings::LoadSettings(TProfile(FilePath()), reloaded);
  } catch (const std::exception& e) {
    fuzz::Unexpected("LoadSettings after SaveSettings", e);
  }
  if (reloaded != values) fuzz::Fail("saved settings do not load back", fuzz::Hex(after, 400));
  return 0;
}
