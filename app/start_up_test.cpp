// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_up.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/window_test_support.h"

namespace app {
namespace {

TEST(StartUpTest, ProgramFolderOptionIsMadeAbsoluteCreatedAndEndsInASlash) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString wanted = dir.path() + "/new/folder";
  const auto folder = ChooseProgramFolder(wanted + "/../folder");
  ASSERT_TRUE(folder.isOk()) << folder.status().toString();
  EXPECT_EQ(folder.value(), QDir(wanted).canonicalPath().toStdString() + "/");
  EXPECT_TRUE(QDir(wanted).exists());

  ASSERT_TRUE(testing::WriteBytes(dir.path() + "/file", "x"));
  const auto file = ChooseProgramFolder(dir.path() + "/file");
  ASSERT_FALSE(file.isOk());
  EXPECT_NE(file.status().message().find("/file: not a folder"), std::string::npos);
}

}  // namespace
}  // namespace app
