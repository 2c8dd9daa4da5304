// Fixed strings as a trie of character codes, and the one-character scan
// through it: the reference that the whole-line scan for a set of strings
// (TGrep::SetStrings) is held to.  See stringtrie.cpp.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "grep/scanviews.h"

class TStringTrie {
 public:
  // With foldCase, ASCII letters match in either case.
  TStringTrie(const std::vector<std::string>& strings, bool foldCase);

  // Scans the file from its start and calls report() for each line in which
  // a string starts (the attempt that meets one first decides, as in the
  // other one-character scans), with the main cursor just past the
  // character it starts on.  Ends with EEndOfFile.
  void Run(TCharScanView file, const std::function<void()>& report) const;

 private:
  struct TNode {
    std::vector<std::pair<TCharCode, int>> Children;  // ascending by code
    bool Accepting = false;
  };
  TCharCode Fold(TCharCode code) const;
  int Child(int node, TCharCode code) const;

  std::vector<TNode> FNodes;  // the root first
  bool FFoldCase;
};
