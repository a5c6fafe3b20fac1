// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Replacing a file with output that is written as a stream (a printed PDF), never leaving a
// part of it in the file's place.
#pragma once

#include <functional>

#include <QString>

#include "base/status.h"

QT_BEGIN_NAMESPACE
class QIODevice;
QT_END_NAMESPACE

namespace platform {
class FileSystem;
}  // namespace platform

namespace reports {

// Replaces `target` through the program's one way of replacing a file
// (platform::FileSystem::openForReplacing on `fs`): `write` fills a new temporary beside it,
// which is forced to the disk and renamed over `target` without asking; a symbolic link in
// target's place is replaced itself, never written through, and a folder, device or pipe
// there is refused. When `write` fails (its status is returned), a write to the device
// fails, or the file cannot be created or renamed, the temporary is removed, `target` is
// left as it was, and the status names the path and the reason. `write` gets a write-only,
// sequential device that lives until it returns; it must not close it.
[[nodiscard]] base::Status ReplaceFileWith(platform::FileSystem& fs, const QString& target,
                                           const std::function<base::Status(QIODevice&)>& write);

}  // namespace reports
