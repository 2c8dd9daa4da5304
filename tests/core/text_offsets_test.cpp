// UTF-16 offsets of a hit store's text against the codec's own conversion
// of it, line by line, as the store grows and after it is cleared.
#include "core/text_offsets.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "sjis/sjis.h"
#include "text/encoding.h"

namespace {

// Random lines of ASCII, half-width katakana, lead and second bytes, some
// empty, some ending in a lone lead byte, now and then a long one.
std::string RandomLine(std::mt19937& random) {
  static const unsigned char bytes[] = {'a', ' ', 0xB1, 0x82, 0xA0, 0x88, 0x9F, 0x40, 0xE0, 0xFC, 0x7F, 0x81};
  const std::size_t length = random() % 16 == 0 ? 300 : random() % 12;
  std::string line;
  for (std::size_t i = 0; i < length; ++i) line += static_cast<char>(bytes[random() % std::size(bytes)]);
  return line;
}

// Every character boundary of the store's text with its UTF-16 offset, as
// the codec decodes each line (one unit a character) plus its line end.
std::vector<std::pair<std::int64_t, std::int64_t>> Boundaries(const hits::THitStore& store) {
  std::vector<std::pair<std::int64_t, std::int64_t>> result;
  std::int64_t offset = 0;
  for (std::int64_t line = 0; line < store.LineCount(); ++line) {
    const std::string_view bytes = store.Line(line);
    for (std::size_t byte = 0; byte < bytes.size(); byte += CharLength(bytes, byte)) {
      result.emplace_back(store.LineStart(line) + static_cast<std::int64_t>(byte), offset);
      offset += static_cast<std::int64_t>(encoding::SjisToUtf16(bytes.substr(byte, CharLength(bytes, byte))).size());
    }
    result.emplace_back(store.LineStart(line) + static_cast<std::int64_t>(bytes.size()), offset++);
  }
  result.emplace_back(store.Size(), offset);
  return result;
}

void ExpectOffsets(const hits::THitStore& store, hits::TTextOffsets& offsets) {
  const auto boundaries = Boundaries(store);
  EXPECT_EQ(offsets.Length(), boundaries.back().second);
  for (const auto& [position, offset] : boundaries) {
    ASSERT_EQ(offsets.OffsetOf(position), offset) << position;
    ASSERT_EQ(offsets.PositionOf(offset), position) << offset;
  }
  EXPECT_EQ(offsets.PositionOf(offsets.Length() + 5), store.Size());
}

}  // namespace

TEST(TextOffsetsTest, MatchTheCodecAsTheStoreGrows) {
  std::mt19937 random(25);
  hits::THitStore store;
  hits::TTextOffsets offsets(store);
  ExpectOffsets(store, offsets);  // empty
  // Asked between appends, across several marks and inside the last block.
  for (const int lines : {1, 63, 1, 200, 7}) {
    for (int i = 0; i < lines; ++i) store.AppendLine(RandomLine(random));
    ExpectOffsets(store, offsets);
  }
  store.Clear();
  offsets.Clear();
  for (int i = 0; i < 70; ++i) store.AppendLine(RandomLine(random));
  ExpectOffsets(store, offsets);
}
