// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Drive letters kept in drives.txt in the program folder, and the drive list built from
// them and the volumes mounted now.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/volumes.h"

namespace platform {

// drives.txt holds one drive a line, LF or CR LF: the letter, a tab, the absolute path,
// and for lines the program wrote for a volume a tab and the word "volume":
//   C<TAB>/<TAB>volume
//   E<TAB>/home/ann/projects
// Blank lines are skipped. Lines that follow no such form are ignored and kept.
inline constexpr char kDrivesFileName[] = "drives.txt";

// Reads `programFolder` & "drives.txt" (a missing file is an empty one) and returns every
// drive it names plus every volume of `mountPoints`, in letter order. The drives' paths,
// in the file and in `mountPoints`, are absolute POSIX paths (a trailing '/' is allowed);
// `fs` reads and writes the file and tells whether a watched folder exists.
//
// - A volume keeps the letter the file gives it. A new volume gets C when it is the root
//   folder "/" and C is free, otherwise the first free letter from D to Z (none: it is left
//   out with a problem). New volumes are lettered in the order of their paths.
// - A line whose path is mounted now, or which the file marks as a volume, is a volume:
//   available only while mounted, so that an empty mount point folder is never taken
//   for the volume. Any other line names a watched folder, available while it is a folder.
// - When letters were added or lines learnt that they name volumes, the file is read
//   again and rewritten under the program folder's run lock (platform/run_lock.h), through
//   FileSystem::openForReplacing; lines that could not be read are kept as they were. If
//   the lock stays busy or the write fails, the new volumes are left out.
// - A file that exists but cannot be read (or is not a regular file) gives no drives at
//   all, only the problem: lettering the volumes afresh could hand a volume another
//   volume's profile.
[[nodiscard]] DriveListing ListDrives(FileSystem& fs, const std::string& programFolder,
                                      const std::vector<std::string>& mountPoints);

}  // namespace platform
