// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_file.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <QByteArray>
#include <QTextDocument>

#include "engine/change_report.h"
#include "platform/file_system.h"
#include "platform/qt/native_path.h"
#include "reports/plain_text.h"
#include "reports/rtf_reader.h"
#include "reports/rtf_writer.h"

namespace reports {
namespace {

base::Status TooLarge(const std::string& path) {
  return base::Status::invalidArgument(path + ": too large to open");
}

// Opens a report file the view may open: a regular file (the file system refuses folders,
// pipes and devices without waiting on them) of at most kMaxReportFileSize bytes.
base::Result<std::unique_ptr<platform::SequentialFile>> OpenReportBytes(platform::FileSystem& fs,
                                                                        const std::string& path) {
  auto file = fs.openForReading(path);
  if (!file.isOk()) return file.status();
  const std::optional<std::uint64_t> size = file.value()->size();
  if (size && *size > std::uint64_t(kMaxReportFileSize)) return TooLarge(path);
  return file;
}

// Reads from `file` until `bytes` holds `limit` bytes or the file ends.
base::Status ReadUpTo(platform::SequentialFile& file, qint64 limit, QByteArray* bytes) {
  constexpr qint64 kPiece = 1024 * 1024;
  while (bytes->size() < limit) {
    const qsizetype at = bytes->size();
    const qsizetype wanted = qsizetype(std::min(kPiece, limit - at));
    bytes->resize(at + wanted);
    std::size_t got = 0;
    const base::Status status = file.read(std::size_t(wanted), bytes->data() + at, &got);
    bytes->resize(at + qsizetype(got));
    if (!status.isOk()) return status;
    if (got == 0) break;
  }
  return base::Status::ok();
}

// The bytes of a report file the view may open.
base::Status ReadReportBytes(platform::FileSystem& fs, const std::string& path, QByteArray* bytes) {
  auto file = OpenReportBytes(fs, path);
  if (!file.isOk()) return file.status();
  // Bounded even if the file grows while it is read.
  if (base::Status s = ReadUpTo(*file.value(), kMaxReportFileSize + 1, bytes); !s.isOk()) {
    return s;
  }
  if (bytes->size() > kMaxReportFileSize) return TooLarge(path);
  return base::Status::ok();
}

void LoadReportBytes(const QByteArray& bytes, QTextDocument* document) {
  if (IsRichText(bytes)) {
    ReadRtf(bytes, document);
  } else {
    ReadPlainText(bytes, document);
  }
}

}  // namespace

ReportFileKind KindOfReportBytes(QByteArrayView bytes) {
  static constexpr std::string_view kBinarySignatures[] = {
      std::string_view("\x89PNG\r\n\x1a\n", 8),  // PNG
      "\xFF\xD8\xFF",                            // JPEG
      "GIF87a",
      "GIF89a",
      "%PDF-",
      "PK\x03\x04",  // ZIP, and the office formats built on it
      "PK\x05\x06",  // an empty ZIP
      "\x7F"
      "ELF",
  };
  for (std::string_view signature : kBinarySignatures) {
    if (bytes.startsWith(QByteArrayView(signature.data(), qsizetype(signature.size())))) {
      return ReportFileKind::kNotText;
    }
  }
  const QByteArrayView probe = bytes.first(std::min(bytes.size(), kTextProbeSize));
  for (const char c : probe) {
    const auto byte = static_cast<unsigned char>(c);
    const bool control = byte < 0x20 || byte == 0x7F;
    if (control && byte != '\t' && byte != '\n' && byte != '\f' && byte != '\r') {
      return ReportFileKind::kNotText;
    }
  }

  const auto startsWith = [&bytes](std::string_view prefix) {
    return bytes.startsWith(QByteArrayView(prefix.data(), qsizetype(prefix.size())));
  };
  if (IsRichText(bytes)) {
    return startsWith(engine::kRichReportFontTable) || startsWith(kRtfWriterHeader)
               ? ReportFileKind::kReport
               : ReportFileKind::kOtherText;
  }
  QByteArrayView text = bytes;
  if (text.startsWith(QByteArrayView("\xEF\xBB\xBF"))) text = text.sliced(3);
  const std::string_view title = engine::kReportTitleStart;
  return text.startsWith(QByteArrayView(title.data(), qsizetype(title.size())))
             ? ReportFileKind::kReport
             : ReportFileKind::kOtherText;
}

base::Result<ReportFileHead> ReadReportFileHead(platform::FileSystem& fs, const QString& path) {
  const std::string native = platform::NativeBytes(path);
  auto file = OpenReportBytes(fs, native);
  if (!file.isOk()) return file.status();
  ReportFileHead head;
  if (base::Status s = ReadUpTo(*file.value(), kTextProbeSize, &head.bytes); !s.isOk()) {
    return s;
  }
  head.size = qint64(file.value()->size().value_or(std::uint64_t(head.bytes.size())));
  return head;
}

base::Status LoadReportFile(platform::FileSystem& fs, const QString& path,
                            QTextDocument* document) {
  QByteArray bytes;
  if (base::Status s = ReadReportBytes(fs, platform::NativeBytes(path), &bytes); !s.isOk())
    return s;
  LoadReportBytes(bytes, document);
  return base::Status::ok();
}

base::Result<ReportFileKind> OpenReportFile(platform::FileSystem& fs, const QString& path,
                                            QTextDocument* document) {
  QByteArray bytes;
  if (base::Status s = ReadReportBytes(fs, platform::NativeBytes(path), &bytes); !s.isOk())
    return s;
  const ReportFileKind kind = KindOfReportBytes(bytes);
  if (kind != ReportFileKind::kNotText) LoadReportBytes(bytes, document);
  return kind;
}

base::Status SaveReportFile(platform::FileSystem& fs, const QTextDocument& document,
                            const QString& path, ReportFormat format) {
  auto file = fs.openForReplacing(platform::NativeBytes(path));
  if (!file.isOk()) return file.status();
  // Written a piece at a time: a report of a million lines needs no copy in memory.
  base::Status status;
  const auto write = [&](QByteArrayView piece) {
    status = file.value()->append(std::string_view(piece.data(), std::size_t(piece.size())));
    return status.isOk();
  };
  if (format == ReportFormat::kRichText) {
    WriteRtf(document, write);
  } else {
    PlainTextOf(document, write);
  }
  if (!status.isOk()) return status;  // the replacement is dropped with the temporary
  return file.value()->commit();
}

}  // namespace reports
