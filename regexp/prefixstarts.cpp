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
