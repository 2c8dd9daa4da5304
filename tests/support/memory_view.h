// One in-memory result view for the core's tests of search and find: the
// window's hit store and selection, filled as IResultView and searched as
// find::TFindView.  Texts are Shift-JIS; the helpers give them
// back as UTF-8 for readable failures.
#pragma once

#include <string>
#include <vector>

#include "core/find.h"
#include "core/hitstore.h"
#include "core/search.h"
#include "core/selection.h"
#include "text/encoding.h"

class TMemoryView : public IResultView, public find::TFindView {
 public:
  TMemoryView() = default;
  // A view holding lines given in UTF-8.
  explicit TMemoryView(const std::vector<std::string>& utf8Lines) {
    for (const std::string& line : utf8Lines) Store.AppendLine(encoding::Sjis(line));
  }

  void BeginFill() override {
    Store.Clear();
    Filling = true;
  }
  void AppendLine(const std::string& line) override { Store.AppendLine(line); }
  void AppendHitLine(const std::string& line, int runStart, int runLength, const hits::TKeywordStyle& style) override {
    Store.AppendHitLine(line, static_cast<std::size_t>(runStart), static_cast<std::size_t>(runLength), style);
  }
  void EndFill() override { Filling = false; }

  std::int64_t LineCount() const override { return Store.LineCount(); }
  std::string_view LineBytes(std::int64_t line) const override { return Store.Line(line); }
  std::int64_t SelStartLine() const override { return Store.LineOf(Selection.Start()); }
  std::int64_t LineStart(std::int64_t line) const override { return Store.LineStart(line); }
  std::int64_t SelStart() const override { return Selection.Start(); }
  void SetSelection(std::int64_t start, std::int64_t length) override { Selection.Select(start, length); }
  std::int64_t SelLength() const { return Selection.Length(); }

  // The lines as UTF-8, each keyword run in braces.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (std::int64_t i = 0; i < Store.LineCount(); ++i) {
      const std::string_view line = Store.Line(i);
      const hits::TLineRun run = Store.Run(i);
      if (run.Style == hits::kNoRun) {
        lines.push_back(encoding::SjisToUtf8(line));
      } else {
        lines.push_back(encoding::SjisToUtf8(line.substr(0, run.Start)) + "{" +
                        encoding::SjisToUtf8(line.substr(run.Start, run.Length)) + "}" +
                        encoding::SjisToUtf8(line.substr(run.Start + run.Length)));
      }
    }
    return lines;
  }
  // The selected text as UTF-8.
  std::string Selected() const {
    return encoding::SjisToUtf8(
        Store.Text().substr(static_cast<std::size_t>(SelStart()), static_cast<std::size_t>(SelLength())));
  }

  hits::THitStore Store;
  hits::TSelection Selection{Store};
  bool Filling = false;
};
