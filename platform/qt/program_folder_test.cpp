// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/program_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QCoreApplication>
#include <filesystem>
#include <fstream>
#include <optional>

namespace platform {
namespace {

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/brinvale-program-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    m_temp = pattern;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    m_savedDataHome = dataHome ? std::optional<std::string>(dataHome) : std::nullopt;
    ::setenv("XDG_DATA_HOME", (m_temp + "/data").c_str(), 1);
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName("Brinvale");
  }
  void TearDown() override {
    if (m_savedDataHome) {
      ::setenv("XDG_DATA_HOME", m_savedDataHome->c_str(), 1);
    } else {
      ::unsetenv("XDG_DATA_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_temp, ignored);
  }

  std::string m_temp;
  std::optional<std::string> m_savedDataHome;
};

TEST_F(ProgramFolderTest, WritableFolderOfTheExecutable) {
  auto folder = ProgramFolderFor(QString::fromStdString(m_temp + "/"));
  ASSERT_TRUE(folder.isOk()) << folder.status().toString();
  EXPECT_EQ(folder.value(), m_temp + "/");
  EXPECT_FALSE(std::filesystem::exists(m_temp + "/data"));
}

TEST_F(ProgramFolderTest, UserDataFolderWhenTheExecutableFolderIsNotWritable) {
  auto folder = ProgramFolderFor("/nonexistent-brinvale/bin");
  ASSERT_TRUE(folder.isOk()) << folder.status().toString();
  EXPECT_EQ(folder.value(), m_temp + "/data/Brinvale/");
  EXPECT_TRUE(std::filesystem::is_directory(folder.value()));
}

TEST_F(ProgramFolderTest, ReadOnlyExecutableFolder) {
  if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  std::filesystem::create_directory(m_temp + "/bin");
  std::filesystem::permissions(
      m_temp + "/bin", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  auto folder = ProgramFolderFor(QString::fromStdString(m_temp + "/bin"));
  ASSERT_TRUE(folder.isOk()) << folder.status().toString();
  EXPECT_EQ(folder.value(), m_temp + "/data/Brinvale/");
}

TEST_F(ProgramFolderTest, DataFolderThatCannotBeCreated) {
  // A file where the data folder's parent should be.
  ASSERT_TRUE(std::filesystem::create_directory(m_temp + "/data"));
  { std::ofstream(m_temp + "/data/Brinvale") << "x"; }
  auto folder = ProgramFolderFor("/nonexistent-brinvale/bin");
  EXPECT_FALSE(folder.isOk());
}

TEST_F(ProgramFolderTest, FolderOfTheRunningProgram) {
  const std::string exeFolder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  if (::access(exeFolder.c_str(), W_OK) != 0) GTEST_SKIP() << "the build folder is read-only";
  int argc = 1;
  char name[] = "program_folder_test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  auto folder = ProgramFolder();
  ASSERT_TRUE(folder.isOk());
  EXPECT_EQ(folder.value(), exeFolder + "/");
}

}  // namespace
}  // namespace platform
