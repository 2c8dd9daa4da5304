#include "ui/resultview.h"

#include <QGuiApplication>
#include <QPalette>

#include "ui/hitview.h"

TResultView::TResultView(THitView* richEdit1) : RichEdit1(richEdit1), FNormalFont(richEdit1->font()) {
  RichEdit1->SetNormalFont(FNormalFont);
}

void TResultView::Clear() { RichEdit1->Clear(); }

// The lines go into the view's store as they are, with the keyword run's
// byte range and look; nothing is converted or laid out until it is shown.
// While a search fills the view the window's message pump calls Refresh,
// which shows the lines gathered so far a few times a second.
void TResultView::AppendLine(const std::string& line) { RichEdit1->AppendLine(line); }

void TResultView::AppendHitLine(const std::string& line, int runStart, int runLength,
                                const hits::TKeywordStyle& style) {
  RichEdit1->AppendHitLine(line, static_cast<std::size_t>(runStart), static_cast<std::size_t>(runLength), style);
}

void TResultView::BeginFill() {
  RichEdit1->Clear();
  RichEdit1->BeginFill();
  RichEdit1->setEnabled(false);
  RichEdit1->SetSelectionHidden(true);
}

void TResultView::EndFill() {
  RichEdit1->EndFill();
  RichEdit1->setEnabled(true);
  RichEdit1->SetSelection(0, 0);
  RichEdit1->SetSelectionHidden(false);
}

bool TResultView::Refresh() { return RichEdit1->Refresh(); }

void TResultView::SetNormalFont(const QFont& font) {
  FNormalFont = font;
  RichEdit1->SetNormalFont(font);
}

void TResultView::SetNormalColour(std::int32_t colour) {
  FNormalColour = colour;
  QPalette p = RichEdit1->palette();
  // System colours are those of the toolkit's palette, not of the view's
  // own, which holds the stored colours.
  const QColor text = ToTextColour(colour, QGuiApplication::palette(), p.color(QPalette::Base));
  p.setColor(QPalette::Text, text);
  RichEdit1->setPalette(p);
  RichEdit1->SetTextColour(text);
}

void TResultView::ApplyNormalFont(const QFont& font, std::int32_t colour) {
  SetNormalFont(font);
  SetNormalColour(colour);
  RichEdit1->SetSelection(0, 0);
}

void TResultView::SetBackgroundColour(std::int32_t colour) {
  FBackgroundColour = colour;
  QPalette p = RichEdit1->palette();
  p.setColor(QPalette::Base, ToQColor(colour, QGuiApplication::palette()));
  RichEdit1->setPalette(p);
  // A system text colour is chosen against the background.
  SetNormalColour(FNormalColour);
}
