// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The plain-text form of a report document, and reading a plain-text report into a document.
#pragma once

#include <functional>

#include <QByteArray>
#include <QByteArrayView>

#include "reports/report_text.h"

QT_BEGIN_NAMESPACE
class QTextDocument;
QT_END_NAMESPACE

namespace reports {

// Returns the text of `document` in UTF-8, one line per paragraph, each ended by CR LF; a line
// break inside a paragraph also becomes CR LF, and embedded objects are left out. Blanks at
// the end of a line are left out too, unless the line holds nothing else. An empty document
// gives no line at all. Thread-safe for a document no one modifies.
QByteArray PlainTextOf(const QTextDocument& document);
// The same text handed to `write` a piece at a time (a few hundred KiB), so that a document of
// any size is written in little memory. Stops as soon as `write` returns false, and returns
// false then; true when all was written.
bool PlainTextOf(const QTextDocument& document, const std::function<bool(QByteArrayView)>& write);

// Replaces the content of `document` with `text`, unformatted: one paragraph per line
// (PlainTextSplitter), so that PlainTextOf gives `text` back when it is valid UTF-8 with
// CR LF line ends and no line ends in blanks after other text. Text that is not valid UTF-8
// is read as Latin-1 rather than refused. Clears the undo history. Needs no
// QGuiApplication. REQUIRES: document != nullptr.
void ReadPlainText(QByteArrayView text, QTextDocument* document);

}  // namespace reports
