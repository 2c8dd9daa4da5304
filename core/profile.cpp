#include "core/profile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "core/file_error.h"
#include "core/safe_save.h"
#include "sjis/posix_io.h"
#include "sjis/sjis.h"
#include "text/encoding.h"

// The file's syntax:
//  - "[name]" starts a section; "key=value" is a setting of the section above
//    it.  Names compare without regard to ASCII letter case; blanks around
//    names and values are ignored on reading.  Where a section or key occurs
//    twice, the first one counts.
//  - Lines whose first non-blank character is ";" or "#" are comments.
//  - Writing a key replaces its value where it stands.  A missing key goes to
//    the end of its section, right after the section's last key line; a
//    missing section goes to the end of the file.  Every other line (unknown
//    keys and sections, comments, blank lines, garbage) stays byte for byte,
//    line ends (CR LF or LF) included.  New lines get the line end of the
//    file's first line, CR LF in a new file.
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Blanks are single bytes below 0x40, so they are never the second byte of a
// double-byte character and can be cut byte by byte.
std::string Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

std::string Fold(std::string_view name) { return encoding::AsciiLower(Trim(name)); }

// The index of the first single-byte character c at or after from, stepping
// over double-byte characters whole; npos when there is none.
std::size_t FindChar(std::string_view s, char c, std::size_t from = 0) {
  for (std::size_t i = from; i < s.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<unsigned char>(s[i]))) {
      ++i;
    } else if (s[i] == c) {
      return i;
    }
  }
  return std::string_view::npos;
}

// The section name of a "[name]" line.
std::optional<std::string> SectionName(std::string_view line) {
  std::size_t b = 0;
  while (b < line.size() && IsBlank(line[b])) ++b;
  if (b == line.size() || line[b] != '[') return std::nullopt;
  const std::size_t close = FindChar(line, ']', b + 1);
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(b + 1, close - b - 1));
}

// The position of the "=" of a "key=value" line, npos for any other line.
std::size_t KeyEquals(std::string_view line) {
  std::size_t b = 0;
  while (b < line.size() && IsBlank(line[b])) ++b;
  if (b == line.size() || line[b] == ';' || line[b] == '#' || line[b] == '=') return std::string_view::npos;
  const std::size_t eq = line.find('=');  // "=" (0x3D) is never a second byte
  if (eq == std::string_view::npos || Trim(line.substr(0, eq)).empty()) return std::string_view::npos;
  return eq;
}

