#include "cli/binary.h"

namespace {

// GNU grep looks for a zero byte in the first buffer it reads.
constexpr std::size_t kBinaryProbe = 32768;

}  // namespace

std::size_t BinaryProbeBytes(TBinaryFiles mode) { return mode == TBinaryFiles::Text ? 0 : kBinaryProbe; }

TBinaryVerdict BinaryVerdict(TBinaryFiles mode, bool zero) {
  if (!zero || mode == TBinaryFiles::Text) return TBinaryVerdict::Text;
  return mode == TBinaryFiles::WithoutMatch ? TBinaryVerdict::Skip : TBinaryVerdict::Binary;
}
