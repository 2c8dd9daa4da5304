// Every character position is tried as a start, as in the literal scans:
// the look-ahead follows the trie from the root until a string ends (the
// line is reported) or no child has the next character.  Characters are the
// reader's codes, a double-byte pair one code, so a string only ever starts
// and ends on character boundaries.
#include "grep/stringtrie.h"

#include <algorithm>

#include "regexp/regexp.h"

TStringTrie::TStringTrie(const std::vector<std::string>& strings, bool foldCase) : FNodes(1), FFoldCase(foldCase) {
  std::vector<TCharCode> codes;
  for (const std::string& s : strings) {
    const int n = TRegularExpression::StringToCodes(s, codes);
    int node = 0;
    for (int i = 0; i < n; ++i) {
      const TCharCode code = Fold(codes[static_cast<std::size_t>(i)]);
      auto& children = FNodes[static_cast<std::size_t>(node)].Children;
      const auto at = std::lower_bound(children.begin(), children.end(), std::make_pair(code, 0));
      if (at != children.end() && at->first == code) {
        node = at->second;
        continue;
      }
      const int child = static_cast<int>(FNodes.size());
      children.insert(at, {code, child});
      FNodes.emplace_back();
      node = child;
    }
    FNodes[static_cast<std::size_t>(node)].Accepting = true;
  }
}

TCharCode TStringTrie::Fold(TCharCode code) const {
  return FFoldCase && code >= 'A' && code <= 'Z' ? static_cast<TCharCode>(code | 0x20) : code;
}

int TStringTrie::Child(int node, TCharCode code) const {
  const auto& children = FNodes[static_cast<std::size_t>(node)].Children;
  const auto at = std::lower_bound(children.begin(), children.end(), std::make_pair(Fold(code), 0));
  return at != children.end() && at->first == Fold(code) ? at->second : -1;
}

void TStringTrie::Run(TCharScanView file, const std::function<void()>& report) const {
  for (;;) {
    int node = Child(0, file.GetChar());
    while (node >= 0) {
      if (FNodes[static_cast<std::size_t>(node)].Accepting) {
        report();
        break;
      }
      const TCharCode c = file.GetAheadChar();
      node = c == 0 ? -1 : Child(node, c);
    }
  }
}