bool HasLineEnd(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// The whole content of a regular file; 0, or why it cannot be read.  A
// missing file reads as empty.
int ReadAll(const std::string& path, std::string& content) {
  int error;
  const int fd = posix_io::OpenRegular(path, O_RDONLY, error);
  if (fd < 0) return error == ENOENT ? 0 : error;
  char buffer[65536];
  for (;;) {
    const ssize_t n = posix_io::Read(fd, buffer, sizeof buffer);
    if (n < 0) error = errno;
    if (n <= 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  return error;
}

}  // namespace

TProfile::TProfile(std::string path) : FPath(std::move(path)) {
  std::string content;
  FReadError = ReadAll(FPath, content);
  if (FReadError != 0) content.clear();
  Parse(content);
}

void TProfile::Parse(const std::string& content) {
  FSections.assign(1, TSection{});
  FSectionIndex.clear();
  bool newLineKnown = false;
  std::size_t start = 0;
  while (start < content.size()) {
    const std::size_t lf = content.find('\n', start);
    std::size_t textEnd = lf == std::string::npos ? content.size() : lf;
    std::size_t lineEnd = lf == std::string::npos ? content.size() : lf + 1;
    if (lf != std::string::npos && textEnd > start && content[textEnd - 1] == '\r') --textEnd;
    std::string end = content.substr(textEnd, lineEnd - textEnd);
    if (!newLineKnown && !end.empty()) {
      FNewLine = end;
      newLineKnown = true;
    }
    AddLine(content.substr(start, textEnd - start), std::move(end));
    start = lineEnd;
  }
}

void TProfile::AddLine(std::string text, std::string end) {
  if (const std::optional<std::string> name = SectionName(text)) {
    FSectionIndex.try_emplace(encoding::AsciiLower(*name), FSections.size());
    FSections.emplace_back();
    FSections.back().Lines.push_back(TLine{std::move(text), std::move(end)});
    FSections.back().InsertAt = 1;
    return;
  }
  TSection& section = FSections.back();
  const std::size_t eq = KeyEquals(text);
  if (eq != std::string::npos) {
    section.Keys.try_emplace(Fold(std::string_view(text).substr(0, eq)), section.Lines.size());
    section.InsertAt = section.Lines.size() + 1;
  }
  section.Lines.push_back(TLine{std::move(text), std::move(end)});
}

TProfile::TSection* TProfile::FindSection(const std::string& section) {
  const auto it = FSectionIndex.find(Fold(section));
  return it == FSectionIndex.end() ? nullptr : &FSections[it->second];
}

const TProfile::TSection* TProfile::FindSection(const std::string& section) const {
  const auto it = FSectionIndex.find(Fold(section));
  return it == FSectionIndex.end() ? nullptr : &FSections[it->second];
}

std::optional<std::int32_t> TProfile::ReadInteger(const std::string& section, const std::string& key) const {
  const std::optional<std::string> text = ReadString(section, key);
  if (!text) return std::nullopt;
  return ProfileInteger(*text);
}

std::optional<std::string> TProfile::ReadString(const std::string& section, const std::string& key) const {
  const TSection* s = FindSection(section);
  if (!s) return std::nullopt;
  const auto it = s->Keys.find(Fold(key));
  if (it == s->Keys.end()) return std::nullopt;
  const std::string& text = s->Lines[it->second].Text;
  return Trim(std::string_view(text).substr(KeyEquals(text) + 1));
}

void TProfile::EndLine(TLine& line) const {
  if (!line.End.empty()) return;
  // A carriage return that ends the text would merge with a bare line feed
  // into a CR LF line end, and the text would lose it.
  line.End = !line.Text.empty() && line.Text.back() == '\r' ? "\r\n" : FNewLine;
}

void TProfile::EndLastLine() {
  for (auto s = FSections.rbegin(); s != FSections.rend(); ++s) {
    if (!s->Lines.empty()) {
      EndLine(s->Lines.back());
      return;
    }
  }
}

void TProfile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (HasLineEnd(section) || HasLineEnd(key) || HasLineEnd(value) || key.find('=') != std::string::npos ||
      Trim(key).empty() || FindChar(section, ']') != std::string::npos) {
    throw std::invalid_argument("profile name or value that the file cannot hold");
  }
  // The lines written must read back as this section and this key: a section
  // name ending in a lead byte would swallow the "]", and a key line that
  // reads as a comment or as a "[...]" section line would be lost.
  const std::string keyLine = key + "=" + value;
  if (SectionName("[" + section + "]") != Trim(section) || SectionName(keyLine) || KeyEquals(keyLine) != key.size()) {
    throw std::invalid_argument("profile name or value that the file cannot hold");
  }
  TSection* s = FindSection(section);
  if (!s) {
    EndLastLine();
    FSectionIndex.emplace(Fold(section), FSections.size());
    FSections.emplace_back();
    s = &FSections.back();
    s->Lines.push_back(TLine{"[" + section + "]", FNewLine});
    s->InsertAt = 1;
  }
  const auto it = s->Keys.find(Fold(key));
  if (it != s->Keys.end()) {
    TLine& line = s->Lines[it->second];
    std::size_t valueStart = KeyEquals(line.Text) + 1;
    while (valueStart < line.Text.size() && IsBlank(line.Text[valueStart])) ++valueStart;
    line.Text = line.Text.substr(0, valueStart) + value;
    return;
  }
  // Only non-key lines follow InsertAt, so the indexes of the section's keys stay valid.  The
  // line before the new one lacks a line end only when it is the file's last line.
  EndLine(s->Lines[s->InsertAt - 1]);
  s->Lines.insert(s->Lines.begin() + static_cast<std::ptrdiff_t>(s->InsertAt), TLine{key + "=" + value, FNewLine});
  s->Keys.emplace(Fold(key), s->InsertAt);
  ++s->InsertAt;
}

std::string TProfile::Content() const {
  std::string out;
  for (const TSection& s : FSections) {
    for (const TLine& line : s.Lines) {
      out += line.Text;
      out += line.End;
    }
  }
  return out;
}

void TProfile::Save() {
  if (FReadError != 0) file_error::ThrowCannotWrite(FPath);
  safe_save::SaveFile(FPath, Content());
}
