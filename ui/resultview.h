// The result view as the search driver sees it: the window's result view
// (RichEdit1, a THitView) filled line by line with Shift-JIS text, and the
// normal look of that text (font, colour, background) as the settings store
// it.
#pragma once

#include <QColor>
#include <QFont>
#include <cstdint>

#include "core/search.h"
#include "ui/colourmap.h"

class THitView;

class TResultView : public IResultView {
 public:
  explicit TResultView(THitView* richEdit1);

  // Removes all text.
  void Clear();
  // Filling: the view is disabled and its selection hidden until EndFill,
  // which puts the caret at the start.
  void BeginFill() override;
  void AppendLine(const std::string& line) override;
  void AppendHitLine(const std::string& line, int runStart, int runLength, const hits::TKeywordStyle& style) override;
  void EndFill() override;

  // While the view is being filled: shows what has been gathered, at most
  // every few hundred milliseconds.  True when it painted.
  bool Refresh();

  // The normal format: the face, size and colour that the text gets.
  QFont NormalFont() const { return FNormalFont; }
  std::int32_t NormalColour() const { return FNormalColour; }
  void SetNormalFont(const QFont& font);
  void SetNormalColour(std::int32_t colour);
  // Gives the whole text the face and size of font (keyword runs keep their
  // colours and styles) and makes font and colour the normal format; the
  // caret goes to the start.
  void ApplyNormalFont(const QFont& font, std::int32_t colour);

  std::int32_t BackgroundColour() const { return FBackgroundColour; }
  void SetBackgroundColour(std::int32_t colour);

 private:
  THitView* RichEdit1;
  QFont FNormalFont;
  // Stored colour values; the window applies the settings' colours (their
  // defaults before any are loaded) as soon as it is built.
  std::int32_t FNormalColour = 0;
  std::int32_t FBackgroundColour = 0;
};
