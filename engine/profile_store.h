// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Where a drive's stored profile lives, whether it exists, and its time stamp. A new scan
// is written as a replacement of the stored profile (FileSystem::openForReplacing): the
// comparison reads its temporary, and its commit makes it the stored profile in one rename.
#pragma once

#include <string>
#include <string_view>

#include "base/status.h"
#include "platform/file_system.h"
#include "platform/locale_format.h"

namespace engine {

struct ProfilePaths {
  std::string driveLetter;  // upper case, e.g. "C"
  std::string profilePath;  // programFolder + "Prof_C_.bvp"
};

// The work files of earlier versions in the program folder, shared by every run and left
// behind by a run that failed or was killed: the temporary profile and the report section.
// A run removes them when it starts.
inline constexpr const char* kEarlierWorkFileNames[] = {"bvp.tmp", "section.tmp"};

// The paths for the drive whose chooser text is `driveText` ("c: [/]" or "a:"): the drive
// letter is the text before the first colon, in upper case. `programFolder` ends in the
// separator.
[[nodiscard]] ProfilePaths ProfilePathsFor(std::string_view driveText,
                                           std::string_view programFolder);

// True when `profilePath` is an ordinary file; a hidden or system file counts as missing.
[[nodiscard]] bool ProfileExists(platform::FileSystem& fs, const std::string& profilePath);

// The stored profile's modification time in the general date format of `locale`.
[[nodiscard]] base::Result<std::string> ProfileDate(platform::FileSystem& fs,
                                                    const std::string& profilePath,
                                                    const platform::LocaleFormat& locale);

}  // namespace engine
