#include "core/words.h"

namespace hits {

namespace {

bool Within(TCharCode code, TCharCode first, TCharCode last) { return code >= first && code <= last; }

TCharCode CodeAt(std::string_view line, std::size_t i) {
  const auto lead = static_cast<unsigned char>(line[i]);
  if (CharLength(line, i) == 1) return lead;
  return static_cast<TCharCode>(lead << 8 | static_cast<unsigned char>(line[i + 1]));
}

// The kind of the character at byte i, whose preceding character is of kind
// before: an apostrophe between two letters belongs to the word ("don't").
TCharKind KindAt(std::string_view line, std::size_t i, TCharKind before) {
  const TCharCode code = CodeAt(line, i);
  if (code == '\'' && before == TCharKind::Letter && i + 1 < line.size() &&
      KindOf(CodeAt(line, i + 1)) == TCharKind::Letter) {
    return TCharKind::Letter;
  }
  return KindOf(code);
}

}  // namespace

TCharKind KindOf(TCharCode code) {
  using enum TCharKind;
  if (code == ' ' || code == '\t' || code == 0x8140) return Blank;  // 0x8140: the full-width space
  if (code < 0x80) {
    const bool letter = Within(code, '0', '9') || Within(code, 'A', 'Z') || Within(code, 'a', 'z') || code == '_';
    return letter ? Letter : Other;
  }
  if (Within(code, 0xA6, 0xDF)) return Katakana;  // half-width, with its sound marks and long vowel
  if (code < 0x100) return Other;
  // Kanji of JIS levels 1 and 2, of the two vendor extensions, and the
  // ditto, iteration, shime and zero marks.
  if (Within(code, 0x889F, 0x9FFC) || Within(code, 0xE040, 0xEAA4) || Within(code, 0xED40, 0xEEEC) ||
      Within(code, 0xFA5C, 0xFC4B) || Within(code, 0x8157, 0x815A)) {
    return Kanji;
  }
  if (Within(code, 0x829F, 0x82F1) || Within(code, 0x8154, 0x8155)) return Hiragana;
  if (Within(code, 0x8340, 0x8396) || Within(code, 0x8152, 0x8153) || code == 0x815B) return Katakana;
  // Full-width digits and Latin letters, Greek and Cyrillic.
  if (Within(code, 0x824F, 0x829A) || Within(code, 0x839F, 0x83D6) || Within(code, 0x8440, 0x8491)) return Letter;
  return Other;
}

std::pair<std::size_t, std::size_t> WordAt(std::string_view line, std::size_t at) {
  if (line.empty()) return {0, 0};
  const std::size_t target = at < line.size() ? at : line.size() - 1;
  // Forward from the line's start, where character boundaries are known.
  std::size_t begin = 0;
  TCharKind run = TCharKind::Other;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t length = CharLength(line, i);
    const TCharKind kind = KindAt(line, i, run);
    if (i == 0 || kind != run || kind == TCharKind::Other) begin = i;
    run = kind;
    i += length;
    if (target >= i) continue;
    if (kind != TCharKind::Other) {
      while (i < line.size() && KindAt(line, i, kind) == kind) i += CharLength(line, i);
    }
    return {begin, i};
  }
  return {begin, line.size()};  // not reached: target lies in the line
}

}  // namespace hits
