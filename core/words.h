// The words of a result line, as a double click selects them and a screen
// reader steps through them: runs of characters of one kind (kanji, hiragana,
// katakana, letters and digits, blanks), each other character a word of its
// own.  Characters are cut as the engine cuts them.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>

#include "sjis/sjis.h"

namespace hits {

enum class TCharKind { Blank, Kanji, Hiragana, Katakana, Letter, Other };

// The kind of a character code (see sjis.h).
TCharKind KindOf(TCharCode code);

// The word of line that holds byte at, as [begin, end) on character
// boundaries; at the line's end, the word that ends there ({0, 0} for an
// empty line).
std::pair<std::size_t, std::size_t> WordAt(std::string_view line, std::size_t at);

}  // namespace hits
