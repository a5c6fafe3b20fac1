// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/native_path.h"

#include <QFile>

namespace platform {

std::string NativeBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromNativeBytes(const std::string& path) {
  // By size, not by the C string: a path never holds a NUL, but a std::string may.
  return QFile::decodeName(QByteArray(path.data(), qsizetype(path.size())));
}

}  // namespace platform
