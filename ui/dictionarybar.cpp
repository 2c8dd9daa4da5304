#include "ui/dictionarybar.h"

#include <QAction>

#include "core/colours.h"
#include "ui/colourmap.h"
#include "ui/functionpanel.h"

bool TDictionaryBar::Checked(int number) const { return Item(number)->isChecked(); }

int TDictionaryBar::Right() const { return FPanels.back()->x() + FPanels.back()->width(); }

void TDictionaryBar::PanelClicked(const QObject* sender) {
  for (int number = 1; number <= catalogue::kDictionaryCount; ++number) {
    if (Panel(number) != sender) continue;
    Item(number)->setChecked(!Item(number)->isChecked());
    Panel(number)->SetLowered(!Panel(number)->Lowered());
    return;
  }
}

void TDictionaryBar::ItemClicked(int number) {
  // The check mark is the panel click's to invert: put it back first.
  Item(number)->setChecked(!Item(number)->isChecked());
  Panel(number)->Click();
}

void TDictionaryBar::PanelToggled(int number, bool lowered) { Item(number)->setChecked(lowered); }

void TDictionaryBar::ShowFound(const catalogue::TFoundDictionaries& found, const QPalette& palette) {
  for (int number = 1; number <= catalogue::kDictionaryCount; ++number) {
    TFunctionPanel* panel = Panel(number);
    QAction* item = Item(number);
    const bool available = found[static_cast<std::size_t>(number - 1)].Available;
    panel->SetFaceColour(ToQColor(
        colours::SystemColour(available ? colours::kSystemButtonFace : colours::kSystemButtonShadow), palette));
    panel->setEnabled(available);
    item->setEnabled(available);
    if (!available && item->isChecked()) {
      item->setChecked(false);
      panel->SetLowered(false);
    }
  }
}
