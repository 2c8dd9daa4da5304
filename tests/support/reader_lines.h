// The lines of a file as the text file reader presents them, cut here
// independently of the reader, so that tests and fuzz targets can check the
// lines and numbers it reports.
#pragma once

#include <string>
#include <vector>

#include "grep/blockbuffer.h"
#include "sjis/sjis.h"

// CR LF and a lone CR end a line as a line feed does, a zero byte reads as a
// space, and a last line without line end counts.  With loneLeadBytes
// (TReadOptions::LoneLeadBytes) a lead byte that ends a line reads as
// kLoneLeadByte.
inline std::vector<std::string> ReaderLines(const std::string& bytes, bool loneLeadBytes = false) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      lines.push_back(std::move(line));
      line.clear();
    } else {
      line.push_back(c == '\0' ? ' ' : c);
    }
  }
  if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') lines.push_back(std::move(line));
  if (loneLeadBytes)
    for (std::string& l : lines)
      if (EndsInLoneLeadByte(l)) l.back() = static_cast<char>(kLoneLeadByte);
  return lines;
}
