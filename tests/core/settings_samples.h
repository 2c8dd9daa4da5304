// Settings values for the tests of the settings file and of its sessions:
// every value as the file spells it, values that differ from the defaults
// in every setting, and a file loaded over given values.
#pragma once

#include <string>

#include "core/settings.h"
#include "text/encoding.h"

namespace settings_samples {

using settings::TSettingsValues;

// Every value as the file spells it, readable in a failure.
inline std::string Show(const TSettingsValues& v) {
  std::string text;
  for (const settings::TSettingText& t : settings::SettingTexts(v))
    text += encoding::SjisToUtf8(t.Key + "=" + t.Value) + "\n";
  return text;
}

// Settings that differ from the defaults in every value.
inline TSettingsValues Changed() {
  // clang-format off
  return {{true, false, true, false, true, false}, true, 3, true, 42, encoding::Sjis("ＭＳ 明朝"), 9, 128, true, true, true, 0,
          -2147483643, false, true, 5, 6, 700, 500, ""};
  // clang-format on
}

inline TSettingsValues Load(const std::string& path, TSettingsValues values = settings::DefaultSettings()) {
  settings::LoadSettings(TProfile(path), values);
  return values;
}

}  // namespace settings_samples
