#include "cli/matcher.h"

#include "cli/literal_set.h"

namespace {

// The engine pattern's matches, as TLineMatcher finds them.
class TPatternFinder : public TMatchFinder {
 public:
  explicit TPatternFinder(const TEnginePattern& pattern) : FMatcher(pattern) {}
  bool Find(std::string_view line, std::size_t from, std::size_t& pos, std::size_t& len) const override {
    return FMatcher.Find(line, from, pos, len);
  }
  bool Narrows() const override { return FMatcher.Narrows(); }

 private:
  TLineMatcher FMatcher;
};

}  // namespace

std::unique_ptr<TMatchFinder> MatchFinder(const TOptions& options, const TEnginePattern& pattern, bool colours) {
  if (pattern.None || !(pattern.Test != TLineTest::None || options.NullData || options.OnlyMatching || colours))
    return nullptr;
  if (pattern.Literals)
    return std::make_unique<TLiteralFinder>(*pattern.Literals, options.IgnoreCase, options.Word, options.WholeLine);
  return std::make_unique<TPatternFinder>(pattern);
}
