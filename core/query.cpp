#include "core/query.h"

#include "core/texts.h"
#include "sjis/sjis.h"

namespace query {
namespace {

constexpr std::size_t kTailLimit = 255;
constexpr char kWildcard[] = "[A-Za-z0-9%]*";

// The byte index of the first single-byte "@" at or after from (which must be
// a character boundary), stepping over double-byte characters whole; npos
// when there is none.
std::size_t FindAt(const std::string& s, std::size_t from) {
  for (std::size_t i = from; i < s.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<unsigned char>(s[i]))) {
      ++i;
    } else if (s[i] == '@') {
      return i;
    }
  }
  return std::string::npos;
}

// The byte index of the first "@" that is directly followed by another "@".
std::size_t FindDoubleAt(const std::string& s) {
  for (std::size_t i = FindAt(s, 0); i != std::string::npos; i = FindAt(s, i + 1)) {
    if (i + 1 < s.size() && s[i + 1] == '@') return i;
  }
  return std::string::npos;
}

}  // namespace

// The search pattern is the query with the "@" wildcard expanded; the grep
// scans the dictionary files with it.  The keyword pattern decides whether a
// reported line is a hit and where its keyword lies: for a whole-word search
// it is the search pattern between the word prefix and the word suffix,
// otherwise the search pattern itself.  All texts are Shift-JIS bytes.
std::string TransformQuery(const std::string& sjisQuery) {
  const std::size_t doubleAt = FindDoubleAt(sjisQuery);
  if (doubleAt != std::string::npos) {
    return sjisQuery.substr(0, doubleAt) + sjisQuery.substr(doubleAt + 1, kTailLimit);
  }
  std::string text = sjisQuery;
  // The wildcard holds no "@", so the search can go on after it.
  for (std::size_t at = FindAt(text, 0); at != std::string::npos; at = FindAt(text, at + sizeof kWildcard - 1)) {
    text = text.substr(0, at) + kWildcard + text.substr(at + 1, kTailLimit);
  }
  return text;
}

std::string WordPrefix() { return std::string(sjis_text::kQueryWordPrefix); }

std::string WordSuffix() { return std::string(sjis_text::kQueryWordSuffix); }

std::string KeywordPattern(const std::string& searchPattern, bool wordSearch) {
  return wordSearch ? WordPrefix() + searchPattern + WordSuffix() : searchPattern;
}

}  // namespace query
