// The dictionary bar: for each dictionary a panel below the result view and
// an item of the dictionary menu that select it together, usable only while
// the dictionary's files are found.
#pragma once

#include <array>

#include "core/catalogue.h"

class QAction;
class QObject;
class QPalette;
class TFunctionPanel;

class TDictionaryBar {
 public:
  using TItems = std::array<QAction*, catalogue::kDictionaryCount>;
  using TPanels = std::array<TFunctionPanel*, catalogue::kDictionaryCount>;
  TDictionaryBar(const TItems& items, const TPanels& panels) : FItems(items), FPanels(panels) {}

  // Dictionary number's (1..kDictionaryCount) menu item and panel.
  QAction* Item(int number) const { return FItems.at(static_cast<std::size_t>(number - 1)); }
  TFunctionPanel* Panel(int number) const { return FPanels.at(static_cast<std::size_t>(number - 1)); }
  bool Checked(int number) const;
  // The right edge of the last panel.
  int Right() const;

  // A click of a panel (sender) selects its dictionary or no longer:
  // check mark and bevel change together.
  void PanelClicked(const QObject* sender);
  // A click of dictionary number's menu item, which the toolkit has already
  // checked or unchecked: it counts as a click of the panel.
  void ItemClicked(int number);
  // The panel of dictionary number was lowered or raised, by a click or
  // otherwise (a screen reader toggles it directly): its menu item follows.
  void PanelToggled(int number, bool lowered);
  // Shows which dictionaries were found: the others are greyed out and no
  // longer selected.
  void ShowFound(const catalogue::TFoundDictionaries& found, const QPalette& palette);

 private:
  TItems FItems;
  TPanels FPanels;
};
