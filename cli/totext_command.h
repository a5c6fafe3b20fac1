// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// brinvale-cli totext: prints the plain-text form of a report file.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// Runs `brinvale-cli totext FILE [-o OUT]`; `args` are the words after "totext". Reads FILE
// as the report view does (rich text when it begins with "{\rtf", plain text otherwise) and
// writes its plain-text form (UTF-8, CR LF) to OUT, through a temporary file so that a failure
// keeps any previous OUT, or to `out` without -o, a block at a time: memory does not grow with
// the file, whatever its size. "--help" writes the usage to `out`.
// Returns 0 on success, or 2 after writing one line to `err` for bad usage, an unreadable FILE
// or an unwritable OUT, and for an OUT that is one of the own files of `defaultProgramFolder`
// (OwnFileRefusal). Needs no QCoreApplication or QGuiApplication and works with either.
int RunTotextCommand(const std::vector<std::string>& args, const std::string& defaultProgramFolder,
                     std::ostream& out, std::ostream& err);

}  // namespace cli
