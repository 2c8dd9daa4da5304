#include "core/keyword_run.h"

#include "sjis/sjis.h"

namespace keyword_run {

int Find(const TRegularExpression& matcher, const std::string& line, int& len) {
  int pos = 0;
  len = 0;
  if (matcher.Match(line, pos, len) == 0 || len > 0) return pos;
  // Every later start, character by character; the start state holds no
  // line-head anchor, so "^" cannot match there.
  const int length = static_cast<int>(line.size());
  for (int start = pos; start <= length;) {
    NextChar(line, start);
    if (start > length) break;
    int runPos = 0;
    int runLen = 0;
    if (matcher.MatchFrom(line, start, matcher.StartState(), runPos, runLen) != 0 && runLen > 0) {
      len = runLen;
      return runPos;
    }
  }
  return pos;
}

}  // namespace keyword_run
