#include "core/profile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <stdexcept>

#include "core/texts.h"
#include "sjis/exceptions.h"
#include "sjis/posix_io.h"
#include "sjis/sjis.h"
#include "text/encoding.h"

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

std::string ParentDirectory(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Nobody may write an object that has no write permission bit at all; the
// superuser, whom access() lets through, is refused as well.
bool MayWrite(const std::string& path, const struct stat& st, int extraAccess = 0) {
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && access(path.c_str(), W_OK | extraAccess) == 0;
}

[[noreturn]] void ThrowCannotWrite(const std::string& path) {
  throw Exception(encoding::FileNameToSjis(path) + " " + std::string(sjis_text::kTextCannotWrite));
}

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

// The file that path names once every symbolic link on the way has been
// followed (a link to a missing file names that file); 0, or ELOOP.
int ResolveLinks(const std::string& path, std::string& target) {
  constexpr int kMaxLinks = 40;
  target = path;
  for (int links = 0; links <= kMaxLinks; ++links) {
    struct stat st;
    if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 0;
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096), '\0');
    const ssize_t n = readlink(target.c_str(), link.data(), link.size());
    if (n < 0) return 0;  // gone meanwhile: the path itself is written
    link.resize(static_cast<std::size_t>(n));
    target = !link.empty() && link[0] == '/' ? link : ParentDirectory(target) + "/" + link;
  }
  return ELOOP;
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The prefix of the temporary files that saves of the file base make.
std::string TempPrefix(const std::string& base) { return "." + base + ".tmp-"; }

// The process that made a temporary file named prefix + "<pid>-<n>"; 0 when
// the name is not of that form.
pid_t TempOwner(const std::string& name, const std::string& prefix) {
  if (name.compare(0, prefix.size(), prefix) != 0) return 0;
  const std::string rest = name.substr(prefix.size());
  const std::size_t dash = rest.find('-');
  if (dash == 0 || dash == std::string::npos || dash + 1 == rest.size()) return 0;
  if (rest.find_first_not_of("0123456789-") != std::string::npos || rest.find('-', dash + 1) != std::string::npos)
    return 0;
  const long pid = std::strtol(rest.c_str(), nullptr, 10);
  return pid > 0 && pid <= INT32_MAX ? static_cast<pid_t>(pid) : 0;
}

// Removes the temporary files that earlier saves of the file base left in
// directory when they were killed half-way: those whose process is gone, and
// any older than a day (its process number may have been reused, or it came
// from another machine sharing the directory).
void RemoveStaleTemps(const std::string& directory, const std::string& base) {
  DIR* dir = opendir(directory.c_str());
  if (dir == nullptr) return;
  const std::string prefix = TempPrefix(base);
  const std::time_t dayAgo = std::time(nullptr) - 24 * 60 * 60;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    const pid_t owner = TempOwner(name, prefix);
    if (owner == 0 || owner == getpid()) continue;
    struct stat st;
    if (fstatat(dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    const bool gone = kill(owner, 0) != 0 && errno == ESRCH;
    if (gone || st.st_mtime < dayAgo) unlinkat(dirfd(dir), name.c_str(), 0);
  }
  closedir(dir);
}

// Writes content to a new temporary file beside target and renames it over
// target; st is the old file's status when it exists.  False when any step
// fails; no temporary file is left then.
bool ReplaceAtomically(const std::string& target, const std::string& content, const struct stat* st) {
  const std::string directory = ParentDirectory(target);
  // A new temporary file gets the permissions a new file gets (umask applied).
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp = directory + "/" + TempPrefix(BaseName(target)) + std::to_string(getpid()) + "-" + std::to_string(attempt);
    fd = posix_io::Open(temp, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return false;

  bool ok = posix_io::WriteAll(fd, content.data(), content.size());
  if (ok && st != nullptr) {
    // Owner and group can only be kept by the superuser; the mode always.
    [[maybe_unused]] const int owned = fchown(fd, st->st_uid, st->st_gid);
    ok = fchmod(fd, st->st_mode & 07777) == 0;
  }
  ok = ok && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  const int dirFd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    fsync(dirFd);
    close(dirFd);
  }
  return true;
}

// Overwrites the existing file target with content, keeping the file itself
// (its hard links, owner and permissions).  The space is reserved before the
// first byte changes, so a full disk leaves the old content whole.
bool WriteInPlace(const std::string& target, const std::string& content) {
  int error;
  const int fd = posix_io::OpenRegular(target, O_WRONLY, error);
  if (fd < 0) return false;
  const off_t size = static_cast<off_t>(content.size());
  const int reserved = size > 0 ? posix_fallocate(fd, 0, size) : 0;
  // A file system that cannot reserve space is written all the same.
  bool ok = reserved == 0 || reserved == EOPNOTSUPP || reserved == EINVAL;
  ok = ok && lseek(fd, 0, SEEK_SET) == 0 && posix_io::WriteAll(fd, content.data(), content.size()) &&
       ftruncate(fd, size) == 0 && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  return ok;
}

// The value of digits in base, nullopt when a character is not a digit or
// the value exceeds max.
std::optional<std::uint32_t> ParseDigits(std::string_view digits, unsigned base, std::uint64_t max) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    unsigned d;
    if (c >= '0' && c <= '9') {
      d = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      d = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      d = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * base + d;
    if (value > max) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<std::int32_t> ProfileInteger(std::string_view s) {
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    const std::optional<std::uint32_t> v = ParseDigits(s.substr(2), 16, 0xFFFFFFFFu);
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(*v);
  }
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (!s.empty() && s[0] == '$') {
    const std::optional<std::uint32_t> v = ParseDigits(s.substr(1), 16, 0xFFFFFFFFu);
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(negative ? 0u - *v : *v);
  }
  const std::optional<std::uint32_t> v = ParseDigits(s, 10, negative ? 2147483648u : 2147483647u);
  if (!v) return std::nullopt;
  return static_cast<std::int32_t>(negative ? 0u - *v : *v);
}

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
  if (FReadError != 0) ThrowCannotWrite(FPath);  // never replace a file whose content was not read

  // Through a symbolic link the file it points to is written, not the link.
  std::string target;
  if (ResolveLinks(FPath, target) != 0) ThrowCannotWrite(FPath);
  struct stat st;
  const bool exists = stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) ThrowCannotWrite(FPath);
  if (exists && (!S_ISREG(st.st_mode) || !MayWrite(target, st))) ThrowCannotWrite(FPath);

  // Renaming a new file over the old one would part it from its other hard
  // links; such a file, and one in a directory that may not be written, is
  // written in place.
  const std::string directory = ParentDirectory(target);
  struct stat dirSt;
  const bool directoryWritable =
      stat(directory.c_str(), &dirSt) == 0 && S_ISDIR(dirSt.st_mode) && MayWrite(directory, dirSt, X_OK);
  const std::string content = Content();
  const bool replaced =
      directoryWritable && (!exists || st.st_nlink <= 1) && ReplaceAtomically(target, content, exists ? &st : nullptr);
  if (!replaced && (!exists || !WriteInPlace(target, content))) ThrowCannotWrite(FPath);
  if (directoryWritable) RemoveStaleTemps(directory, BaseName(target));
}
