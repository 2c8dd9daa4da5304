// The lines of the result view, held as they came from the dictionaries:
// Shift-JIS bytes, each line with its keyword run, in one compact store
// that holds millions of lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/hits.h"

namespace hits {

// A line's keyword run: bytes [Start, Start + Length) of the line, looking
// like styles[Style].  A line without a run has Style kNoRun.
struct TLineRun {
  std::uint32_t Start = 0;
  std::uint32_t Length = 0;
  std::int32_t Style = -1;
};
inline constexpr std::int32_t kNoRun = -1;

class THitStore {
 public:
  THitStore() = default;
  ~THitStore() { Clear(); }
  THitStore(const THitStore&) = delete;
  THitStore& operator=(const THitStore&) = delete;

  // Removes every line and gives the memory back.
  void Clear();
  // Appends a line (without its line end) in the normal look.
  void AppendLine(std::string_view line);
  // Appends a line whose bytes [runStart, runStart + runLength) are its
  // keyword run in the given look; the run must lie within the line.
  void AppendHitLine(std::string_view line, std::size_t runStart, std::size_t runLength, const TKeywordStyle& style);
  // Hands back memory reserved for lines still to come.
  void Compact();

  std::int64_t LineCount() const { return static_cast<std::int64_t>(FLineCount); }
  // The bytes of line i, without its line end.
  std::string_view Line(std::int64_t i) const;
  // The position of line i's first byte; LineStart(LineCount()) is Size().
  std::int64_t LineStart(std::int64_t i) const;
  // The line that holds position; Size() and beyond give the last line.
  std::int64_t LineOf(std::int64_t position) const;
  TLineRun Run(std::int64_t i) const;
  const TKeywordStyle& Style(std::int32_t index) const { return FStyles.at(static_cast<std::size_t>(index)); }

  // All lines, each followed by "\n".
  std::string_view Text() const { return {FText.Data, FSize}; }
  std::int64_t Size() const { return static_cast<std::int64_t>(FSize); }
  // The length of the longest line, in bytes.
  std::size_t LongestLine() const { return FLongestLine; }
  // Bytes of memory the store holds.
  std::size_t MemoryUsed() const;

 private:
  // Pages of memory of their own, grown and shrunk by remapping.
  struct TPages {
    char* Data = nullptr;
    std::size_t Capacity = 0;
    void Reserve(std::size_t bytes);
    void Shrink(std::size_t bytes);
    void Release();
  };
  // One line in 16 bytes: its start (40 bits) and its look plus one (24
  // bits, 0 for none), the keyword run's start and length.
  struct TLine {
    std::uint64_t StartAndLook;
    std::uint32_t RunStart;
    std::uint32_t RunLength;
  };
  static constexpr int kStartBits = 40;
  const TLine& LineRecord(std::int64_t i) const;
  void Append(std::string_view line, std::uint32_t runStart, std::uint32_t runLength, std::int32_t style);
  std::int32_t StyleIndex(const TKeywordStyle& style);

  TPages FText;
  std::size_t FSize = 0;
  TPages FLines;
  std::size_t FLineCount = 0;
  std::vector<TKeywordStyle> FStyles;
  std::size_t FLongestLine = 0;
};

// Character boundaries of a Shift-JIS line, cut as the engine cuts it (a
// lead byte takes the next byte with it): the start of the character that
// holds byte `at` (at <= line.size()).  Reads back only to the last byte
// that cannot be a lead byte, so it is quick on long lines.
std::size_t CharStart(std::string_view line, std::size_t at);
// The first character boundary at or after at.
std::size_t NextCharStart(std::string_view line, std::size_t at);

}  // namespace hits
