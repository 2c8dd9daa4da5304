// A match starts on a character boundary, and the subject is cut into
// characters from its first byte (a lead byte takes the next byte with it).
// A byte that cannot be a lead byte always ends a character, so whether a
// place is a boundary follows from the run of bytes that could be lead bytes
// just before it: an even run means a boundary.  A place found by the byte
// search that is no boundary is passed over.
//
// On a long line with few occurrences of those bytes this costs about what a
// byte search costs, where trying every character takes a table walk per
// character.
#include "regexp/prefixstarts.h"

#include "sjis/bytescan.h"
#include "sjis/sjis.h"

std::size_t TPrefixStarts::Next() {
  while (FFrom < FSubject.size()) {
    const std::size_t at = FFrom + FindBytes(FSubject.substr(FFrom), FPrefix, FFoldCase);
    if (at >= FSubject.size()) break;
    FFrom = at + 1;
    if (FStarts.At(at)) return at;
  }
  FFrom = FSubject.size();
  return npos;
}

std::string TPrefixStarts::MatchPrefix(const TDFA& dfa, bool& foldCase) {
  foldCase = dfa.RequiredPrefixFoldsCase;
  if (!dfa.RequiredPrefix.empty()) return dfa.RequiredPrefix;
  foldCase = false;
  // A start that accepts at once matches the empty string anywhere.
  if (dfa.Start->Accepting != 0 || dfa.Start->Transitions.empty()) return {};
  // A code above 0xFF is read from its lead byte and the byte after it,
  // any other code from its own byte.
  int only = -1;
  for (const TDFATransition& t : dfa.Start->Transitions) {
    const TCharCode low = t.Low > 0xFF ? static_cast<TCharCode>(t.Low >> 8) : t.Low;
    const TCharCode high = t.High > 0xFF ? static_cast<TCharCode>(t.High >> 8) : t.High;
    if (low != high || (t.Low <= 0xFF && t.High > 0xFF)) return {};
    if (only >= 0 && only != low) return {};
    only = low;
  }
  return std::string(1, static_cast<char>(only));
}
