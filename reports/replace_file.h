// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Replacing a file with output that is written as a stream (a printed PDF), never leaving a
// part of it in the file's place.
#pragma once

#include <functional>

#include <QString>

#include "engine/status.h"

QT_BEGIN_NAMESPACE
class QIODevice;
QT_END_NAMESPACE

namespace reports {

// Creates a new, uniquely named temporary file in the folder of `target`, lets `write` fill
// it, forces it to the disk and renames it over `target`, replacing whatever is there
// without asking: a symbolic link in target's place is replaced itself, never written
// through. When `write` fails (its status is returned), or the file cannot be created,
// written or renamed, the temporary is removed, `target` is left as it was, and the status
// names the native path and the reason. `write` gets the open temporary and must not close
// it.
[[nodiscard]] engine::Status ReplaceFileWith(
    const QString& target, const std::function<engine::Status(QIODevice&)>& write);

}  // namespace reports
