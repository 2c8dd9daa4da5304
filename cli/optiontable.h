// kovagrep's options as one table: the parser's getopt_long tables, the
// --help text and the shell completions are all made from it.
#pragma once

#include <span>

enum class TArgument : unsigned char { None, Required, Optional };

// The groups of --help, in their order.
enum class TOptionGroup : unsigned char { Patterns, Miscellaneous, Output, Context, Charsets };

// What the parser sees for an option without a short form: a number above
// every character.  -NUM (kContextDigits) is the digits 0-9 themselves.
enum : int {
  kDBMeta = 256,
  kColour,
  kLineBuffered,
  kBinaryFiles,
  kSjis,
  kOutputEncoding,
  kLabel,
  kInclude,
  kExclude,
  kExcludeFrom,
  kExcludeDir,
  kHelp,
  kNoIgnoreCase,
  kGroupSeparator,
  kNoGroupSeparator,
  kContextDigits,
};

struct TOptionSpec {
  int Id;            // the short option's letter, or one of the numbers above
  char Short;        // 0: none
  const char* Long;  // nullptr: none
  TArgument Argument;
  const char* ArgumentName;  // "NUM", "FILE", ...; nullptr without an argument
  // The words an argument may be, space-parted, for completion (the parser
  // takes some abbreviations too); nullptr: any text (file names for FILE).
  const char* Values;
  TOptionGroup Group;
  // The text of --help, lines parted by "\n"; nullptr for an alias, whose
  // long form --help shows beside the option's own.
  const char* Help;
};

std::span<const TOptionSpec> OptionTable();
