#include "core/hitstore.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "sjis/sjis.h"

// All lines live in one byte buffer, each followed by a line feed, so that
// the buffer is the view's whole text and a position in the view is a byte
// index into it (a double-byte character counts 2, as everywhere else).
// Beside the buffer, one small record per line gives where the line starts
// and its keyword run; the looks of the runs (colour and style flags) are
// kept once each in a short table the records point into.
//
// The buffer and the records are pages of their own, grown by remapping
// (never copied) and given back to the system at once when the view is
// cleared, so that the store costs little more than the text itself.

namespace hits {

namespace {

constexpr std::size_t kPage = 4096;

std::size_t RoundToPages(std::size_t bytes) { return (bytes + kPage - 1) / kPage * kPage; }

}  // namespace

void THitStore::TPages::Reserve(std::size_t bytes) {
  if (bytes <= Capacity) return;
  // Growing by a quarter keeps the slack small; remapping moves the pages
  // without copying them, so growing often costs little.
  const std::size_t capacity = RoundToPages(std::max({bytes, Capacity + Capacity / 4, std::size_t{1} << 16}));
  void* grown = Data == nullptr ? mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                                : mremap(Data, Capacity, capacity, MREMAP_MAYMOVE);
  if (grown == MAP_FAILED) throw std::bad_alloc();
  Data = static_cast<char*>(grown);
  Capacity = capacity;
}

void THitStore::TPages::Shrink(std::size_t bytes) {
  const std::size_t capacity = RoundToPages(bytes);
  if (Data == nullptr || capacity >= Capacity || capacity == 0) return;
  void* shrunk = mremap(Data, Capacity, capacity, 0);
  if (shrunk == MAP_FAILED) return;  // keeps the larger block
  Capacity = capacity;
}

void THitStore::TPages::Release() {
  if (Data != nullptr) munmap(Data, Capacity);
  Data = nullptr;
  Capacity = 0;
}

void THitStore::Clear() {
  FText.Release();
  FSize = 0;
  FLines.Release();
  FLineCount = 0;
  FStyles.clear();
  FLongestLine = 0;
}

void THitStore::Compact() {
  FText.Shrink(FSize);
  FLines.Shrink(FLineCount * sizeof(TLine));
}

void THitStore::Append(std::string_view line, std::uint32_t runStart, std::uint32_t runLength, std::int32_t style) {
  if (line.size() >= UINT32_MAX) throw std::length_error("line too long for the result view");
  if (FSize + line.size() + 1 >= (std::uint64_t{1} << kStartBits)) throw std::length_error("result view full");
  FText.Reserve(FSize + line.size() + 1);
  FLines.Reserve((FLineCount + 1) * sizeof(TLine));
  const auto look = static_cast<std::uint64_t>(style + 1);
  auto* record = reinterpret_cast<TLine*>(FLines.Data) + FLineCount;
  *record = TLine{static_cast<std::uint64_t>(FSize) | look << kStartBits, runStart, runLength};
  ++FLineCount;
  std::memcpy(FText.Data + FSize, line.data(), line.size());
  FSize += line.size();
  FText.Data[FSize++] = '\n';
  FLongestLine = std::max(FLongestLine, line.size());
}

void THitStore::AppendLine(std::string_view line) { Append(line, 0, 0, kNoRun); }

void THitStore::AppendHitLine(std::string_view line, std::size_t runStart, std::size_t runLength,
                              const TKeywordStyle& style) {
  if (runStart > line.size() || runLength > line.size() - runStart) throw std::out_of_range("run outside its line");
  Append(line, static_cast<std::uint32_t>(runStart), static_cast<std::uint32_t>(runLength), StyleIndex(style));
}

std::int32_t THitStore::StyleIndex(const TKeywordStyle& style) {
  // The look rarely changes during a search: the last one is the usual hit.
  if (!FStyles.empty() && FStyles.back() == style) return static_cast<std::int32_t>(FStyles.size() - 1);
  const auto found = std::find(FStyles.begin(), FStyles.end(), style);
  if (found != FStyles.end()) return static_cast<std::int32_t>(found - FStyles.begin());
  FStyles.push_back(style);
  return static_cast<std::int32_t>(FStyles.size() - 1);
}

const THitStore::TLine& THitStore::LineRecord(std::int64_t i) const {
  if (i < 0 || static_cast<std::size_t>(i) >= FLineCount) throw std::out_of_range("no such line in the result view");
  return reinterpret_cast<const TLine*>(FLines.Data)[i];
}

std::string_view THitStore::Line(std::int64_t i) const {
  const auto start = static_cast<std::size_t>(LineStart(i));
  const auto end = static_cast<std::size_t>(LineStart(i + 1)) - 1;
  return {FText.Data + start, end - start};
}

std::int64_t THitStore::LineStart(std::int64_t i) const {
  if (i >= LineCount()) return Size();
  return static_cast<std::int64_t>(LineRecord(i).StartAndLook & ((std::uint64_t{1} << kStartBits) - 1));
}

std::int64_t THitStore::LineOf(std::int64_t position) const {
  if (FLineCount == 0 || position <= 0) return 0;
  // The last line whose start is at or before position.
  std::int64_t low = 0;
  std::int64_t high = LineCount() - 1;
  while (low < high) {
    const std::int64_t middle = low + (high - low + 1) / 2;
    if (LineStart(middle) <= position) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return low;
}

TLineRun THitStore::Run(std::int64_t i) const {
  const TLine& record = LineRecord(i);
  return TLineRun{record.RunStart, record.RunLength, static_cast<std::int32_t>(record.StartAndLook >> kStartBits) - 1};
}

std::size_t THitStore::MemoryUsed() const {
  return FText.Capacity + FLines.Capacity + FStyles.capacity() * sizeof(TKeywordStyle);
}

std::size_t CharStart(std::string_view line, std::size_t at) {
  if (at >= line.size()) return line.size();
  // A place that does not start a character holds the second byte of the
  // pair that starts one byte before.
  return TCharacterStarts(reinterpret_cast<const unsigned char*>(line.data())).At(at) ? at : at - 1;
}

std::size_t NextCharStart(std::string_view line, std::size_t at) {
  const std::size_t start = CharStart(line, at);
  if (start == at || at >= line.size()) return std::min(at, line.size());
  return std::min(start + 2, line.size());
}

}  // namespace hits
