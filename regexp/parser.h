// The pattern parser: recursive descent over the scanner's tokens into a
// parse tree of seven node kinds, whose leaf ranges are pairwise disjoint
// when it is done.  See parser.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "regexp/scanner.h"

enum TOp : std::uint8_t {
  opCharRange = 0,  // a leaf: one character in Low..High
  opLineHead,       // "^" as written, in Low and High
  opLineTail,       // "$" as written, in Low and High
  opConcat,
  opUnion,
  opStar,
  opEmpty
};

struct TParseNode {
  TOp Op = opEmpty;
  TCharCode Low = 0;  // range and anchor nodes
  TCharCode High = 0;
  TParseNode* Left = nullptr;  // operator nodes
  TParseNode* Right = nullptr;
};

// Whether n is a letter in either case, as case folding or a class of the
// two makes it: a union of two single-code leaves, a letter and the letter
// that differs from it in the case bit.
bool IsCasePair(const TParseNode* n);

// The codes that no pattern may use as characters: 0xFFFD and 0xFFFE stand
// for the line anchors inside the automata and 0xFFFF labels an empty move.
// A range that reaches into them is cut back to kHighestPatternCode.
constexpr TCharCode kHighestPatternCode = 0xFFFC;

class TParseTree {
 public:
  TParseTree() = default;
  TParseTree(const TParseTree&) = delete;
  TParseTree& operator=(const TParseTree&) = delete;
  virtual ~TParseTree();

  TParseNode* MakeNode(TOp op, TParseNode* left = nullptr, TParseNode* right = nullptr);
  TParseNode* MakeLeaf(TCharCode low, TCharCode high);
  TParseNode* MakeLineHead(TCharCode code);
  TParseNode* MakeLineTail(TCharCode code);
  // The period: every code from 0x01 to 0xFCFC except line feed and carriage return.
  virtual TParseNode* MakeAnyChar();
  // An ASCII letter in either case; any other code as itself.
  virtual TParseNode* MakeCaseFoldChar(TCharCode code);

  void ReplaceLeaf(TParseNode* leaf, TParseNode* a, TParseNode* b);
  void NormalizeLeaves();
  // Removes range [low, high] from the leaves of LeafList (used on a working
  // tree that holds the period's ranges to form a negated class).
  void SubtractRange(TCharCode low, TCharCode high);
  void Clear();

  TParseNode* TopNode = nullptr;
  std::vector<TParseNode*> NodeList;  // operator and anchor nodes, and former leaves
  std::vector<TParseNode*> LeafList;  // current leaves, in order of making

 private:
  TParseNode* NewNode();
  void RemoveLeaf(std::size_t index);
  bool SplitOverlap(TParseNode* a, TParseNode* b);

  std::vector<std::unique_ptr<TParseNode>> FOwned;
  std::unordered_map<std::uint32_t, TParseNode*> FLeafIndex;  // (Low, High) -> leaf of LeafList
};

// What the parser does beyond the system's own reading of a pattern, for a
// grep whose lines are cut differently from the window's.  The defaults are
// the window's rules.
enum TLineFeedRule : std::uint8_t {
  lfClassic,  // the period and negated classes leave out LF and CR; escapes and ranges may hold them
  lfNever,    // no line holds a line feed: ranges leave it out, and a pattern that names it is refused
  lfOrdinary  // lines end at zero bytes: the period and negated classes match LF and CR too
};

// The language a pattern is written in: the engine's own, or GNU grep's
// basic or extended regular expressions (posix_parser.h).
enum TPatternSyntax : std::uint8_t { synEngine, synBasic, synExtended };

struct TPatternRules {
  // With IgnoreCase, ASCII letters fold between brackets too (members,
  // ranges, and the members of a negated class before its complement).
  bool FoldInBrackets = false;
  TLineFeedRule LineFeed = lfClassic;
  TPatternSyntax Syntax = synEngine;
  // GNU's languages: letters of both cases in the pattern itself, full-width,
  // Greek and Cyrillic ones too, so no scan needs to fold case.
  bool FoldCase = false;
  bool operator==(const TPatternRules&) const = default;
};

class TRegExpParser {
 public:
  TRegExpParser(const std::string& pattern, bool acceptDBMeta);
  ~TRegExpParser();

  // Parses the whole pattern into ParseTree; raises ERegExpParser on an error.
  void Parse();

  std::unique_ptr<TParseTree> ParseTree;
  std::unique_ptr<TScanner> Scanner;
  bool IgnoreCase = false;
  TPatternRules Rules;

  // Deepest nesting of groups that a pattern may use.
  static constexpr int kMaxNesting = 200;

 private:
  TParseNode* ParseExpression();
  TParseNode* ParseTerm();
  TParseNode* ParseFactor();
  TParseNode* ParsePrimary();
  TParseNode* ParseCharClass(TParseTree& tree);
  TParseNode* ParseNegCharClass();
  TParseNode* MakeCharLeaf(TParseTree& tree, TCharCode low, TCharCode high);
  TParseNode* MakeClassItem(TParseTree& tree, TCharCode low, TCharCode high);
  TParseNode* AnyChar(TParseTree& tree);
  void RefuseLineFeed(TCharCode code) const;
  void Consume();
  [[noreturn]] void Fail(std::string_view message) const;

  int FDepth = 0;
};
