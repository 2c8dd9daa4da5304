// The lines of a file as the text file reader presents them, cut here
// independently of the reader, so that tests and fuzz targets can check the
// lines and numbers it reports.
#pragma once

#include <string>
#include <vector>

// CR LF and a lone CR end a line as a line feed does, a zero byte reads as a
// space, and a last line without line end counts.
inline std::vector<std::string> ReaderLines(const std::string& bytes) {
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
  return lines;
}
