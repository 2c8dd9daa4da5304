// What a grep reports of a file (line numbers and texts), and the check
// that the tests and the grep fuzz target hold every scan to: the
// one-character scans are the reference, the whole-line (or cross-line)
// scan and the automaton alone must report the same lines, in ascending
// order, each the file's line of that number as the reader presents it, and
// the whole-line scan that only counts as many lines; and the same lines
// handed out as they stand in the file, with the lines between them.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "grep/grep.h"
#include "sjis/exceptions.h"
#include "support/reader_lines.h"
#include "support/sjis_literals.h"
#include "support/temp_dir.h"

struct TReport {
  std::int64_t LineNo;
  std::string Line;
  bool operator==(const TReport&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const TReport& r) { return os << r.LineNo << ":" << Hex(r.Line); }

// Runs the grep over the file and returns every report.
inline std::vector<TReport> GrepReports(TGrep& grep, const std::string& path, const bool* cancel = nullptr) {
  std::vector<TReport> reports;
  grep.OnMatch = [&](TGrep&, LineInfo_t info) { reports.push_back({info.LineNo, std::move(info.Line)}); };
  grep.GrepFile(path, cancel);
  return reports;
}

// What a grep hands out of a file as it stands there (OnInputMatch and
// OnPassed): empty when the pieces, in order, are the file's bytes, each at
// its offset, the lines numbered on from 1 and each report the reference's
// line of that number, else what went wrong.
inline std::string CheckInputLines(TGrep& grep, const std::string& path, const std::vector<TReport>& reference) {
  const std::string content = TTempDir::Read(path);
  std::string all;
  std::int64_t next = 1;
  std::size_t reported = 0;
  std::string fault;
  const auto take = [&](const TInputLines& lines, bool report) {
    if (!fault.empty()) return;
    if (lines.Offset != std::ssize(all) || lines.LineNo != next || lines.Bytes.empty())
      fault = "at byte " + std::to_string(all.size()) + " line " + std::to_string(next) + ": offset " +
              std::to_string(lines.Offset) + ", line " + std::to_string(lines.LineNo);
    else if (report && (lines.Count != 1 || reported >= reference.size() || reference[reported].LineNo != next ||
                        ReaderLines(std::string(lines.Bytes), grep.LoneLeadBytes).front() != reference[reported].Line))
      fault = "report " + std::to_string(reported) + ": line " + std::to_string(next) + " " + Hex(lines.Bytes);
    all += lines.Bytes;
    next += lines.Count;
    reported += report ? 1 : 0;
  };
  grep.OnInputMatch = [&](TGrep&, const TInputLines& lines) { take(lines, true); };
  grep.OnPassed = [&](TGrep&, const TInputLines& lines) { take(lines, false); };
  grep.GrepFile(path, nullptr);
  grep.OnInputMatch = nullptr;
  grep.OnPassed = nullptr;
  if (fault.empty() && (all != content || reported != reference.size()))
    fault = "the input was " + Hex(content) + ", handed out " + Hex(all);
  return fault;
}

// The fast scan runs twice: over blocks read, and over the file mapped a
// page at a time (so that small files have many windows).  With
// loneLeadBytes every scan reads a lead byte before a line end alone.
class TScanComparison {
 public:
  explicit TScanComparison(bool loneLeadBytes = false) {
    Greps[0].ScanChoice = TScanChoice::OneCharacter;
    Greps[1].MapBytes = 0;
    Greps[2].ScanChoice = TScanChoice::AutomatonOnly;
    Greps[2].MapBytes = 0;
    Greps[3].MapBytes = 1;
    for (TGrep& grep : Greps) grep.LoneLeadBytes = loneLeadBytes;
  }

  // Compiles the pattern for every scan; false when it is no pattern for
  // any (compiling for some only is a fault that Check returns).
  bool SetPattern(const std::string& pattern, bool ignoreCase, bool dbMeta) {
    int compiled = 0;
    for (TGrep& grep : Greps) {
      try {
        // The empty pattern first, so that the flag setters do not recompile
        // the previous pattern (which may be too complex under other flags).
        grep.SetPattern("");
        grep.SetAcceptDBMeta(dbMeta);
        grep.SetIgnoreCase(ignoreCase);
        grep.SetPattern(pattern);
        ++compiled;
      } catch (const ERegExpParser&) {
      }
    }
    Fault = compiled % kScans != 0 ? "the pattern compiles for some scans only: " + Hex(pattern) : "";
    Described = Hex(pattern) + (ignoreCase ? " ignoring case" : "") + (dbMeta ? " with double-byte operators" : "");
    return compiled != 0;
  }

  // The first fault over the file (empty when none), and the reference's reports.
  std::string Check(const std::string& path, std::vector<TReport>* reported = nullptr) {
    static const char* const kNames[kScans] = {"OneCharacter", "Fast", "AutomatonOnly", "Fast, mapped"};
    const std::vector<std::string> lines = ReaderLines(TTempDir::Read(path), Greps[0].LoneLeadBytes);
    std::vector<TReport> reference;
    for (int k = 0; k < kScans && Fault.empty(); ++k) {
      const std::vector<TReport> reports = GrepReports(Greps[k], path);
      const char* fault = Greps[k].Busy() ? "stays busy" : k > 0 && reports != reference ? "scans disagree" : nullptr;
      for (std::size_t i = 0; i < reports.size() && fault == nullptr; ++i) {
        const std::int64_t n = reports[i].LineNo;
        if ((i > 0 && n <= reports[i - 1].LineNo) || n < 1 || n > std::ssize(lines) || reports[i].Line != lines[n - 1])
          fault = "not the file's lines in order";
      }
      if (fault != nullptr)
        Fault = std::string(fault) + ": " + kNames[k] + ", pattern " + Described + ", " + path + ":";
      for (std::size_t i = 0; fault != nullptr && i < reports.size(); ++i)
        Fault += " " + std::to_string(reports[i].LineNo) + ":" + Hex(reports[i].Line);
      if (k == 0) reference = reports;
    }
    // Counting only, the whole-line scan reads no line numbers (and its reader
    // may leave the lines it passes over unchecked): as many reports, each
    // without text and number, over blocks read and over a mapped file.
    for (const int k : {1, 3}) {
      if (!Fault.empty()) break;
      Greps[k].CountOnly = true;
      const std::vector<TReport> counted = GrepReports(Greps[k], path);
      Greps[k].CountOnly = false;
      if (counted != std::vector<TReport>(reference.size(), TReport{0, ""}))
        Fault = std::string("counting disagrees: ") + kNames[k] + ", pattern " + Described + ", " + path + ": " +
                std::to_string(counted.size());
    }
    // The same lines as they stand in the file, with the lines between them,
    // from the one-character scan and the fast scans.
    for (const int k : {0, 1, 3}) {
      if (!Fault.empty()) break;
      const std::string fault = CheckInputLines(Greps[k], path, reference);
      if (!fault.empty()) Fault = std::string("input lines: ") + kNames[k] + ", pattern " + Described + ": " + fault;
    }
    if (reported != nullptr) *reported = reference;
    return Fault;
  }

  static constexpr int kScans = 4;
  TGrep Greps[kScans];  // OneCharacter, Fast, AutomatonOnly, Fast over a mapped file

 private:
  std::string Fault, Described;
};
