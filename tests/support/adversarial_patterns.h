// Patterns of at most 255 bytes that make the compile work hard: automata
// that grow exponentially, repetitions that copy their operand, many
// overlapping ranges, many distinct double-byte characters, nested
// repetitions.  Each must compile, or be refused as too complex, quickly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace adversarial {

struct Pattern {
  std::string name;
  std::string text;  // Shift-JIS bytes
  bool ignoreCase = false;
  bool dbMeta = false;
};

inline std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// The Shift-JIS bytes of a double-byte code.
inline std::string Dbcs(std::uint16_t code) {
  return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// The k-th of a run of distinct double-byte characters (kanji from 0x889F).
inline std::string Kanji(int k) {
  const int lead = 0x88 + k / 94;
  const int trail = 0x9F + k % 94;
  return Dbcs(static_cast<std::uint16_t>(lead << 8 | trail));
}

// The k-th hiragana (from "ぁ", 0x829F).
inline std::string Hiragana(int k) { return Dbcs(static_cast<std::uint16_t>(0x829F + k)); }

// The k-th printable ASCII character that is special nowhere between
// brackets (no "]", "\\", "-" or "^"); there are 90.
inline std::string Safe(int k) {
  std::string chars;
  for (char c = '!'; c <= '~'; ++c)
    if (c != ']' && c != '\\' && c != '-' && c != '^') chars.push_back(c);
  return std::string(1, chars[static_cast<std::size_t>(k) % chars.size()]);
}

inline std::string Hex4(unsigned code) {
  static const char* digits = "0123456789ABCDEF";
  std::string out = "\\x";
  for (int shift = 12; shift >= 0; shift -= 4) out.push_back(digits[(code >> shift) & 0xF]);
  return out;
}

inline std::vector<Pattern> Family() {
  std::vector<Pattern> out;
  auto add = [&out](std::string name, std::string text, bool ignoreCase = false, bool dbMeta = false) {
    out.push_back(Pattern{std::move(name), std::move(text), ignoreCase, dbMeta});
  };

  // The n-th character from the end is an "a": 2^n deterministic states.
  for (const int n : {8, 12, 14, 16, 20, 24, 40, 62}) {
    add("[ab]*a[ab]x" + std::to_string(n), "[ab]*a" + Repeat("[ab]", n));
    add("[ab]*a[ab]x" + std::to_string(n) + " ignoring case", "[ab]*a" + Repeat("[ab]", n), true);
  }
  for (const int n : {10, 16, 20, 30, 49}) {
    add("(a|b)*a(a|b)x" + std::to_string(n), "(a|b)*a" + Repeat("(a|b)", n));
    add("(a|b)*a(a|b)x" + std::to_string(n) + " ignoring case", "(a|b)*a" + Repeat("(a|b)", n), true);
  }
  for (const int n : {10, 16, 20, 100, 252}) add(".*a.x" + std::to_string(n), ".*a" + Repeat(".", n));
  add(".*a[^b]x50", ".*a" + Repeat("[^b]", 50));
  add("[^a]*a.x60 ignoring case", "[^a]*A" + Repeat(".", 60), true);
  add("(.|\\n)*a(.|\\n)x30", "(.|\\n)*a" + Repeat("(.|\\n)", 30));
  add(".*" + std::string("kanji") + ".x120", ".*" + Kanji(0) + Repeat(".", 120));
  add("[ab]*a[ab]x20 under plus", "(((([ab]*a" + Repeat("[ab]", 20) + ")+)+)+)+");
  add("[ab]*a[ab]x12 under nested plus", Repeat("(", 12) + "[ab]*a" + Repeat("[ab]", 12) + Repeat(")+", 12));

  // "+" copies its operand: nesting doubles the automaton at every level.
  for (const int k : {10, 14, 16, 20, 50, 63})
    add("a+ nested " + std::to_string(k), Repeat("(", k) + "a" + Repeat(")+", k));
  add("(a|b+)+ nested 30", Repeat("(a|", 30) + "b" + Repeat(")+", 30));
  add("[^a]+ nested 16", Repeat("(", 16) + "[^a]" + Repeat(")+", 16));
  add(
      "class of kanji + nested 13", Repeat("(", 13) + "[" + [] {
        std::string s;
        for (int k = 0; k < 80; ++k) s += Kanji(k * 3);
        return s;
      }() + "]" + Repeat(")+", 13));
  add("(x*)+ nested 40", Repeat("(", 40) + "x*" + Repeat(")+", 40));

  // Nested "+" around an exponential core: an automaton of thousands of
  // states whose deterministic states hold large sets.
  for (const int k : {9, 10, 11}) {
    add(".*a.x10 under plus x" + std::to_string(k), Repeat("(", k) + ".*a.........." + Repeat(")+", k));
    add(".*A.x9 under plus x" + std::to_string(k) + " ignoring case", Repeat("(", k) + ".*A........." + Repeat(")+", k),
        true);
    add("[ab]*a[ab]x9 under plus x" + std::to_string(k),
        Repeat("(", k) + "[ab]*a" + Repeat("[ab]", 9) + Repeat(")+", k));
    add("(.|^|$)*^(.|^)x4 under plus x" + std::to_string(k),
        Repeat("(", k) + "(.|^|$)*^" + Repeat("(.|^)", 4) + Repeat(")+", k));
  }
  for (const int k : {10, 11, 12}) {
    std::string letters;
    for (char c = 'a'; c <= 'z'; ++c) letters += std::string(letters.empty() ? "" : "|") + c;
    add("(26 letters)*a.. under plus x" + std::to_string(k),
        Repeat("(", k) + "(" + letters + ")*a.." + Repeat(")+", k));
    std::string kanji;
    for (int j = 0; j < 40; ++j) kanji += (j ? "|" : "") + Kanji(j);
    add("(40 kanji)*kanji. under plus x" + std::to_string(k),
        Repeat("(", k) + "(" + kanji + ")*" + Kanji(0) + "." + Repeat(")+", k));
  }

  // Many alternatives under repetition.
  {
    std::string alts;
    for (char c = 'a'; c <= 'z'; ++c) alts += std::string(alts.empty() ? "" : "|") + c;
    for (char c = 'A'; c <= 'Z'; ++c) alts += std::string("|") + c;
    for (char c = '0'; c <= '9'; ++c) alts += std::string("|") + c;
    add("(62 letters)*", "(" + alts + ")*");
    add("(62 letters)* ignoring case", "(" + alts + ")*", true);
    add("(62 letters)*x(62 letters)", "(" + alts + ")*x(" + alts + ")");
  }
  {
    std::string alts;
    for (int k = 0; k < 84; ++k) alts += (k ? "|" : "") + Kanji(k);
    add("(84 kanji)*", "(" + alts + ")*");
  }
  {
    std::string alts;
    for (int k = 0; k < 40; ++k) alts += (k ? "|" : "") + Kanji(k) + Kanji(k + 1) + "*";
    add("(40 two-kanji words)*", "(" + alts + ")*");
  }
  add("(.*a){51}", Repeat("(.*a)", 51));
  add("(.*a|.*b){25}", Repeat("(.*a|.*b)", 25));
  add("(a.*){51}", Repeat("(a.*)", 51));
  add("(.*a.*b){31}", Repeat("(.*a.*b)", 31));
  add("(a|.)*(a|.)*...", Repeat("(a|.)*", 42));
  add("a?^n a^n", Repeat("a?", 84) + Repeat("a", 84));
  add("(a|aa)*b x 30", Repeat("(a|aa)*", 30) + "b");
  add("(.*)*(.*)*...", Repeat("(.*)*", 51));
  add("((a*)*b*)* x 25", Repeat("((a*)*b*)*", 25));

  // Many overlapping ranges.
  {
    std::string nested;
    for (int k = 0; k < 45; ++k) nested += Safe(k) + "-" + Safe(89 - k);
    add("class of 45 nested ranges", "[" + nested + "]");
    add("45 nested ranges, star, then each", "([" + nested + "])*[" + nested.substr(0, 60) + "]");
  }
  {
    std::string staggered;
    for (int k = 0; k < 84; ++k) staggered += Safe(k / 2) + "-" + Safe(k / 2 + 30 + k % 2);
    add("class of 84 staggered ranges", "[" + staggered + "]");
  }
  {
    std::string alts;
    for (int k = 0; k < 15; ++k)
      alts += std::string(k ? "|" : "") + "[" + Hex4(0x01 + 0x100 * k) + "-" + Hex4(0xFCFC - 0x100 * k) + "]";
    add("15 nested double-byte ranges", "(" + alts + ")*a");
  }
  {
    std::string alts;
    for (int k = 0; k < 8; ++k) alts += std::string(k ? "|" : "") + "[\\x01-\\xFCFC]";
    add("the whole range eight times", "(" + alts + ")*" + Repeat("[\\x01-\\xFCFC]", 9));
  }
  {
    std::string alts;
    for (int k = 0; k < 31; ++k) alts += std::string(k ? "|" : "") + "[" + Hiragana(k) + "-" + Hiragana(80 - k) + "]";
    add("31 nested hiragana ranges under star", "(" + alts + ")*");
  }
  add("negated classes x63", [] {
    std::string s;
    for (int k = 0; k < 63; ++k) s += "[^" + Safe(k) + "]";
    return s;
  }());
  add("negated classes starred x42", [] {
    std::string s;
    for (int k = 0; k < 42; ++k) s += "[^" + Safe(k) + "]*";
    return s;
  }());
  add("negated class of 125 kanji and the period", [] {
    std::string s = "[^";
    for (int k = 0; k < 125; ++k) s += Kanji(k * 2);
    return s + "]|.";
  }());
  add("period and 84 kanji", [] {
    std::string s = ".";
    for (int k = 0; k < 84; ++k) s += "|" + Kanji(k * 5);
    return s;
  }());
  add("(period|kanji)* then kanji x20", [] {
    std::string s = "(.";
    for (int k = 0; k < 20; ++k) s += "|" + Kanji(k);
    s += ")*" + Kanji(0);
    for (int k = 0; k < 20; ++k) s += "[" + Kanji(k) + ".]";
    return s;
  }());

  // Many distinct double-byte characters.
  add("127 kanji", [] {
    std::string s;
    for (int k = 0; k < 127; ++k) s += Kanji(k);
    return s;
  }());
  add("class of 126 kanji, starred, then one", [] {
    std::string s = "[";
    for (int k = 0; k < 123; ++k) s += Kanji(k * 7);
    return s + "]*.";
  }());
  add("kanji*a kanji x ...", [] {
    std::string s = "(" + Kanji(1) + "|" + Kanji(2) + ")*" + Kanji(1);
    for (int k = 0; k < 30; ++k) s += "(" + Kanji(1) + "|" + Kanji(2) + ")";
    return s;
  }());

  // Nested repetitions of empty-matching operands.
  add("(x*)* nested 80", Repeat("(", 80) + "x*" + Repeat(")*", 80));
  add("(x?)* nested 60", Repeat("(", 60) + "x?" + Repeat(")*", 60));
  add("(()*)* nested 60", Repeat("(", 60) + "()*" + Repeat(")*", 60));
  add("((|x)*|y)* x 25", Repeat("((|x)*|y)*", 25));

  // Anchors that match themselves, overlapping the period's ranges.
  add("(x^|x.|x$|x[!-~])*x..", Repeat("(x^|x.|x$|x[!-~])*", 10) + "x" + Repeat(".", 60));
  add("(.|^|$)*^(.|^)...", "(.|^|$)*^" + Repeat("(.|^)", 40));
  add("[ab^]*^[ab^]x40", "[ab^]*^" + Repeat("[ab^]", 40));

  // Full-width metacharacters.
  add("(a|b)*a(a|b)x20 full-width",
      "\x81\x69"
      "a\x81\x62"
      "b\x81\x6A\x81\x96"
      "a" +
          Repeat("\x81\x69"
                 "a\x81\x62"
                 "b\x81\x6A",
                 20),
      false, true);

  // Mixed: folding and exponential growth together.
  add("(a|b|c)*a(a|b|c)x30 ignoring case", "(a|b|c)*a" + Repeat("(a|b|c)", 30), true);
  add("[a-z]*q[a-z]x49 ignoring case", "[a-z]*q" + Repeat("[a-z]", 49), true);
  add("(ab|ba|a|b)*a(ab|ba)x17", "(ab|ba|a|b)*a" + Repeat("(ab|ba)", 17));

  return out;
}

}  // namespace adversarial
