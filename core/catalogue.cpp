#include "core/catalogue.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "text/encoding.h"

namespace catalogue {
namespace {

// Folds ASCII and full-width Latin capitals to small letters.
char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c - u'A' + u'a');
  if (c >= u'Ａ' && c <= u'Ｚ') return static_cast<char16_t>(c - u'Ａ' + u'ａ');
  return c;
}

std::u16string Folded(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out) c = FoldCase(c);
  return out;
}

// Wildcard match of folded texts.  On a mismatch only the last "*" needs to
// take one more character: any earlier star's choice cannot help.
bool Glob(std::u16string_view name, std::u16string_view mask) {
  std::size_t n = 0, m = 0;
  std::size_t starMask = std::u16string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == u'*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == u'?' || mask[m] == name[n])) {
      ++m, ++n;
    } else if (starMask != std::u16string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*') ++m;
  return m == mask.size();
}

}  // namespace

const TDictionaryInfo& Dictionary(int number) {
  if (number < 1 || number > kDictionaryCount) throw std::out_of_range("dictionary number out of range");
  return kDictionaries[static_cast<std::size_t>(number - 1)];
}

bool MatchesMask(std::u16string_view name, std::u16string_view mask) {
  const std::u16string n = Folded(name);
  const std::u16string m = Folded(mask);
  if (Glob(n, m)) return true;
  if (m.size() >= 2 && m.compare(m.size() - 2, 2, u".*") == 0 && n.find(u'.') == std::u16string::npos) {
    return Glob(n, std::u16string_view(m).substr(0, m.size() - 2));
  }
  return false;
}

bool FileNameLess(const std::string& a, const std::string& b) {
  const std::u16string fa = Folded(DisplayFileName(a));
  const std::u16string fb = Folded(DisplayFileName(b));
  if (fa != fb) return fa < fb;
  return a < b;
}

TFoundDictionaries FindDictionaries(const std::string& directory) {
  namespace fs = std::filesystem;
  TFoundDictionaries found;
  std::array<std::u16string, kDictionaryCount> masks;
  for (std::size_t d = 0; d < masks.size(); ++d) masks[d] = encoding::Utf8ToUtf16(kDictionaries[d].FileMask);

  std::error_code ec;
  fs::directory_iterator it(directory.empty() ? fs::path(".") : fs::path(directory), ec);
  if (ec) return found;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const fs::directory_entry& entry = *it;
    std::error_code statError;
    if (!fs::is_regular_file(fs::status(entry.path(), statError))) continue;
    const std::string name = entry.path().filename().native();
    const std::u16string text = DisplayFileName(name);
    for (std::size_t d = 0; d < masks.size(); ++d) {
      const bool matches = kDictionaries[d].FixedName ? Folded(text) == Folded(masks[d]) : MatchesMask(text, masks[d]);
      if (matches) found[d].Files.push_back(name);
    }
  }
  for (std::size_t d = 0; d < found.size(); ++d) {
    std::vector<std::string>& files = found[d].Files;
    std::sort(files.begin(), files.end(), FileNameLess);
    if (kDictionaries[d].FixedName && files.size() > 1) files.resize(1);
    found[d].Available = !files.empty();
  }
  return found;
}

std::u16string DisplayFileName(const std::string& onDiskName) { return encoding::FileNameToUtf16(onDiskName); }

std::string FileNameAsSjis(const std::string& onDiskName) { return encoding::FileNameToSjis(onDiskName); }

}  // namespace catalogue
