// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/replace_file.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace reports {
namespace {

engine::Status Failed(const QString& path, const QString& reason) {
  return engine::Status::ioError(
      (QDir::toNativeSeparators(path) + QLatin1String(": ") + reason).toStdString());
}

}  // namespace

// TODO(lead): switch to the program's one safe replace operation once it is shared; this
// does the same steps for a file written as a stream.
engine::Status ReplaceFileWith(const QString& target,
                               const std::function<engine::Status(QIODevice&)>& write) {
  const QFileInfo info(target);
  // QTemporaryFile creates its file exclusively (O_EXCL), so no link can be planted there.
  QTemporaryFile temp(
      info.dir().filePath(QLatin1Char('.') + info.fileName() + QLatin1String(".XXXXXX")));
  if (!temp.open()) return Failed(target, temp.errorString());
  if (engine::Status s = write(temp); !s.isOk()) return s;
  if (!temp.flush() || temp.error() != QFileDevice::NoError) {
    return Failed(target, temp.errorString());
  }
  // The bytes must be on the disk before the rename makes them the file's content, or a
  // crash could leave an empty file in the place of the old one.
  if (::fsync(temp.handle()) != 0) {
    return Failed(target, QString::fromLocal8Bit(std::generic_category().message(errno)));
  }
  // rename(2) replaces a link at the target instead of following it.
  std::error_code error;
  std::filesystem::rename(QFile::encodeName(temp.fileName()).toStdString(),
                          QFile::encodeName(target).toStdString(), error);
  if (error) return Failed(target, QString::fromLocal8Bit(error.message()));
  temp.setAutoRemove(false);
  return engine::Status::ok();
}

}  // namespace reports
