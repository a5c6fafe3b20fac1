// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The drives a user can choose: mounted volumes and watched folders, each under a letter
// that stays the same from run to run, so a profile always meets its own volume again.
#pragma once

#include <string>
#include <vector>

#include "base/status.h"

namespace platform {

struct Drive {
  char letter = 'C';        // upper case, 'A' to 'Z'
  std::string root;         // the mount point or folder, ending in the separator: "/", "/home/"
  std::string displayText;  // the lower-case letter, ": " and the path in brackets: "c: [/]"
  // A volume that is mounted now, or a watched folder that exists. A volume that is gone
  // keeps its letter and is listed unavailable.
  bool available = false;
  bool isFolder = false;  // a watched folder rather than a volume of its own
};

struct DriveListing {
  std::vector<Drive> drives;  // in letter order
  // What the user should hear about: lines of the letter file that were ignored, a letter
  // file that could not be read or written. Never a reason to stop.
  std::vector<base::Status> problems;
};

class Volumes {
 public:
  Volumes() = default;
  Volumes(const Volumes&) = delete;
  Volumes& operator=(const Volumes&) = delete;
  virtual ~Volumes() = default;

  // The drives as they are now. Volumes seen for the first time get their letters here,
  // and the letters are stored before the call returns; a volume whose letter could not
  // be stored is left out (and named in `problems`), so that no profile is ever taken
  // under a letter that a later run could give to another volume.
  [[nodiscard]] virtual DriveListing drives() = 0;
};

}  // namespace platform
