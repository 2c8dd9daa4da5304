#include "sjis/exceptions.h"

#include "sjis/io_error.h"
#include "sjis/messages.h"

EInOutError::EInOutError(int error) : Exception(io_error::Reason(error)), Errno(error) {}

EEndOfFile::EEndOfFile() : EInOutError(std::string(sjis_text::kMsgEndOfFile)) {}

ECancelRequest::ECancelRequest() : Exception(std::string(sjis_text::kMsgCancelled)) {}

ELineTooLong::ELineTooLong(std::string fileName, bool outOfMemory)
    : EInOutError(std::string(outOfMemory ? sjis_text::kMsgLineOutOfMemory : sjis_text::kMsgLineTooLong)),
      FileName(std::move(fileName)) {}
