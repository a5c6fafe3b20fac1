// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The files the program keeps in its program folder: what nothing but the program itself
// may write, so that an output the user names (the command line's -o) never replaces a
// stored profile, the drive list or the lock of a run in progress.
#pragma once

#include <string_view>

namespace engine {

// The program folder's own files by name, where '*' stands for any run of bytes. A pattern
// ending in '/' names a sub-folder whose every file is the program's own. The Reports
// folder is not in the list: its files are the user's to replace.
inline constexpr std::string_view kOwnFilePatterns[] = {
    "Prof_*_.bvp",    // the stored profiles
    "BV3.Def",        // the settings record
    "brinvale.conf",  // the settings beyond the record
    "drives.txt",     // the drive letters
    "ignore.txt",     // the Ignore list
    "brinvale.lock",  // the lock of a run
    "window.lock",    // the lock of a window
    "temp.rtf",       // the window's composed report
    "text.tmp",       // the plain-text print work file
    "bvp.tmp",        // work files of earlier versions
    "section.tmp",
    ".*.brinvale-*",  // temporaries of files being replaced, and the command line's work file
    "History/",       // the kept generations of the profiles and their indexes
};

// True when `relative`, a path below the program folder with '/' or `separator` between
// its names, names one of the program's own files (kOwnFilePatterns). Names are compared
// without regard to ASCII letter case, so no spelling reaches an own file on a file system
// that ignores case.
[[nodiscard]] bool IsOwnFile(std::string_view relative, char separator = '/');

}  // namespace engine
