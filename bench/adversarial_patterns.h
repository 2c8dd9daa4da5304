// Patterns of at most 255 bytes that make the compile work hard: automata
// that grow exponentially, repetitions that copy their operand, many
// overlapping ranges, many distinct double-byte characters, nested
// repetitions.  Each must compile, or be refused as too complex, quickly.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
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

// piece(0) sep piece(1) sep ... piece(n - 1).
inline std::string Join(int n, const std::string& sep, const std::function<std::string(int)>& piece) {
  std::string out;
  for (int k = 0; k < n; ++k) out += (k ? sep : "") + piece(k);
  return out;
}

// The Shift-JIS bytes of a double-byte code.
inline std::string Dbcs(std::uint16_t code) {
  return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// The k-th of a run of distinct double-byte characters (kanji from 0x889F).
inline std::string Kanji(int k) { return Dbcs(static_cast<std::uint16_t>((0x88 + k / 94) << 8 | (0x9F + k % 94))); }

// The k-th printable ASCII character that is special nowhere between
// brackets (no "]", "\\", "-" or "^"); there are 90.
inline std::string Safe(int k) {
  std::string chars;
  for (char c = '!'; c <= '~'; ++c)
    if (c != ']' && c != '\\' && c != '-' && c != '^') chars.push_back(c);
  return std::string(1, chars[static_cast<std::size_t>(k) % chars.size()]);
}

// k groups opened, the core, and k groups closed by op.
inline std::string Nest(int k, const std::string& core, const std::string& op) {
  return Repeat("(", k) + core + Repeat(")" + op, k);
}

inline std::vector<Pattern> Family() {
  std::vector<Pattern> out;
  auto add = [&out](std::string name, std::string text, bool ignoreCase = false, bool dbMeta = false) {
    out.push_back(Pattern{std::move(name), std::move(text), ignoreCase, dbMeta});
  };
  const auto n = [](int k) { return std::to_string(k); };
  const auto letter = [](char first) {
    return [first](int k) { return std::string(1, static_cast<char>(first + k)); };
  };
  const std::string letters = Join(26, "|", letter('a'));
  const std::string alnum = letters + "|" + Join(26, "|", letter('A')) + "|" + Join(10, "|", letter('0'));

  // The n-th character from the end is an "a": 2^n deterministic states.
  for (const int k : {8, 12, 14, 16, 20, 24, 40, 62}) {
    add("[ab]*a[ab]x" + n(k), "[ab]*a" + Repeat("[ab]", k));
    add("[ab]*a[ab]x" + n(k) + " ignoring case", "[ab]*a" + Repeat("[ab]", k), true);
  }
  for (const int k : {10, 16, 20, 30, 49}) {
    add("(a|b)*a(a|b)x" + n(k), "(a|b)*a" + Repeat("(a|b)", k));
    add("(a|b)*a(a|b)x" + n(k) + " ignoring case", "(a|b)*a" + Repeat("(a|b)", k), true);
  }
  for (const int k : {10, 16, 20, 100, 252}) add(".*a.x" + n(k), ".*a" + Repeat(".", k));
  add("[^a]*a.x60 ignoring case", "[^a]*A" + Repeat(".", 60), true);
  add("(.|\\n)*a(.|\\n)x30", "(.|\\n)*a" + Repeat("(.|\\n)", 30));
  add(".*kanji.x120", ".*" + Kanji(0) + Repeat(".", 120));
  add("[ab]*a[ab]x12 under nested plus", Nest(12, "[ab]*a" + Repeat("[ab]", 12), "+"));

  // "+" copies its operand: nesting doubles the automaton at every level.
  for (const int k : {10, 14, 16, 20, 50, 63}) add("a+ nested " + n(k), Nest(k, "a", "+"));
  add("(a|b+)+ nested 30", Repeat("(a|", 30) + "b" + Repeat(")+", 30));
  add("class of kanji + nested 13", Nest(13, "[" + Join(80, "", [](int k) { return Kanji(k * 3); }) + "]", "+"));

  // Nested "+" around an exponential core: an automaton of thousands of
  // states whose deterministic states hold large sets.
  for (const int k : {9, 10, 11}) {
    add(".*a.x10 under plus x" + n(k), Nest(k, ".*a" + Repeat(".", 10), "+"));
    add(".*A.x9 under plus x" + n(k) + " ignoring case", Nest(k, ".*A" + Repeat(".", 9), "+"), true);
    add("[ab]*a[ab]x9 under plus x" + n(k), Nest(k, "[ab]*a" + Repeat("[ab]", 9), "+"));
    add("(.|^|$)*^(.|^)x4 under plus x" + n(k), Nest(k, "(.|^|$)*^" + Repeat("(.|^)", 4), "+"));
  }
  for (const int k : {10, 11, 12}) {
    add("(26 letters)*a.. under plus x" + n(k), Nest(k, "(" + letters + ")*a..", "+"));
    add("(40 kanji)*kanji. under plus x" + n(k), Nest(k, "(" + Join(40, "|", Kanji) + ")*" + Kanji(0) + ".", "+"));
  }

  // Many alternatives under repetition.
  add("(62 letters)*", "(" + alnum + ")*");
  add("(84 kanji)*", "(" + Join(84, "|", Kanji) + ")*");
  add("(40 two-kanji words)*", "(" + Join(40, "|", [](int k) { return Kanji(k) + Kanji(k + 1) + "*"; }) + ")*");
  add("(.*a){51}", Repeat("(.*a)", 51));
  add("(.*a.*b){31}", Repeat("(.*a.*b)", 31));
  add("(a|.)*(a|.)*...", Repeat("(a|.)*", 42));
  add("a?^n a^n", Repeat("a?", 84) + Repeat("a", 84));
  add("(a|aa)*b x 30", Repeat("(a|aa)*", 30) + "b");
  add("((a*)*b*)* x 25", Repeat("((a*)*b*)*", 25));

  // Many overlapping ranges.
  const std::string nested = Join(45, "", [](int k) { return Safe(k) + "-" + Safe(89 - k); });
  add("class of 45 nested ranges", "[" + nested + "]");
  add("class of 84 staggered ranges",
      "[" + Join(84, "", [](int k) { return Safe(k / 2) + "-" + Safe(k / 2 + 30 + k % 2); }) + "]");
  add("15 nested double-byte ranges", "(" + Join(15, "|", [](int k) {
                                        char range[24];
                                        std::snprintf(range, sizeof range, "[\\x%04X-\\x%04X]", 0x01 + 0x100 * k,
                                                      0xFCFC - 0x100 * k);
                                        return std::string(range);
                                      }) + ")*a");
  add("the whole range eight times",
      "(" + Repeat("[\\x01-\\xFCFC]|", 7) + "[\\x01-\\xFCFC])*" + Repeat("[\\x01-\\xFCFC]", 9));
  add("31 nested hiragana ranges under star", "(" + Join(31, "|", [](int k) {
                                                return "[" + Dbcs(static_cast<std::uint16_t>(0x829F + k)) + "-" +
                                                       Dbcs(static_cast<std::uint16_t>(0x829F + 80 - k)) + "]";
                                              }) + ")*");
  add("negated classes x63", Join(63, "", [](int k) { return "[^" + Safe(k) + "]"; }));
  add("negated class of 125 kanji and the period", "[^" + Join(125, "", [](int k) { return Kanji(k * 2); }) + "]|.");
  add("(period|kanji)* then kanji x20",
      "(.|" + Join(20, "|", Kanji) + ")*" + Kanji(0) + Join(20, "", [](int k) { return "[" + Kanji(k) + ".]"; }));

  // Many distinct double-byte characters.
  add("127 kanji", Join(127, "", Kanji));

  // Nested repetitions of empty-matching operands.
  add("(x*)* nested 80", Nest(80, "x*", "*"));
  add("(()*)* nested 60", Nest(60, "()*", "*"));

  // Anchors that match themselves, overlapping the period's ranges.
  add("(x^|x.|x$|x[!-~])*x..", Repeat("(x^|x.|x$|x[!-~])*", 10) + "x" + Repeat(".", 60));
  add("(.|^|$)*^(.|^)...", "(.|^|$)*^" + Repeat("(.|^)", 40));

  // Full-width metacharacters: "（a｜b）＊a（a｜b）..." in Shift-JIS.
  const std::string wideGroup =
      "\x81\x69"
      "a\x81\x62"
      "b\x81\x6A";
  add("(a|b)*a(a|b)x20 full-width",
      wideGroup +
          "\x81\x96"
          "a" +
          Repeat(wideGroup, 20),
      false, true);

  // Mixed: folding and exponential growth together.
  add("(a|b|c)*a(a|b|c)x30 ignoring case", "(a|b|c)*a" + Repeat("(a|b|c)", 30), true);
  add("[a-z]*q[a-z]x49 ignoring case", "[a-z]*q" + Repeat("[a-z]", 49), true);
  return out;
}

}  // namespace adversarial
