// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// brinvale.conf, the settings that the settings record (BV3.Def, whose 33 bytes stay as they
// are) has no room for, in an INI file of the program folder (engine/ini_file.h):
//
//   [scan]
//   hidden = false        # true: hidden files and folders are walked and profiled
//   [history]
//   depth = 30            # stored profiles kept per drive when a run replaces one
//   [profiles]
//   C.hidden = false      # written by runs: the setting C's stored profile was made with
//
// A missing file, section or key means the default. Keys this program does not know are
// kept as they are when it rewrites the file.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "base/status.h"

namespace platform {
class FileSystem;
}  // namespace platform

namespace engine {

inline constexpr std::string_view kConfFileName = "brinvale.conf";
inline constexpr int kDefaultHistoryDepth = 30;
inline constexpr int kMaxHistoryDepth = 1000;

struct ProgramConf {
  bool includeHidden = false;                  // [scan] hidden
  int historyDepth = kDefaultHistoryDepth;     // [history] depth, 0 to kMaxHistoryDepth
  std::map<char, bool> profileMadeWithHidden;  // [profiles] K.hidden, by upper-case letter

  // The [scan] hidden setting the stored profile of drive `letter` was made with; false
  // when none is recorded (profiles made before the setting existed left hidden files out).
  [[nodiscard]] bool profileHidden(char letter) const;
};

// Reads the settings file `path` into `*conf`. A missing file gives the defaults. When the
// file cannot be read, is not a regular file, or holds a bad line or a value that is not
// one of the key's values, `*conf` gets the defaults and the status names the file (and the
// line); the caller tells the user once.
[[nodiscard]] base::Status LoadProgramConf(platform::FileSystem& fs, const std::string& path,
                                           ProgramConf* conf);

// Store one setting: [scan] hidden, and [profiles] K.hidden for the drive `letter` (A to
// Z, either case). Everything else in the file stays as it was (UpdateIniFile), lines it
// could not read included. Fails naming the file; it is then as it was.
[[nodiscard]] base::Status StoreIncludeHidden(platform::FileSystem& fs, const std::string& path,
                                              bool on);
[[nodiscard]] base::Status StoreProfileHidden(platform::FileSystem& fs, const std::string& path,
                                              char letter, bool on);

}  // namespace engine
