// Each node of the tree gets either its exact language, when that is a small
// set of strings (single characters, small classes, alternations and
// concatenations of such), or a set of which every string of its language
// holds one, or nothing (a repetition, a large class).  A concatenation
// multiplies the exact sets of neighbouring operands while the product stays
// small; otherwise it keeps the cheapest of its operands' sets.  An
// alternation unites its alternatives' sets, and knows nothing when one of
// them knows nothing.  Sets are compared by a cost model: the time to search
// for them (one string is cheapest, a few strings cost a little more each,
// many strings a hashed search) plus the time to check every place where
// one is found, from a rough frequency of each byte in dictionary text (long
// strings of rare bytes are found seldom).
//
// Strings never hold a line feed or a CR (text read with CR LF kept would
// not hold them as the pattern does), nor a code that text cannot hold.  A
// "^" or "$" that anchors adds no byte.  An ASCII letter that matches both
// of its cases is stored in upper case and the set is searched without
// regard to the case of letters.
#include "regexp/required_set.h"

#include <algorithm>
#include <limits>

#include "regexp/treewalk.h"
#include "sjis/multisearch.h"

namespace {

// A concatenation multiplies exact sets only while the product holds at most
// this many strings (or one side is a single string); an alternation unites
// at most kMaxStrings, beyond which its strings are cut to shorter prefixes.
constexpr std::size_t kMaxProduct = 256;
constexpr std::size_t kMaxStrings = 5000;
constexpr std::size_t kMaxBytes = 1u << 18;
// A class of at most this many codes gives one string per character.
constexpr unsigned kSmallClass = 8;
// Nodes nest at most this deep before the analysis gives up (groups nest at
// most 200 deep; concatenations and alternations are walked flat).
constexpr int kMaxDepth = 600;

// What is known of a node's language.
struct TInfo {
  bool Known = false;     // false: every string may match (nothing required)
  bool IsExact = false;   // Strings is the language itself, else each match holds one
  bool Anchored = false;  // an anchoring "^" or "$" stands for a line feed left out
  bool Folded = false;    // some letter matches either case (stored in upper case)
  bool Plain = false;     // some letter matches only its own case
  std::vector<std::string> Strings;
};

bool IsAsciiLetter(TCharCode c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A code that may stand in a string: text can hold it, and neither of its
// bytes is a line feed or a CR.
bool StringCode(TCharCode c) {
  const unsigned low = c & 0xFFu;
  return IsTextCode(c) && low != '\n' && low != '\r';
}

TInfo Exactly(std::vector<std::string> strings) {
  TInfo info;
  info.Known = info.IsExact = true;
  info.Strings = std::move(strings);
  return info;
}

TInfo EmptyString() { return Exactly({std::string()}); }

TInfo Leaf(TCharCode low, TCharCode high) {
  if (static_cast<unsigned>(high - low) >= kSmallClass) return {};
  TInfo info = Exactly({});
  for (unsigned c = low; c <= high; ++c) {
    const auto code = static_cast<TCharCode>(c);
    if (!IsTextCode(code)) continue;  // never in text: adds no string
    if (!StringCode(code)) return {};
    std::string s;
    AppendCode(s, code);
    info.Strings.push_back(std::move(s));
    info.Plain = info.Plain || IsAsciiLetter(code);
  }
  return info;
}

TInfo FoldedLetter(TCharCode c) {
  TInfo info = Exactly({std::string(1, static_cast<char>(c & ~0x20))});
  info.Folded = true;
  return info;
}

std::size_t TotalBytes(const std::vector<std::string>& strings) {
  std::size_t n = 0;
  for (const std::string& s : strings) n += s.size();
  return n;
}

void SortUnique(std::vector<std::string>& strings) {
  std::sort(strings.begin(), strings.end());
  strings.erase(std::unique(strings.begin(), strings.end()), strings.end());
}

// The first count characters of s.
std::string CharPrefix(const std::string& s, std::size_t count) {
  std::size_t i = 0;
  for (std::size_t k = 0; k < count && i < s.size(); ++k) i += CharLength(s, i);
  return s.substr(0, i);
}

// Too many strings: every match still holds a prefix of one, so cut them to
// ever fewer characters until few enough remain.
TInfo Shrink(TInfo info) {
  info.IsExact = false;
  for (std::size_t chars = 16; chars >= 1; --chars) {
    std::vector<std::string> cut;
    cut.reserve(info.Strings.size());
    for (const std::string& s : info.Strings) cut.push_back(CharPrefix(s, chars));
    SortUnique(cut);
    if (cut.size() <= kMaxStrings && TotalBytes(cut) <= kMaxBytes) {
      info.Strings = std::move(cut);
      return info;
    }
  }
  return {};
}

void MergeFlags(TInfo& into, const TInfo& from) {
  into.Anchored = into.Anchored || from.Anchored;
  into.Folded = into.Folded || from.Folded;
  into.Plain = into.Plain || from.Plain;
}

TInfo Unite(const std::vector<TInfo>& parts) {
  TInfo all = Exactly({});
  for (const TInfo& p : parts) {
    if (!p.Known) return {};
    all.IsExact = all.IsExact && p.IsExact;
    MergeFlags(all, p);
    all.Strings.insert(all.Strings.end(), p.Strings.begin(), p.Strings.end());
    if (all.Strings.size() > 4 * kMaxStrings) all = Shrink(std::move(all));
    if (!all.Known) return {};
  }
  SortUnique(all.Strings);
  if (all.Strings.size() > kMaxStrings || TotalBytes(all.Strings) > kMaxBytes) return Shrink(std::move(all));
  return all;
}

bool CanMultiply(const TInfo& a, const TInfo& b) {
  const std::size_t n = a.Strings.size() * b.Strings.size();
  const bool small = a.Strings.size() <= 1 || b.Strings.size() <= 1 ? n <= kMaxStrings : n <= kMaxProduct;
  return small && TotalBytes(a.Strings) * b.Strings.size() + TotalBytes(b.Strings) * a.Strings.size() <= kMaxBytes;
}

// A run of single strings grows in place, so that a long fixed string is
// built in time linear in its length.
TInfo Multiply(TInfo a, const TInfo& b) {
  MergeFlags(a, b);
  if (a.Strings.size() == 1 && b.Strings.size() == 1) {
    a.Strings.front() += b.Strings.front();
    return a;
  }
  TInfo product = Exactly({});
  MergeFlags(product, a);
  for (const std::string& x : a.Strings)
    for (const std::string& y : b.Strings) product.Strings.push_back(x + y);
  SortUnique(product.Strings);
  return product;
}

double Cost(const TInfo& info) {
  return info.Known ? RequiredCost(info.Strings, info.Folded) : std::numeric_limits<double>::infinity();
}

// Runs of exact operands are multiplied together; the result is the exact
// product when every operand took part in one run, else the cheapest of the
// runs and the other operands' sets.
TInfo Concatenate(const std::vector<TInfo>& parts) {
  std::vector<TInfo> candidates;
  TInfo run = EmptyString();
  bool whole = true;
  for (const TInfo& p : parts) {
    if (p.Known && p.IsExact && CanMultiply(run, p)) {
      run = Multiply(std::move(run), p);
      continue;
    }
    whole = false;
    candidates.push_back(std::move(run));
    if (p.Known && p.IsExact) {
      run = p;
    } else {
      if (p.Known) candidates.push_back(p);
      run = EmptyString();
    }
  }
  if (whole) return run;
  candidates.push_back(std::move(run));
  TInfo best;
  double bestCost = std::numeric_limits<double>::infinity();
  for (TInfo& c : candidates) {
    const double cost = Cost(c);
    if (cost < bestCost) {
      bestCost = cost;
      best = std::move(c);
    }
  }
  best.IsExact = false;
  return best;
}

// atStart / atEnd: the node is reached from the automaton's start (end) state,
// where a "^" ("$") anchors: the first (last) operand of concatenations and
// any alternative, never inside a repetition.
TInfo Analyse(const TParseNode* n, bool atStart, bool atEnd, int depth) {
  if (n == nullptr || depth > kMaxDepth) return {};
  switch (n->Op) {
    case opCharRange:
      return Leaf(n->Low, n->High);
    case opEmpty:
      return EmptyString();
    case opLineHead:
    case opLineTail: {
      if (n->Op == opLineHead ? atStart : atEnd) {
        TInfo anchor = EmptyString();
        anchor.Anchored = true;
        return anchor;
      }
      return Leaf(n->Low, n->High);
    }
    case opUnion: {
      if (IsCasePair(n)) return FoldedLetter(n->Left->Low);
      std::vector<TInfo> parts;
      for (const TParseNode* a : Operands(n, opUnion, TCasePairs::Whole)) {
        parts.push_back(Analyse(a, atStart, atEnd, depth + 1));
        if (!parts.back().Known) return {};
      }
      return Unite(parts);
    }
    case opConcat: {
      const std::vector<const TParseNode*> operands = Operands(n, opConcat);
      std::vector<TInfo> parts;
      for (std::size_t i = 0; i < operands.size(); ++i)
        parts.push_back(Analyse(operands[i], atStart && i == 0, atEnd && i + 1 == operands.size(), depth + 1));
      return Concatenate(parts);
    }
    default:
      return {};  // a repetition may match the empty string
  }
}

// Drops every string that holds another one of the set: a place where it
// stands holds the other too.
void DropSuperstrings(std::vector<std::string>& strings) {
  if (strings.size() > 2000) return;
  std::vector<std::string> kept;
  std::vector<std::string> byLength = strings;
  std::stable_sort(byLength.begin(), byLength.end(),
                   [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
  for (const std::string& s : byLength) {
    bool holds = false;
    for (const std::string& k : kept)
      if (s.find(k) != std::string::npos) {
        holds = true;
        break;
      }
    if (!holds) kept.push_back(s);
  }
  strings = std::move(kept);
}

// How often a byte stands in dictionary text, roughly: English glosses and
// Shift-JIS Japanese.
double SingleByteRate(unsigned char b, bool foldsCase) {
  static const double kLetters[26] = {.082, .015, .028, .043, .127, .022, .020, .061, .070,  .0015, .0077, .040, .024,
                                      .067, .075, .019, .001, .060, .063, .091, .028, .0098, .024,  .0015, .020, .0008};
  if (b >= 'a' && b <= 'z') return kLetters[b - 'a'] * 0.35 + (foldsCase ? 0.003 : 0);
  if (b >= 'A' && b <= 'Z') return foldsCase ? kLetters[b - 'A'] * 0.35 + 0.003 : 0.003;
  if (b == ' ') return 0.08;
  if (b >= '0' && b <= '9') return 0.004;
  if (b < 0x80) return 0.005;
  return 0.002;  // half-width katakana and the rest
}

double LeadByteRate(unsigned char b) {
  if (b == 0x81) return 0.03;  // punctuation and symbols
  if (b == 0x82) return 0.08;  // hiragana
  if (b == 0x83) return 0.04;  // katakana
  if (b >= 0x88 && b <= 0x9F) return 0.006;
  if (b >= 0xE0 && b <= 0xEA) return 0.003;
  return 0.0005;
}

double StringRate(const std::string& s, bool foldsCase) {
  double rate = 1;
  for (std::size_t i = 0; i < s.size() && i < 8;) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (IsDBCSLeadByte(b)) {
      rate *= LeadByteRate(b) * 0.01;
      i += 2;
    } else {
      rate *= SingleByteRate(b, foldsCase);
      i += 1;
    }
  }
  return rate;
}

// Per byte of text, in units of one single-string byte search; checking a
// place found costs about a line's automaton run.
constexpr double kCheckCost = 1000;

double SearchCost(const std::vector<std::string>& strings) {
  if (strings.size() <= 1) return 1;
  if (strings.size() <= TMultiSearch::kFewStrings) return 1 + 0.4 * static_cast<double>(strings.size());
  std::size_t shortest = strings.front().size();
  for (const std::string& s : strings) shortest = std::min(shortest, s.size());
  return 2 + 8.0 / static_cast<double>(TMultiSearch::SampleStep(shortest));
}

}  // namespace

double RequiredCost(const std::vector<std::string>& strings, bool foldsCase) {
  double rate = 0;
  for (const std::string& s : strings) {
    if (s.empty()) return std::numeric_limits<double>::infinity();
    rate += StringRate(s, foldsCase);
  }
  return SearchCost(strings) + rate * kCheckCost;
}

TRequiredSet FindRequiredSet(const TParseNode* top) {
  TInfo info = Analyse(top, true, true, 0);
  TRequiredSet set;
  set.Cost = kNoStringCost;
  if (!info.Known || info.Strings.empty()) return set;
  set.Exact = info.IsExact && !info.Anchored && !(info.Folded && info.Plain);
  if (!set.Exact) DropSuperstrings(info.Strings);
  const double cost = RequiredCost(info.Strings, info.Folded);
  if (cost >= kNoStringCost) return set;
  set.Strings = std::move(info.Strings);
  set.FoldsCase = info.Folded;
  set.Cost = cost;
  return set;
}
