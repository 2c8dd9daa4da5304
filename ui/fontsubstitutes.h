// The Japanese face names that the window definitions and settings files use
// come from another platform; here they are mapped to installed Japanese
// fonts of the same kind, so text is shaped with one font instead of a
// fallback looked up glyph run by glyph run.
#pragma once

void SubstituteJapaneseFontNames();
