// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/posix/posix_file_system.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/temp_folder.h"

namespace engine {
namespace {

constexpr char kName[] = "C:\\Brinvale\\brinvale.conf";

TEST(IniFileTest, FindsKeysAndARewriteChangesOnlyWhatItSets) {
  const std::string text =
      "\xEF\xBB\xBF# written by hand\n"
      "[Scan]\n"
      "  Hidden =  true  \n"
      "colour = blue = green\n"
      "\n"
      "; later\n"
      "[future]\n"
      "wish=granted\n"
      "[scan]\n"
      "empty =\n"
      "# the end\n";
  IniFile file = IniFile::Parse(text, kName);
  ASSERT_TRUE(file.problem().isOk()) << file.problem().message();
  const auto hidden = file.find("scan", "HIDDEN");
  ASSERT_TRUE(hidden);
  EXPECT_EQ(hidden->value, "true");
  EXPECT_EQ(hidden->line, 3);
  EXPECT_EQ(file.find("scan", "colour")->value, "blue = green");
  EXPECT_EQ(file.find("scan", "empty")->value, "");
  EXPECT_FALSE(file.find("future", "colour"));
  ASSERT_EQ(file.entries("SCAN").size(), 3u);
  EXPECT_EQ(file.entries("SCAN")[2].key, "empty");

  ASSERT_TRUE(file.set("scan", "hidden", "false").isOk());  // in place, as spelled
  ASSERT_TRUE(file.set("scan", "new", "1").isOk());         // after the section's last key
  ASSERT_TRUE(file.set("profiles", "C.hidden", "true").isOk());
  EXPECT_EQ(file.text(),
            "# written by hand\n"
            "[Scan]\n"
            "Hidden = false\n"
            "colour = blue = green\n"
            "\n"
            "; later\n"
            "[future]\n"
            "wish=granted\n"
            "[scan]\n"
            "empty =\n"
            "new = 1\n"
            "# the end\n"
            "\n"
            "[profiles]\n"
            "C.hidden = true\n");
  // What was written reads back as it was set.
  const IniFile again = IniFile::Parse(file.text(), kName);
  EXPECT_TRUE(again.problem().isOk());
  EXPECT_EQ(again.find("profiles", "c.HIDDEN")->value, "true");
  EXPECT_EQ(again.find("scan", "hidden")->value, "false");

  IniFile empty;
  ASSERT_TRUE(empty.set("scan", "hidden", "true").isOk());
  EXPECT_EQ(empty.text(), "[scan]\nhidden = true\n");
}

TEST(IniFileTest, AFileWithCrLfKeepsThem) {
  IniFile file = IniFile::Parse("[scan]\r\nhidden = true\r\n", kName);
  ASSERT_TRUE(file.problem().isOk());
  EXPECT_EQ(file.find("scan", "hidden")->value, "true");
  ASSERT_TRUE(file.set("history", "depth", "5").isOk());
  EXPECT_EQ(file.text(), "[scan]\r\nhidden = true\r\n\r\n[history]\r\ndepth = 5\r\n");
}

TEST(IniFileTest, ABadLineIsNamedByFileAndLineAndKeptAsItWasOnARewrite) {
  struct Case {
    std::string text;
    std::string problem;
  };
  const Case cases[] = {
      {"hidden = true\n", "line 1: hidden is set before the first [section]"},
      {"[scan]\nhidden\n",
       "line 2: expected [section], key = value, or a comment starting with "
       "# or ;"},
      {"[scan\nhidden = true\n", "line 1: a section starts with a line [name]"},
      {"[]\n", "line 1: a section starts with a line [name]"},
      {"[scan]\n = true\n", "line 2: expected a key before ="},
      {"[scan]\nhidden = true\n\nHIDDEN = false\n",
       "line 4: HIDDEN is set twice in [scan] (first on line 2)"},
      {"[scan]\nhidden = tr\x01ue\n", "line 2: the line holds a control character"},
      {"[scan]\nlast = x\r", "line 2: the line holds a control character"},
      {"[scan]\nnote = " + std::string(kMaxIniLine, 'x') + "\n",
       "line 2: the line is longer than 4096 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    IniFile file = IniFile::Parse(c.text, kName);
    EXPECT_EQ(file.problem().code(), base::Status::Code::kCorrupt);
    EXPECT_EQ(file.problem().message(), std::string(kName) + ", " + c.problem);
    // Setting a key keeps the line that could not be read: nothing the user wrote is lost.
    ASSERT_TRUE(file.set("other", "key", "v").isOk());
    const std::string text = file.text();
    EXPECT_EQ(text.substr(0, c.text.size()), c.text);
  }
  // The first bad line is the one told.
  EXPECT_EQ(IniFile::Parse("[a]\nx\ny\n", kName).problem().message(),
            std::string(kName) +
                ", line 2: expected [section], key = value, or a comment starting with # or ;");
}

TEST(IniFileTest, WhatCouldNotBeReadBackIsNeverWritten) {
  IniFile file = IniFile::Parse("[scan]\nhidden = true\n", kName);
  const std::string before = file.text();
  for (const auto& [section, key, value] :
       {std::tuple{"scan", "hidden", "a\nb"}, std::tuple{"scan", "a=b", "1"},
        std::tuple{"scan", "#key", "1"}, std::tuple{"scan", " hidden", "1"},
        std::tuple{"scan", "hidden", "true "}, std::tuple{"", "hidden", "1"},
        std::tuple{"sc]an", "hidden", "1"}, std::tuple{"scan", "", "1"}}) {
    SCOPED_TRACE(std::string(section) + "/" + key + "/" + value);
    EXPECT_EQ(file.set(section, key, value).code(), base::Status::Code::kInvalidArgument);
  }
  EXPECT_EQ(file.text(), before);
  const std::string longValue(kMaxIniLine, 'v');
  EXPECT_EQ(file.set("scan", "note", longValue).code(), base::Status::Code::kInvalidArgument);
  EXPECT_EQ(file.text(), before);
}

class IniFileOnDiskTest : public ::testing::Test {
 protected:
  void SetUp() override { m_fs.addFolder("C:\\Brinvale"); }
  platform::MemoryFileSystem m_fs;
};

TEST_F(IniFileOnDiskTest, AMissingFileIsEmptyAndAnUpdateMakesIt) {
  auto missing = ReadIniFile(m_fs, kName);
  ASSERT_TRUE(missing.isOk());
  EXPECT_EQ(missing.value().text(), "");
  ASSERT_TRUE(UpdateIniFile(m_fs, kName, [](IniFile* file) {
                return file->set("scan", "hidden", "true");
              }).isOk());
  EXPECT_EQ(m_fs.contents(kName), "[scan]\nhidden = true\n");
  // An update whose change fails writes nothing.
  EXPECT_TRUE(UpdateIniFile(m_fs, kName, [](IniFile* file) {
                (void)file->set("scan", "hidden", "false");
                return base::Status::invalidArgument("no");
              }).code() == base::Status::Code::kInvalidArgument);
  EXPECT_EQ(m_fs.contents(kName), "[scan]\nhidden = true\n");
}

TEST_F(IniFileOnDiskTest, AnUpdateWaitsForNoOtherRunAndAFailedWriteKeepsTheFile) {
  m_fs.addTextFile(kName, "[scan]\nhidden = true\n");
  m_fs.failWritesAfter(kName, 3);
  EXPECT_FALSE(UpdateIniFile(m_fs, kName, [](IniFile* file) {
                 return file->set("scan", "hidden", "false");
               }).isOk());
  EXPECT_EQ(m_fs.contents(kName), "[scan]\nhidden = true\n");
  m_fs.clearFaults();

  m_fs.holdLockElsewhere("C:\\Brinvale\\brinvale.lock", "4711\n");
  const base::Status busy = UpdateIniFile(
      m_fs, kName, [](IniFile* file) { return file->set("scan", "hidden", "false"); });
  EXPECT_TRUE(busy.isBusy());
  EXPECT_EQ(m_fs.contents(kName), "[scan]\nhidden = true\n");
}

TEST(IniFileOnRealFilesTest, AFifoOrAFileTooLargeIsRefusedAtOnce) {
  platform::TempFolder temp;
  platform::PosixFileSystem fs;
  const std::string fifo = temp / "brinvale.conf";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // No writer will come: reading it would wait for ever.
  const auto read = ReadIniFile(fs, fifo);
  ASSERT_FALSE(read.isOk());
  EXPECT_NE(read.status().message().find(fifo), std::string::npos);
  EXPECT_FALSE(UpdateIniFile(fs, fifo, [](IniFile*) { return base::Status::ok(); }).isOk());

  const std::string large = temp / "large.conf";
  ASSERT_TRUE(
      platform::WriteFileAtomically(fs, large, std::string(kMaxIniFileSize + 1, '#')).isOk());
  EXPECT_FALSE(ReadIniFile(fs, large).isOk());
}

}  // namespace
}  // namespace engine
