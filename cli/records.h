// -z: an input as lines that end in zero bytes, of which a line feed is an
// ordinary character.  The engine's scan cuts lines at line feeds, so each
// line is tested by the line matcher instead, and handed to the selection
// with its number and byte offset.  The input is read once, as it comes.
#pragma once

#include "cli/matcher.h"
#include "cli/selection.h"

// matcher: null when there are no patterns, so that no line matches.
// Raises TReadError and the selection's exceptions.
void FeedRecords(int fd, const TMatchFinder* matcher, TSelection& selection);
