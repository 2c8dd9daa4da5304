#include "core/about.h"

#include <algorithm>

#include "kovalex_version.h"
#include "text/encoding.h"

namespace about {
namespace {

// A character's columns are the bytes of its Shift-JIS form.
std::size_t Columns(const std::u16string& line) { return encoding::EncodeSjisLossy(line).Bytes.size(); }

}  // namespace

std::u16string AboutText() {
  const std::string name = KOVALEX_WINDOW_PRODUCT " " KOVALEX_VERSION;
  return CentredLines({std::u16string(name.begin(), name.end()), u"", u"正規表現コンポーネント0.14"});
}

std::u16string CentredLines(const std::vector<std::u16string>& lines) {
  std::size_t widest = 0;
  for (const std::u16string& line : lines) widest = std::max(widest, Columns(line));
  std::u16string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += u'\n';
    if (!lines[i].empty()) text += std::u16string((widest - Columns(lines[i])) / 2, u' ') + lines[i];
  }
  return text;
}

}  // namespace about
