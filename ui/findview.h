// The result view as the find algorithm sees it: the view's store of
// Shift-JIS lines, positions in bytes, matched without any conversion.
#pragma once

#include "core/find.h"

class THitView;

class THitFindView : public find::TFindView {
 public:
  explicit THitFindView(THitView* view) : FView(view) {}

  std::int64_t LineCount() const override;
  std::string_view LineBytes(std::int64_t line) const override;
  std::int64_t SelStartLine() const override;
  std::int64_t LineStart(std::int64_t line) const override;
  std::int64_t SelStart() const override;
  void SetSelection(std::int64_t start, std::int64_t length) override;

 private:
  THitView* FView;
};
