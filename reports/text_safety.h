// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Keeps characters out of a QTextDocument's text that the document would take for structure.
#pragma once

#include <QString>

namespace reports {

// What a document may hold in place of the character `c` read from a file: `c` itself; U+2028
// (a line break inside the paragraph) for U+2029; U+FFFD for surrogates, non-characters, values
// beyond U+10FFFF and the characters QTextDocument reserves for frames and objects (U+FDD0 to
// U+FDEF, U+FFFC); or 0, meaning drop it, for control characters other than the tab. Line and
// paragraph breaks are the caller's business: CR and LF come back as 0. Thread-safe.
char32_t DocumentSafeChar(char32_t c);

// Appends `c` to `out` as one or two UTF-16 code units. REQUIRES: c is a Unicode scalar value.
inline void AppendCodePoint(char32_t c, QString* out) {
  if (c < 0x10000) {
    out->append(QChar(static_cast<char16_t>(c)));
  } else {
    out->append(QChar(QChar::highSurrogate(c))).append(QChar(QChar::lowSurrogate(c)));
  }
}

}  // namespace reports
