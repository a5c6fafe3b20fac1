// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A fresh folder on the real disk for one test, removed with everything in it afterwards.
#pragma once

#include <string>

namespace platform {

class TempFolder {
 public:
  // Creates a new folder below $TMPDIR (or /tmp) whose name starts with "brinvale-".
  // Aborts the test program when it cannot: no test could go on.
  TempFolder();
  // Removes the folder and everything in it, also below folders a test made unreadable.
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, ending in '/'.
  [[nodiscard]] const std::string& path() const { return m_path; }
  // path() & `relative`.
  [[nodiscard]] std::string operator/(const std::string& relative) const {
    return m_path + relative;
  }

 private:
  std::string m_path;
};

}  // namespace platform
