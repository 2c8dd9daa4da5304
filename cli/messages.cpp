#include "cli/messages.h"

#include <cstdlib>
#include <cstring>
#include <span>

#include "regexp/messages_en.h"
#include "sjis/messages_en.h"
#include "text/messages_en.h"

namespace {

using TEnglishTable = std::span<const std::pair<std::string_view, std::string_view>>;

// The English text of one engine text; empty when it has none.
std::string_view English(std::string_view sjis) {
  for (const TEnglishTable table : {TEnglishTable(sjis_text::kSjisEnglish), TEnglishTable(sjis_text::kRegexpEnglish),
                                    TEnglishTable(sjis_text::kTextEnglish)})
    for (const auto& [japanese, english] : table)
      if (japanese == sjis) return english;
  return {};
}

bool IsAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

namespace {
std::string& StoredProgramName() {
  static std::string name = "kovagrep";
  return name;
}
}  // namespace

void SetProgramName(const char* argv0) {
  std::string_view name = argv0 == nullptr ? "" : argv0;
  while (name.size() > 1 && name.back() == '/') name.remove_suffix(1);
  if (const std::size_t slash = name.rfind('/'); slash != std::string_view::npos && name.size() > 1)
    name.remove_prefix(slash + 1);
  if (!name.empty()) StoredProgramName() = std::string(name);
}

const std::string& ProgramName() { return StoredProgramName(); }

TLanguage MessageLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    return std::strncmp(value, "ja", 2) == 0 && (value[2] == '\0' || value[2] == '_' || value[2] == '.')
               ? TLanguage::Japanese
               : TLanguage::English;
  }
  return TLanguage::English;
}

std::string EngineMessage(std::string_view sjis, TLanguage language, TCharset charset) {
  if (language == TLanguage::English) {
    if (const std::string_view whole = English(sjis); !whole.empty()) return std::string(whole);
    std::string text;
    bool translated = true;
    for (std::size_t start = 0; translated && start <= sjis.size();) {
      const std::size_t space = std::min(sjis.find(' ', start), sjis.size());
      const std::string_view part = sjis.substr(start, space - start);
      const std::string_view english = English(part);
      translated = !english.empty() || IsAscii(part);
      text += std::string(english.empty() ? part : english) + (space < sjis.size() ? " " : "");
      start = space + 1;
    }
    if (translated) return text;
  }
  return MessageForTerminal(sjis, charset);
}
