#include "sjis/multisearch.h"

namespace {

std::variant<TFewStringSearch, TManyStringSearch> Search(const std::vector<std::string>& strings, bool foldCase,
                                                         bool asRead) {
  TStringSet set(strings, foldCase, asRead);
  if (set.Size() <= TMultiSearch::kFewStrings) return TFewStringSearch(std::move(set));
  return TManyStringSearch(std::move(set), foldCase, asRead);
}

}  // namespace

TMultiSearch::TMultiSearch(const std::vector<std::string>& strings, bool foldCase, bool asRead)
    : FSearch(Search(strings, foldCase, asRead)) {}

const TStringSet& TMultiSearch::Strings() const {
  return std::visit([](const auto& search) -> const TStringSet& { return search.Strings(); }, FSearch);
}

std::size_t TMultiSearch::Find(std::string_view haystack, std::size_t from, std::size_t* which) const {
  if (from >= haystack.size()) return haystack.size();
  std::size_t found = Strings().Size();
  const std::size_t at = std::visit([&](const auto& search) { return search.Find(haystack, from, found); }, FSearch);
  if (which != nullptr) *which = found;
  return at;
}

std::size_t TMultiSearch::FindInFirstLine(std::string_view haystack, std::size_t from, std::size_t* which) const {
  if (const auto* many = std::get_if<TManyStringSearch>(&FSearch)) {
    if (from >= haystack.size()) return haystack.size();
    std::size_t found = Strings().Size();
    const std::size_t at = many->Find(haystack, from, found, false);
    if (which != nullptr) *which = found;
    return at;
  }
  return Find(haystack, from, which);
}

bool TMultiSearch::StandsAt(std::string_view haystack, std::size_t at, std::size_t which) const {
  const TStringSet& strings = Strings();
  return which < strings.Size() && at <= haystack.size() &&
         TStringSet::At(haystack.data() + at, haystack.size() - at, strings[which]);
}

void TMultiSearch::Tune(std::string_view text) {
  std::visit([&](auto& search) { search.Tune(text); }, FSearch);
}
