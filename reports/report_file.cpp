// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_file.h"

#include <algorithm>
#include <string>
#include <string_view>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include "engine/change_report.h"
#include "platform/file_system.h"
#include "platform/posix/posix_file_system.h"
#include "reports/plain_text.h"
#include "reports/rtf_reader.h"
#include "reports/rtf_writer.h"

namespace reports {
namespace {

std::string Describe(const QString& path, const QString& problem) {
  return (QDir::toNativeSeparators(path) + QLatin1String(": ") + problem).toStdString();
}

engine::Status FileError(const QFileDevice& file, const QString& path) {
  const std::string message = Describe(path, file.errorString());
  if (file.error() == QFileDevice::PermissionsError)
    return engine::Status::permissionDenied(message);
  return engine::Status::ioError(message);
}

// Opens a report file the view may open: an ordinary file of at most kMaxReportFileSize bytes.
engine::Status OpenReportBytes(const QString& path, QFile* file) {
  const QFileInfo info(path);
  if (!info.exists()) return engine::Status::notFound(Describe(path, QStringLiteral("not found")));
  // Opening a pipe would wait for a writer and a device could be read forever.
  if (!info.isFile()) {
    return engine::Status::invalidArgument(Describe(path, QStringLiteral("not a file")));
  }
  if (info.size() > kMaxReportFileSize) {
    return engine::Status::invalidArgument(Describe(path, QStringLiteral("too large to open")));
  }
  file->setFileName(path);
  if (!file->open(QIODevice::ReadOnly)) return FileError(*file, path);
  return engine::Status::ok();
}

// The bytes of a report file the view may open.
engine::Status ReadReportBytes(const QString& path, QByteArray* bytes) {
  QFile file;
  if (engine::Status s = OpenReportBytes(path, &file); !s.isOk()) return s;
  // Bounded even if the file grows while it is read.
  *bytes = file.read(kMaxReportFileSize + 1);
  if (file.error() != QFileDevice::NoError) return FileError(file, path);
  if (bytes->size() > kMaxReportFileSize) {
    return engine::Status::invalidArgument(Describe(path, QStringLiteral("too large to open")));
  }
  return engine::Status::ok();
}

void LoadReportBytes(const QByteArray& bytes, QTextDocument* document) {
  if (IsRichText(bytes)) {
    ReadRtf(bytes, document);
  } else {
    ReadPlainText(bytes, document);
  }
}

std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The native file system for the functions that take Qt paths: stateless, so one serves all.
platform::FileSystem& NativeFileSystem() {
  static platform::PosixFileSystem fs;
  return fs;
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

engine::Result<ReportFileHead> ReadReportFileHead(const QString& path) {
  QFile file;
  if (engine::Status s = OpenReportBytes(path, &file); !s.isOk()) return s;
  ReportFileHead head;
  head.size = file.size();
  head.bytes = file.read(kTextProbeSize);
  if (file.error() != QFileDevice::NoError) return FileError(file, path);
  return head;
}

engine::Status LoadReportFile(const QString& path, QTextDocument* document) {
  QByteArray bytes;
  if (engine::Status s = ReadReportBytes(path, &bytes); !s.isOk()) return s;
  LoadReportBytes(bytes, document);
  return engine::Status::ok();
}

engine::Result<ReportFileKind> OpenReportFile(const QString& path, QTextDocument* document) {
  QByteArray bytes;
  if (engine::Status s = ReadReportBytes(path, &bytes); !s.isOk()) return s;
  const ReportFileKind kind = KindOfReportBytes(bytes);
  if (kind != ReportFileKind::kNotText) LoadReportBytes(bytes, document);
  return kind;
}

engine::Status SaveReportFile(const QTextDocument& document, const QString& path,
                              ReportFormat format) {
  return SaveReportFile(NativeFileSystem(), document, NativePath(path), format);
}

engine::Status SaveReportFile(platform::FileSystem& fs, const QTextDocument& document,
                              const std::string& path, ReportFormat format) {
  auto file = fs.openForReplacing(path);
  if (!file.isOk()) return file.status();
  // Written a piece at a time: a report of a million lines needs no copy in memory.
  engine::Status status;
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
