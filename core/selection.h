// The caret and the selection of the result view, toolkit-free: byte
// positions in a hit store's text, always on character boundaries, and
// where the keys and a double click take them.  The end of the text, after
// the last line end, is the start of a row of its own below the last line.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/hitstore.h"

namespace hits {

// The caret moves of the keys (arrows, Page Up/Down, Home/End, with Control
// for the ends of the text).
enum class TCaretMove { Left, Right, Up, Down, PageUp, PageDown, LineStart, LineEnd, TextStart, TextEnd };

class TSelection {
 public:
  // The store outlives the selection; the selection follows it as it grows.
  explicit TSelection(const THitStore& store) : FStore(store) {}

  std::int64_t Caret() const { return FCaret; }
  std::int64_t Start() const { return std::min(FAnchor, FCaret); }
  std::int64_t Length() const { return std::max(FAnchor, FCaret) - Start(); }
  bool Empty() const { return FAnchor == FCaret; }

  // Moves the caret to position, put on a character boundary; keepAnchor
  // extends the selection instead of emptying it.
  void MoveCaret(std::int64_t position, bool keepAnchor);
  // Selects [start, start + length), both ends put on character boundaries,
  // the caret at the end.
  void Select(std::int64_t start, std::int64_t length);
  void SelectAll();
  // Empties the selection with the caret at position, taken as it is: a
  // boundary the caller knows.
  void Collapse(std::int64_t position) { FAnchor = FCaret = position; }

  // Where a key takes the caret; page is the number of lines in a page.
  std::int64_t Target(TCaretMove move, std::int64_t page) const;
  // The word that a double click at position selects, as (start, length):
  // a run of kanji, of kana, of letters and digits (see core/words.h).
  std::pair<std::int64_t, std::int64_t> WordAt(std::int64_t position) const;

  // The row that shows position: its line, or LineCount() for the end of a
  // text that has lines.
  std::int64_t RowOf(std::int64_t position) const;

  // The character boundary at or before position, within the text; a
  // position past a line's end goes to that line end.
  std::int64_t Snap(std::int64_t position) const;

 private:
  // The character boundary before or after position; a line end counts as
  // one character.
  std::int64_t Previous(std::int64_t position) const;
  std::int64_t Next(std::int64_t position) const;
  // The position in row at the byte column of position, on a character
  // boundary; from the last line's row on, the end of the text.
  std::int64_t SameColumn(std::int64_t position, std::int64_t row) const;

  const THitStore& FStore;
  std::int64_t FAnchor = 0;
  std::int64_t FCaret = 0;
};

}  // namespace hits
