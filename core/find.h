// Finding text in the result view: the "find next" step of the find dialog,
// free of any toolkit so that it can be driven without a display.
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
