// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/program_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QCoreApplication>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/testing/temp_folder.h"

namespace platform {
namespace {

using ::testing::HasSubstr;

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    m_savedDataHome = dataHome ? std::optional<std::string>(dataHome) : std::nullopt;
    ::setenv("XDG_DATA_HOME", (m_temp / "data").c_str(), 1);
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName("Brinvale");
    std::filesystem::create_directory(m_temp / "bin");
  }
  void TearDown() override {
    if (m_savedDataHome) {
      ::setenv("XDG_DATA_HOME", m_savedDataHome->c_str(), 1);
    } else {
      ::unsetenv("XDG_DATA_HOME");
    }
  }

  static void Touch(const std::string& path) { std::ofstream(path) << "x"; }
  QString Bin() const { return QString::fromStdString(m_temp / "bin"); }

  TempFolder m_temp;
  std::optional<std::string> m_savedDataHome;
};

TEST_F(ProgramFolderTest, UserDataFolderEvenWhenTheExecutableFolderIsWritable) {
  // A build tree's bin/ is writable; a clean rebuild would take every profile with it.
  auto folder = ProgramFolderFor(Bin());
  ASSERT_TRUE(folder.isOk()) << folder.status().toString();
  EXPECT_EQ(folder.value(), m_temp / "data/Brinvale/");
  EXPECT_TRUE(std::filesystem::is_directory(folder.value()));
  EXPECT_EQ(ProgramFolderFor("/nonexistent-brinvale/bin").value(), m_temp / "data/Brinvale/");
}

TEST_F(ProgramFolderTest, PortableMarkerMakesItTheExecutablesFolder) {
  Touch(m_temp / "bin/portable");
  auto folder = ProgramFolderFor(Bin());
  ASSERT_TRUE(folder.isOk()) << folder.status().toString();
  EXPECT_EQ(folder.value(), m_temp / "bin/");
  EXPECT_FALSE(std::filesystem::exists(m_temp / "data"));
  // A folder named "portable" is no marker.
  std::filesystem::remove(m_temp / "bin/portable");
  std::filesystem::create_directory(m_temp / "bin/portable");
  EXPECT_EQ(ProgramFolderFor(Bin()).value(), m_temp / "data/Brinvale/");
}

TEST_F(ProgramFolderTest, TheDefaultFolderIsNamedWithoutBeingCreated) {
  EXPECT_EQ(DefaultProgramFolderFor(Bin()), m_temp / "data/Brinvale/");
  EXPECT_FALSE(std::filesystem::exists(m_temp / "data"));
  Touch(m_temp / "bin/portable");
  EXPECT_EQ(DefaultProgramFolderFor(Bin()), m_temp / "bin/");
}

TEST_F(ProgramFolderTest, OverrideWinsAndMustBeAFolder) {
  Touch(m_temp / "bin/portable");
  std::filesystem::create_directory(m_temp / "mine");
  std::filesystem::create_directory_symlink(m_temp / "mine", m_temp / "link");
  auto folder = ProgramFolderFor(Bin(), QString::fromStdString(m_temp / "link"));
  ASSERT_TRUE(folder.isOk()) << folder.status().toString();
  EXPECT_EQ(folder.value(), m_temp / "mine/");
  const auto missing = ProgramFolderFor(Bin(), QString::fromStdString(m_temp / "none"));
  EXPECT_EQ(missing.status().message(), m_temp / "none: no such folder");
  Touch(m_temp / "afile");
  EXPECT_FALSE(ProgramFolderFor(Bin(), QString::fromStdString(m_temp / "afile")).isOk());
}

TEST_F(ProgramFolderTest, DataFolderThatCannotBeCreated) {
  // A file where the data folder should be.
  ASSERT_TRUE(std::filesystem::create_directory(m_temp / "data"));
  Touch(m_temp / "data/Brinvale");
  EXPECT_FALSE(ProgramFolderFor(Bin()).isOk());
}

TEST_F(ProgramFolderTest, ProfilesLeftBesideTheExecutableAreNamedOnceWithHowToMoveThem) {
  const std::string data = ProgramFolderFor(Bin()).value();
  EXPECT_FALSE(EarlierProfilesNotice(Bin(), data));
  Touch(m_temp / "bin/Prof_C_.bvp");
  Touch(m_temp / "bin/Prof_D_.bvp");
  Touch(m_temp / "bin/BV3.Def");
  const auto notice = EarlierProfilesNotice(Bin(), data);
  ASSERT_TRUE(notice);
  EXPECT_THAT(*notice, HasSubstr(m_temp / "bin/ (2 profiles)"));
  EXPECT_THAT(*notice,
              HasSubstr("mv '" + m_temp / "bin/Prof_C_.bvp' '" + m_temp / "bin/Prof_D_.bvp' '" +
                        m_temp / "bin/BV3.Def' '" + data + "'"));
  EXPECT_THAT(*notice, HasSubstr("portable"));
  // Nothing was moved; once the data folder has a profile, or when the executable's folder
  // is the program folder, there is nothing to say.
  EXPECT_TRUE(std::filesystem::exists(m_temp / "bin/Prof_C_.bvp"));
  EXPECT_FALSE(EarlierProfilesNotice(Bin(), m_temp / "bin/"));
  Touch(data + "Prof_E_.bvp");
  EXPECT_FALSE(EarlierProfilesNotice(Bin(), data));
}

TEST_F(ProgramFolderTest, FolderOfTheRunningProgram) {
  int argc = 1;
  char name[] = "program_folder_test";
  char* argv[] = {name, nullptr};
  // Tests that share this executable may have made the application already; Qt allows one.
  std::optional<QCoreApplication> app;
  if (QCoreApplication::instance() == nullptr) app.emplace(argc, argv);
  EXPECT_EQ(ProgramFolder().value(), m_temp / "data/Brinvale/");
  EXPECT_EQ(ProgramFolder(QString::fromStdString(m_temp.path())).value(), m_temp.path());
}

}  // namespace
}  // namespace platform
