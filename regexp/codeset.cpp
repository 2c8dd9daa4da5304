#include "regexp/codeset.h"

#include <algorithm>
#include <array>

namespace {

struct TClassTable {
  std::string_view Name;
  std::vector<TCodeRange> Ranges;
};

// Double-byte letters (hiragana, katakana, kanji and the rest, with the
// iteration marks and the prolonged sound mark), as GNU grep's [:alpha:] in
// a Shift-JIS locale; trail bytes that no character uses are let in between
// them, so that each block is one range.
const std::vector<TCodeRange> kWideLetters = {{0x8152, 0x8155}, {0x8157, 0x815B}, {0x81F0, 0x81F0}, {0x824F, 0x8258},
                                              {0x8260, 0x8279}, {0x8281, 0x829A}, {0x829F, 0x82F1}, {0x8340, 0x8396},
                                              {0x839F, 0x83B6}, {0x83BF, 0x83D6}, {0x8440, 0x8460}, {0x8470, 0x8491},
                                              {0x889F, 0x9872}, {0x989F, 0xEAA4}};
const std::vector<TCodeRange> kWidePunct = {{0x8141, 0x8151}, {0x8156, 0x8156}, {0x815C, 0x81AC},
                                            {0x81B8, 0x81BF}, {0x81C8, 0x81CE}, {0x81DA, 0x81E8},
                                            {0x81F1, 0x81F7}, {0x81FC, 0x81FC}, {0x849F, 0x84BE}};
constexpr TCodeRange kWideSpace = {0x8140, 0x8140};

std::vector<TCodeRange> Join(std::initializer_list<std::vector<TCodeRange>> parts) {
  std::vector<TCodeRange> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

const std::array<TClassTable, 12>& Classes() {
  static const std::vector<TCodeRange> letters = Join({{{'A', 'Z'}, {'a', 'z'}, {0xA6, 0xDF}}, kWideLetters});
  static const std::vector<TCodeRange> punct =
      Join({{{0x21, 0x2F}, {0x3A, 0x40}, {0x5B, 0x60}, {0x7B, 0x7E}, {0xA1, 0xA5}}, kWidePunct});
  static const std::vector<TCodeRange> graph = Join({{{0x21, 0x7E}, {0xA1, 0xDF}}, kWideLetters, kWidePunct});
  static const std::array<TClassTable, 12> classes = {{
      {"alpha", letters},
      {"digit", {{'0', '9'}}},
      {"alnum", Join({{{'0', '9'}}, letters})},
      {"upper", {{'A', 'Z'}, {0x81F0, 0x81F0}, {0x8260, 0x8279}, {0x839F, 0x83B6}, {0x8440, 0x8460}}},
      {"lower", {{'a', 'z'}, {0x8281, 0x829A}, {0x83BF, 0x83D6}, {0x8470, 0x8491}}},
      {"space", {{0x09, 0x0D}, {' ', ' '}, kWideSpace}},
      {"blank", {{0x09, 0x09}, {' ', ' '}, kWideSpace}},
      {"punct", punct},
      {"graph", graph},
      {"print", Join({{{' ', ' '}, kWideSpace}, graph})},
      {"cntrl", {{0x01, 0x1F}, {0x7F, 0x7F}}},
      {"xdigit", {{'0', '9'}, {'A', 'F'}, {'a', 'f'}}},
  }};
  return classes;
}

// Upper-case blocks and the distance to their lower-case letters.
struct TCasePair {
  TCharCode UpperLow, UpperHigh;
  int Offset;
};
constexpr std::array<TCasePair, 5> kCasePairs = {{
    {'A', 'Z', 0x20},
    {0x8260, 0x8279, 0x21},  // Ａ-Ｚ, ａ-ｚ
    {0x839F, 0x83B6, 0x20},  // Greek
    {0x8440, 0x844E, 0x30},  // Cyrillic А-Н, а-н
    {0x844F, 0x8460, 0x31},  // Cyrillic О-Я, о-я (past the unused trail byte 0x7F)
}};

}  // namespace

void TCodeSet::Add(TCharCode low, TCharCode high) {
  if (low > high) return;
  int lo = low, hi = high;
  std::vector<TCodeRange> out;
  bool placed = false;
  for (const TCodeRange& r : FRanges) {
    if (r.High + 1 < lo) {
      out.push_back(r);
    } else if (hi + 1 < r.Low) {
      if (!placed) out.push_back({static_cast<TCharCode>(lo), static_cast<TCharCode>(hi)}), placed = true;
      out.push_back(r);
    } else {
      lo = std::min<int>(lo, r.Low);
      hi = std::max<int>(hi, r.High);
    }
  }
  if (!placed) out.push_back({static_cast<TCharCode>(lo), static_cast<TCharCode>(hi)});
  FRanges = std::move(out);
}

void TCodeSet::Add(const TCodeSet& other) {
  for (const TCodeRange& r : other.FRanges) Add(r.Low, r.High);
}

void TCodeSet::Remove(TCharCode low, TCharCode high) {
  std::vector<TCodeRange> out;
  for (const TCodeRange& r : FRanges) {
    if (r.High < low || r.Low > high) {
      out.push_back(r);
      continue;
    }
    if (r.Low < low) out.push_back({r.Low, static_cast<TCharCode>(low - 1)});
    if (high < r.High) out.push_back({static_cast<TCharCode>(high + 1), r.High});
  }
  FRanges = std::move(out);
}

TCodeSet TCodeSet::ComplementWithin(const TCodeSet& universe) const {
  TCodeSet result = universe;
  for (const TCodeRange& r : FRanges) result.Remove(r.Low, r.High);
  return result;
}

void TCodeSet::FoldCase() {
  const TCodeSet before = *this;
  for (const TCasePair& p : kCasePairs) {
    for (const TCodeRange& r : before.FRanges) {
      const int upLow = std::max<int>(r.Low, p.UpperLow), upHigh = std::min<int>(r.High, p.UpperHigh);
      if (upLow <= upHigh) Add(static_cast<TCharCode>(upLow + p.Offset), static_cast<TCharCode>(upHigh + p.Offset));
      const int lowLow = std::max<int>(r.Low, p.UpperLow + p.Offset);
      const int lowHigh = std::min<int>(r.High, p.UpperHigh + p.Offset);
      if (lowLow <= lowHigh) Add(static_cast<TCharCode>(lowLow - p.Offset), static_cast<TCharCode>(lowHigh - p.Offset));
    }
  }
}

bool TCodeSet::Contains(TCharCode code) const {
  const auto it = std::upper_bound(FRanges.begin(), FRanges.end(), code,
                                   [](TCharCode c, const TCodeRange& r) { return c < r.Low; });
  return it != FRanges.begin() && std::prev(it)->High >= code;
}

bool NamedClass(std::string_view name, TCodeSet& set) {
  for (const TClassTable& c : Classes()) {
    if (c.Name != name) continue;
    for (const TCodeRange& r : c.Ranges) set.Add(r.Low, r.High);
    return true;
  }
  return false;
}

const TCodeSet& WordCodes() {
  static const TCodeSet word = [] {
    TCodeSet s('_', '_');
    NamedClass("alnum", s);
    return s;
  }();
  return word;
}
