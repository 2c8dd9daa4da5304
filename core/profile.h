// A profile (INI) file: sections of key=value lines in Shift-JIS, read
// whole into one buffer, changed in memory with every other byte kept, and
// saved whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/profile_integer.h"

class TProfile {
 public:
  // Loads the file when it exists; a missing file is an empty profile.  The
  // file is opened without waiting: a FIFO, device or socket in its place is
  // refused at once, as is anything that cannot be read; the profile is then
  // empty, and ReadError says why.
  explicit TProfile(std::string path);

  const std::string& Path() const { return FPath; }
  // Why the file could not be read: an error number, or
  // io_error::kNotRegularFile; 0 when it was read or does not exist.
  int ReadError() const { return FReadError; }

  // The value of key in section, blanks around it removed; nullopt when the
  // section or the key is missing.
  std::optional<std::string> ReadString(const std::string& section, const std::string& key) const;
  // The value of key read as an integer (see ProfileInteger); nullopt when
  // missing or not a valid integer.
  std::optional<std::int32_t> ReadInteger(const std::string& section, const std::string& key) const;
  // Sets key in section in memory; Save writes it.  Names and value must not
  // hold line ends, a key no "=", a section name no "]", and the lines must
  // read back as written: no section name ending in a lead byte (which would
  // take the "]" as its second byte), no key that starts a comment, no key
  // and value that make a "[...]" line (std::invalid_argument).
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  // Whether a write has changed the content since the file was read.
  bool Modified() const { return FModified; }
  // Writes the whole profile to the file, safely (see core/safe_save.h).
  // Raises Exception ("<path> に書き込めません") when that is not possible,
  // and for a file that could not be read: what was never read is never
  // replaced.
  void Save();

  // The complete content that Save writes.
  std::string Content() const;

 private:
  // A section or key name of the file: the hash of its folded name (for a
  // key, with its section's number), the offset of its line in FText, and
  // its section's number.
  struct TName {
    std::uint64_t Hash;
    std::size_t Line;
    std::uint32_t Section;
  };
  // A value written over the file's: FText[begin, End) becomes Text.
  struct TReplacement {
    std::size_t End;
    std::string Text;
  };

  void Parse();
  std::string_view LineText(std::size_t line) const;
  std::optional<std::uint32_t> FindSection(const std::string& folded) const;
  std::optional<std::size_t> FindKeyLine(std::uint32_t section, const std::string& folded) const;
  // The range of the value of the key line at line, after the "=" and its blanks.
  std::pair<std::size_t, std::size_t> ValueRange(std::size_t line) const;
  // Appends to out what an insertion at the end of FText needs first: a line
  // end for a last line without one.
  void EndLastLine(std::string& out) const;

  std::string FPath;
  int FReadError = 0;
  std::string FText;  // the file's bytes as read
  std::string FNewLine = "\r\n";
  // Sections are numbered: those of the file that count in file order, then
  // those that writes added.  Where a file's section takes new keys: after
  // its last key line (or its "[...]" line).
  std::vector<std::size_t> FInsertAt;
  std::vector<std::string> FAddedHeaders;               // "[name]" of each added section
  std::vector<TName> FSectionNames;                     // sorted by hash
  std::vector<TName> FKeyNames;                         // sorted by hash
  std::map<std::string, std::uint32_t> FAddedSections;  // folded name -> number
  // The key lines writes added, without line ends, by section number; and
  // where each key is among them.
  std::map<std::uint32_t, std::vector<std::string>> FAddedLines;
  std::map<std::pair<std::uint32_t, std::string>, std::size_t> FAddedKeys;
  std::map<std::size_t, TReplacement> FReplaced;  // by where the value begins
  bool FModified = false;
};
