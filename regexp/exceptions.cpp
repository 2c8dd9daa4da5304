#include "exceptions.h"

#include "engine_messages.h"

EEndOfFile::EEndOfFile() : EInOutError(std::string(sjis_text::kMsgEndOfFile)) {}

ECancelRequest::ECancelRequest() : Exception(std::string(sjis_text::kMsgCancelled)) {}
