// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Where a drive's stored and temporary profiles live, whether a stored profile exists,
// its time stamp, and the step that turns a finished scan into the stored profile.
#pragma once

#include <string>
#include <string_view>

#include "engine/status.h"
#include "platform/file_system.h"
#include "platform/locale_format.h"

namespace engine {

struct ProfilePaths {
  std::string driveLetter;      // upper case, e.g. "C"
  std::string profilePath;      // programFolder + "Prof_C_.bvp"
  std::string tempProfilePath;  // programFolder + "bvp.tmp"
};

// The paths for the drive whose chooser text is `driveText` ("c: [/]" or "a:"): the drive
// letter is the text before the first colon, in upper case. `programFolder` ends in the
// separator.
[[nodiscard]] ProfilePaths ProfilePathsFor(std::string_view driveText,
                                           std::string_view programFolder);

// True when `profilePath` is an ordinary file; a hidden or system file counts as missing.
[[nodiscard]] bool ProfileExists(platform::FileSystem& fs, const std::string& profilePath);

// The stored profile's modification time in the general date format of `locale`.
[[nodiscard]] Result<std::string> ProfileDate(platform::FileSystem& fs,
                                              const std::string& profilePath,
                                              const platform::LocaleFormat& locale);

// Copies the temporary profile over the stored one, then deletes the temporary profile.
// The copy goes through a file beside the stored profile and a rename, so the stored
// profile holds either its old or its new content, never a part. On failure the message
// names the file; when only the deletion failed, the stored profile is already replaced.
[[nodiscard]] Status ReplaceProfile(platform::FileSystem& fs, const std::string& tempProfilePath,
                                    const std::string& profilePath);

}  // namespace engine
