#include "cli/pattern_list.h"

#include <string_view>
#include <unordered_set>

std::optional<TEnginePattern> DistinctPatterns(const std::vector<std::string>& sjisPatterns, const TOptions& options,
                                               const TBuildPattern& build) {
  std::unordered_set<std::string_view> seen;
  std::vector<std::string> distinct;
  std::vector<std::size_t> number;  // the user's number of each, from 0
  for (std::size_t k = 0; k < sjisPatterns.size(); ++k) {
    if (!seen.insert(sjisPatterns[k]).second) continue;
    distinct.push_back(sjisPatterns[k]);
    number.push_back(k);
  }
  if (distinct.size() == sjisPatterns.size()) return std::nullopt;
  try {
    return build(distinct, options);
  } catch (TPatternError& e) {
    // An error of the patterns as a whole stands after the last one.
    e.Index = e.Index < number.size() ? number[e.Index] : sjisPatterns.size() + (e.Index - number.size());
    throw;
  }
}
