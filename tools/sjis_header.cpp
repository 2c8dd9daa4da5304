// sjis_header: converts a UTF-8 table of named texts into a C++ header whose
// constants hold the texts as Shift-JIS (code page 932) bytes.
//
// Input lines:   NAME = text up to the end of the line
// Blank lines and lines starting with '#' are skipped.  The text is taken
// verbatim (no escapes); leading and trailing blanks around it are dropped.
// Output:        inline constexpr std::string_view NAME{"\ooo...", n};
// Every byte is written as a three-digit octal escape so that no byte can
// merge with the next one, whatever its value.
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

std::string ToCp932(const std::string& utf8, int lineNo) {
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
  if (rc == static_cast<size_t>(-1))
    throw std::runtime_error("line " + std::to_string(lineNo) + ": text has no Shift-JIS form");
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: sjis_header INPUT.txt OUTPUT.h\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "sjis_header: cannot open " << argv[1] << "\n";
    return 2;
  }
  std::ostringstream out;
  out << "// Generated from " << argv[1] << " by sjis_header; do not edit.\n"
      << "#pragma once\n#include <string_view>\n\nnamespace sjis_text {\n\n";
  std::string line;
  int lineNo = 0;
  try {
    while (std::getline(in, line)) {
      ++lineNo;
      const std::string t = Trim(line);
      if (t.empty() || t[0] == '#') continue;
      const auto eq = t.find('=');
      if (eq == std::string::npos) throw std::runtime_error("line " + std::to_string(lineNo) + ": missing '='");
      const std::string name = Trim(t.substr(0, eq));
      const std::string bytes = ToCp932(Trim(t.substr(eq + 1)), lineNo);
      out << "inline constexpr std::string_view " << name << "{\"";
      for (unsigned char c : bytes) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\%03o", c);
        out << buf;
      }
      out << "\", " << bytes.size() << "};\n";
    }
  } catch (const std::exception& e) {
    std::cerr << argv[1] << ": " << e.what() << "\n";
    return 1;
  }
  out << "\n}  // namespace sjis_text\n";
  std::ofstream o(argv[2], std::ios::binary);
  o << out.str();
  return o ? 0 : 1;
}
