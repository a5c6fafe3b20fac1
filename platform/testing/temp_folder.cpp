// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/temp_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

namespace platform {

TempFolder::TempFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && base[0] == '/' ? base : "/tmp");
  if (pattern.back() != '/') pattern += '/';
  pattern += "brinvale-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::perror(pattern.c_str());
    std::abort();
  }
  m_path = pattern + "/";
}

namespace {

// Removes everything in the open folder `fd` and closes it, going down one folder at a time
// and back up through "..", so that trees deeper than the system's path limit go too and
// only two descriptors are open at once. Permissions that tests took away are given back.
void RemoveContents(int fd) {
  std::vector<std::string> down;  // the names from the top folder to the current one
  while (fd >= 0) {
    std::string child;
    if (DIR* dir = ::fdopendir(::dup(fd)); dir != nullptr) {
      ::rewinddir(dir);
      while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISDIR(st.st_mode)) {
          ::unlinkat(fd, name.c_str(), 0);
        } else if (child.empty()) {
          child = name;
        }
      }
      ::closedir(dir);
    }
    if (!child.empty()) {
      // A folder that stays locked shows when openat() below fails.
      std::ignore = ::fchmodat(fd, child.c_str(), S_IRWXU, 0);
      const int next = ::openat(fd, child.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      ::close(fd);
      fd = next;  // a folder that cannot be entered ends the removal: it would come back
      down.push_back(child);
      continue;
    }
    if (down.empty()) break;
    const int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::close(fd);
    fd = parent;
    if (fd >= 0 && ::unlinkat(fd, down.back().c_str(), AT_REMOVEDIR) != 0) break;
    down.pop_back();
  }
  if (fd >= 0) ::close(fd);
}

}  // namespace

TempFolder::~TempFolder() {
  ::chmod(m_path.c_str(), S_IRWXU);
  RemoveContents(::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  ::rmdir(m_path.c_str());
}

}  // namespace platform
