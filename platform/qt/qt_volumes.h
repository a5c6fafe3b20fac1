// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The mounted volumes a user can profile, from Qt's list of mounts: block devices and
// network shares, not the pseudo file systems and read-only images of a modern system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/volumes.h"

namespace platform {

// The drives of ListDrives (platform/drive_letters.h) over the real volumes mounted now.
class QtVolumes final : public Volumes {
 public:
  // `fs` must outlive this object. `programFolder` holds drives.txt and ends in '/'.
  QtVolumes(FileSystem& fs, std::string programFolder)
      : m_fs(fs), m_programFolder(std::move(programFolder)) {}

  [[nodiscard]] DriveListing drives() override;

 private:
  FileSystem& m_fs;
  std::string m_programFolder;
};

// True for the type of a file system that holds a user's files (ext4, btrfs, xfs, vfat,
// ntfs, nfs, cifs, fuse.sshfs, ...); false for pseudo file systems (proc, sysfs, tmpfs,
// cgroup, ...), container layers (overlay) and read-only images (squashfs, erofs).
[[nodiscard]] bool IsRealVolumeType(std::string_view type);

struct Mount {
  std::string path;  // the mount point, as bytes of the native path
  std::string type;  // the file system type as the kernel names it
};

// The mount points of `mounts` whose type is real, without repeats, "/" always first:
// the root folder is a drive even where it is a pseudo file system (an overlay in a
// container).
[[nodiscard]] std::vector<std::string> RealMountPoints(const std::vector<Mount>& mounts);

// The folders where file systems are mounted now, from QStorageInfo::mountedVolumes();
// mounts of single files (a container's /etc/hosts) and volumes that are not ready are
// left out.
[[nodiscard]] std::vector<Mount> MountedFileSystems();

}  // namespace platform
