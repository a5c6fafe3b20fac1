// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The program folder: where profiles, settings, the ignore list and reports live.
#pragma once

#include <QString>
#include <string>

#include "engine/status.h"

namespace platform {

// The folder of the running executable when it may be written to (a portable install),
// otherwise the user's data folder for the application (QStandardPaths::
// AppLocalDataLocation), created when missing. Ends in '/'. Fails when the data folder
// cannot be created. REQUIRES: a QCoreApplication exists (for its path and name).
[[nodiscard]] engine::Result<std::string> ProgramFolder();

// The same choice for an executable in `executableFolder`.
[[nodiscard]] engine::Result<std::string> ProgramFolderFor(const QString& executableFolder);

}  // namespace platform
