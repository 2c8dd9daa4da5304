// How the main window shows the settings and gathers them back: one binding
// per setting, or per settings the window shows together.
#pragma once

#include "core/settings.h"

class TMainForm;

namespace form_settings {

// The settings as the window shows them now.
settings::TSettingsValues Gather(const TMainForm& form);

// Shows values: every binding whose settings the window shows otherwise
// sets them, the others are left alone.
void Show(TMainForm& form, const settings::TSettingsValues& values);

}  // namespace form_settings
