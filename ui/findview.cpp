#include "ui/findview.h"

#include "ui/hitview.h"

std::int64_t THitFindView::LineCount() const { return FView->Store().LineCount(); }

std::string_view THitFindView::LineBytes(std::int64_t line) const { return FView->Store().Line(line); }

std::int64_t THitFindView::SelStartLine() const { return FView->Store().LineOf(FView->SelStart()); }

std::int64_t THitFindView::LineStart(std::int64_t line) const { return FView->Store().LineStart(line); }

std::int64_t THitFindView::SelStart() const { return FView->SelStart(); }

void THitFindView::SetSelection(std::int64_t start, std::int64_t length) { FView->SetSelection(start, length); }
