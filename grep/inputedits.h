// Where the reader's text differs from the input's bytes, for a reader that
// hands out lines as they stand in the input (TReadOptions::KeepInputBytes):
// the bytes it rewrote in place (a zero byte, a lone CR, a lone lead byte)
// and the CRs it dropped before a line feed.  With them a stretch of the text
// gives back the input's bytes and byte offset.  See inputedits.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Positions count the text's bytes from the line feed that the reader puts
// before the first line (position 0); the input's first byte is at 1 when
// nothing was dropped before it.
class TInputEdits {
 public:
  // An edit at a position after every earlier one: the byte there was
  // original in the input; or a CR stood in the input before the line feed
  // there.
  void Rewritten(std::int64_t at, unsigned char original) { FEdits.push_back({at, original, false}); }
  void DroppedCR(std::int64_t at) {
    FEdits.push_back({at, '\r', true});
    FDropped.push_back(at);
  }

  // Forgets the edits before a position (their text is gone), keeping what
  // the offsets after it need.
  void Forget(std::int64_t from);

  // The input's byte offset of a stretch of the text that starts at a
  // position (before the CR that was dropped there, if any).
  std::int64_t Offset(std::int64_t at) const;
  // The input's bytes of the text's bytes [from, from + text.size()):
  // text itself when no edit lies there, else rebuilt in scratch.
  std::string_view Input(std::string_view text, std::int64_t from, std::string& scratch) const;
  bool Any() const { return !FEdits.empty(); }

 private:
  struct TEdit {
    std::int64_t At;
    unsigned char Original;
    bool Dropped;  // a CR before the line feed at At
  };
  std::vector<TEdit> FEdits;           // ascending
  std::vector<std::int64_t> FDropped;  // the positions of dropped CRs, ascending
  std::int64_t FForgottenDrops = 0;    // dropped CRs before the edits kept
};
