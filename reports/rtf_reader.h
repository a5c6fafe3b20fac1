// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Reads RTF into a QTextDocument: the change reports Brinvale composes and what word processors
// commonly write. docs/rtf_subset.md lists what is understood and what is skipped.
#pragma once

#include <QByteArrayView>

QT_BEGIN_NAMESPACE
class QTextDocument;
QT_END_NAMESPACE

namespace reports {

// Replaces the content of `document` with the document held in `rtf` (ParseRtf reads it).
//
// Paragraphs: every \par ends one; text after the last \par makes a final paragraph only when
// there is some, so a file ending in "\par }" has no empty paragraph at its end. Characters
// carry font family, size, bold, italic, underline, strike-out and the colours of the colour
// table; text without \cf has no colour of its own (the view's text colour). Only the first
// 256 combinations of font and colours that text uses keep theirs; text in further ones shows
// in the document's default font and colour (beyond that, lookups in QTextDocument's format
// table would make reading quadratic).
//
// Never fails: a truncated, unbalanced or garbled file gives whatever text could be read, and
// anything after the outermost group closes is ignored. Time and memory grow linearly with the
// size of `rtf`, whatever it holds (deep nesting, huge numbers, \bin counts beyond its end).
// Like QTextDocument::setPlainText, it clears the document's undo history.
//
// Needs no QGuiApplication. REQUIRES: document != nullptr. Not thread-safe for one document.
void ReadRtf(QByteArrayView rtf, QTextDocument* document);

}  // namespace reports
