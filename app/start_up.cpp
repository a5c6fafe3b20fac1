// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_up.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/qt/native_path.h"
#include "platform/qt/program_folder.h"

namespace app {

base::Result<std::string> ChooseProgramFolder(const QString& option) {
  if (option.isEmpty()) return platform::ProgramFolder();
  const QString absolute = QDir::cleanPath(QFileInfo(option).absoluteFilePath());
  const std::string native = platform::NativeBytes(QDir::toNativeSeparators(absolute));
  if (QFileInfo(absolute).exists() && !QFileInfo(absolute).isDir()) {
    return base::Status::notAFolder(native + ": not a folder");
  }
  if (!QDir().mkpath(absolute)) {
    return base::Status::permissionDenied(native + ": cannot create the folder");
  }
  // Links resolved, so two spellings of one folder share one window lock.
  std::string folder = platform::NativeBytes(QFileInfo(absolute).canonicalFilePath());
  if (folder.empty()) folder = platform::NativeBytes(absolute);
  if (folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace app
