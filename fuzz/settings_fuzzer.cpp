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
// keys read back as written, the settings as saved; every line that holds no
// written key stays, in its order; a key in a new section is added at the
// end, after a line end for an unterminated last line.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/profile.h"
#include "core/settings.h"
#include "fuzz_common.h"
#include "sjis/exceptions.h"
#include "text/encoding.h"

namespace {

struct TWrite {
  std::string Section, Key, Value;
};

std::string Trim(const std::string& s) {
  const std::size_t b = s.find_first_not_of(" \t");
  return b == std::string::npos ? "" : s.substr(b, s.find_last_not_of(" \t") + 1 - b);
}

// The lines of content without their line ends.
std::vector<std::string> Lines(const std::string& content) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < content.size();) {
    const std::size_t lf = std::min(content.find('\n', start), content.size());
    const bool cr = lf < content.size() && lf > start && content[lf - 1] == '\r';
    lines.push_back(content.substr(start, lf - start - (cr ? 1 : 0)));
    start = lf + 1;
  }
  return lines;
}

// Every line of before that holds no written key is among the lines of
// after, in the same order (a last line may have gained a line end).
bool KeepsOtherLines(const std::string& before, const std::string& after, const std::vector<TWrite>& writes) {
  const std::vector<std::string> theirs = Lines(after);
  std::size_t j = 0;
  for (std::string line : Lines(before)) {
    const std::size_t eq = line.find('=');
    bool written = false;
    for (const TWrite& w : writes)
      written |=
          eq != std::string::npos && encoding::AsciiLower(Trim(line.substr(0, eq))) == encoding::AsciiLower(w.Key);
    if (written) continue;
    while (j < theirs.size() && theirs[j] != line && theirs[j] + "\r" != line) ++j;
    if (j++ == theirs.size()) return false;
  }
  return true;
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
  v.KeywordMark = v.HitLimit = v.NormalFontSize = -1;
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
  if (v.NormalFontSize < 1 || v.NormalFontSize > 512) fuzz::Fail("a font size outside 1..512");
}

// Writes keys into the input's file with write, saves and checks the file;
// gives the saved bytes, or nothing when a name was refused.
template <typename F>
std::optional<std::string> CheckSave(const std::string& bytes, const std::vector<TWrite>& writes, F write) {
  fuzz::WriteWhole(FilePath(), bytes);
  TProfile profile(FilePath());
  try {
    write(profile);
  } catch (const std::invalid_argument&) {
    return std::nullopt;  // a name that the file cannot hold; refused before anything changed
  }
  try {
    profile.Save();
  } catch (const std::exception& e) {
    fuzz::Unexpected("Save", e);
  }
  const std::string after = ReadFile();
  const std::string shown = "before " + fuzz::Hex(bytes, 400) + "\nafter  " + fuzz::Hex(after, 400);
  if (!KeepsOtherLines(bytes, after, writes)) fuzz::Fail("a line that the save did not own is gone", shown);
  const TProfile reloaded(FilePath());
  if (reloaded.Content() != after) fuzz::Fail("the saved file loads as other content");
  for (const TWrite& w : writes) {
    if (reloaded.ReadString(w.Section, w.Key) != Trim(w.Value)) fuzz::Fail("a written key does not read back", shown);
  }
  return after;
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
  if (CheckSave(bytes, {}, [](TProfile&) {}) != bytes) fuzz::Fail("a save without a change changed the file");
  const TWrite shown{Sjis("表示"), Sjis("検索件数"), "250"}, added{"KovalexFuzzNew", "key", "value"};
  CheckSave(bytes, {shown}, [&shown](TProfile& p) { p.WriteString(shown.Section, shown.Key, shown.Value); });
  const std::optional<std::string> after =
      CheckSave(bytes, {added}, [&added](TProfile& p) { p.WriteString(added.Section, added.Key, added.Value); });
  if (after && encoding::AsciiLower(bytes).find("kovalexfuzznew") == std::string::npos) {
    const std::string end = after->size() > 2 && (*after)[after->size() - 2] == '\r' ? "\r\n" : "\n";
    const std::string tail = "[KovalexFuzzNew]" + end + "key=value" + end;
    const bool whole =
        after->size() >= bytes.size() + tail.size() && after->starts_with(bytes) && after->ends_with(tail);
    const std::string gap = whole ? after->substr(bytes.size(), after->size() - bytes.size() - tail.size()) : "";
    const bool ended = bytes.empty() || bytes.back() == '\n';
    if (!whole || (ended ? gap != "" : gap != "\n" && gap != "\r\n"))
      fuzz::Fail("a new section is not added at the end", fuzz::Hex(*after, 400));
  }
  // clang-format off
  const settings::TSettingsValues values{{true, false, true, false, false, true}, true, 2, true, 250, Sjis("ＭＳ 明朝"),
                                         14, -2147483643, false, false, true, 0x00FF00, 0, false, true, -5, 7, 640, 480, ""};
  // clang-format on
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
