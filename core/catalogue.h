// The six dictionaries (number, settings key, header line, file mask) and
// the discovery of their files in one folder.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/texts.h"

namespace catalogue {

// How many dictionaries there are; they are numbered 1..kDictionaryCount.
inline constexpr int kDictionaryCount = 6;

// A dictionary's number is its search order and its key (F1-F6).  The
// settings key and the header line are Shift-JIS, as the settings file and
// the result hold them; the file mask is UTF-8, as names on disk are matched
// as Unicode text: every name that matches a mask (dictionaries 1, 2, 5, 6)
// or one fixed name (dictionaries 3, 4).
struct TDictionaryInfo {
  int Number;                    // 1..kDictionaryCount
  std::string_view SettingsKey;  // Shift-JIS, key in the settings section of the dictionaries
  std::string_view HeaderLine;   // Shift-JIS
  std::string_view FileMask;     // UTF-8: a mask, or the fixed name when FixedName is set
  bool FixedName;
};

inline constexpr std::array<TDictionaryInfo, kDictionaryCount> kDictionaries = {{
    {1, sjis_text::kDictionaryKey1, sjis_text::kHeaderLine1, "KOVA5*.*", false},
    {2, sjis_text::kDictionaryKey2, sjis_text::kHeaderLine2, "KOVA-BIL.*", false},
    {3, sjis_text::kDictionaryKey3, sjis_text::kHeaderLine3, "KOVA略語.TXT", true},
    {4, sjis_text::kDictionaryKey4, sjis_text::kHeaderLine4, "KOVA固名.TXT", true},
    {5, sjis_text::kDictionaryKey5, sjis_text::kHeaderLine5, "KOVSEN*.*", false},
    {6, sjis_text::kDictionaryKey6, sjis_text::kHeaderLine6, "KOVA4*.*", false},
}};

// The catalogue entry of dictionary number (1..kDictionaryCount).
const TDictionaryInfo& Dictionary(int number);

// The files found for one dictionary.  Files holds the names exactly as the
// bytes on disk (open them as they are), without directory, sorted without
// regard to letter case (ties in byte order).  A fixed-name dictionary has
// at most one file: the first matching name in that order.
struct TDictionaryFiles {
  bool Available = false;
  std::vector<std::string> Files;
};
// The files of every dictionary, dictionary n at index n - 1.
using TFoundDictionaries = std::array<TDictionaryFiles, kDictionaryCount>;

// Lists directory ("" means the current directory) once and returns the
// files of every dictionary.  Only regular files count (symbolic links are
// followed); hidden files count.  A directory that cannot be listed makes
// every dictionary unavailable.  Names on disk are bytes, taken as UTF-8
// when they are valid UTF-8 and as Shift-JIS otherwise; masks and fixed
// names match without regard to letter case (ASCII and full-width Latin).
TFoundDictionaries FindDictionaries(const std::string& directory);

// Whether a file name matches a mask: "*" is any run of characters, "?" one
// character, a trailing ".*" also admits a name without extension, and
// letter case is ignored.  Both are Unicode text.
bool MatchesMask(std::u16string_view name, std::u16string_view mask);

// Orders on-disk names as the file lists keep them.
bool FileNameLess(const std::string& a, const std::string& b);

// A name on disk as text for tags and messages.
std::u16string DisplayFileName(const std::string& onDiskName);
// A name on disk as Shift-JIS bytes ("?" for characters without a form).
std::string FileNameAsSjis(const std::string& onDiskName);

}  // namespace catalogue
