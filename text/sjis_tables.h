// The Shift-JIS (code page 932) <-> Unicode tables, generated at build time
// from the build machine's iconv (tools/sjis_tables.cpp) and compiled into
// the program: converting needs no conversion module and no work at start.
#pragma once

#include <cstdint>

#include "sjis/sjis.h"

namespace encoding::tables {

// Lead bytes 0x81-0x9F and 0xE0-0xFC, numbered from 0 in ascending order.
inline constexpr unsigned kLeadCount = 60;
constexpr unsigned LeadRow(unsigned char lead) { return lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + 31u; }

// Unicode of a byte that is not a lead byte (U+FFFD for a lead byte).
extern const char16_t kSingleToUnicode[256];
// Unicode of a lead byte and the byte after it: LeadRow(lead) * 256 + second.
// U+FFFD where code page 932 defines no character.
extern const char16_t kDoubleToUnicode[kLeadCount * 256];
// The same characters as UTF-8: bytes in bits 0-23, first byte lowest, the
// byte count in bits 24-31.  Bytes 0x00-0x7F are their own UTF-8.
extern const std::uint32_t kSingleToUtf8[256];
extern const std::uint32_t kDoubleToUtf8[kLeadCount * 256];
// The Shift-JIS code of a UTF-16 unit: a single byte b as b, a pair as
// lead * 256 + second; kNoSjis when there is none.
inline constexpr std::uint16_t kNoSjis = 0xFFFF;
extern const std::uint16_t kUnicodeToSjis[65536];

}  // namespace encoding::tables
