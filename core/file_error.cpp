#include "core/file_error.h"

#include <locale.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "core/texts.h"
#include "sjis/exceptions.h"
#include "text/encoding.h"

namespace file_error {
namespace {

// The Japanese wording (Shift-JIS) of the errors a user meets with files;
// empty for the others.
std::string_view JapaneseReason(int error) {
  switch (error) {
    case kNotRegularFile:
      return sjis_text::kReasonNotRegularFile;
    case ENOENT:
      return sjis_text::kReasonNotFound;
    case EACCES:
    case EPERM:
      return sjis_text::kReasonAccessDenied;
    case EISDIR:
      return sjis_text::kReasonIsDirectory;
    case ELOOP:
      return sjis_text::kReasonLinkLoop;
    case ENOTDIR:
      return sjis_text::kReasonNotDirectory;
    case ENAMETOOLONG:
      return sjis_text::kReasonNameTooLong;
    case EROFS:
      return sjis_text::kReasonReadOnly;
    case ENOSPC:
    case EDQUOT:
      return sjis_text::kReasonDiskFull;
    case EIO:
      return sjis_text::kReasonInputOutput;
    case ENOMEM:
      return sjis_text::kReasonNoMemory;
    case EMFILE:
    case ENFILE:
      return sjis_text::kReasonTooManyFiles;
    default:
      return {};
  }
}

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

// The C library's text in the C locale: plain ASCII.
std::string CText(int error) {
  if (CLocale() != static_cast<locale_t>(0)) return strerror_l(error, CLocale());
  return "error " + std::to_string(error);
}

// The C library's text in the user's locale, as Shift-JIS; the C locale's
// text when the locale's text is not UTF-8.
std::string LocaleText(int error) {
  char buffer[256];
  const std::string text = strerror_r(error, buffer, sizeof buffer);
  if (!encoding::IsValidUtf8(text)) return CText(error);
  return encoding::EncodeSjisLossy(encoding::Utf8ToUtf16(text)).Bytes;
}

// The error number whose C-locale text is message; 0 for none.
int ErrorOfCText(const std::string& message) {
  constexpr int kLastErrorNumber = 200;
  for (int error = 1; error <= kLastErrorNumber; ++error) {
    if (CText(error) == message) return error;
  }
  return 0;
}

}  // namespace

std::string Reason(int error) {
  if (const std::string_view japanese = JapaneseReason(error); !japanese.empty()) return std::string(japanese);
  return LocaleText(error);
}

std::string Message(const std::string& fileNameSjis, int error) { return fileNameSjis + ": " + Reason(error); }

std::string Message(const std::string& fileNameSjis, const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) return Message(fileNameSjis, ENOMEM);
  const std::string text = error.what();
  if (dynamic_cast<const EInOutError*>(&error) != nullptr) {
    if (const int number = ErrorOfCText(text)) return Message(fileNameSjis, number);
  }
  return fileNameSjis + ": " + text;
}

}  // namespace file_error
