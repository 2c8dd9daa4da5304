// The result view as the search driver sees it: the window's rich-text view
// (RichEdit1), filled line by line with Shift-JIS text.
//
// RichEdit1 is a plain-text edit whose characters carry their own formats
// (face, size, colour, style): unlike a full rich-text edit it lays out only
// the lines it shows, so tens of thousands of hit lines cost little more
// than their insertion.
//
// The driver counts bytes of Shift-JIS text, the view UTF-16 units; every
// appended line is decoded once, and the keyword run's byte range is mapped
// through the decoder's offsets, so that the coloured run covers exactly the
// matched characters whatever stands before it (double-byte text, half-width
// katakana, bytes that do not decode).
//
// Each line is one paragraph of the document, and the document always ends
// in an empty paragraph where the next line goes, as a line-oriented view
// ends after the line break of its last line.
//
// While the view is disabled, a search is filling it: the appended lines are
// gathered in one edit of the document and the view is not repainted, which
// would otherwise lay out and paint the growing document after every hit.
// Refresh, called from the window's message pump, shows what has been
// gathered a few times a second; enabling the view shows everything.
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QPalette>
#include <QTextCharFormat>
#include <QTextCursor>
#include <cstdint>
#include <optional>
#include <utility>

#include "core/search.h"

class QPlainTextEdit;

// A stored colour value (core/colours.h) as a colour of the toolkit: system
// colours come from the palette.
QColor ToQColor(std::int32_t colour, const QPalette& palette);
// An explicit stored colour value of a toolkit colour.
std::int32_t FromQColor(const QColor& colour);

class TResultView : public IResultView {
 public:
  explicit TResultView(QPlainTextEdit* richEdit1);

  void Clear() override;
  void AppendLine(const std::string& line) override;
  void AppendHitLine(const std::string& line, int runStart, int runLength, const hits::TKeywordStyle& style) override;
  void SetEnabled(bool enabled) override;
  void SetHideSelection(bool hide) override;
  void CaretToStart() override;

  // While the view is being filled: lays out the lines gathered since the
  // last layout every kLayoutLines lines, and paints at most every
  // kRefreshInterval milliseconds.  True when it painted.
  bool Refresh();
  static constexpr int kRefreshInterval = 100;
  // Lines laid out at a time while the view is being filled.
  static constexpr int kLayoutLines = 150;

  // The normal format: the face, size and colour that appended text gets.
  QFont NormalFont() const { return FNormalFont; }
  std::int32_t NormalColour() const { return FNormalColour; }
  void SetNormalFont(const QFont& font);
  void SetNormalColour(std::int32_t colour);
  // Gives the text already in the view the face and size of font (its
  // colours stay) and makes font and colour the normal format.
  void ApplyNormalFont(const QFont& font, std::int32_t colour);

  std::int32_t BackgroundColour() const { return FBackgroundColour; }
  void SetBackgroundColour(std::int32_t colour);

  // The normal format and the format of a keyword run in that style.
  QTextCharFormat NormalFormat() const;
  QTextCharFormat KeywordFormat(const hits::TKeywordStyle& style) const;

 private:
  QPlainTextEdit* RichEdit1;
  QFont FNormalFont;
  std::int32_t FNormalColour = 0;
  std::int32_t FBackgroundColour = 16777215;
  bool FSelectionHidden = false;
  QPalette FShownPalette;
  bool FFilling = false;
  QTextCursor FFillCursor;  // holds the open edit while filling
  QElapsedTimer FLastRefresh;
  int FLinesSinceLayout = 0;

  QTextCursor EndCursor();
  // Forgets the formats made for appended lines, after a change of the font,
  // a colour or the palette.
  void ForgetFormats();

  // The formats of appended lines, made once rather than for every line.
  mutable std::optional<QTextCharFormat> FNormalFormat;
  mutable std::optional<std::pair<hits::TKeywordStyle, QTextCharFormat>> FKeywordFormat;
};
