// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {

std::string WithSlash(const QString& folder) {
  std::string path = QFile::encodeName(QDir::cleanPath(folder)).toStdString();
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

}  // namespace

engine::Result<std::string> ProgramFolder() {
  return ProgramFolderFor(QCoreApplication::applicationDirPath());
}

engine::Result<std::string> ProgramFolderFor(const QString& executableFolder) {
  // isWritable asks access(2), which also says no on a read-only file system.
  const QFileInfo beside(executableFolder);
  if (!executableFolder.isEmpty() && beside.isDir() && beside.isWritable()) {
    return WithSlash(beside.absoluteFilePath());
  }
  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  if (data.isEmpty()) {
    return engine::Status::notFound(
        "no folder for the program's files: " + QFile::encodeName(executableFolder).toStdString() +
        " is read-only and there is no user data folder");
  }
  if (!QDir().mkpath(data)) {
    return engine::Status::permissionDenied(QFile::encodeName(data).toStdString() +
                                            ": cannot create the program's folder");
  }
  return WithSlash(data);
}

}  // namespace platform
