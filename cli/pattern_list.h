// A list of patterns with repeats (a pattern file of many blank lines) made
// into the engine pattern of its distinct patterns, so that a repeat costs
// nothing after the first.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/patterns.h"

using TBuildPattern = std::function<TEnginePattern(const std::vector<std::string>&, const TOptions&)>;

// Nothing when the patterns are all different; else what build makes of
// each pattern's first occurrence, in their order.  An error (TPatternError)
// names the pattern as the user numbered it.
std::optional<TEnginePattern> DistinctPatterns(const std::vector<std::string>& sjisPatterns, const TOptions& options,
                                               const TBuildPattern& build);
