// sjis_header: converts a UTF-8 table of named texts into a C++ header whose
// constants hold the texts as Shift-JIS (code page 932) bytes; or pairs the
// texts of such a table with their English texts from a parallel table.
//
//   sjis_header INPUT.txt OUTPUT.h
//   sjis_header --english ARRAY JAPANESE.txt ENGLISH.txt INCLUDE OUTPUT.h
//
// Input lines:   NAME = text up to the end of the line
// Blank lines and lines starting with '#' are skipped.  The text is taken
// verbatim (no escapes); leading and trailing blanks around it are dropped.
// Output:        inline constexpr std::string_view NAME{"\ooo...", n};
// or, with --english, after #include "INCLUDE" (the Japanese table's header):
//                inline constexpr std::pair<std::string_view, std::string_view>
//                    ARRAY[] = {{NAME, "English"}, ...};
// The English table must name the same texts, each in ASCII.  Every byte is
// written as a three-digit octal escape so that no byte can merge with the
// next one, whatever its value.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using TTable = std::vector<std::pair<std::string, std::string>>;  // name, UTF-8 text

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

TTable ReadTable(const char* path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open");
  TTable table;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    const std::string t = Trim(line);
    if (t.empty() || t[0] == '#') continue;
    const auto eq = t.find('=');
    if (eq == std::string::npos) throw std::runtime_error("line " + std::to_string(lineNo) + ": missing '='");
    table.emplace_back(Trim(t.substr(0, eq)), Trim(t.substr(eq + 1)));
  }
  return table;
}

std::string ToCp932(const std::string& utf8, const std::string& name) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open CP932 failed");
  std::string in = utf8;
  std::string out(in.size() * 2 + 8, '\0');
  char* inp = in.data();
  size_t inLeft = in.size();
  char* outp = out.data();
  size_t outLeft = out.size();
  const size_t rc = iconv(cd, &inp, &inLeft, &outp, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) throw std::runtime_error(name + ": text has no Shift-JIS form");
  out.resize(out.size() - outLeft);
  return out;
}

// A string literal of the bytes and their count: {"\ooo...", n}.
std::string Literal(const std::string& bytes) {
  std::string out = "{\"";
  for (unsigned char c : bytes) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\%03o", c);
    out += buf;
  }
  return out + "\", " + std::to_string(bytes.size()) + "}";
}

std::string Constants(const char* input) {
  std::ostringstream out;
  out << "// Generated from " << input << " by sjis_header; do not edit.\n"
      << "#pragma once\n#include <string_view>\n\nnamespace sjis_text {\n\n";
  for (const auto& [name, text] : ReadTable(input))
    out << "inline constexpr std::string_view " << name << Literal(ToCp932(text, name)) << ";\n";
  out << "\n}  // namespace sjis_text\n";
  return out.str();
}

std::set<std::string> Names(const TTable& table) {
  std::set<std::string> names;
  for (const auto& entry : table) names.insert(entry.first);
  return names;
}

std::string Pairs(const char* array, const char* japanese, const char* englishPath, const char* include) {
  const TTable english = ReadTable(englishPath);
  if (Names(english) != Names(ReadTable(japanese)))
    throw std::runtime_error(std::string("the names differ from those of ") + japanese);
  std::ostringstream out;
  out << "// Generated from " << englishPath << " by sjis_header; do not edit.\n"
      << "#pragma once\n#include <string_view>\n#include <utility>\n\n#include \"" << include << "\"\n\n"
      << "namespace sjis_text {\n\n"
      << "inline constexpr std::pair<std::string_view, std::string_view> " << array << "[] = {\n";
  for (const auto& [name, text] : english) {
    if (text.empty() || std::any_of(text.begin(), text.end(), [](char c) { return c < ' ' || c > '~'; }))
      throw std::runtime_error(name + ": an English text is plain ASCII");
    out << "    {" << name << ", std::string_view" << Literal(text) << "},\n";
  }
  out << "};\n\n}  // namespace sjis_text\n";
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  const bool english = argc == 7 && std::strcmp(argv[1], "--english") == 0;
  if (argc != 3 && !english) {
    std::cerr << "usage: sjis_header INPUT.txt OUTPUT.h\n"
              << "       sjis_header --english ARRAY JAPANESE.txt ENGLISH.txt INCLUDE OUTPUT.h\n";
    return 2;
  }
  const char* input = english ? argv[4] : argv[1];
  std::string header;
  try {
    header = english ? Pairs(argv[2], argv[3], argv[4], argv[5]) : Constants(input);
  } catch (const std::exception& e) {
    std::cerr << "sjis_header: " << input << ": " << e.what() << "\n";
    return 1;
  }
  std::ofstream o(argv[argc - 1], std::ios::binary);
  o << header;
  return o ? 0 : 1;
}
