// The places where a match of a pattern can begin in a subject, found by a
// byte search for the bytes every match begins with (see required.h) rather
// than by trying every character.  See prefixstarts.cpp.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "regexp/dfa.h"
#include "sjis/sjis.h"

class TPrefixStarts {
 public:
  // prefix: bytes every match begins with, not empty; with foldCase the case
  // of their ASCII letters does not matter.
  TPrefixStarts(std::string_view subject, std::string_view prefix, bool foldCase)
      : FSubject(subject),
        FPrefix(prefix),
        FFoldCase(foldCase),
        FStarts(reinterpret_cast<const unsigned char*>(subject.data())) {}

  // The 0-based byte index of the next character boundary, after those
  // returned before, where the prefix bytes stand; npos when none is left.
  std::size_t Next();

  // The bytes every match of the automaton begins with: its required prefix,
  // or else the one byte that every character its start moves on begins
  // with; empty when there is neither.  foldCase tells how to search them.
  static std::string MatchPrefix(const TDFA& dfa, bool& foldCase);

  static constexpr std::size_t npos = std::string_view::npos;

 private:
  std::string_view FSubject;
  std::string_view FPrefix;
  bool FFoldCase;
  std::size_t FFrom = 0;     // where the byte search goes on
  TCharacterStarts FStarts;  // places are asked in ascending order
};
