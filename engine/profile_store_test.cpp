// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/profile_store.h"

#include <gtest/gtest.h>

#include "platform/testing/fixed_locale.h"
#include "platform/testing/memory_file_system.h"

namespace engine {
namespace {

TEST(ProfileStoreTest, PathsComeFromTheLetterBeforeTheFirstColon) {
  const ProfilePaths c = ProfilePathsFor("c: [DISK1]", "C:\\PRG\\");
  EXPECT_EQ(c.driveLetter, "C");
  EXPECT_EQ(c.profilePath, "C:\\PRG\\Prof_C_.bvp");
  EXPECT_EQ(ProfilePathsFor("a:", "/opt/b/").profilePath, "/opt/b/Prof_A_.bvp");
}

TEST(ProfileStoreTest, HiddenOrSystemProfilesCountAsMissing) {
  platform::MemoryFileSystem fs;
  fs.addTextFile("C:\\P\\Prof_C_.bvp", "");
  fs.addTextFile("C:\\P\\Prof_D_.bvp", "");
  fs.addTextFile("C:\\P\\Prof_E_.bvp", "");
  fs.setHidden("C:\\P\\Prof_D_.bvp");
  fs.setSystem("C:\\P\\Prof_E_.bvp");
  EXPECT_TRUE(ProfileExists(fs, "C:\\P\\Prof_C_.bvp"));
  EXPECT_FALSE(ProfileExists(fs, "C:\\P\\Prof_D_.bvp"));
  EXPECT_FALSE(ProfileExists(fs, "C:\\P\\Prof_E_.bvp"));
  EXPECT_FALSE(ProfileExists(fs, "C:\\P\\Prof_F_.bvp"));
}

TEST(ProfileStoreTest, ProfileDateIsTheFileTimeInTheGeneralDateFormat) {
  platform::MemoryFileSystem fs;
  platform::FixedLocale locale;
  fs.addFile("C:\\P\\Prof_C_.bvp", 0, 909518582);  // 27 October 1998 20:03:02
  auto date = ProfileDate(fs, "C:\\P\\Prof_C_.bvp", locale);
  ASSERT_TRUE(date.isOk());
  EXPECT_EQ(date.value(), "10/27/98 8:03:02 PM");
  EXPECT_FALSE(ProfileDate(fs, "C:\\P\\none.bvp", locale).isOk());
}

}  // namespace
}  // namespace engine
