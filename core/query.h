// From the query the user typed to the two patterns of a search.
#pragma once

#include <string>

namespace query {

// Expands the "@" wildcard.  "@" means the single-byte character only, never
// the second byte of a double-byte character (such as that of the full-width
// space).
//  - If the query holds "@@", the first "@@" becomes "@" and nothing else
//    changes: the bytes before it, then at most 255 bytes from its second "@".
//  - Otherwise every "@" becomes "[A-Za-z0-9%]*", one at a time from the
//    left; each time at most 255 bytes of the text after the "@" are kept.
std::string TransformQuery(const std::string& sjisQuery);

// The fixed texts that wrap the search pattern for a whole-word search: a
// line start or one of  space ■ ● ( { [ " ' -  before the word, and one of
// space ) " ' ] } : ; . , ! ? -  or the line end after it.
std::string WordPrefix();
std::string WordSuffix();

// The pattern that marks the keyword of a hit.
std::string KeywordPattern(const std::string& searchPattern, bool wordSearch);

}  // namespace query
