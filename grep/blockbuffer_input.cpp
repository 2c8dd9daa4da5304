// What the block buffer keeps of the input for a reader that hands lines out
// as they stand there (TReadOptions::KeepInputBytes): the edits that
// cleaning makes, noted before it makes them; and the rewriting of lone lead
// bytes (TReadOptions::LoneLeadBytes), a block at a time.
//
// A lead byte is lone when a line end follows it where its second byte would
// stand.  Which bytes are lead bytes is read from a known character start:
// a byte that cannot be a lead byte ends a character, and so does a line
// feed; the bytes after it that can be lead bytes pair up, so an odd run of
// them before a line end leaves the last one alone.  A block starts at a
// character start, or on the second byte of a lead byte that ended the block
// before; such a lead byte is decided by this block's first byte.
#include <algorithm>
#include <cstring>

#include "grep/blockbuffer.h"
#include "sjis/bytescan.h"
#include "sjis/sjis.h"

namespace {

bool IsLineEnd(unsigned char b) { return b == '\n' || b == '\r'; }

// Calls f(i) for every i in [0, n - 1) where p[i] can be a lead byte and
// p[i + 1] is a line feed or a CR.
template <class F>
void ForEachLeadBeforeLineEnd(const unsigned char* p, std::size_t n, F f) {
  const char* const bytes = reinterpret_cast<const char*>(p);
  for (std::size_t i = 0; (i += FindLeadBeforeLineEnd(bytes + i, n - i)) < n; ++i) f(i);
}

}  // namespace

void TBlockBuffer::NoteEdits(std::size_t offset, const char* data, std::size_t count) {
  const char* const end = data + count;
  const auto next = [&](const char* from, int c) {
    return from < end ? static_cast<const char*>(std::memchr(from, c, static_cast<std::size_t>(end - from))) : nullptr;
  };
  std::size_t dropped = 0;
  const char* cr = next(data, '\r');
  const char* zero = next(data, 0);
  while (cr != nullptr || zero != nullptr) {
    const char* p = cr == nullptr || (zero != nullptr && zero < cr) ? zero : cr;
    const std::size_t at = offset + static_cast<std::size_t>(p - data) - dropped;
    if (*p == 0) {
      FEdits.push_back({at, 0, false});
      zero = next(p + 1, 0);
      continue;
    }
    // A CR at the end is held back: the next block (or the end) decides.
    if (p + 1 < end) {
      if (p[1] == '\n') {
        FEdits.push_back({at, '\r', true});  // the line feed moves to at
        ++dropped;
      } else {
        FEdits.push_back({at, '\r', false});
      }
    }
    cr = next(p + 1, '\r');
  }
}

// Whether data[end - 1] is a lead byte without its second byte, reading
// from the character start first.
bool TBlockBuffer::LoneLeadAt(const unsigned char* data, std::size_t first, std::size_t end) const {
  std::size_t run = 0;
  while (end - run > first && IsDBCSLeadByte(data[end - 1 - run])) ++run;
  return run % 2 == 1;
}

void TBlockBuffer::RewriteLoneLeads(std::size_t offset, std::size_t end, bool heldCR) {
  unsigned char* const data = FData;
  // The block before ended in a lead byte: this block's first byte is its
  // second byte, unless it is a line end (the caller then rewrites it).
  const bool startsWithTrail = FEndedInLead && end > offset && !IsLineEnd(data[offset]);
  FLoneLeadBefore = FEndedInLead && !startsWithTrail;
  FEndedInLead = false;
  const std::size_t first = offset + (startsWithTrail ? 1 : 0);
  const std::size_t edits = FEdits.size();
  const auto rewrite = [&](std::size_t at) {
    if (FOptions.KeepInputBytes) FEdits.push_back({at, data[at], false});
    data[at] = kLoneLeadByte;
  };
  ForEachLeadBeforeLineEnd(data + first, end - first, [&](std::size_t i) {
    if (LoneLeadAt(data, first, first + i + 1)) rewrite(first + i);
  });
  // The last byte: a CR held back after it is a line end; otherwise the
  // next block tells.
  if (end > first && LoneLeadAt(data, first, end) && !IsLineEnd(data[end - 1])) {
    if (heldCR)
      rewrite(end - 1);
    else
      FEndedInLead = true;
  }
  if (FEdits.size() > edits)
    std::sort(FEdits.begin(), FEdits.end(), [](const TEdit& a, const TEdit& b) { return a.At < b.At; });
}
