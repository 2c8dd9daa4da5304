#include "sjis/io_error.h"

#include <locale.h>

#include <cerrno>
#include <cstring>

#include "sjis/messages.h"

namespace io_error {

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

std::string Reason(int error) {
  if (const std::string_view japanese = JapaneseReason(error); !japanese.empty()) return std::string(japanese);
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  if (cLocale != static_cast<locale_t>(0)) return strerror_l(error, cLocale);
  return "I/O error " + std::to_string(error);
}

}  // namespace io_error
