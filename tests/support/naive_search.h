// Byte-at-a-time searches that the byte scans and the set search are held
// to, and random bytes to search in.
#pragma once

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "sjis/sjis.h"

inline std::string RandomBytes(std::mt19937& random, std::size_t n, std::string_view alphabet) {
  std::string s(n, ' ');
  for (char& c : s) c = alphabet[random() % alphabet.size()];
  return s;
}

// With fold, a letter of the needle matches either case; with asRead, a
// space of the needle matches a zero byte too, and a line feed any byte from
// 0x08 to 0x0F (a CR among them).
inline bool LooseEqual(char h, char n, bool fold, bool asRead) {
  const bool letter = (n >= 'A' && n <= 'Z') || (n >= 'a' && n <= 'z');
  if (fold && letter) return (h | 0x20) == (n | 0x20);
  return h == n || (asRead && ((n == ' ' && h == 0) || (n == '\n' && (h | 0x07) == 0x0F)));
}

// The first place at or after from where one of the needles stands; with
// fold, the letters that are single characters of a needle match either case.
inline std::size_t NaiveFindAny(const std::string& h, const std::vector<std::string>& needles, bool fold,
                                std::size_t from, bool asRead = false) {
  for (std::size_t i = from; i < h.size(); ++i) {
    for (const std::string& n : needles) {
      bool same = i + n.size() <= h.size();
      for (std::size_t j = 0; j < n.size() && same;) {
        const bool pair = IsDBCSLeadByte(static_cast<unsigned char>(n[j])) && j + 1 < n.size();
        same = pair ? h.compare(i + j, 2, n, j, 2) == 0 : LooseEqual(h[i + j], n[j], fold, asRead);
        j += pair ? 2 : 1;
      }
      if (same) return i;
    }
  }
  return h.size();
}
