// The grep component: searches one text file for the current pattern and
// reports every line that holds a match through OnMatch.  See grep.cpp.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "grep/scanplan.h"
#include "grep/scanviews.h"
#include "grep/txtfile.h"
#include "regexp/regexp.h"

class TGrep;

// Called once for each line that holds a match; may raise EEndOfFile to end
// the scan of the current file.
using TOnMatch = std::function<void(TGrep& sender, LineInfo_t lineInfo)>;

class TGrep : public TRegularExpression {
 public:
  TGrep();

  void Compile(const std::string& pattern) override;
  void SetPattern(const std::string& pattern) override;
  void SetIgnoreCase(bool value) override;
  bool IgnoreCase() const override { return FOwnIgnoreCase; }

  // Searches the file for the current pattern, calling OnMatch once for every
  // line that holds a match, in file order.  Returns at once when no handler
  // is assigned or a scan of this component is already running.  cancelFlag
  // belongs to the caller and is only read.
  void GrepFile(const std::string& fileName, const bool* cancelFlag);
  // The same for a descriptor that is already open (standard input, a
  // pipe), read from where it stands and left open; displayName names it.
  void GrepDescriptor(int fd, const std::string& displayName, const bool* cancelFlag);

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

 private:
  using TOpenReader = std::function<std::unique_ptr<TTxtFile>(const TReadOptions&)>;
  void Grep(const TOpenReader& open, const bool* cancelFlag);
  void Scan(TScanPlan& plan, TTxtFile& file);
  void AutomatonScan(TCharScanView file, const TDFA& dfa);
  void LiteralScan(TCharScanView file, const std::string& literal);
  void CaseInsensitiveLiteralScan(TCharScanView file, const std::string& literal);
  void Report(TCharScanView file);
  std::shared_ptr<const TDFA> FoldedAutomaton() const;

  bool FOwnIgnoreCase = false;
  bool FBusy = false;
};
