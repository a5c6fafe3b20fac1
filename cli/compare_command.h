// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// brinvale-cli compare: compares a stored profile with a new scan and writes the report.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/locale_format.h"

namespace cli {

// Runs `compare OLD NEW -o REPORT [--drive TEXT] [--since TEXT] [--ignore IGNOREFILE]
// [--text]`, or `compare OLD NEW --json [-o FILE] [--drive TEXT] [--ignore IGNOREFILE]`;
// `args` follow the word "compare". "-o -" and --json without -o write to `out`. Returns 0
// when nothing changed, 1 when changes were reported, 2 on bad input or failure (no file
// written), and for a REPORT that is one of the own files of `defaultProgramFolder`
// (OwnFileRefusal).
int RunCompareCommand(const std::vector<std::string>& args, const platform::LocaleFormat& locale,
                      const std::string& defaultProgramFolder, std::ostream& out,
                      std::ostream& err);

}  // namespace cli
