#include "sjis/sjis.h"

#include "sjis/exceptions.h"
#include "sjis/messages.h"

TCharCode NextChar(const std::string& s, int& position) {
  const auto length = static_cast<int>(s.size());
  if (position > length) return 0;
  const auto b = static_cast<unsigned char>(s[position - 1]);
  if (IsDBCSLeadByte(b)) {
    if (position == length)
      throw ERegExpParser(std::string(sjis_text::kMsgBadDoubleByte), static_cast<std::uint16_t>(position));
    const auto trail = static_cast<unsigned char>(s[position]);
    position += 2;
    return static_cast<TCharCode>(b << 8 | trail);
  }
  position += 1;
  return b;
}

bool IsLeadByteInContext(const std::string& s, std::size_t i) {
  for (std::size_t k = 0; k < s.size(); ++k) {
    // A zero byte is an ordinary character, not the end of the string.
    const auto b = static_cast<unsigned char>(s[k]);
    const bool lead = IsDBCSLeadByte(b);
    if (k == i) return lead;
    if (lead) ++k;  // the next byte is a trail byte, whatever it is
    if (k == i) return false;
  }
  return false;
}

void UngetChar(const std::string& s, int& position) {
  if (position >= 3 && IsLeadByteInContext(s, static_cast<std::size_t>(position - 3)))
    position -= 2;
  else if (position > 1)
    position -= 1;
}

void AppendCode(std::string& s, TCharCode code) {
  if (code > 0xFF) s.push_back(static_cast<char>(code >> 8));
  s.push_back(static_cast<char>(code & 0xFF));
}

namespace {

template <class Convert>
std::string MapAsciiLetters(std::string_view s, Convert convert) {
  std::string result(s);
  for (std::size_t i = 0; i < result.size(); ++i) {
    const auto b = static_cast<unsigned char>(result[i]);
    if (IsDBCSLeadByte(b))
      ++i;
    else
      result[i] = static_cast<char>(convert(b));
  }
  return result;
}

}  // namespace

std::string AsciiLowerSjis(std::string_view s) {
  return MapAsciiLetters(s, [](unsigned char b) { return b >= 'A' && b <= 'Z' ? b + 32 : b; });
}

std::string AsciiUpperSjis(std::string_view s) {
  return MapAsciiLetters(s, [](unsigned char b) { return b >= 'a' && b <= 'z' ? b - 32 : b; });
}
