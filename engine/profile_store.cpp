// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/profile_store.h"

namespace engine {

ProfilePaths ProfilePathsFor(std::string_view driveText, std::string_view programFolder) {
  std::string letter(driveText.substr(0, driveText.find(':')));
  for (char& c : letter) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  ProfilePaths paths;
  paths.driveLetter = letter;
  paths.profilePath = std::string(programFolder) + "Prof_" + letter + "_.bvp";
  paths.tempProfilePath = std::string(programFolder) + "bvp.tmp";
  return paths;
}

bool ProfileExists(platform::FileSystem& fs, const std::string& profilePath) {
  return fs.isOrdinaryFile(profilePath);
}

Result<std::string> ProfileDate(platform::FileSystem& fs, const std::string& profilePath,
                                const platform::LocaleFormat& locale) {
  auto modified = fs.modificationTime(profilePath);
  if (!modified.isOk()) return modified.status();
  return locale.generalDate(locale.toLocal(modified.value()));
}

Status ReplaceProfile(platform::FileSystem& fs, const std::string& tempProfilePath,
                      const std::string& profilePath) {
  Status s = fs.copyFile(tempProfilePath, profilePath);
  if (!s.isOk()) return s;
  return fs.remove(tempProfilePath);
}

}  // namespace engine
