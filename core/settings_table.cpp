#include "core/settings_table.h"

#include "core/catalogue.h"
#include "core/colours.h"
#include "core/hits.h"
#include "core/texts.h"

namespace settings {

const std::vector<TSettingRow>& SettingRows() {
  static const std::vector<TSettingRow> rows = [] {
    using namespace sjis_text;
    using V = TSettingsValues;
    using enum TValueKind;
    std::vector<TSettingRow> r;
    for (const catalogue::TDictionaryInfo& d : catalogue::kDictionaries) {
      r.push_back({kSectionDictionaries, d.SettingsKey, Flag, TDictionaryFlag{static_cast<std::size_t>(d.Number - 1)}});
    }
    r.push_back({kSectionDictionaries, kKeyDictionaryFolder, Folder, &V::DictionaryFolder});
    const TSettingRow view[] = {
        {kSectionView, kKeyShowTags, Flag, &V::ShowTags},
        {kSectionView, kKeyKeywordMark, Mark, &V::KeywordMark, hits::kMarkNone},
        {kSectionView, kKeyLimitEnabled, Flag, &V::LimitEnabled},
        {kSectionView, kKeyHitLimit, Limit, &V::HitLimit, 100},
        {kSectionView, kKeyFontFace, Text, &V::NormalFontFace, 0, kDefaultFontFace},
        {kSectionView, kKeyFontSize, Size, &V::NormalFontSize, 12},
        {kSectionView, kKeyFontColour, Colour, &V::NormalColour, colours::kBlack},
        {kSectionView, kKeyBold, Flag, &V::Bold},
        {kSectionView, kKeyItalic, Flag, &V::Italic},
        {kSectionView, kKeyUnderline, Flag, &V::Underline},
        {kSectionView, kKeyKeywordColour, Colour, &V::KeywordColour, colours::kRed},
        {kSectionView, kKeyBackground, Colour, &V::BackgroundColour, colours::kWhite},
        {kSectionView, kKeySearchAsYouType, Flag, &V::SearchAsYouType, 1},
        {kSectionView, kKeyWatchClipboard, Flag, &V::WatchClipboard},
        {kSectionForm, kKeyTop, Number, &V::Top},
        {kSectionForm, kKeyLeft, Number, &V::Left},
        {kSectionForm, kKeyWidth, Number, &V::Width, 415},
        {kSectionForm, kKeyHeight, Number, &V::Height, 180},
    };
    r.insert(r.end(), std::begin(view), std::end(view));
    return r;
  }();
  return rows;
}

}  // namespace settings
