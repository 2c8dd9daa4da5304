// Matches within one line (Shift-JIS, without its line end), for -w, -o and
// colours: of the engine pattern (patterns.h) or of the fixed strings of -F
// (literal_set.h), leftmost-longest, with GNU grep's word test for -w.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "cli/patterns.h"

class TMatchFinder {
 public:
  virtual ~TMatchFinder() = default;
  // The first match that starts at or after byte from (a character start);
  // false when there is none.
  virtual bool Find(std::string_view line, std::size_t from, std::size_t& pos, std::size_t& len) const = 0;
  // Whether the lines the grep reports must pass Matches too (-w, -x with
  // the user's anchors).
  virtual bool Narrows() const = 0;
  bool Matches(std::string_view line) const {
    std::size_t pos, len;
    return Find(line, 0, pos, len);
  }
};

// The finder that the options need (a test beyond the pattern, -z, -o,
// colours), or none.
std::unique_ptr<TMatchFinder> MatchFinder(const TOptions& options, const TEnginePattern& pattern, bool colours);
