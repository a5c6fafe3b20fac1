// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The window's command line: which program folder it works in.
#pragma once

#include <QString>
#include <string>

#include "base/status.h"

namespace app {

// The program folder for `option`, the value of --program-folder (empty when not given):
// without it the program's own rule (platform::ProgramFolder); with it that folder, made
// absolute and created when missing. The result ends in '/'. Fails with a status naming
// the folder when it cannot be created or is not a folder.
// REQUIRES: a QCoreApplication exists (the program's rule needs its path and name).
[[nodiscard]] base::Result<std::string> ChooseProgramFolder(const QString& option);

}  // namespace app
