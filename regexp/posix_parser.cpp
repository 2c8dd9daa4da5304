// Recursive descent over the characters of the pattern (NextChar, so a
// double-byte character is one).  The two languages differ in which
// characters are operators: in the basic one "\(", "\)", "\|", "\{", "\+"
// and "\?" are, and "*" (like "\+", "\?" and "\{") is an ordinary character
// where it begins an expression; "^" anchors only where an expression
// begins and "$" only where one ends.  In the extended one the operators go
// without backslash, "^" and "$" are assertions wherever they stand, an
// operator that begins an expression applies to the empty string (with
// GNU grep's warning), a "{" that starts no interval and a ")" that closes
// no group are ordinary.  Between brackets the backslash is ordinary.
#include "regexp/posix_parser.h"

#include <algorithm>
#include <cctype>

#include "regexp/messages.h"
#include "sjis/exceptions.h"

namespace {

constexpr std::string_view kSpecialAfterBackslash = "^.[]$()|*+?{}\\";

class TPosixReader {
 public:
  TPosixReader(const std::string& pattern, TPatternSyntax syntax, bool ignoreCase, TLineFeedRule lineFeed)
      : P(pattern), FExtended(syntax == synExtended), FIgnoreCase(ignoreCase), FLineFeed(lineFeed) {
    FUniverse.Add(0x01, 0xFCFC);
    if (lineFeed != lfOrdinary) FUniverse.Remove('\n', '\n'), FUniverse.Remove('\r', '\r');
  }

  // Patterns one a line, as GNU grep takes a list: each line on its own,
  // the lines alternatives.
  TPosixPattern Read() {
    for (;;) {
      const int line = Alternation(0);
      if (!AtEnd()) Fail(sjis_text::kMsgUnmatchedRightParen);
      R.Top = R.Top < 0 ? line : Node(TPosixOp::Union, R.Top, line);
      if (Pos >= P.size()) return std::move(R);
      ++Pos;
    }
  }

 private:
  [[noreturn]] void Fail(std::string_view message) const {
    throw ERegExpParser(std::string(message), static_cast<std::uint16_t>(Pos + 1));
  }
  bool AtEnd() const { return Pos >= P.size() || P[Pos] == '\n'; }
  std::size_t LineEnd() const { return std::min(P.find('\n', Pos), P.size()); }
  char Peek(std::size_t ahead = 0) const { return Pos + ahead < P.size() ? P[Pos + ahead] : '\0'; }
  bool At(std::string_view s) const { return P.compare(Pos, s.size(), s) == 0; }
  // The character at Pos, read past.
  TCharCode Take() {
    int position = static_cast<int>(Pos) + 1;
    const TCharCode c = NextChar(P, position);
    Pos = static_cast<std::size_t>(position - 1);
    return c;
  }

  int Add(TPosixNode node) {
    if (R.Nodes.size() >= kMaxNodes) Fail(sjis_text::kMsgTooBig);
    R.Nodes.push_back(std::move(node));
    return static_cast<int>(R.Nodes.size()) - 1;
  }
  int Node(TPosixOp op, int left = -1, int right = -1) {
    TPosixNode n;
    n.Op = op;
    n.Left = left;
    n.Right = right;
    return Add(std::move(n));
  }
  int SetNode(TCodeSet set, bool negated = false) {
    if (FIgnoreCase) set.FoldCase();
    if (negated) set = set.ComplementWithin(FUniverse);
    if (FLineFeed == lfNever) set.Remove('\n', '\n');
    TPosixNode n;
    n.Op = TPosixOp::Set;
    n.Set = std::move(set);
    return Add(std::move(n));
  }
  int AssertNode(TAssertion a) {
    R.HasAssertions = true;
    TPosixNode n;
    n.Op = TPosixOp::Assert;
    n.Assertion = a;
    return Add(std::move(n));
  }
  int Concat(int a, int b) { return a < 0 ? b : Node(TPosixOp::Concat, a, b); }

  bool AtUnion() const { return FExtended ? Peek() == '|' : At("\\|"); }
  bool AtClose(int depth) const { return FExtended ? depth > 0 && Peek() == ')' : At("\\)"); }

  int Alternation(int depth) {
    int e = Branch(depth);
    while (AtUnion()) {
      Pos += FExtended ? 1 : 2;
      e = Node(TPosixOp::Union, e, Branch(depth));
    }
    return e;
  }

  int Branch(int depth) {
    int t = -1;
    bool start = true;  // where an expression begins
    while (!AtEnd() && !AtUnion() && !AtClose(depth)) {
      bool anchorAtStart = false;
      int atom;
      if (start && FExtended && Postfix()) {
        atom = Node(TPosixOp::Empty);  // the operator applies to the empty string
      } else {
        atom = Atom(depth, start, anchorAtStart);
      }
      atom = Postfixes(atom, anchorAtStart);
      t = Concat(t, atom);
      start = false;
    }
    return t < 0 ? Node(TPosixOp::Empty) : t;
  }

