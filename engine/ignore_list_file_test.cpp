// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ignore_list_file.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/ignore_matcher.h"
#include "platform/testing/memory_file_system.h"

namespace engine {
namespace {

using Entries = std::vector<std::string>;

class IgnoreListFileTest : public ::testing::Test {
 protected:
  IgnoreListFileTest() { m_fs.addFolder("C:\\Brinvale"); }

  Entries Read() {
    auto entries = ReadIgnoreList(m_fs, kPath);
    EXPECT_TRUE(entries.isOk()) << entries.status().toString();
    return entries.isOk() ? entries.value() : Entries{"<failed>"};
  }
  std::string File() const { return m_fs.contents(kPath).value_or("<missing>"); }

  static constexpr const char* kPath = "C:\\Brinvale\\ignore.txt";
  platform::MemoryFileSystem m_fs;
};

TEST_F(IgnoreListFileTest, WritesOneLinePerEntryAndReadsThemBack) {
  const Entries entries = {"C:\\DATA\\OLD\\", "C:\\", "C:\\a,b\\", "c:\\data\\old\\",
                           "C:\\DATA\\OLD\\"};
  ASSERT_TRUE(WriteIgnoreList(m_fs, kPath, entries).isOk());
  EXPECT_EQ(File(),
            "C:\\DATA\\OLD\\\r\nC:\\\r\nC:\\a,b\\\r\nc:\\data\\old\\\r\nC:\\DATA\\OLD\\\r\n");
  EXPECT_EQ(Read(), entries);
}

TEST_F(IgnoreListFileTest, EmptyListIsAZeroByteFileAndMissingFileIsEmpty) {
  EXPECT_EQ(Read(), Entries{});
  EXPECT_FALSE(m_fs.exists(kPath));  // reading never creates it
  m_fs.addTextFile(kPath, "C:\\X\\\r\n");
  ASSERT_TRUE(WriteIgnoreList(m_fs, kPath, {}).isOk());
  EXPECT_EQ(File(), "");
  EXPECT_EQ(Read(), Entries{});
}

TEST_F(IgnoreListFileTest, HandEditedFilesReadSensibly) {
  m_fs.addTextFile(kPath,
                   "\xEF\xBB\xBF/etc/\n\r\n  \t\r\n/var/log/\r\n\n/home/j\xC3\xB8rn/ \r\n/srv/");
  EXPECT_EQ(Read(), (Entries{"/etc/", "/var/log/", "/home/j\xC3\xB8rn/ ", "/srv/"}));
}

TEST_F(IgnoreListFileTest, ListThatCannotReadBackAsItselfIsRefused) {
  m_fs.addTextFile(kPath, "/keep/\r\n");
  for (const Entries& bad : {Entries{"/a/", ""}, Entries{"/a\nb/"}, Entries{"/a\r/"}}) {
    EXPECT_EQ(WriteIgnoreList(m_fs, kPath, bad).code(), Status::Code::kInvalidArgument);
  }
  EXPECT_EQ(File(), "/keep/\r\n");
}

TEST_F(IgnoreListFileTest, FailedWriteKeepsTheOldList) {
  m_fs.addTextFile(kPath, "/keep/\r\n");
  m_fs.failWritesAfter("C:\\Brinvale\\ignore.txt.part", 3);
  EXPECT_FALSE(WriteIgnoreList(m_fs, kPath, {"/new/one/", "/new/two/"}).isOk());
  EXPECT_EQ(File(), "/keep/\r\n");

  m_fs.clearFaults();
  m_fs.failOpen(kPath, Status::permissionDenied(kPath));
  EXPECT_EQ(ReadIgnoreList(m_fs, kPath).status().code(), Status::Code::kPermissionDenied);
}

TEST_F(IgnoreListFileTest, IgnoreTextFeedsTheMatcher) {
  const Entries entries = {"C:\\DATA\\", "C:\\"};
  EXPECT_EQ(IgnoreTextOf(entries), "C:\\DATA\\\r\nC:\\\r\n");
  EXPECT_EQ(IgnoreTextOf({}), "");
  const IgnoreMatcher matcher = IgnoreMatcher::FromIgnoreText(IgnoreTextOf(entries));
  EXPECT_TRUE(matcher.isIgnored("c:\\data\\"));
  EXPECT_TRUE(matcher.isIgnored("C:\\"));
}

}  // namespace
}  // namespace engine
