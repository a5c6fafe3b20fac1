// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Loading a report file into a document and saving a document as a report file, rich or plain,
// each through the file system it is given.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <string>

#include "base/status.h"
#include "reports/report_text.h"

namespace platform {
class FileSystem;
}  // namespace platform

QT_BEGIN_NAMESPACE
class QTextDocument;
QT_END_NAMESPACE

namespace reports {

enum class ReportFormat { kRichText, kPlainText };

// Files larger than this are refused: a document takes several times the size of its file
// in memory, and no report comes near it.
inline constexpr qint64 kMaxReportFileSize = qint64{256} * 1024 * 1024;

// What a file offered to the report view holds.
enum class ReportFileKind {
  // A report this program made: rich text that begins with the composer's font table or
  // with the header WriteRtf writes, or plain text (a UTF-8 byte order mark aside) whose
  // first line begins "Disk Activity on ".
  kReport,
  // Any other text or rich text: shown, but saving it in the view's form would lose what
  // the view cannot hold (a word processor's page setup, tables, pictures; LF line ends).
  kOtherText,
  // Not text: a known binary signature (PNG, JPEG, GIF, PDF, ZIP, ELF) or, within the first
  // kTextProbeSize bytes, a NUL or any other control character but tab, LF, form feed and
  // CR. Bytes that are not UTF-8 are text (older plain reports are in an 8-bit code page).
  kNotText,
};
inline constexpr qsizetype kTextProbeSize = 64 * 1024;
[[nodiscard]] ReportFileKind KindOfReportBytes(QByteArrayView bytes);

// What a report file begins with, and its size.
struct ReportFileHead {
  qint64 size = 0;
  QByteArray bytes;  // the first kTextProbeSize bytes, or all of a shorter file
};
// Reads the beginning of the report file at `path` on `fs` after the checks LoadReportFile
// makes; fails as LoadReportFile does. For a view that loads the rest later (ReportLoader).
[[nodiscard]] base::Result<ReportFileHead> ReadReportFileHead(platform::FileSystem& fs,
                                                              const QString& path);

// Opens `path` for the view as the Open command does: reads it as LoadReportFile does and
// judges it by KindOfReportBytes. A file that is not text is not loaded and `document` is
// left as it was; anything else replaces the content of `document`. Fails as LoadReportFile
// does. REQUIRES: document != nullptr.
[[nodiscard]] base::Result<ReportFileKind> OpenReportFile(platform::FileSystem& fs,
                                                          const QString& path,
                                                          QTextDocument* document);

// Replaces the content of `document` with the file at `path` on `fs`: rich text when the
// file begins with "{\rtf" (ReadRtf), plain text otherwise (ReadPlainText). On failure
// (missing, unreadable, a folder, a device or pipe, larger than kMaxReportFileSize) returns
// the file system's status, whose message names the path, and leaves `document` as it was.
// Needs no QGuiApplication. REQUIRES: document != nullptr.
[[nodiscard]] base::Status LoadReportFile(platform::FileSystem& fs, const QString& path,
                                          QTextDocument* document);

// Writes `document` to `path` on `fs` as RTF (WriteRtf) or as its plain-text form
// (PlainTextOf), replacing any file there the way every file of the program is replaced
// (platform::FileSystem::openForReplacing): the bytes go to a new temporary beside `path`
// that is forced to the disk and renamed over it only once complete, so a failed save (a
// full disk, a failed sync) leaves the previous file intact, and a symbolic link at `path`
// is replaced, never written through. The failure is returned with the path in its message.
[[nodiscard]] base::Status SaveReportFile(platform::FileSystem& fs, const QTextDocument& document,
                                          const QString& path, ReportFormat format);

}  // namespace reports
