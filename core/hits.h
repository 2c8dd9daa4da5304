// Building the hit line of a search: the line of a dictionary file as it
// goes into the result view, with an optional tag naming the file and the
// line number, and the keyword framed by the chosen marks.
//
// Everything here is Shift-JIS bytes; the keyword run is given as a byte
// range of the built line, which the view maps to its own units.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hits {

// How the keyword run of a hit looks: the style flags replace the normal
// font's style, the colour is a stored colour value (see core/colours.h).
// Face and size always stay those of the normal font.  The members start as
// zero values; the keyword style of the settings (and their defaults) fills
// them.
struct TKeywordStyle {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  std::int32_t Colour = 0;
  bool operator==(const TKeywordStyle&) const = default;
};

// The opening and closing marks put around the keyword (Shift-JIS).
struct TMarks {
  std::string Open;
  std::string Close;
};

// The keyword marks are numbered as the items of their menu: 1 "【 】",
// 2 "《 》", 3 "** **", 4 "// //" and kMarkNone, no marks.
inline constexpr int kMarkCount = 5;
inline constexpr int kMarkNone = 5;
// mark when it names marks (1..4), kMarkNone for anything else.
int MarkOrNone(int mark);
// The marks of MarkOrNone(mark).
TMarks MarksFor(int mark);

// The tag of a hit: the file name (Shift-JIS), "(", the line number, "): ".
std::string Tag(const std::string& fileNameSjis, std::int64_t lineNo);

// A built hit line and its keyword run: RunStart is the 0-based byte index in
// Text, RunLength counts bytes.
struct THitLine {
  std::string Text;
  int RunStart = 0;
  int RunLength = 0;
};

// Concatenates tag, the bytes of line before the match, the opening mark, the
// match, the closing mark and the rest of line.  pos is the match's 1-based
// byte position in line and len its byte length, as the engine reports them;
// the range must lie within line.  Without tag and marks the line itself
// becomes the hit line's text.
THitLine BuildHitLine(const std::string& tag, std::string line, int pos, int len, const TMarks& marks);

// The text the keyword pattern is matched against: line itself, or line
// without its last byte when that byte is a lead byte without its second
// byte.  The engine rejects such a string as a whole; cutting the lone byte
// lets the rest of the line be matched, and the hit line still shows it.
std::string MatchSubject(const std::string& line);
// The length of that text: line.size(), or one less.  Looks only at the end
// of the line, so it costs nothing on long lines.
std::size_t MatchSubjectLength(std::string_view line);

// The status text while a search runs: "<count>件ﾋｯﾄ <file name>".
std::u16string RunningStatus(int hitCount, const std::u16string& fileName);

// The status text at the end of a search: "終了:<seconds, 2 decimals>秒
// <count>件ﾋｯﾄ", then " (読めないファイル <count>)" when files could not be
// read and "（上限）" when the hit limit ended the search before its end.
std::u16string EndStatus(double seconds, int hitCount, std::size_t unreadFiles = 0, bool limited = false);

}  // namespace hits
