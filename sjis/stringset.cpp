#include "sjis/stringset.h"

#include "sjis/bytescan_impl.h"
#include "sjis/sjis.h"

// In sorted order, neighbours often share their first bytes: a bucket of
// such strings in the few-string pass lets few other byte combinations
// through.
TStringSet::TStringSet(const std::vector<std::string>& unsorted, bool foldCase, bool asRead) {
  std::vector<std::string> strings = unsorted;
  std::sort(strings.begin(), strings.end());
  FShortest = strings.front().size();
  for (const std::string& s : strings) {
    TSetString string{s, std::string(s.size(), '\0')};
    for (std::size_t i = 0; i < s.size();) {
      const auto b = static_cast<unsigned char>(s[i]);
      if (IsDBCSLeadByte(b)) {
        i += 2;
        continue;
      }
      string.Ignored[i] = static_cast<char>(bytescan::IgnoredBits(s[i], foldCase, asRead));
      i += 1;
    }
    const std::size_t keyBytes = std::min<std::size_t>(s.size(), 8);
    string.Mask = keyBytes == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * keyBytes)) - 1;
    string.Fold = multisearch::LoadShort64(string.Ignored.data(), keyBytes);
    string.Key = multisearch::LoadShort64(s.data(), keyBytes) | string.Fold;
    string.Whole = s.size() <= 8;
    FStrings.push_back(std::move(string));
    FShortest = std::min(FShortest, s.size());
  }
}
