#include "core/hits.h"

#include <cstdio>
#include <stdexcept>
#include <utility>

#include "core/texts.h"
#include "sjis/sjis.h"
#include "text/encoding.h"

namespace hits {
namespace {

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

int MarkOrNone(int mark) { return mark >= 1 && mark < kMarkNone ? mark : kMarkNone; }

TMarks MarksFor(int mark) {
  const std::string_view marks[kMarkCount][2] = {{sjis_text::kMarkOpen1, sjis_text::kMarkClose1},
                                                 {sjis_text::kMarkOpen2, sjis_text::kMarkClose2},
                                                 {"**", "**"},
                                                 {"//", "//"},
                                                 {"", ""}};
  const auto& [open, close] = marks[MarkOrNone(mark) - 1];
  return {std::string(open), std::string(close)};
}

std::string Tag(const std::string& fileNameSjis, std::int64_t lineNo) {
  return fileNameSjis + "(" + std::to_string(lineNo) + "): ";
}

THitLine BuildHitLine(const std::string& tag, std::string line, int pos, int len, const TMarks& marks) {
  if (pos < 1 || len < 0 || static_cast<std::size_t>(pos - 1 + len) > line.size()) {
    throw std::out_of_range("hit outside its line");
  }
  const auto start = static_cast<std::size_t>(pos - 1);
  const auto length = static_cast<std::size_t>(len);
  THitLine hit;
  if (tag.empty() && marks.Open.empty() && marks.Close.empty()) {
    // Nothing goes in between: the line itself is the hit line, taken over
    // rather than copied (a line can be many megabytes long).
    hit.Text = std::move(line);
    hit.RunStart = static_cast<int>(start);
    hit.RunLength = len;
    return hit;
  }
  hit.Text.reserve(tag.size() + line.size() + marks.Open.size() + marks.Close.size());
  hit.Text += tag;
  hit.Text.append(line, 0, start);
  hit.Text += marks.Open;
  hit.RunStart = static_cast<int>(hit.Text.size());
  hit.Text.append(line, start, length);
  hit.RunLength = len;
  hit.Text += marks.Close;
  hit.Text.append(line, start + length);
  return hit;
}

std::size_t MatchSubjectLength(std::string_view line) {
  // The characters as the engine reads them: a lead byte takes the next byte
  // with it, whatever that byte is, so only a lead byte that starts the last
  // character has nothing to take.
  return EndsInLoneLeadByte(line) ? line.size() - 1 : line.size();
}

std::string MatchSubject(const std::string& line) { return line.substr(0, MatchSubjectLength(line)); }

std::u16string RunningStatus(int hitCount, const std::u16string& fileName) {
  return Ascii(std::to_string(hitCount)) + u"件ﾋｯﾄ " + fileName;
}

std::u16string EndStatus(double seconds, int hitCount, std::size_t unreadFiles, bool limited) {
  char number[64];
  std::snprintf(number, sizeof number, "%.2f", seconds);
  std::u16string status = u"終了:" + Ascii(number) + u"秒 " + Ascii(std::to_string(hitCount)) + u"件ﾋｯﾄ";
  if (unreadFiles != 0)
    status +=
        u" (" + encoding::SjisToUtf16(sjis_text::kTextUnreadFiles) + u" " + Ascii(std::to_string(unreadFiles)) + u")";
  if (limited) status += u"（上限）";
  return status;
}

}  // namespace hits
