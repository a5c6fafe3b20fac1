// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/text_safety.h"

namespace reports {

char32_t DocumentSafeChar(char32_t c) {
  if (c == U'\t') return c;
  if (c < 0x20 || c == 0x7F) return 0;
  // QTextCursor::insertText turns U+2029 into a block break; the caller decides paragraphs.
  if (c == 0x2029) return 0x2028;
  const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
  const bool frameMarker = c >= 0xFDD0 && c <= 0xFDEF;
  const bool nonCharacter = (c & 0xFFFE) == 0xFFFE;
  if (surrogate || frameMarker || nonCharacter || c == 0xFFFC || c > 0x10FFFF) return 0xFFFD;
  return c;
}

}  // namespace reports
