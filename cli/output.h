// Standard output as kovagrep writes it: its own buffer written with
// write(2), so that a write error (a full disk, a closed pipe when SIGPIPE is
// ignored) is seen at once; lines in UTF-8 or as raw Shift-JIS; the prefixes
// and colours of GNU grep.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// A failed write; Error is the errno value.
struct TWriteError {
  int Error;
};

// SGR sequences of GNU grep's GREP_COLORS capabilities, with its defaults,
// and its two flags.
struct TColours {
  std::string SelectedMatch = "01;31";  // ms
  std::string ContextMatch = "01;31";   // mc
  std::string SelectedLine;             // sl: the rest of a selected line
  std::string ContextLine;              // cx: the rest of a context line
  std::string FileName = "35";          // fn
  std::string LineNumber = "32";        // ln
  std::string ByteOffset = "32";        // bn
  std::string Separator = "36";         // se
  bool Reverse = false;                 // rv: with -v, sl and cx change places
  bool NoErase = false;                 // ne: no "erase to the line's end" after a colour
  // Reads GREP_COLORS ("ms=01;31:fn=35:rv:..."; "mt" sets ms and mc).
  void Parse(const char* spec);
};

class TOutput {
 public:
  TOutput(bool rawSjis, bool lineBuffered, const TColours* colours);
  ~TOutput();

  void Bytes(std::string_view bytes);
  // Text of a line (Shift-JIS), converted unless the output is raw.
  void Text(std::string_view sjis);
  // Text in a colour (none when colours are off or the SGR is empty).
  void Coloured(std::string_view sjis, const std::string& sgr, bool convert);
  // The start of a colour alone, which the end of the next colour ends.
  void SgrStart(const std::string& sgr);
  // The end of an output line: the line's own end in raw output (a missing
  // one becomes a line feed), else a line feed, or always the given end
  // when verbatim; flushes when line-buffered.
  void EndLine(std::string_view rawEnd = "\n", bool verbatim = false);
  void Flush();

  bool RawSjis() const { return FRawSjis; }
  const TColours* Colours() const { return FColours; }

 private:
  char* Room(std::size_t bytes);
  void Drain();

  bool FRawSjis;
  bool FLineBuffered;
  const TColours* FColours;
  std::unique_ptr<char[]> FBuffer;
  std::size_t FUsed = 0;
  std::size_t FCapacity;
};
