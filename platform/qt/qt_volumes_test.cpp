// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_volumes.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "platform/posix/posix_file_system.h"
#include "platform/testing/temp_folder.h"

namespace platform {
namespace {

TEST(QtVolumesTest, RealVolumeTypes) {
  for (const char* type : {"ext4", "btrfs", "xfs", "vfat", "exfat", "ntfs3", "fuseblk", "nfs",
                           "nfs4", "cifs", "fuse.sshfs", "iso9660", "zfs"}) {
    EXPECT_TRUE(IsRealVolumeType(type)) << type;
  }
  for (const char* type : {"proc", "sysfs", "tmpfs", "devtmpfs", "cgroup", "cgroup2", "overlay",
                           "squashfs", "autofs", "devpts", "mqueue", "fuse.portal", ""}) {
    EXPECT_FALSE(IsRealVolumeType(type)) << type;
  }
}

TEST(QtVolumesTest, RootIsAlwaysADriveAndComesFirst) {
  const std::vector<Mount> mounts = {
      {"/proc", "proc"},
      {"/", "overlay"},
      {"/home", "ext4"},
      {"/home", "ext4"},
      {"/snap/core/1", "squashfs"},
      {"/media/usb", "vfat"},
      {"/mnt/nas", "nfs4"},
      {"/dev/shm", "tmpfs"},
  };
  EXPECT_EQ(RealMountPoints(mounts),
            (std::vector<std::string>{"/", "/home", "/media/usb", "/mnt/nas"}));
  EXPECT_EQ(RealMountPoints({}), std::vector<std::string>{"/"});
}

TEST(QtVolumesTest, DrivesOfThisSystemStartWithTheRootAsC) {
  TempFolder temp;
  const std::string& programFolder = temp.path();
  PosixFileSystem fs;
  QtVolumes volumes(fs, programFolder);
  const DriveListing listing = volumes.drives();
  auto stored = ReadWholeFile(fs, programFolder + "drives.txt");

  ASSERT_FALSE(listing.drives.empty());
  EXPECT_EQ(listing.drives[0].displayText, "c: [/]");
  EXPECT_TRUE(listing.drives[0].available);
  ASSERT_TRUE(stored.isOk());
  EXPECT_EQ(stored.value().rfind("C\t/\tvolume\n", 0), 0u) << stored.value();
}

}  // namespace
}  // namespace platform
