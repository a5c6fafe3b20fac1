// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_file.h"

#include <string>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>

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

// The bytes of a report file the view may open: an ordinary file of at most
// kMaxReportFileSize bytes.
engine::Status ReadReportBytes(const QString& path, QByteArray* bytes) {
  const QFileInfo info(path);
  if (!info.exists()) return engine::Status::notFound(Describe(path, QStringLiteral("not found")));
  // Opening a pipe would wait for a writer and a device could be read forever.
  if (!info.isFile()) {
    return engine::Status::invalidArgument(Describe(path, QStringLiteral("not a file")));
  }
  if (info.size() > kMaxReportFileSize) {
    return engine::Status::invalidArgument(Describe(path, QStringLiteral("too large to open")));
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return FileError(file, path);
  // Bounded even if the file grows while it is read.
  *bytes = file.read(kMaxReportFileSize + 1);
  if (file.error() != QFileDevice::NoError) return FileError(file, path);
  if (bytes->size() > kMaxReportFileSize) {
    return engine::Status::invalidArgument(Describe(path, QStringLiteral("too large to open")));
  }
  return engine::Status::ok();
}

engine::Status WriteReportBytes(const QByteArray& bytes, const QString& path) {
  QSaveFile file(path);
  // Unbuffered, because a buffered flush takes a short write (file size limit, full disk) for
  // success and commits a cut-off file. Written directly, the rest of the bytes meet the error.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return FileError(file, path);
  for (qint64 done = 0; done < bytes.size();) {
    const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
    if (written <= 0) {
      engine::Status status = FileError(file, path);
      file.cancelWriting();
      return status;
    }
    done += written;
  }
  if (!file.commit()) return FileError(file, path);
  return engine::Status::ok();
}

}  // namespace

bool IsRichText(QByteArrayView bytes) { return bytes.startsWith(QByteArrayView("{\\rtf")); }

engine::Status LoadReportFile(const QString& path, QTextDocument* document) {
  QByteArray bytes;
  if (engine::Status s = ReadReportBytes(path, &bytes); !s.isOk()) return s;
  if (IsRichText(bytes)) {
    ReadRtf(bytes, document);
  } else {
    ReadPlainText(bytes, document);
  }
  return engine::Status::ok();
}

engine::Status SaveReportFileAsPlainText(const QString& from, const QString& to) {
  QByteArray bytes;
  if (engine::Status s = ReadReportBytes(from, &bytes); !s.isOk()) return s;
  if (IsRichText(bytes)) return WriteReportBytes(PlainTextOfRtf(bytes), to);
  QTextDocument document;
  ReadPlainText(bytes, &document);
  return WriteReportBytes(PlainTextOf(document), to);
}

engine::Status SaveReportFile(const QTextDocument& document, const QString& path,
                              ReportFormat format) {
  return WriteReportBytes(
      format == ReportFormat::kRichText ? WriteRtf(document) : PlainTextOf(document), path);
}

}  // namespace reports
