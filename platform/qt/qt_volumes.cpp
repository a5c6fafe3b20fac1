// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_volumes.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <iterator>
#include <set>

#include "platform/drive_letters.h"
#include "platform/qt/native_path.h"

namespace platform {
namespace {

// Kernel and desktop file systems that hold no user files of their own, or hold copies
// of files that live elsewhere (overlay layers, snap and image mounts, portals).
constexpr std::string_view kNotVolumes[] = {
    "autofs",      "aufs",
    "binfmt_misc", "bpf",
    "cgroup",      "cgroup2",
    "configfs",    "cramfs",
    "debugfs",     "devfs",
    "devpts",      "devtmpfs",
    "efivarfs",    "erofs",
    "fusectl",     "hugetlbfs",
    "mqueue",      "nfsd",
    "nsfs",        "overlay",
    "proc",        "pstore",
    "ramfs",       "rootfs",
    "rpc_pipefs",  "securityfs",
    "selinuxfs",   "squashfs",
    "sysfs",       "tmpfs",
    "tracefs",     "fuse.snapfuse",
    "fuse.portal", "fuse.gvfsd-fuse",
    "fuse.lxcfs",
};

}  // namespace

bool IsRealVolumeType(std::string_view type) {
  if (type.empty()) return false;
  return std::find(std::begin(kNotVolumes), std::end(kNotVolumes), type) == std::end(kNotVolumes);
}

std::vector<std::string> RealMountPoints(const std::vector<Mount>& mounts) {
  std::vector<std::string> points = {"/"};
  std::set<std::string> seen = {"/"};
  for (const Mount& mount : mounts) {
    if (IsRealVolumeType(mount.type) && seen.insert(mount.path).second) {
      points.push_back(mount.path);
    }
  }
  return points;
}

std::vector<Mount> MountedFileSystems() {
  std::vector<Mount> mounts;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    const QString root = volume.rootPath();
    if (!QFileInfo(root).isDir()) continue;
    mounts.push_back({NativeBytes(root), volume.fileSystemType().toStdString()});
  }
  return mounts;
}

DriveListing QtVolumes::drives() {
  return ListDrives(m_fs, m_programFolder, RealMountPoints(MountedFileSystems()));
}

}  // namespace platform
