// Text and input run side by side: the input's byte offset of a position
// is the position less the line feed before the first line, plus the CRs
// dropped before it (a stretch that starts on a line feed whose CR was
// dropped starts with that CR in the input).  Rewritten bytes keep their
// place.  Edits are few in text files (none at all in a file of
// line feeds without zero bytes), and a stretch without any is handed out as
// it stands in the reader's buffer.
#include "grep/inputedits.h"

#include <algorithm>

void TInputEdits::Forget(std::int64_t from) {
  const auto keep =
      std::lower_bound(FEdits.begin(), FEdits.end(), from, [](const TEdit& e, std::int64_t at) { return e.At < at; });
  FEdits.erase(FEdits.begin(), keep);
  const auto keepDropped = std::lower_bound(FDropped.begin(), FDropped.end(), from);
  FForgottenDrops += keepDropped - FDropped.begin();
  FDropped.erase(FDropped.begin(), keepDropped);
}

std::int64_t TInputEdits::Offset(std::int64_t at) const {
  const auto dropped = std::lower_bound(FDropped.begin(), FDropped.end(), at) - FDropped.begin();
  return at - 1 + FForgottenDrops + dropped;
}

std::string_view TInputEdits::Input(std::string_view text, std::int64_t from, std::string& scratch) const {
  const std::int64_t to = from + static_cast<std::int64_t>(text.size());
  auto edit =
      std::lower_bound(FEdits.begin(), FEdits.end(), from, [](const TEdit& e, std::int64_t at) { return e.At < at; });
  if (edit == FEdits.end() || edit->At >= to) return text;
  scratch.clear();
  std::int64_t copied = from;
  for (; edit != FEdits.end() && edit->At < to; ++edit) {
    scratch.append(text.substr(static_cast<std::size_t>(copied - from), static_cast<std::size_t>(edit->At - copied)));
    if (edit->Dropped) {
      scratch += '\r';
      copied = edit->At;  // the line feed follows
    } else {
      scratch += static_cast<char>(edit->Original);
      copied = edit->At + 1;
    }
  }
  scratch.append(text.substr(static_cast<std::size_t>(copied - from)));
  return scratch;
}
