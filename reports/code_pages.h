// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The Windows single-byte code pages that RTF files name with \ansicpgN or \fcharsetN, for
// decoding \'hh escapes and raw 8-bit bytes into Unicode.
#pragma once

#include <cstdint>

namespace reports {

// The code page assumed when a document names none or one this table does not know.
inline constexpr int kDefaultCodePage = 1252;

// Returns the Unicode character for `byte` in Windows code page `codePage`. Bytes below 0x80
// are ASCII in every code page. Code pages other than 1250 to 1258 decode as 1252; bytes that a
// code page leaves undefined give U+FFFD. Thread-safe.
char32_t DecodeCodePageByte(int codePage, std::uint8_t byte);

// Returns the code page that an RTF \fcharsetN value stands for, or 0 when the charset names
// none of the code pages above (ANSI default 0, symbol fonts, double-byte Asian charsets).
int CodePageForCharset(int charset);

}  // namespace reports
