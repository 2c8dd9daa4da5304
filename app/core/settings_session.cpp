#include "core/settings_session.h"

#include <vector>

#include "core/encoding.h"
#include "core/file_error.h"
#include "exceptions.h"

namespace settings {
namespace {

[[noreturn]] void ThrowCannotRead(const TProfile& profile) {
  throw Exception(file_error::Message(encoding::FileNameToSjis(profile.Path()), profile.ReadError()));
}

}  // namespace

void TSettingsSession::Load(const std::string& path, ISettingsTarget& target) {
  FLoaded.emplace(path);
  LoadSettings(*FLoaded, target);
  if (FLoaded->ReadError() != 0) ThrowCannotRead(*FLoaded);
}

void TSettingsSession::Save(const std::string& path, const TSettingsValues& values) {
  TProfile now(path);
  if (now.ReadError() != 0) {
    if (FLoaded && FLoaded->ReadError() != 0) return;  // reported at the start
    ThrowCannotRead(now);
  }
  const std::vector<TSettingText> texts = SettingTexts(values);
  const std::vector<TSettingText> loaded = SettingTexts(FLoadedValues.value_or(values));
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const TSettingText& t = texts[i];
    const bool changed = !FLoadedValues || t.Value != loaded[i].Value;
    if (!changed) {
      const std::optional<std::string> current = now.ReadString(t.Section, t.Key);
      const std::optional<std::string> before = FLoaded ? FLoaded->ReadString(t.Section, t.Key) : std::nullopt;
      if (current && (current != before || t.IsString)) continue;
    }
    now.WriteString(t.Section, t.Key, t.Value);
  }
  now.Save();
}

}  // namespace settings
