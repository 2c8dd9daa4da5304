// Long patterns that are plain text (no metacharacter, no escape): their
// chain and the bytes every match holds, read straight from the text in
// time linear in its length.  The parser would make a node per character
// and every analysis walk them, which costs seconds and hundreds of
// megabytes for a fixed string of a megabyte.  See plaintext.cpp.
#pragma once

#include <optional>
#include <string>

#include "regexp/chain.h"

struct TPlainText {
  TChain Chain;       // a step per character (a letter in both cases with ignoreCase)
  std::string Bytes;  // the text itself: every match holds it, and begins with it
  bool FoldsCase = false;
};

// Patterns shorter than this take the parser's way, whatever they hold.
constexpr std::size_t kLongPlainText = 256;

// The pattern's chain when it is a long plain text; nothing otherwise (also
// for a text that the parser would refuse, such as one that ends in a lone
// lead byte, so that the parser reports it).
std::optional<TPlainText> ReadPlainText(const std::string& pattern, bool acceptDBMeta, bool ignoreCase);
