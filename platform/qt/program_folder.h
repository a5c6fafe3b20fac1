// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The program folder: where profiles, settings, the Ignore list and reports live. One rule
// decides it for the window and the command line (docs/program_folder.md).
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "base/status.h"

namespace platform {

// A file of this name beside the executable makes the executable's folder the program
// folder: a portable install, carried with its profiles.
inline constexpr char kPortableMarkerName[] = "portable";

// The program folder, ending in '/':
// - `overrideFolder` when it is not empty (the `--program-folder DIR` option): it must be
//   an existing folder; it is made absolute with links resolved;
// - otherwise the executable's folder when a file named "portable" is in it;
// - otherwise the user's data folder (QStandardPaths::AppLocalDataLocation, normally
//   ~/.local/share/Brinvale/), created when missing.
// Fails, naming the folder, when the override is no folder or the data folder cannot be
// created. Never picks a folder because it happens to be writable: a build tree's bin/
// folder is deleted by a clean rebuild, and every profile with it.
[[nodiscard]] base::Result<std::string> ProgramFolderFor(const QString& executableFolder,
                                                         const QString& overrideFolder = {});

// The program folder that ProgramFolderFor picks without an override, but never created:
// the executable's folder when "portable" is in it, otherwise the user's data folder.
// Empty when there is none. Needs the application's name
// (QCoreApplication::setApplicationName), not an application object.
[[nodiscard]] std::string DefaultProgramFolderFor(const QString& executableFolder);

// ProgramFolderFor the running executable. REQUIRES: a QCoreApplication exists (for its
// path and name).
[[nodiscard]] base::Result<std::string> ProgramFolder();
[[nodiscard]] base::Result<std::string> ProgramFolder(const QString& overrideFolder);

// An earlier rule kept the files in the executable's folder whenever it was writable. When
// `executableFolder` holds profiles ("Prof_?_.bvp") and `programFolder` holds none, the
// text that tells the user so and how to move them (a shell command naming the files that
// are there); nothing otherwise. Moves nothing. The window shows it once at start-up, the
// command line prints it once per run.
[[nodiscard]] std::optional<std::string> EarlierProfilesNotice(const QString& executableFolder,
                                                               const std::string& programFolder);

}  // namespace platform
