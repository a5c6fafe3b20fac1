// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// brinvale-cli history: the kept generations of the drives' profiles, and comparisons of any
// two profiles of a drive, kept or stored.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/run_command.h"
#include "platform/locale_format.h"

namespace cli {

// Runs `history [LETTER...] [--json] [--program-folder DIR]`, which lists the generations of
// the named drives (every drive with a history without letters), and `history LETTER
// --compare WHEN [--to WHEN] [-o REPORT | --json] [--program-folder DIR]`, which compares the
// profile current at WHEN with the one current at --to (default: the stored profile) and
// saves the report in the Reports folder (printing its path), writes it to REPORT, or writes
// the changes as JSON Lines. Returns 0 when nothing changed (or for a listing), 1 when
// changes were reported, 2 on errors. The caller must have created a QCoreApplication.
int RunHistoryCommand(const std::vector<std::string>& args, const ProgramFolderChoice& choose,
                      const std::string& defaultProgramFolder, const platform::LocaleFormat& locale,
                      std::ostream& out, std::ostream& err);

}  // namespace cli
