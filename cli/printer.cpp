#include "cli/printer.h"

#include <sys/stat.h>

#include <charconv>
#include <cstdint>

#include "sjis/sjis.h"

const std::string& TPrinter::Sgr(std::string TColours::*which) const {
  static const std::string none;
  return FOutput.Colours() ? FOutput.Colours()->*which : none;
}

void TPrinter::Separator(char c) { FOutput.Coloured(std::string_view(&c, 1), Sgr(&TColours::Separator), false); }

void TPrinter::GroupSeparator() {
  FOutput.Coloured(FOptions.GroupSeparator.value_or(""), Sgr(&TColours::Separator), false);
  FOutput.EndLine();
}

// The file name and what follows it: a zero byte with -Z, else the separator.
void TPrinter::NamePrefix(char separator) {
  FOutput.Coloured(FName, Sgr(&TColours::FileName), false);
  if (FOptions.Null)
    FOutput.Bytes(std::string_view("\0", 1));
  else
    Separator(separator);
}

int TPrinter::NumberWidth(int fd, bool lineNumbers) {
  struct stat st;
  std::int64_t largest = INT64_MAX;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) largest = st.st_size + (lineNumbers ? 1 : 0);
  return static_cast<int>(std::to_string(largest).size());
}

// Written into a buffer on the stack: a number goes with every line of -n.
void TPrinter::Number(std::int64_t value, std::string TColours::*colour) {
  char buffer[48];
  char* const digits = buffer + 24;
  const char* end = std::to_chars(digits, buffer + sizeof buffer, value).ptr;
  char* start = digits;
  while (end - start < FNumberWidth && start > buffer) *--start = ' ';
  FOutput.Coloured(std::string_view(start, static_cast<std::size_t>(end - start)), Sgr(colour), false);
}

void TPrinter::Prefix(std::int64_t number, std::int64_t offset, char separator, bool nonEmpty) {
  if (FShowName) NamePrefix(separator);
  if (FOptions.LineNumbers) {
    Number(number, &TColours::LineNumber);
    Separator(separator);
  }
  if (FOptions.ByteOffset) {
    Number(offset, &TColours::ByteOffset);
    Separator(separator);
  }
  if (FOptions.InitialTab && nonEmpty && (FShowName || FOptions.LineNumbers || FOptions.ByteOffset))
    FOutput.Bytes("\t");
}

void TPrinter::Line(std::string_view text, std::string_view end, std::int64_t number, std::int64_t offset,
                    char separator) {
  // As in GNU grep, a selected line holds matches unless -v, a context line
  // only with -v; only those lines show matches (coloured, or with -o).
  const bool matching = (separator == ':') != FOptions.Invert;
  if (FOptions.OnlyMatching) {
    // Only the matches, of context lines too (with -v those are the lines
    // that match); a line without a match prints nothing.
    if (matching) Matches(text, number, offset, separator);
    return;
  }
  Prefix(number, offset, separator, !text.empty());
  // Colours as GNU grep gives them: the line's colour (sl for selected
  // lines, cx for context lines, the other way round with -v and rv) before
  // the text ahead of each match, the match's colour on the match, the
  // line's colour on the rest.
  const bool selectedColour =
      (separator == ':') != (FOptions.Invert && FOutput.Colours() && FOutput.Colours()->Reverse);
  const std::string& lineSgr = Sgr(selectedColour ? &TColours::SelectedLine : &TColours::ContextLine);
  const std::string& matchSgr = Sgr(separator == ':' ? &TColours::SelectedMatch : &TColours::ContextMatch);
  std::size_t written = 0;
  if (matching && FMatcher && !matchSgr.empty()) {
    std::size_t from = 0;
    std::size_t at, length;
    while (from < text.size() && FMatcher->Find(text, from, at, length)) {
      if (length == 0) {
        // An empty match colours nothing; look again one character on.
        if (at >= text.size()) break;
        from = at + CharLength(text, at);
        continue;
      }
      FOutput.SgrStart(lineSgr);
      FOutput.Text(text.substr(written, at - written));
      FOutput.Coloured(text.substr(at, length), matchSgr, true);
      written = from = at + length;
    }
  }
  if (written < text.size()) FOutput.Coloured(text.substr(written), lineSgr, true);
  EndDataLine(end);
}

// -o: every match on a line of its own, with the line's prefix and, for -b,
// the match's own offset.
void TPrinter::Matches(std::string_view text, std::int64_t number, std::int64_t offset, char separator) {
  const std::string& sgr = Sgr(separator == ':' ? &TColours::SelectedMatch : &TColours::ContextMatch);
  std::size_t pos = 0;
  std::size_t at, length;
  while (pos <= text.size() && FMatcher->Find(text, pos, at, length)) {
    if (length == 0) {
      if (at >= text.size()) break;
      pos = at + CharLength(text, at);
      continue;
    }
    Prefix(number, offset + static_cast<std::int64_t>(at), separator, true);
    FOutput.Coloured(text.substr(at, length), sgr, true);
    EndDataLine("\n");
    pos = at + length;
  }
}

// -z ends every line of the input's text with a zero byte, whatever ended
// it in the input; the other lines kovagrep prints end as usual.
void TPrinter::EndDataLine(std::string_view end) {
  if (FOptions.NullData)
    FOutput.EndLine(std::string_view("\0", 1), true);
  else
    FOutput.EndLine(end);
}

void TPrinter::Count(std::int64_t selected) {
  if (FShowName) NamePrefix(':');
  FOutput.Bytes(std::to_string(selected));
  FOutput.EndLine();
}

void TPrinter::Name() {
  FOutput.Coloured(FName, Sgr(&TColours::FileName), false);
  if (FOptions.Null)
    FOutput.Bytes(std::string_view("\0", 1));
  else
    FOutput.EndLine();
}

void TPrinter::BinaryMatches() {
  FOutput.Bytes("Binary file " + FName + " matches");
  FOutput.EndLine();
}
