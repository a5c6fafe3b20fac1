// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Loading a report file into a document and saving a document as a report file, rich or plain.
#pragma once

#include <QByteArrayView>
#include <QString>

#include "engine/status.h"

QT_BEGIN_NAMESPACE
class QTextDocument;
QT_END_NAMESPACE

namespace reports {

enum class ReportFormat { kRichText, kPlainText };

// Files larger than this are refused: a document takes several times the size of its file
// in memory, and no report comes near it.
inline constexpr qint64 kMaxReportFileSize = qint64{256} * 1024 * 1024;

// True when `bytes` hold rich text: they begin with "{\rtf".
bool IsRichText(QByteArrayView bytes);

// Replaces the content of `document` with the file at `path`: rich text when the file begins
// with "{\rtf" (ReadRtf), plain text otherwise (ReadPlainText). On failure (missing,
// unreadable, a folder, a device or pipe, larger than kMaxReportFileSize) returns a status
// whose message names the native path, and leaves `document` as it was. Needs no
// QGuiApplication. REQUIRES: document != nullptr.
[[nodiscard]] engine::Status LoadReportFile(const QString& path, QTextDocument* document);

// Writes `document` to `path` as RTF (WriteRtf) or as its plain-text form (PlainTextOf),
// replacing any file there. The bytes go to a temporary file that is renamed over `path` only
// once complete, so a failed save leaves the previous file intact; the failure is returned
// with the native path in its message.
[[nodiscard]] engine::Status SaveReportFile(const QTextDocument& document, const QString& path,
                                            ReportFormat format);

// Writes the plain-text form of the report file `from` (read as LoadReportFile reads it) to
// `to`, as SaveReportFile does: what loading `from` and saving it as plain text gives, without
// building the document. Fails as those two do.
[[nodiscard]] engine::Status SaveReportFileAsPlainText(const QString& from, const QString& to);

}  // namespace reports