  // Whether an operator of the extended language stands at Pos where an
  // expression begins; GNU grep warns of it.
  bool Postfix() {
    std::string_view warning;
    switch (Peek()) {
      case '*':
        warning = sjis_text::kMsgStarAtStart;
        break;
      case '+':
        warning = sjis_text::kMsgPlusAtStart;
        break;
      case '?':
        warning = sjis_text::kMsgQMarkAtStart;
        break;
      case '{':
        if (!IntervalAhead()) return false;
        warning = sjis_text::kMsgIntervalAtStart;
        break;
      default:
        return false;
    }
    R.Warnings.push_back({std::string(warning), {}});
    return true;
  }

  int Postfixes(int atom, bool anchorAtStart) {
    if (anchorAtStart && !FExtended) return atom;  // "^*": the star is a character
    if (anchorAtStart) Postfix();
    for (;;) {
      const char c = Peek();
      if (c == '*') {
        ++Pos;
        atom = Node(TPosixOp::Star, atom);
      } else if (FExtended ? c == '+' : At("\\+")) {
        Pos += FExtended ? 1 : 2;
        atom = Repeat(atom, 1, -1);
      } else if (FExtended ? c == '?' : At("\\?")) {
        Pos += FExtended ? 1 : 2;
        atom = Repeat(atom, 0, 1);
      } else if (FExtended ? c == '{' && IntervalAhead() : At("\\{")) {
        int min, max;
        Interval(min, max);
        atom = Repeat(atom, min, max);
      } else {
        return atom;
      }
    }
  }

  // Whether "{" at Pos starts an interval of the extended language (else it
  // is an ordinary character): digits, a comma and digits, then "}" (or a
  // second comma, which is an error of the interval).
  bool IntervalAhead() const {
    std::size_t i = Pos + 1;
    while (i < P.size() && std::isdigit(static_cast<unsigned char>(P[i]))) ++i;
    if (i < P.size() && P[i] == ',') {
      ++i;
      while (i < P.size() && std::isdigit(static_cast<unsigned char>(P[i]))) ++i;
    }
    return i < P.size() && (P[i] == '}' || (P[i] == ',' && i > Pos + 1));
  }

  // Reads "{m,n}" (basic: "\{m,n\}"); max is -1 when unbounded.
  void Interval(int& min, int& max) {
    Pos += FExtended ? 1 : 2;
    const auto number = [&](int& value) {
      bool any = false;
      long long v = 0;
      while (std::isdigit(static_cast<unsigned char>(Peek()))) {
        v = std::min<long long>(v * 10 + (Peek() - '0'), kMaxRepeat + 1LL);
        ++Pos, any = true;
      }
      value = static_cast<int>(v);
      return any;
    };
    const bool hasMin = number(min);
    bool comma = false, hasMax = false;
    if (Peek() == ',') {
      ++Pos, comma = true;
      hasMax = number(max);
    }
    if (!comma) max = min, hasMax = hasMin;
    if (!hasMin) min = 0;
    if (!hasMax) max = -1;
    const std::string_view close = FExtended ? "}" : "\\}";
    if (!At(close)) {
      if (!FExtended && P.find("\\}", Pos) >= LineEnd()) Fail(sjis_text::kMsgUnmatchedBrace);
      Fail(sjis_text::kMsgBadInterval);
    }
    Pos += close.size();
    if ((!hasMin && !comma) || (max >= 0 && min > max)) Fail(sjis_text::kMsgBadInterval);
    if (min > kMaxRepeat || max > kMaxRepeat) Fail(sjis_text::kMsgTooBig);
  }

  // x{min,max}: min copies of x, then max - min optional ones nested to the
  // right (or a star when unbounded).  Each copy refers to the same x.
  int Repeat(int x, int min, int max) {
    int tail = -1;
    if (max < 0) {
      tail = Node(TPosixOp::Star, x);
    } else {
      for (int k = min; k < max; ++k) {
        const int body = tail < 0 ? x : Node(TPosixOp::Concat, x, tail);
        tail = Node(TPosixOp::Union, body, Node(TPosixOp::Empty));
      }
    }
    int result = -1;
    for (int k = 0; k < min; ++k) result = Concat(result, x);
    if (tail >= 0) result = Concat(result, tail);
    return result < 0 ? Node(TPosixOp::Empty) : result;
  }

  int Literal(TCharCode c) { return SetNode(TCodeSet(c, c)); }

