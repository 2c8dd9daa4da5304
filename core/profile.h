// A profile (INI) file: sections of key=value lines in Shift-JIS, read
// whole, changed in memory with every other byte kept, and saved whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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
  // Writes the whole profile to the file, safely (see core/safe_save.h).
  // Raises Exception ("<path> に書き込めません") when that is not possible,
  // and for a file that could not be read: what was never read is never
  // replaced.
  void Save();

  // The complete content that Save writes.
  std::string Content() const;

 private:
  struct TLine {
    std::string Text;
    std::string End;  // "\r\n", "\n" or "" (last line without line end)
  };
  struct TSection {
    std::vector<TLine> Lines;  // Lines[0] is the "[name]" line, except in the part before any section
    std::unordered_map<std::string, std::size_t> Keys;  // folded key -> index of its first line
    std::size_t InsertAt = 0;                           // where a new key goes: after the last key line
  };

  void Parse(const std::string& content);
  void AddLine(std::string text, std::string end);
  TSection* FindSection(const std::string& section);
  const TSection* FindSection(const std::string& section) const;
  // Gives a line (the last line of the file) a line end before something is
  // appended after it; the line's text stays as it was.
  void EndLine(TLine& line) const;
  // Gives the last line of the file a line end before something is appended.
  void EndLastLine();

  std::string FPath;
  int FReadError = 0;
  std::string FNewLine = "\r\n";
  std::vector<TSection> FSections;                             // FSections[0]: the lines before the first section
  std::unordered_map<std::string, std::size_t> FSectionIndex;  // folded name -> first section
};
