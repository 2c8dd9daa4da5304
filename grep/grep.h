// The grep component: searches one text file for the current pattern and
// reports every line that holds a match through OnMatch.  See grep.cpp.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "grep/scanplan.h"
#include "grep/scanviews.h"
#include "grep/txtfile.h"
#include "regexp/regexp.h"

class TGrep;

// Called once for each line that holds a match; may raise EEndOfFile to end
// the scan of the current file.
using TOnMatch = std::function<void(TGrep& sender, LineInfo_t lineInfo)>;
// The same for a line as it stands in the input (see TInputLines); and for
// lines that hold no match, passed over between reports.
using TOnInputLines = std::function<void(TGrep& sender, const TInputLines& lines)>;

class TGrep : public TRegularExpression {
 public:
  TGrep();

  void Compile(const std::string& pattern) override;
  // Makes a pattern current; ends a search for fixed strings.
  void SetPattern(const std::string& pattern) override;
  // Searches for fixed strings instead of a pattern, in time and memory
  // proportional to them (no automaton is built): a line matches when one of
  // them stands in it at a character start (with wholeLines, when it is one
  // of them), letters in either case when IgnoreCase is on.  The empty
  // string matches every line (for whole lines, every empty line); strings
  // that hold a line end or a zero byte, or end in a lead byte, match none.
  void SetStrings(std::vector<std::string> strings, bool wholeLines);
  void SetIgnoreCase(bool value) override;
  bool IgnoreCase() const override { return FOwnIgnoreCase; }

  // Searches the file for the current pattern, calling OnMatch once for every
  // line that holds a match, in file order.  Returns at once when no handler
  // is assigned or a scan of this component is already running.  cancelFlag
  // belongs to the caller and is only read.
  void GrepFile(const std::string& fileName, const bool* cancelFlag);
  // The same for a descriptor that is already open (standard input, a
  // pipe), read from where it stands and left open; displayName names it.
  // atStart: the caller has just opened it, so it stands at the start.
  void GrepDescriptor(int fd, const std::string& displayName, const bool* cancelFlag, bool atStart = false);

  // Refuse anything but a regular file at once (a FIFO, a device) rather
  // than wait on it; for a window that must never hang in an open.
  bool RegularFilesOnly = false;
  // The longest line kept, in bytes; 0 for no bound but memory.  A longer
  // line raises ELineTooLong, as a line that outgrows memory does.
  std::size_t MaxLineBytes = 0;
  // Large regular files are scanned in windows of this many bytes mapped
  // into memory rather than read (see blockbuffer.h); 0 always reads.  A
  // mebibyte: the copies that reading spares outweigh the mapping from
  // there, and the window stays a small part of the process's memory.
  std::size_t MapBytes = std::size_t{1} << 20;
  // The caller only counts the lines that match: OnMatch gets an empty
  // LineInfo_t (no text, line number 0), which spares copying each line and
  // counting line feeds.
  bool CountOnly = false;

  bool Busy() const { return FBusy; }

  // Which scans may run (see scanplan.h).  All must report the same lines;
  // the slower ones are the reference that tests hold the fast one to.
  using TScanChoice = ::TScanChoice;
  TScanChoice ScanChoice = TScanChoice::Fast;

  TOnMatch OnMatch;
  // The message pump handed to the reader (empty: none).
  TProcessMessages ProcessMessages;

  // A caller that prints lines as they stand in the input (kovagrep) sets
  // OnInputMatch instead of OnMatch: each matching line comes with its line
  // end, its byte offset and number, and the input is read only once.  With
  // CountOnly the lines are empty.  OnPassed, when set, gets every other
  // line, in order, before the report that follows it (and the rest of the
  // input after the last report), unless a handler raised EEndOfFile.
  TOnInputLines OnInputMatch;
  TOnInputLines OnPassed;
  // Called once the input is open, before anything else, with whether a
  // zero byte stands in its first ZeroProbeBytes bytes; may raise
  // EEndOfFile to leave the input unsearched.
  std::function<void(TGrep& sender, bool zeroInProbe)> OnOpen;
  std::size_t ZeroProbeBytes = 0;
  // A line feed ends a line also after a lead byte (see
  // TReadOptions::LoneLeadBytes); the window keeps the reader's pairing.
  bool LoneLeadBytes = false;

 private:
  using TOpenReader = std::function<std::unique_ptr<TTxtFile>(const TReadOptions&)>;
  // The plan of a pattern and its scan, made once and kept while the
  // pattern and the choices stay the same (a search of many files).
  struct TPrepared;
  std::shared_ptr<TPrepared> Prepare();
  void Grep(const TOpenReader& open, const bool* cancelFlag);
  void Scan(TPrepared& prepared, TTxtFile& file);
  // Calls a handler of the input's lines, noting whether it ended the scan.
  void Hand(const TOnInputLines& handler, const TInputLines& lines);
  void AutomatonScan(TCharScanView file, const TDFA& dfa);
  void LiteralScan(TCharScanView file, const std::string& literal);
  void CaseInsensitiveLiteralScan(TCharScanView file, const std::string& literal);
  void Report(TCharScanView file);
  std::shared_ptr<const TDFA> FoldedAutomaton() const;

  bool FOwnIgnoreCase = false;
  bool FBusy = false;
  bool FHandlerStopped = false;
  std::shared_ptr<TPrepared> FPrepared;
  // The fixed strings searched for instead of the pattern (SetStrings).
  struct TStrings {
    std::vector<std::string> Strings;
    bool WholeLines = false;
  };
  std::shared_ptr<const TStrings> FStrings;
};
