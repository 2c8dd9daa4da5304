#include "cli/charset.h"

#include <langinfo.h>
#include <strings.h>

#include "text/encoding.h"

TCharset LocaleCharset() {
  const char* codeset = nl_langinfo(CODESET);
  if (codeset == nullptr) return TCharset::Other;
  for (const char* name : {"UTF-8", "UTF8"})
    if (strcasecmp(codeset, name) == 0) return TCharset::Utf8;
  for (const char* name : {"SHIFT_JIS", "SJIS", "SHIFT-JIS", "CP932", "WINDOWS-31J", "MS_KANJI"})
    if (strcasecmp(codeset, name) == 0) return TCharset::Sjis;
  return TCharset::Other;
}

std::string PatternToSjis(const std::string& pattern, TCharset charset) {
  if (charset == TCharset::Sjis) return pattern;
  if (charset == TCharset::Other && !encoding::IsValidUtf8(pattern)) return pattern;
  return encoding::Utf8ToSjis(pattern);
}

std::string MessageForTerminal(std::string_view sjis, TCharset charset) {
  return charset == TCharset::Sjis ? std::string(sjis) : encoding::SjisToUtf8(sjis);
}
