#include "core/file_error.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "core/texts.h"
#include "sjis/exceptions.h"
#include "sjis/io_error.h"
#include "text/encoding.h"

namespace file_error {
namespace {

// The C library's text in the user's locale, as Shift-JIS; the C locale's
// text when the locale's text is not UTF-8.
std::string LocaleText(int error) {
  char buffer[256];
  const std::string text = strerror_r(error, buffer, sizeof buffer);
  if (!encoding::IsValidUtf8(text)) return io_error::Reason(error);
  return encoding::EncodeSjisLossy(encoding::Utf8ToUtf16(text)).Bytes;
}

}  // namespace

std::string Reason(int error) {
  if (const std::string_view japanese = io_error::JapaneseReason(error); !japanese.empty())
    return std::string(japanese);
  return LocaleText(error);
}

std::string Message(const std::string& fileNameSjis, int error) { return fileNameSjis + ": " + Reason(error); }

std::string Message(const std::string& fileNameSjis, const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) return Message(fileNameSjis, ENOMEM);
  if (const auto* io = dynamic_cast<const EInOutError*>(&error); io != nullptr && io->Errno != 0)
    return Message(fileNameSjis, io->Errno);
  return fileNameSjis + ": " + error.what();
}

void ThrowCannotWrite(const std::string& path, int error) {
  std::string message = encoding::FileNameToSjis(path) + " " + std::string(sjis_text::kTextCannotWrite);
  if (error != 0) message += " (" + Reason(error) + ")";
  throw Exception(message);
}

}  // namespace file_error
