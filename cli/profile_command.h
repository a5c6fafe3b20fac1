// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// brinvale-cli profile: profiles a folder tree as a drive and writes its profile.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/locale_format.h"

namespace cli {

// Runs `profile ROOT -o FILE [--ignore IGNOREFILE] [--recycled]`; `args` follow the word
// "profile". FILE may not be one of the own files of `defaultProgramFolder` (OwnFileRefusal).
// Returns the exit code; captions and messages go to `err`.
int RunProfileCommand(const std::vector<std::string>& args, const platform::LocaleFormat& locale,
                      const std::string& defaultProgramFolder, std::ostream& out, std::ostream& err,
                      bool errIsTerminal);

}  // namespace cli
