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
//   folder "/" and no line uses C, otherwise the first free letter from D to Z (none: it
//   is left out with a problem): one that no line uses and that keeps no records
//   (LetterHasRecords). New volumes are lettered in the order of their paths.
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

// True when the program folder still keeps something under drive `letter` (upper case):
// its stored profile "Prof_" & letter & "_.bvp", or its history folder "History" &
// separator & letter. Such a letter stays reserved for that drive even when no line of
// drives.txt names it any more, so no other drive is ever compared with its profile.
[[nodiscard]] bool LetterHasRecords(FileSystem& fs, const std::string& programFolder, char letter);

// Adds the watched folder `folder` (an absolute path; a trailing '/' is dropped) to
// drives.txt and returns its letter: the lowest from A to Z that no line uses (nor a line
// it cannot read that begins with the letter and a tab), that keeps no records, and that
// is not C while no line names "/" (C is the root volume's). The file is read afresh and
// rewritten under the run lock (RunLock::TakeBriefly) through FileSystem::openForReplacing;
// every line it held stays byte for byte, and the new line ends as the file's first line
// does (LF or CR LF). Fails, changing nothing, when the lock stays busy (busy, naming the
// holder), when `folder` cannot be written on one line (a tab, CR or LF in it) or is not
// absolute (invalidArgument), when it is not a folder now (notFound), when a line names it
// already (invalidArgument, naming its letter), when no letter is free, or when the file
// cannot be read or written.
[[nodiscard]] base::Result<char> AddWatchedFolder(FileSystem& fs, const std::string& programFolder,
                                                  const std::string& folder);

// Removes the line that names the watched folder `folder` as drive `letter` from
// drives.txt, under the run lock and through the one replace path, keeping every other
// line byte for byte. The drive's profile and history are left alone (the letter stays
// reserved while they exist). Fails, changing nothing, when the lock stays busy, when no
// such watched-folder line is in the file now (notFound; a volume's line is never
// removed), or when the file cannot be read or written.
[[nodiscard]] base::Status RemoveWatchedFolder(FileSystem& fs, const std::string& programFolder,
                                               char letter, const std::string& folder);

}  // namespace platform
