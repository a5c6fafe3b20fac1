// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Writes a QTextDocument as RTF, so that a report edited in the view keeps its look when saved.
#pragma once

#include <functional>

#include <QByteArray>
#include <QByteArrayView>

QT_BEGIN_NAMESPACE
class QTextDocument;
QT_END_NAMESPACE

namespace reports {

// How every document WriteRtf writes begins.
inline constexpr char kRtfWriterHeader[] = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";

// Returns `document` as an RTF document in 7-bit ASCII: one \par-ended paragraph per block with
// its alignment, and per run of text its font family, size (rounded to half points), bold,
// italic, underline, strike-out, text colour and background colour (\highlight); text without
// a colour of its own gets no \cf, so it stays "automatic". Characters beyond ASCII are
// written as \uN with '?' as fallback; tabs and line breaks within a paragraph as \tab and
// \line. Embedded objects such as images are left out. ReadRtf gives back the same blocks,
// text and formats. Needs no QGuiApplication. Thread-safe for a document no one modifies.
QByteArray WriteRtf(const QTextDocument& document);

// The same RTF handed to `write` a piece at a time (a few hundred KiB), so that a document of
// any size is written in little memory. Stops as soon as `write` returns false, and returns
// false then; true when all was written.
bool WriteRtf(const QTextDocument& document, const std::function<bool(QByteArrayView)>& write);

}  // namespace reports
