// What a grep reports of a file (line numbers and texts), collected so that
// tests and fuzz targets can compare scans with each other and with the
// file's lines.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "grep.h"
#include "sjis_literals.h"

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
