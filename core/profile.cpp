#include "core/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
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
//
// The file stays in memory as it was read, in one buffer.  Only the names
// are indexed: each section that counts and each key of such a section, as
// a hash of its folded name and the offset of its line, in vectors sorted by
// hash; a name is confirmed against its line when it is looked up.  Writes
// are kept beside the buffer (new values by where the old ones stand, new
// keys by section) and woven into its bytes by Content.  So a file of any
// number of blank or unknown lines costs its own size, and the index a few
// words per name.
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Blanks are single bytes below 0x40, so they are never the second byte of a
// double-byte character and can be cut byte by byte.
std::string_view TrimView(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

std::string Fold(std::string_view name) { return encoding::AsciiLower(TrimView(name)); }

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
std::optional<std::string_view> SectionName(std::string_view line) {
  std::size_t b = 0;
  while (b < line.size() && IsBlank(line[b])) ++b;
  if (b == line.size() || line[b] != '[') return std::nullopt;
  const std::size_t close = FindChar(line, ']', b + 1);
  if (close == std::string_view::npos) return std::nullopt;
  return TrimView(line.substr(b + 1, close - b - 1));
}

// The position of the "=" of a "key=value" line, npos for any other line.
std::size_t KeyEquals(std::string_view line) {
  std::size_t b = 0;
  while (b < line.size() && IsBlank(line[b])) ++b;
  if (b == line.size() || line[b] == ';' || line[b] == '#' || line[b] == '=') return std::string_view::npos;
  const std::size_t eq = line.find('=');  // "=" (0x3D) is never a second byte
  if (eq == std::string_view::npos || TrimView(line.substr(0, eq)).empty()) return std::string_view::npos;
  return eq;
}

// The start of the value of a key line: after its "=" and the blanks there.
std::size_t ValueStart(std::string_view line) {
  std::size_t start = KeyEquals(line) + 1;
  while (start < line.size() && IsBlank(line[start])) ++start;
  return start;
}

bool HasLineEnd(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// FNV-1a of a folded name, started from a seed: the section number for a
// key, kSectionSeed for a section.
constexpr std::uint64_t kSectionSeed = std::uint64_t{1} << 32;
std::uint64_t HashOf(std::string_view folded, std::uint64_t seed) {
  std::uint64_t hash = 14695981039346656037ull ^ (seed * 0x9E3779B97F4A7C15ull);
  for (const unsigned char c : folded) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

// Sorts names by hash (and section, for keys) and keeps of each name only
// its first line.  Names with the same hash are nearly always the same name,
// checked in one pass; only a group that also holds others is sorted by name.
template <bool BySection, typename Name, typename Folded>
void KeepFirstOfEach(std::vector<Name>& names, Folded folded) {
  const auto same = [](const Name& a, const Name& b) {
    return a.Hash == b.Hash && (!BySection || a.Section == b.Section);
  };
  std::sort(names.begin(), names.end(), [](const Name& a, const Name& b) {
    if (a.Hash != b.Hash) return a.Hash < b.Hash;
    if (BySection && a.Section != b.Section) return a.Section < b.Section;
    return a.Line < b.Line;
  });
  std::size_t kept = 0;
  for (std::size_t begin = 0, end; begin < names.size(); begin = end) {
    end = begin + 1;
    while (end < names.size() && same(names[end], names[begin])) ++end;
    bool one = true;
    if (end - begin > 1) {
      const std::string first = folded(names[begin]);
      for (std::size_t i = begin + 1; one && i < end; ++i) one = folded(names[i]) == first;
    }
    if (one) {
      names[kept++] = names[begin];
      continue;
    }
    std::vector<std::pair<std::string, Name>> group;
    for (std::size_t i = begin; i < end; ++i) group.emplace_back(folded(names[i]), names[i]);
    std::sort(group.begin(), group.end(), [](const auto& a, const auto& b) {
      return a.first != b.first ? a.first < b.first : a.second.Line < b.second.Line;
    });
    for (std::size_t i = 0; i < group.size(); ++i) {
      if (i == 0 || group[i].first != group[i - 1].first) names[kept++] = group[i].second;
    }
  }
  names.resize(kept);
  names.shrink_to_fit();
}

// The names of a sorted vector with the given hash.
template <typename Name>
auto WithHash(const std::vector<Name>& names, std::uint64_t hash) {
  return std::equal_range(names.begin(), names.end(), Name{hash, 0, 0},
                          [](const Name& a, const Name& b) { return a.Hash < b.Hash; });
}

// The whole content of a regular file, in a buffer of the file's size; 0,
// or why it cannot be read.  A missing file reads as empty.
int ReadAll(const std::string& path, std::string& content) {
  int error;
  const int fd = posix_io::OpenRegular(path, O_RDONLY, error);
  if (fd < 0) return error == ENOENT ? 0 : error;
  struct stat st;
  if (fstat(fd, &st) == 0 && st.st_size > 0) content.reserve(static_cast<std::size_t>(st.st_size));
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
  FReadError = ReadAll(FPath, FText);
  if (FReadError != 0) std::string().swap(FText);
  Parse();
}

void TProfile::Parse() {
  // Every "[name]" line, and every key line under one with the index of
  // its section line as Section; the first of each name counts.
  struct THeader {
    std::size_t Line, InsertAt;
  };
  std::vector<THeader> headers;
  std::vector<TName> sections, keys;
  const char* const text = FText.data();
  const std::size_t size = FText.size();
  if (const auto* lf = static_cast<const char*>(std::memchr(text, '\n', size)))
    FNewLine = lf > text && lf[-1] == '\r' ? "\r\n" : "\n";
  for (std::size_t start = 0; start < size;) {
    // Lines of nothing but blanks name nothing: pass over them, and start at
    // the line that holds the next other byte.
    std::size_t first = start;
    while (first < size && (text[first] == '\n' || text[first] == '\r' || IsBlank(text[first]))) ++first;
    if (first == size) break;
    const auto* before = static_cast<const char*>(memrchr(text + start, '\n', first - start));
    const std::size_t begin = before != nullptr ? static_cast<std::size_t>(before - text) + 1 : start;
    const auto* lf = static_cast<const char*>(std::memchr(text + first, '\n', size - first));
    const std::size_t next = lf != nullptr ? static_cast<std::size_t>(lf - text) + 1 : size;
    std::size_t end = lf != nullptr ? next - 1 : next;
    if (lf != nullptr && text[end - 1] == '\r') --end;
    const std::string_view line(text + begin, end - begin);
    if (const std::optional<std::string_view> name = SectionName(line)) {
      const auto header = static_cast<std::uint32_t>(headers.size());
      sections.push_back({HashOf(encoding::AsciiLower(*name), kSectionSeed), begin, header});
      headers.push_back({begin, next});
    } else if (const std::size_t eq = KeyEquals(line); eq != std::string_view::npos && !headers.empty()) {
      keys.push_back({HashOf(Fold(line.substr(0, eq)), 0), begin, static_cast<std::uint32_t>(headers.size() - 1)});
      headers.back().InsertAt = next;
    }
    start = next;
  }

  KeepFirstOfEach<false>(sections,
                         [this](const TName& n) { return encoding::AsciiLower(*SectionName(LineText(n.Line))); });
  // The sections that count, numbered in file order; the keys of the others
  // are never read.
  constexpr std::uint32_t kShadowed = UINT32_MAX;
  std::vector<std::uint32_t> number(headers.size(), kShadowed);
  for (const TName& s : sections) number[s.Section] = 0;
  for (std::size_t h = 0; h < headers.size(); ++h) {
    if (number[h] == kShadowed) continue;
    number[h] = static_cast<std::uint32_t>(FInsertAt.size());
    FInsertAt.push_back(headers[h].InsertAt);
  }
  for (TName& s : sections) s.Section = number[s.Section];
  FSectionNames = std::move(sections);

  std::size_t kept = 0;
  for (const TName& k : keys) {
    const std::uint32_t section = number[k.Section];
    if (section != kShadowed) keys[kept++] = {k.Hash ^ HashOf({}, section), k.Line, section};
  }
  keys.resize(kept);
  KeepFirstOfEach<true>(keys, [this](const TName& n) {
    const std::string_view line = LineText(n.Line);
    return Fold(line.substr(0, KeyEquals(line)));
  });
  FKeyNames = std::move(keys);
}

std::string_view TProfile::LineText(std::size_t line) const {
  const std::size_t lf = FText.find('\n', line);
  std::size_t end = lf == std::string::npos ? FText.size() : lf;
  if (lf != std::string::npos && end > line && FText[end - 1] == '\r') --end;
  return std::string_view(FText).substr(line, end - line);
}

std::optional<std::uint32_t> TProfile::FindSection(const std::string& folded) const {
  const auto [begin, end] = WithHash(FSectionNames, HashOf(folded, kSectionSeed));
  for (auto it = begin; it != end; ++it) {
    if (encoding::AsciiLower(*SectionName(LineText(it->Line))) == folded) return it->Section;
  }
  const auto added = FAddedSections.find(folded);
  if (added != FAddedSections.end()) return added->second;
  return std::nullopt;
}

std::optional<std::size_t> TProfile::FindKeyLine(std::uint32_t section, const std::string& folded) const {
  const auto [begin, end] = WithHash(FKeyNames, HashOf(folded, 0) ^ HashOf({}, section));
  for (auto it = begin; it != end; ++it) {
    const std::string_view line = LineText(it->Line);
    if (it->Section == section && Fold(line.substr(0, KeyEquals(line))) == folded) return it->Line;
  }
  return std::nullopt;
}

std::pair<std::size_t, std::size_t> TProfile::ValueRange(std::size_t line) const {
  const std::string_view text = LineText(line);
  return {line + ValueStart(text), line + text.size()};
}

std::optional<std::int32_t> TProfile::ReadInteger(const std::string& section, const std::string& key) const {
  const std::optional<std::string> text = ReadString(section, key);
  if (!text) return std::nullopt;
  return ProfileInteger(*text);
}

std::optional<std::string> TProfile::ReadString(const std::string& section, const std::string& key) const {
  const std::optional<std::uint32_t> s = FindSection(Fold(section));
  if (!s) return std::nullopt;
  const std::string folded = Fold(key);
  if (const std::optional<std::size_t> line = FindKeyLine(*s, folded)) {
    const auto [begin, end] = ValueRange(*line);
    const auto replaced = FReplaced.find(begin);
    if (replaced != FReplaced.end()) return Trim(replaced->second.Text);
    return Trim(std::string_view(FText).substr(begin, end - begin));
  }
  const auto added = FAddedKeys.find({*s, folded});
  if (added == FAddedKeys.end()) return std::nullopt;
  const std::string_view line = FAddedLines.at(*s)[added->second];
  return Trim(line.substr(KeyEquals(line) + 1));
}

void TProfile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (HasLineEnd(section) || HasLineEnd(key) || HasLineEnd(value) || key.find('=') != std::string::npos ||
      TrimView(key).empty() || FindChar(section, ']') != std::string::npos) {
    throw std::invalid_argument("profile name or value that the file cannot hold");
  }
  // The lines written must read back as this section and this key: a section
  // name ending in a lead byte would swallow the "]", and a key line that
  // reads as a comment or as a "[...]" section line would be lost.
  const std::string header = "[" + section + "]", keyLine = key + "=" + value;
  if (SectionName(header) != TrimView(section) || SectionName(keyLine) || KeyEquals(keyLine) != key.size()) {
    throw std::invalid_argument("profile name or value that the file cannot hold");
  }
  const std::string foldedSection = Fold(section), folded = Fold(key);
  std::optional<std::uint32_t> s = FindSection(foldedSection);
  if (!s) {
    s = static_cast<std::uint32_t>(FInsertAt.size() + FAddedHeaders.size());
    FAddedHeaders.push_back(header);
    FAddedSections.emplace(foldedSection, *s);
  }
  if (const std::optional<std::size_t> line = FindKeyLine(*s, folded)) {
    const auto [begin, end] = ValueRange(*line);
    const auto replaced = FReplaced.find(begin);
    const std::string_view now = replaced != FReplaced.end() ? std::string_view(replaced->second.Text)
                                                             : std::string_view(FText).substr(begin, end - begin);
    if (now == value) return;
    FReplaced[begin] = {end, value};
    FModified = true;
    return;
  }
  std::vector<std::string>& added = FAddedLines[*s];
  const auto existing = FAddedKeys.find({*s, folded});
  if (existing != FAddedKeys.end()) {
    std::string& line = added[existing->second];
    const std::size_t start = ValueStart(line);
    if (std::string_view(line).substr(start) == value) return;
    line = line.substr(0, start) + value;
  } else {
    added.push_back(keyLine);
    FAddedKeys.emplace(std::pair{*s, folded}, added.size() - 1);
  }
  FModified = true;
}

void TProfile::EndLastLine(std::string& out) const {
  if (FText.empty() || FText.back() == '\n') return;
  // A carriage return that ends the text would merge with a bare line feed
  // into a CR LF line end, and the text would lose it.
  out += !out.empty() && out.back() == '\r' ? "\r\n" : FNewLine;
}

std::string TProfile::Content() const {
  std::string out;
  out.reserve(FText.size() + 1024);
  std::size_t pos = 0;
  const auto copyTo = [&](std::size_t at) {
    if (at > pos) out.append(FText, pos, at - pos);
    pos = std::max(pos, at);
  };
  auto replaced = FReplaced.begin();
  const auto replaceUpTo = [&](std::size_t at) {
    for (; replaced != FReplaced.end() && replaced->first <= at; ++replaced) {
      copyTo(replaced->first);
      out += replaced->second.Text;
      pos = replaced->second.End;
    }
  };
  const auto addLines = [&](const std::vector<std::string>& lines) {
    for (const std::string& line : lines) out.append(line).append(FNewLine);
  };
  bool lastLineEnded = false;
  const auto endLastLine = [&] {
    if (!std::exchange(lastLineEnded, true)) EndLastLine(out);
  };
  // The file's sections come first, in file order, each with its added keys
  // where they go; the added sections follow at the end.
  for (const auto& [section, lines] : FAddedLines) {
    if (section >= FInsertAt.size()) break;
    const std::size_t at = FInsertAt[section];
    replaceUpTo(at);
    copyTo(at);
    if (at == FText.size()) endLastLine();
    addLines(lines);
  }
  replaceUpTo(FText.size());
  copyTo(FText.size());
  for (std::size_t i = 0; i < FAddedHeaders.size(); ++i) {
    endLastLine();
    out.append(FAddedHeaders[i]).append(FNewLine);
    const auto lines = FAddedLines.find(static_cast<std::uint32_t>(FInsertAt.size() + i));
    if (lines != FAddedLines.end()) addLines(lines->second);
  }
  return out;
}

void TProfile::Save() {
  if (FReadError != 0) file_error::ThrowCannotWrite(FPath);
  safe_save::SaveFile(FPath, Content());
}
