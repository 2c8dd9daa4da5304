// The grep's whole-line scan: a line is decided at once, by running all
// the attempts that start in it together through a lazily built automaton
// over sets of the pattern's states, and lines that cannot hold the required
// bytes are passed over by a byte search.  See fastscan.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "grep/scanautomaton.h"
#include "grep/scanplan.h"
#include "grep/scanviews.h"
#include "grep/setautomaton.h"
#include "sjis/byteset.h"
#include "sjis/multisearch.h"

class TFastScan {
 public:
  // The plan's automaton, and the bytes by which lines are passed over and
  // (when exact) checked; see scanplan.h.
  explicit TFastScan(TLinePlan plan);

  // Scans the file from its start and calls report() for each matching line,
  // with the reader's main cursor just past the line's leading character.
  // Returns at the file's end (a report that reads on may still raise the
  // reader's EEndOfFile).
  void Run(TFastScanView file, const std::function<void()>& report);

 private:
  static bool StartsAtLineStarts(const TScanAutomaton& automaton);
  // Whether the window's line holds a match; when it does not, next is where
  // the following line's leading character starts in the window (the line
  // feed, or a lead byte of this line that pairs with it), and running the
  // set of attempts still running after the line feed (the empty set for a
  // line-local pattern).
  bool WindowMatches(std::string_view window, std::size_t& next, std::int32_t& running);
  // Whether the set of attempts running at offset from of the current line's
  // window reaches an accepting state in the lines that follow.
  bool RunsOnToAccept(TFastScanView file, std::size_t from, std::int32_t running);
  // found: where the required bytes first stand in the window when the skip
  // knows it (see FoundInWindow), else npos.
  bool LiteralWindowMatches(std::string_view window, std::size_t found, std::size_t& next);
  std::size_t RequiredFrom(std::string_view text, std::size_t from, std::size_t found, bool foldCase) const;
  // For a line-local pattern every match of which begins with the required
  // bytes: only the attempts that start where they stand are run.
  bool PrefixWindowMatches(std::string_view window, std::size_t found, std::size_t& next);
  // Whether an attempt that starts at the character at of the window's line
  // (with startEverywhere, or one that starts at that character or any
  // later one) accepts, within the line or on its final character; steps
  // counts the table steps taken.
  bool AttemptAccepts(const unsigned char* p, std::size_t at, std::size_t leading, std::size_t lineEnd,
                      std::size_t& steps, bool startEverywhere);
  // WindowMatches, trying first the attempts that start shortly before the
  // first required bytes in the line.
  bool NearRequiredWindowMatches(std::string_view window, std::size_t found, std::size_t& next, std::int32_t& running);
  bool SetWindowMatches(std::string_view window, std::size_t& next);
  // The first place in data where the required bytes or one of the set's
  // strings stand, or data.size(); for the set, kept in FSetFound.
  std::size_t FindRequired(std::string_view data);
  // Moves the reader over the lines of its block that cannot hold the
  // required bytes.
  void SkipLinesWithoutRequired(TFastScanView file);
  // Where the skip found the required bytes, as an index into the window
  // that the reader returned after it, or npos when the window may not hold
  // them there: it must lie in the block (not copied out of it) and the
  // block must still end where the skip saw it end (the reader cleans a
  // block from the cursor on, and only dropping the CR of a CR LF moves
  // bytes, which moves the block's end).  Bytes as read and as cleaned hold
  // the required bytes in the same places, so none stand before that index.
  std::size_t FoundInWindow(TFastScanView file, std::string_view window) const;

  std::string FRequired;
  bool FRequiredFoldsCase;
  // In blocks as read, a space of FRequired (of FSet's strings) matches a
  // zero byte too, and a line feed that begins FRequired a lone CR.
  bool FAsRead;
  bool FExactLiteral;  // a line matches when FRequired stands at one of its character starts
  // Every match begins with FRequired, and attempts end in their line.
  bool FPrefixStarts = false;
  // Lines are decided near their required bytes first (see
  // NearRequiredWindowMatches).
  bool FNearRequired = false;
  std::unique_ptr<TMultiSearch> FSet;  // instead of FRequired
  bool FExactSet = false;
  // A line matches only when it is one of the set's strings (kept here in
  // upper case when case is folded).
  std::unordered_set<std::string> FWholeLines;
  bool FSetTuned = false;  // FSet's samples chosen by the first text scanned
  // Where SkipLinesWithoutRequired last found the required bytes (nullptr
  // when not in the block) and where the block it searched ended.
  const char* FFound = nullptr;
  const char* FFoundBlockEnd = nullptr;
  // Where FindRequired last found one of the set's strings (in the block as
  // it was then), and which string.
  const char* FSetFound = nullptr;
  std::size_t FSetFoundString = 0;
  // Attempts start only on a line's leading character: the start state moves
  // on nothing but codes that hold a line feed.
  bool FStartsAtLineStarts = false;

  // All attempts at once.
  TSetAutomaton FSets;
  // The first bytes of the characters that may start an attempt: a single
  // byte, or a lead byte of which some double-byte character does.  While
  // no attempt runs, the others are passed over by a search for these
  // (when they are few enough for it to pay).
  TByteSet FStartBytes;
  bool FPassesNonStarting = false;
  void FindStartBytes();
  std::size_t NextPossibleStart(const unsigned char* p, std::size_t i, std::size_t lineEnd) const;
  std::uint32_t FAheadSteps = 0;  // look-ahead steps since the last poll
};
