// Where a hit store's text stands in UTF-16 units, the unit of the toolkit's
// accessibility interfaces, beside its byte positions, without walking the
// whole text for each question.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/hitstore.h"

namespace hits {

// Every character of the store's text, a double-byte one and each line end
// too, is one UTF-16 unit (code page 932 has no character outside the basic
// plane), so an offset is a byte position less the double-byte characters
// before it.  Their count before every kLinesPerMark-th line is kept, added to
// as the store grows, so that a conversion reads at most that many lines (and
// a part of one).
class TTextOffsets {
 public:
  // The store outlives the offsets.
  explicit TTextOffsets(const THitStore& store) : FStore(store) {}

  // Forgets the counts; called when the store has been cleared.
  void Clear() { FMarks.clear(); }
  // Counts up to the last mark the store's lines allow; every question does
  // so first, and a caller may do it as lines come in.
  void Extend();

  // The text's length in UTF-16 units.
  std::int64_t Length();
  // The offset of a byte position on a character boundary; Size() and beyond
  // give Length().
  std::int64_t OffsetOf(std::int64_t position);
  // The byte position of an offset; Length() and beyond give Size().
  std::int64_t PositionOf(std::int64_t offset);

  static constexpr std::int64_t kLinesPerMark = 64;

 private:
  // The double-byte characters before line's first byte.
  std::int64_t PairsBefore(std::int64_t line);

  const THitStore& FStore;
  // FMarks[k]: the double-byte characters before line k * kLinesPerMark.
  std::vector<std::int64_t> FMarks;
};

// The double-byte characters of a line, cut as the engine cuts it.
std::int64_t PairCount(std::string_view line);

}  // namespace hits
