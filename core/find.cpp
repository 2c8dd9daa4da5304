#include "core/find.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/texts.h"
#include "regexp/regexp.h"
#include "sjis/sjis.h"
#include "text/encoding.h"

namespace find {

namespace {

// The word delimiters: a word is preceded by a space, a double quote, "■",
// an opening brace or an opening parenthesis, and followed by a space, a
// double quote, a closing parenthesis, "!", "?", ".", ",", ":" or ";".
const std::string& WordPrefix() {
  static const std::string prefix(sjis_text::kFindWordPrefix);
  return prefix;
}

const std::string& WordSuffix() {
  static const std::string suffix(sjis_text::kFindWordSuffix);
  return suffix;
}

// One line prepared for matching: W is one space, the line's bytes, one
// space.  W index i is line byte i - 1.
struct TWorkLine {
  std::string W;
  std::vector<bool> Boundary;  // per W index (and W.size()): a character starts here
};

TWorkLine MakeWorkLine(std::string_view bytes, bool ignoreCase) {
  TWorkLine line;
  line.W.reserve(bytes.size() + 2);
  line.W += ' ';
  if (ignoreCase) {
    line.W += encoding::AsciiLower(bytes);
  } else {
    line.W += bytes;
  }
  line.W += ' ';
  line.Boundary.assign(line.W.size() + 1, false);
  // The characters of the line as the engine cuts them: a lead byte takes
  // the next byte with it, and a lone lead byte at the end stands alone.
  std::size_t i = 0;
  while (i < bytes.size()) {
    line.Boundary[i + 1] = true;
    i += CharLength(bytes, i);
  }
  line.Boundary.front() = true;
  line.Boundary[bytes.size() + 1] = true;
  line.Boundary.back() = true;
  return line;
}

int LineBytes(const TWorkLine& line) { return static_cast<int>(line.W.size()) - 2; }

// The first character boundary at or after W index i.
int NextBoundary(const TWorkLine& line, int i) {
  const int last = static_cast<int>(line.W.size());
  i = std::clamp(i, 0, last);
  while (!line.Boundary[static_cast<std::size_t>(i)]) ++i;
  return i;
}

// The last character boundary at or before W index i.
int PrevBoundary(const TWorkLine& line, int i) {
  i = std::clamp(i, 0, static_cast<int>(line.W.size()));
  while (!line.Boundary[static_cast<std::size_t>(i)]) --i;
  return i;
}

struct TByteRange {
  int Begin;  // line bytes
  int End;
};

// Matches W from W index `from` on and returns the text to select, in line
// bytes, or nothing.
std::optional<TByteRange> MatchLine(const TRegularExpression& matcher, const TWorkLine& line, int from,
                                    bool wholeWord) {
  int pos = 0;
  int len = 0;
  matcher.Match(line.W.substr(static_cast<std::size_t>(from)), pos, len);
  int begin = 0;  // W indexes
  int end = 0;
  if (!wholeWord) {
    // A match at the candidate's first character counts as none.
    --pos;
    if (pos <= 0) return std::nullopt;
    begin = from + pos;
    end = begin + len;
  } else {
    if (pos <= 0) return std::nullopt;
    // The delimiters are the match's first and last characters.
    const int first = from + pos - 1;
    begin = NextBoundary(line, first + 1);
    end = std::max(begin, PrevBoundary(line, first + len - 1));
  }
  // The added spaces are not part of the view's text.
  const int lineBytes = LineBytes(line);
  return TByteRange{std::clamp(begin - 1, 0, lineBytes), std::clamp(end - 1, 0, lineBytes)};
}

void Select(TFindView& view, std::int64_t lineIndex, TByteRange range) {
  view.SetSelection(view.LineStart(lineIndex) + range.Begin, range.End - range.Begin);
}

}  // namespace

std::string FindPattern(const TFindOptions& options) {
  std::string text = encoding::Utf16ToSjis(options.Text);
  if (options.IgnoreCase) text = encoding::AsciiLower(text);
  if (options.WholeWord) return WordPrefix() + text + WordSuffix();
  return text;
}

// The view is seen through TFindView: lines of Shift-JIS text and positions
// in bytes, the lines separated by one byte (a line feed), exactly as the
// result view holds them; the engine matches those bytes as they are.
//
// One step, for a line L that holds the selection start:
//  - the working copy W is one space, the line's bytes, one space (ASCII
//    letters lowered when ignoring case);
//  - a fresh find (no match selected yet in this showing of the dialog)
//    matches W from the character before the caret on, a continued find from
//    the character after the previous match's first character on;
//  - without word search a match at the first character of that candidate
//    text counts as none, so a fresh find finds a match that starts at or
//    after the caret, and a continued find one that starts at least two
//    characters after the previous match's start; only the first match of
//    the candidate text is looked at;
//  - with word search the match includes one delimiter character on each
//    side, which is not selected;
//  - failing that, every following line is matched as a whole, from the
//    added space on; the search does not wrap around.
//
// Candidate texts always begin on a character boundary, so for single-byte
// text "character" and "byte" coincide, and a double-byte character is never
// cut in two.
//
// A user selection that spans lines is taken at its start: both the line
// searched first and the column come from the selection start, so the find
// goes on from where the selection begins.
bool FindNext(TFindView& view, TRegularExpression& matcher, const TFindOptions& options, bool continuing) {
  // The pattern goes first, so that a malformed one leaves the view alone.
  matcher.SetPattern(FindPattern(options));
  if (!continuing && options.FromTop) view.SetSelection(0, 0);

  const std::int64_t lineCount = view.LineCount();
  if (lineCount <= 0) return false;
  const std::int64_t current = std::clamp<std::int64_t>(view.SelStartLine(), 0, lineCount - 1);
  {
    const TWorkLine line = MakeWorkLine(view.LineBytes(current), options.IgnoreCase);
    const int column = PrevBoundary(line, static_cast<int>(std::clamp<std::int64_t>(
                                              view.SelStart() - view.LineStart(current), 0, LineBytes(line))) +
                                              1) -
                       1;
    // W index column is the character before the caret; column + 1 is the
    // previous match's first character.
    const int from = continuing ? NextBoundary(line, column + 2) : PrevBoundary(line, column);
    if (const auto range = MatchLine(matcher, line, from, options.WholeWord)) {
      Select(view, current, *range);
      return true;
    }
  }
  for (std::int64_t i = current + 1; i < lineCount; ++i) {
    const TWorkLine line = MakeWorkLine(view.LineBytes(i), options.IgnoreCase);
    if (const auto range = MatchLine(matcher, line, 0, options.WholeWord)) {
      Select(view, i, *range);
      return true;
    }
  }
  return false;
}

void CollapseSelection(TFindView& view) { view.SetSelection(view.SelStart(), 0); }

}  // namespace find
