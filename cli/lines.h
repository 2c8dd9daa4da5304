// Lines as kovagrep prints them: the bytes of a line without its line end,
// and the line end as it stands in the input; and the cutting of whole lines
// that the grep hands out (grep.h, TInputLines) into such lines.
//
// Lines are cut as the engine's reader cuts them (a line feed, CR LF or a
// lone CR ends a line), so that the numbers the grep gives name the same
// lines here.  Nothing is rewritten: CR LF and zero bytes stay as they are
// in the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// A read error of kovagrep's own reading (-z); Error is the errno value.
struct TReadError {
  int Error;
};

// One line: its bytes without the line end, and the line end as it stands
// ("\n", "\r\n", "\r", or empty for a last line without one).
struct TRawLine {
  std::string_view Text;
  std::string_view End;
};

// Cuts bytes that hold whole lines into lines.
class TLineCutter {
 public:
  explicit TLineCutter(std::string_view bytes) : FBytes(bytes) {}
  bool AtEnd() const { return FPos >= FBytes.size(); }
  std::size_t Position() const { return FPos; }
  TRawLine Next();
  // Passes over up to n lines at once where the bytes allow counting line
  // feeds in bulk; returns the number passed (fewer only at the end).
  std::int64_t Skip(std::int64_t n);

 private:
  std::string_view FBytes;
  std::size_t FPos = 0;
};