  int Atom(int depth, bool start, bool& anchorAtStart) {
    const char c = Peek();
    if (FExtended ? c == '(' : At("\\(")) {
      Pos += FExtended ? 1 : 2;
      if (depth >= TRegExpParser::kMaxNesting) Fail(sjis_text::kMsgTooComplex);
      const int e = Alternation(depth + 1);
      if (!(FExtended ? Peek() == ')' : At("\\)"))) Fail(sjis_text::kMsgUnmatchedLeftParen);
      Pos += FExtended ? 1 : 2;
      return e;
    }
    switch (c) {
      case '.':
        ++Pos;
        return SetNode(FUniverse);
      case '[':
        ++Pos;
        return Bracket();
      case '^':
        ++Pos;
        if (!FExtended && !start) return Literal('^');
        anchorAtStart = start;
        return AssertNode(TAssertion::LineStart);
      case '$':
        ++Pos;
        if (!FExtended && !(AtEnd() || AtUnion() || At("\\)"))) return Literal('$');
        return AssertNode(TAssertion::LineEnd);
      case '\\':
        return Escape();
      default:
        return Literal(Take());
    }
  }

  int Escape() {
    ++Pos;
    if (AtEnd()) Fail(sjis_text::kMsgTrailingBackslash);
    const std::size_t at = Pos;
    const TCharCode c = Take();
    TCodeSet set;
    switch (c) {
      case 'w':
      case 'W':
        return SetNode(WordCodes(), c == 'W');
      case 's':
      case 'S':
        NamedClass("space", set);
        return SetNode(set, c == 'S');
      case 'b':
        return AssertNode(TAssertion::WordEdge);
      case 'B':
        return AssertNode(TAssertion::NotWordEdge);
      case '<':
        return AssertNode(TAssertion::WordStart);
      case '>':
        return AssertNode(TAssertion::WordEnd);
      case '`':
        return AssertNode(TAssertion::LineStart);
      case '\'':
        return AssertNode(TAssertion::LineEnd);
      default:
        break;
    }
    if (c >= '1' && c <= '9') Fail(sjis_text::kMsgBackReference);
    if (c == ' ' || c == '\t')
      R.Warnings.push_back({std::string(sjis_text::kMsgStrayBeforeSpace), {}});
    else if (c < ' ' || c == 0x7F)
      R.Warnings.push_back({std::string(sjis_text::kMsgStrayBeforeControl), {}});
    else if (c > 0x7F || kSpecialAfterBackslash.find(static_cast<char>(c)) == std::string_view::npos)
      R.Warnings.push_back({std::string(sjis_text::kMsgStrayBackslash), P.substr(at, Pos - at)});
    return Literal(c);
  }

  // A bracket expression, Pos after "[".
  int Bracket() {
    const std::size_t open = Pos;
    const bool negated = Peek() == '^';
    if (negated) ++Pos;
    TCodeSet set;
    bool first = true;
    for (;;) {
      if (AtEnd()) Fail(sjis_text::kMsgUnmatchedBracket);
      if (Peek() == ']' && !first) break;
      first = false;
      TCharCode low;
      if (At("[:")) {
        const std::size_t end = P.find(":]", Pos + 2);
        if (end >= LineEnd()) Fail(sjis_text::kMsgUnmatchedBracket);
        if (!NamedClass(std::string_view(P).substr(Pos + 2, end - Pos - 2), set)) Fail(sjis_text::kMsgBadClassName);
        Pos = end + 2;
        if (Peek() == '-' && Peek(1) != ']') Fail(sjis_text::kMsgBadRangeEnd);
        continue;
      }
      if (!Element(low)) low = Take();
      TCharCode high = low;
      if (Peek() == '-' && Peek(1) != ']' && Peek(1) != '\0') {
        ++Pos;
        if (At("[:")) Fail(sjis_text::kMsgBadRangeEnd);
        if (!Element(high)) high = Take();
        if (high < low) Fail(sjis_text::kMsgBadRangeEnd);
      }
      set.Add(low, high);
    }
    ++Pos;
    // "[:space:]" where "[[:space:]]" was meant.
    if (Pos - open >= 4 && P[open] == ':' && P[Pos - 2] == ':') Fail(sjis_text::kMsgClassSyntax);
    return SetNode(set, negated);
  }

  // "[=c=]" and "[.c.]": one character, as GNU grep takes them outside UTF-8.
  bool Element(TCharCode& code) {
    if (!(At("[=") || At("[."))) return false;
    const std::string close = {P[Pos + 1], ']'};
    const std::size_t end = P.find(close, Pos + 2);
    if (end >= LineEnd()) Fail(sjis_text::kMsgUnmatchedBracket);
    Pos += 2;
    if (Pos == end) Fail(sjis_text::kMsgBadCollation);
    code = Take();
    if (Pos != end) Fail(sjis_text::kMsgBadCollation);
    Pos = end + 2;
    return true;
  }

  static constexpr std::size_t kMaxNodes = 1'000'000;

  const std::string& P;
  std::size_t Pos = 0;
  bool FExtended;
  bool FIgnoreCase;
  TLineFeedRule FLineFeed;
  TCodeSet FUniverse;
  TPosixPattern R;
};

}  // namespace

TPosixPattern ParsePosix(const std::string& pattern, TPatternSyntax syntax, bool ignoreCase, TLineFeedRule lineFeed) {
  return TPosixReader(pattern, syntax, ignoreCase, lineFeed).Read();
}
