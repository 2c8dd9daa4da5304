// A plain text is what the scanner would cut into ordinary characters only:
// none of the metacharacters of GetToken (with AcceptDBMeta, their
// full-width forms too) and no escape character.  The parser makes such a
// pattern a concatenation of leaves, a case pair for an ASCII letter when
// case is ignored; FindChain reads that as one step per character, and the
// required bytes are the whole text, one run of single codes.  The same
// results are built here character by character.  Characters that are no
// text codes (a zero byte) or that the parser refuses (the anchor codes)
// leave the pattern to the parser.
#include "regexp/plaintext.h"

#include "regexp/parser.h"
#include "regexp/scanner.h"

namespace {

bool IsMeta(TCharCode c, bool acceptDBMeta) {
  using namespace fullwidth;
  switch (c) {
    case '$':
    case '(':
    case ')':
    case '*':
    case '+':
    case '.':
    case '?':
    case '|':
    case ']':
    case '^':
    case '[':
    case '\\':
      return true;
    default:
      break;
  }
  if (!acceptDBMeta) return false;
  for (const TCharCode wide :
       {kDollar, kLPar, kRPar, kStar, kPlus, kPeriod, kQuestion, kBar, kRBracket, kCaret, kLBracket, kYen})
    if (c == wide) return true;
  return false;
}

bool IsAsciiLetter(TCharCode c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::optional<TPlainText> ReadPlainText(const std::string& pattern, bool acceptDBMeta, bool ignoreCase) {
  if (pattern.size() < kLongPlainText) return std::nullopt;
  // A lone lead byte at the end is the parser's error to report.
  if (EndsInLoneLeadByte(pattern)) return std::nullopt;
  TPlainText text;
  text.Chain.Ranges.reserve(pattern.size());
  text.Chain.StepEnds.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size();) {
    const auto b = static_cast<unsigned char>(pattern[i]);
    const std::size_t width = IsDBCSLeadByte(b) ? 2 : 1;
    const TCharCode code =
        width == 2 ? static_cast<TCharCode>(b << 8 | static_cast<unsigned char>(pattern[i + 1])) : TCharCode{b};
    if (!IsTextCode(code) || code > kHighestPatternCode || IsMeta(code, acceptDBMeta)) return std::nullopt;
    if (ignoreCase && IsAsciiLetter(code)) {
      const auto upper = static_cast<TCharCode>(code & ~0x20);
      const auto lower = static_cast<TCharCode>(code | 0x20);
      text.Chain.Ranges.emplace_back(upper, upper);
      text.Chain.Ranges.emplace_back(lower, lower);
      text.FoldsCase = true;
    } else {
      text.Chain.Ranges.emplace_back(code, code);
    }
    text.Chain.EndStep();
    i += width;
  }
  // The parser's case pair holds the upper-case letter first, and the
  // required bytes take it.
  text.Bytes = text.FoldsCase ? AsciiUpperSjis(pattern) : pattern;
  return text;
}
