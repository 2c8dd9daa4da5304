#include "core/hitstore.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include "sjis.h"

namespace hits {

THitStore::~THitStore() { std::free(FText); }

void THitStore::Clear() {
  std::free(FText);
  FText = nullptr;
  FSize = 0;
  FCapacity = 0;
  std::vector<TLine>().swap(FLines);
  FStyles.clear();
  FLongestLine = 0;
}

void THitStore::Reserve(std::size_t bytes) {
  if (bytes <= FCapacity) return;
  // Growing by a quarter keeps the slack small; realloc moves a large block
  // by remapping its pages, so growing often costs little.
  const std::size_t capacity = std::max({bytes, FCapacity + FCapacity / 4, std::size_t{1} << 16});
  void* grown = std::realloc(FText, capacity);
  if (grown == nullptr) throw std::bad_alloc();
  FText = static_cast<char*>(grown);
  FCapacity = capacity;
}

void THitStore::Compact() {
  if (FCapacity > FSize && FSize > 0) {
    if (void* shrunk = std::realloc(FText, FSize); shrunk != nullptr) {
      FText = static_cast<char*>(shrunk);
      FCapacity = FSize;
    }
  }
  FLines.shrink_to_fit();
}

void THitStore::Append(std::string_view line, TLineRun run) {
  if (line.size() > UINT32_MAX) throw std::length_error("line too long for the result view");
  Reserve(FSize + line.size() + 1);
  if (FLines.size() == FLines.capacity()) FLines.reserve(FLines.size() + FLines.size() / 4 + 1024);
  FLines.push_back({FSize, run});
  std::memcpy(FText + FSize, line.data(), line.size());
  FSize += line.size();
  FText[FSize++] = '\n';
  FLongestLine = std::max(FLongestLine, line.size());
}

void THitStore::AppendLine(std::string_view line) { Append(line, TLineRun{}); }

void THitStore::AppendHitLine(std::string_view line, std::size_t runStart, std::size_t runLength,
                              const TKeywordStyle& style) {
  if (runStart > line.size() || runLength > line.size() - runStart) throw std::out_of_range("run outside its line");
  Append(line,
         TLineRun{static_cast<std::uint32_t>(runStart), static_cast<std::uint32_t>(runLength), StyleIndex(style)});
}

std::int32_t THitStore::StyleIndex(const TKeywordStyle& style) {
  // The look rarely changes during a search: the last one is the usual hit.
  if (!FStyles.empty() && FStyles.back() == style) return static_cast<std::int32_t>(FStyles.size() - 1);
  const auto found = std::find(FStyles.begin(), FStyles.end(), style);
  if (found != FStyles.end()) return static_cast<std::int32_t>(found - FStyles.begin());
  FStyles.push_back(style);
  return static_cast<std::int32_t>(FStyles.size() - 1);
}

std::string_view THitStore::Line(std::int64_t i) const {
  const auto start = static_cast<std::size_t>(LineStart(i));
  const auto end = static_cast<std::size_t>(LineStart(i + 1)) - 1;
  return {FText + start, end - start};
}

std::int64_t THitStore::LineStart(std::int64_t i) const {
  if (i >= LineCount()) return Size();
  return static_cast<std::int64_t>(FLines.at(static_cast<std::size_t>(i)).Start);
}

std::int64_t THitStore::LineOf(std::int64_t position) const {
  if (FLines.empty() || position <= 0) return 0;
  const auto after = std::upper_bound(FLines.begin(), FLines.end(), static_cast<std::uint64_t>(position),
                                      [](std::uint64_t p, const TLine& line) { return p < line.Start; });
  return static_cast<std::int64_t>(after - FLines.begin()) - 1;
}

TLineRun THitStore::Run(std::int64_t i) const { return FLines.at(static_cast<std::size_t>(i)).Run; }

std::size_t THitStore::MemoryUsed() const {
  return FCapacity + FLines.capacity() * sizeof(TLine) + FStyles.capacity() * sizeof(TKeywordStyle);
}

std::size_t CharStart(std::string_view line, std::size_t at) {
  at = std::min(at, line.size());
  // A byte that cannot be a lead byte ends a character, whether it stands
  // alone or is the second byte of a pair: walk on from the one before at.
  std::size_t i = at;
  while (i > 0 && IsDBCSLeadByte(static_cast<unsigned char>(line[i - 1]))) --i;
  // line[i - 1] (if any) ends a character; walk the characters up to at.
  while (i < at) {
    const std::size_t next = IsDBCSLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size() ? i + 2 : i + 1;
    if (next > at) return i;
    i = next;
  }
  return i;
}

std::size_t NextCharStart(std::string_view line, std::size_t at) {
  const std::size_t start = CharStart(line, at);
  if (start == at || at >= line.size()) return std::min(at, line.size());
  return std::min(start + 2, line.size());
}

}  // namespace hits
