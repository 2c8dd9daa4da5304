// Finding text in the result view: the "find next" step of the find dialog,
// free of any toolkit so that it can be driven without a display.
//
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
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TRegularExpression;

namespace find {

// The searched view: Shift-JIS lines, positions in bytes.
class TFindView {
 public:
  virtual ~TFindView() = default;
  virtual std::int64_t LineCount() const = 0;
  // The bytes of a line, without its line end; valid until the view changes.
  virtual std::string_view LineBytes(std::int64_t line) const = 0;
  // The index of the line that holds the selection start.
  virtual std::int64_t SelStartLine() const = 0;
  // The position of a line's first byte.
  virtual std::int64_t LineStart(std::int64_t line) const = 0;
  virtual std::int64_t SelStart() const = 0;
  // Selects [start, start + length); the caret goes to the end.
  virtual void SetSelection(std::int64_t start, std::int64_t length) = 0;
};

struct TFindOptions {
  std::u16string Text;      // the find text, a regular expression
  bool WholeWord = false;   // wrap it into the word delimiters
  bool IgnoreCase = false;  // lower the ASCII letters of text and lines
  bool FromTop = false;     // a fresh find starts at the top of the view
};

// The Shift-JIS pattern of a find: the text, its ASCII letters lowered when
// ignoring case, wrapped into the word delimiters for a word search.  Raises
// encoding::EEncodingError for a text without a Shift-JIS form.
std::string FindPattern(const TFindOptions& options);

// One "find next": sets the pattern on matcher (its errors propagate and the
// view is left as it was), then searches forward from the selection as
// described above.  continuing tells whether a find of this showing has
// already selected a match; a fresh find with FromTop first puts the caret at
// the top.  Selects the match and returns true, or returns false and leaves
// the selection as it was.
bool FindNext(TFindView& view, TRegularExpression& matcher, const TFindOptions& options, bool continuing);

// After a failed find: empties the selection, keeping its start.
void CollapseSelection(TFindView& view);

}  // namespace find
