// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Paths between the window's strings and the bytes the file system takes: the one place
// the window layers convert them.
#pragma once

#include <string>

#include <QString>

namespace platform {

// The bytes of `path` as the file system names it (QFile::encodeName: the locale's 8-bit
// encoding, UTF-8 on Debian).
[[nodiscard]] std::string NativeBytes(const QString& path);

// The string of the file-system path `path` (QFile::decodeName). A name that is not valid
// in the locale's encoding does not come back byte for byte through NativeBytes.
[[nodiscard]] QString FromNativeBytes(const std::string& path);

}  // namespace platform
