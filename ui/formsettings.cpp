#include "ui/formsettings.h"

#include <functional>
#include <vector>

#include "ui/mainform.h"

namespace form_settings {
namespace {

using settings::TSettingsValues;

struct TBinding {
  // Copies the settings of the binding from the window into values.
  std::function<void(const TMainForm&, TSettingsValues&)> Gather;
  // Sets them in the window from values.
  std::function<void(TMainForm&, const TSettingsValues&)> Show;
};

// A setting that the window gets and sets on its own.
template <typename T, typename Setter>
TBinding One(T TSettingsValues::*member, T (TMainForm::*get)() const, Setter set) {
  return {[=](const TMainForm& f, TSettingsValues& v) { v.*member = (f.*get)(); },
          [=](TMainForm& f, const TSettingsValues& v) { (f.*set)(v.*member); }};
}

std::vector<TBinding> MakeBindings() {
  using F = TMainForm;
  using V = TSettingsValues;
  std::vector<TBinding> b;
  for (int n = 1; n <= catalogue::kDictionaryCount; ++n) {
    const auto index = static_cast<std::size_t>(n - 1);
    b.push_back({[=](const F& f, V& v) { v.Dictionaries[index] = f.DictionaryChecked(n); },
                 [=](F& f, const V&) { F::ClickMenuItem(f.DictionaryItem(n)); }});
  }
  b.push_back(One(&V::ShowTags, &F::ShowTags, &F::SetShowTags));
  b.push_back(One(&V::KeywordMark, &F::KeywordMark, &F::SetKeywordMark));
  b.push_back(One(&V::LimitEnabled, &F::LimitEnabled, &F::SetLimitEnabled));
  b.push_back(One(&V::HitLimit, &F::HitLimitValue, &F::SetHitLimit));
  b.push_back({[](const F& f, V& v) { v.NormalFontFace = f.NormalFontFace(), v.NormalFontSize = f.NormalFontSize(); },
               [](F& f, const V& v) { f.SetNormalFont(v.NormalFontFace, v.NormalFontSize); }});
  b.push_back(One(&V::NormalColour, &F::NormalColour, &F::SetNormalColour));
  b.push_back({[](const F& f, V& v) {
                 const hits::TKeywordStyle style = f.KeywordStyleValue();
                 v.Bold = style.Bold, v.Italic = style.Italic, v.Underline = style.Underline;
               },
               [](F& f, const V& v) { f.SetKeywordStyle(v.Bold, v.Italic, v.Underline); }});
  b.push_back(One(&V::KeywordColour, &F::KeywordColour, &F::SetKeywordColour));
  b.push_back(One(&V::BackgroundColour, &F::BackgroundColour, &F::SetBackgroundColour));
  b.push_back(One(&V::SearchAsYouType, &F::SearchAsYouType, &F::SetSearchAsYouType));
  b.push_back(One(&V::WatchClipboard, &F::WatchClipboard, &F::SetWatchClipboard));
  b.push_back({[](const F& f, V& v) {
                 v.Top = f.y(), v.Left = f.x(), v.Width = f.ClientSize().width(), v.Height = f.ClientSize().height();
               },
               [](F& f, const V& v) { f.SetGeometry(v.Top, v.Left, v.Width, v.Height); }});
  // The folder chosen in this run; a stored one is not shown, it is looked
  // for (see TMainForm::FindDictionaries).
  b.push_back({[](const F& f, V& v) { v.DictionaryFolder = f.ChosenFolder(); }, [](F&, const V&) {}});
  return b;
}

const std::vector<TBinding>& Bindings() {
  static const std::vector<TBinding> bindings = MakeBindings();
  return bindings;
}

}  // namespace

TSettingsValues Gather(const TMainForm& form) {
  TSettingsValues values;
  for (const TBinding& binding : Bindings()) binding.Gather(form, values);
  return values;
}

void Show(TMainForm& form, const TSettingsValues& values) {
  for (const TBinding& binding : Bindings()) {
    TSettingsValues shown = values;
    binding.Gather(form, shown);
    if (shown != values) binding.Show(form, values);
  }
}

}  // namespace form_settings
