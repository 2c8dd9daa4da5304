// A profile (INI) file: sections of key=value lines, read and written in
// place.
//
// The file is Shift-JIS bytes, and so are section names, keys and values.
//  - "[name]" starts a section; "key=value" is a setting of the section above
//    it.  Names compare without regard to ASCII letter case; blanks around
//    names and values are ignored on reading.  Where a section or key occurs
//    twice, the first one counts.
//  - Lines whose first non-blank character is ";" or "#" are comments.
//  - An integer value reads as hexadecimal after "0x" or "0X" (when the text
//    is longer than two characters) or after an optional sign and "$", as
//    decimal otherwise; it must fit 32 bits (hexadecimal wraps to negative).
//  - Writing a key replaces its value where it stands.  A missing key goes to
//    the end of its section, right after the section's last key line; a
//    missing section goes to the end of the file.  Every other line (unknown
//    keys and sections, comments, blank lines, garbage) stays byte for byte,
//    line ends (CR LF or LF) included.  New lines get the line end of the
//    file's first line, CR LF in a new file.
//  - Save writes the file as a whole.  Where the directory may be written and
//    the file has no other hard link, the new content goes into a temporary
//    file in the same directory (".<name>.tmp-<pid>-<n>"), which is flushed to
//    disk and renamed over the old one, so the file is always either the old
//    or the new version; the old file's permissions are kept.  Otherwise, when
//    the file itself may be written, it is overwritten in place: the space is
//    reserved first, then the whole content is written, the rest cut off and
//    the file flushed to disk, so its hard links, owner and permissions stay.
//    A symbolic link is followed: the file it points to is written, the link
//    stays.  Temporary files of earlier saves whose process is gone are
//    removed.
//
// A file that nobody may write (no write permission bit at all) counts as
// read-only even for the superuser, and so does a directory that nobody may
// write: Save writes a file in such a directory in place, and refuses a
// read-only file, as it refuses everything the operating system refuses,
// with the message "<path> に書き込めません".
//
// The file is opened without waiting: a FIFO, device or socket in its place
// is refused at once, as is anything that cannot be read; the profile is then
// empty, ReadError says why, and Save refuses to replace what it never read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A value text read as an integer; nullopt when it is not a valid integer.
std::optional<std::int32_t> ProfileInteger(std::string_view text);

class TProfile {
 public:
  // Loads the file when it exists; a missing file is an empty profile.
  explicit TProfile(std::string path);

  const std::string& Path() const { return FPath; }
  // Why the file could not be read: an error number, or
  // io_error::kNotRegularFile; 0 when it was read or does not exist.
  int ReadError() const { return FReadError; }

  // The value of key in section, blanks around it removed; nullopt when the
  // section or the key is missing.
  std::optional<std::string> ReadString(const std::string& section, const std::string& key) const;
  // The value of key read as an integer; nullopt when missing or not a valid
  // integer.
  std::optional<std::int32_t> ReadInteger(const std::string& section, const std::string& key) const;
  // Sets key in section in memory; Save writes it.  Names and value must not
  // hold line ends, a key no "=", a section name no "]", and the lines must
  // read back as written: no section name ending in a lead byte (which would
  // take the "]" as its second byte), no key that starts a comment, no key
  // and value that make a "[...]" line (std::invalid_argument).
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  // Writes the whole profile to the file.  Raises Exception ("<path> に書き込めません")
  // when that is not possible; the old file then stays as it was (unless the
  // disk fails in the middle of an in-place write).
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
