// Matching a hostile subject with a hostile pattern.
//
// Input: a flags byte (bit 0 AcceptDBMeta, bit 1 IgnoreCase), the pattern up
// to the first line feed, and the subject: every byte after it, handed over
// in a string of exactly its length, so a read past its end is a heap
// overflow.  Properties: Match raises only ERegExpParser, and only when the
// subject ends in a lead byte without its second byte; otherwise the match
// lies inside the subject, starts and ends on character boundaries, Pos is 0
// exactly when nothing matched, and Match returns Pos.
#include <cstdint>
#include <string>

#include "fuzz_common.h"
#include "regexp/regexp.h"
#include "sjis/exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TAWKStr matcher;
  const fuzz::TFlagged input = fuzz::TakeFlags(data, size);
  const auto [pattern, subjectText] = fuzz::SplitFirstLine(input.Rest);
  try {
    // The empty pattern first, so that the flag setters do not recompile the
    // previous input's pattern (which may be too complex under other flags).
    matcher.SetPattern("");
    matcher.SetAcceptDBMeta((input.Flags & 1) != 0);
    matcher.SetIgnoreCase((input.Flags & 2) != 0);
    matcher.SetPattern(pattern);
  } catch (const ERegExpParser&) {
    return 0;  // a malformed or too complex pattern
  } catch (const std::exception& e) {
    fuzz::Unexpected("SetPattern", e);
  }
  const std::string subject(subjectText.begin(), subjectText.end());
  bool loneLead = false;
  const std::vector<bool> starts = fuzz::CharacterStarts(subject, loneLead);
  int pos = -1;
  int len = -1;
  int result = -1;
  try {
    result = matcher.Match(subject, pos, len);
  } catch (const ERegExpParser&) {
    if (!loneLead) fuzz::Fail("Match raised on a subject that ends on a character", fuzz::Hex(subject));
    return 0;
  } catch (const std::exception& e) {
    fuzz::Unexpected("Match", e);
  }
  const std::string detail = "pattern " + fuzz::Hex(pattern) + "\nsubject " + fuzz::Hex(subject) + "\npos " +
                             std::to_string(pos) + " len " + std::to_string(len);
  const auto end = static_cast<long long>(pos) - 1 + len;
  if (result != pos) fuzz::Fail("Match returned another value than Pos", detail);
  if (pos == 0 && len != 0) fuzz::Fail("no match but a length", detail);
  if (pos != 0 && (pos < 1 || len < 0 || end > static_cast<long long>(subject.size())))
    fuzz::Fail("match outside the subject", detail);
  if (pos != 0 && (!starts[static_cast<std::size_t>(pos - 1)] || !starts[static_cast<std::size_t>(end)]))
    fuzz::Fail("match starts or ends inside a character", detail);
  return 0;
}
