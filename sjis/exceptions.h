// The engine's exception types.  Every message is Shift-JIS text, like every
// other string of the engine; front ends convert it for display.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

// The general exception: a message and nothing else.  Internal consistency
// failures of the engine are raised as this type.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const char* what() const noexcept override { return FMessage.c_str(); }
  const std::string& Message() const noexcept { return FMessage; }

 private:
  std::string FMessage;
};

// A pattern that cannot be compiled, or a string that ends in a lone lead
// byte.  Position is the 1-based byte position at which the problem was found,
// kept modulo 65536 as the scanner reports it.
class ERegExpParser : public Exception {
 public:
  ERegExpParser(std::string message, std::uint16_t position) : Exception(std::move(message)), Position(position) {}
  int Position;
};

// Input/output failures.  Errno is the error number behind the failure, 0
// when there is none (a file that shrank while read, the end of a file); the
// message is then io_error::Reason(Errno) (sjis/io_error.h).
class EInOutError : public Exception {
 public:
  explicit EInOutError(int error);
  explicit EInOutError(std::string message) : Exception(std::move(message)) {}
  int Errno = 0;
};

// The end of a file; also raised by an OnMatch handler to end a scan early.
class EEndOfFile : public EInOutError {
 public:
  EEndOfFile();
  using EInOutError::EInOutError;
};

// A file that cannot be opened; Errno and the message say why.
class EFileNotFound : public EInOutError {
 public:
  using EInOutError::EInOutError;
};

// A line that does not fit in memory, or is longer than the bound the
// reader was given.  The message says which; FileName names the file (as its
// caller named it), which the message leaves out like the reader's other
// messages, for the caller to put in front.
class ELineTooLong : public EInOutError {
 public:
  ELineTooLong(std::string fileName, bool outOfMemory);
  std::string FileName;
};

// The caller's cancel flag was found set.
class ECancelRequest : public Exception {
 public:
  ECancelRequest();
};
