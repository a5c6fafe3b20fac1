// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/profile_store.h"

#include "base/ascii.h"

namespace engine {

ProfilePaths ProfilePathsFor(std::string_view driveText, std::string_view programFolder) {
  const std::string letter = base::AsciiUppercased(driveText.substr(0, driveText.find(':')));
  ProfilePaths paths;
  paths.driveLetter = letter;
  paths.profilePath = std::string(programFolder) + "Prof_" + letter + "_.bvp";
  return paths;
}

bool ProfileExists(platform::FileSystem& fs, const std::string& profilePath) {
  return fs.isOrdinaryFile(profilePath);
}

base::Result<std::string> ProfileDate(platform::FileSystem& fs, const std::string& profilePath,
                                      const platform::LocaleFormat& locale) {
  auto modified = fs.modificationTime(profilePath);
  if (!modified.isOk()) return modified.status();
  return locale.generalDate(locale.toLocal(modified.value()));
}

}  // namespace engine
