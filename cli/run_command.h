// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// brinvale-cli drives and run: the drive list, and a whole run over named drives with the
// program folder's profiles, settings, Ignore list and Reports folder.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/locale_format.h"

namespace cli {

// Runs `drives`: prints one row per drive as the drive selection lists it. Returns 0, or 2
// when the drive list could not be read.
int RunDrivesCommand(const std::vector<std::string>& args, const std::string& programFolder,
                     std::ostream& out, std::ostream& err);

// Runs `run [--yes] [--info-only] [--one-report | --separate] LETTER...`. Prints the paths
// of saved reports to `out`, captions to `err` when `errIsTerminal`, messages to `err`.
// Returns 0 when nothing changed, 1 when changes were reported, 2 on errors. The caller
// must have created a QCoreApplication (plain-text reports are made through Qt).
int RunRunCommand(const std::vector<std::string>& args, const std::string& programFolder,
                  const platform::LocaleFormat& locale, std::ostream& out, std::ostream& err,
                  bool errIsTerminal);

}  // namespace cli
