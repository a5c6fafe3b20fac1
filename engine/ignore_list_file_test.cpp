// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ignore_list_file.h"

#include <cerrno>
#include <string>
#include <vector>

#include <gmock/gmock.h>
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
                   "\xEF\xBB\xBF"
                   "C:\\ETC\\\n\r\n  \t\r\nC:\\VAR\\LOG\\\r\n\n"
                   "C:\\J\xC3\xB8RN\\\r\nC:\\SRV\\");
  std::vector<base::Status> warnings;
  auto entries = ReadIgnoreList(m_fs, kPath, &warnings);
  ASSERT_TRUE(entries.isOk());
  EXPECT_EQ(entries.value(),
            (Entries{"C:\\ETC\\", "C:\\VAR\\LOG\\", "C:\\J\xC3\xB8RN\\", "C:\\SRV\\"}));
  EXPECT_TRUE(warnings.empty());
}

TEST_F(IgnoreListFileTest, SlipsAreReadAsMeantWithAWarningNamingTheLine) {
  // Lines ended by CR alone, as an old Macintosh editor writes them; entries without the
  // closing separator; blanks after it.
  m_fs.addTextFile(kPath, "C:\\TEMP\rC:\\CACHE\\ \rC:\\OK\\\r");
  std::vector<base::Status> warnings;
  auto entries = ReadIgnoreList(m_fs, kPath, &warnings);
  ASSERT_TRUE(entries.isOk());
  EXPECT_EQ(entries.value(), (Entries{"C:\\TEMP\\", "C:\\CACHE\\", "C:\\OK\\"}));
  ASSERT_EQ(warnings.size(), 3u);
  EXPECT_EQ(warnings[0].message(),
            std::string(kPath) + ", line 1: the line ends in CR alone; read as a line end");
  EXPECT_EQ(warnings[1].message(), std::string(kPath) +
                                       ", line 1: \"C:\\TEMP\" does not end in \\; read as "
                                       "\"C:\\TEMP\\\"");
  EXPECT_THAT(warnings[2].message(), ::testing::HasSubstr("line 2: \"C:\\CACHE\\ \""));
  EXPECT_EQ(Read(), entries.value());  // the warnings are for those who ask
}

TEST_F(IgnoreListFileTest, OnlyARegularFileOfSensibleSizeIsAList) {
  m_fs.addFolder(kPath);
  EXPECT_EQ(ReadIgnoreList(m_fs, kPath).status().systemError(), EISDIR);
  m_fs.addTextFile("C:\\Brinvale\\huge.txt", std::string(kMaxIgnoreListSize + 1, 'x'));
  const base::Status huge = ReadIgnoreList(m_fs, "C:\\Brinvale\\huge.txt").status();
  EXPECT_EQ(huge.code(), base::Status::Code::kInvalidArgument);
  EXPECT_THAT(huge.message(), ::testing::HasSubstr("huge.txt: larger than"));
}

TEST_F(IgnoreListFileTest, ListThatCannotReadBackAsItselfIsRefused) {
  m_fs.addTextFile(kPath, "/keep/\r\n");
  for (const Entries& bad : {Entries{"/a/", ""}, Entries{"/a\nb/"}, Entries{"/a\r/"}}) {
    EXPECT_EQ(WriteIgnoreList(m_fs, kPath, bad).code(), base::Status::Code::kInvalidArgument);
  }
  EXPECT_EQ(File(), "/keep/\r\n");
}

TEST_F(IgnoreListFileTest, FailedWriteKeepsTheOldList) {
  m_fs.addTextFile(kPath, "/keep/\r\n");
  m_fs.failWritesAfter(kPath, 3);
  EXPECT_FALSE(WriteIgnoreList(m_fs, kPath, {"/new/one/", "/new/two/"}).isOk());
  EXPECT_EQ(File(), "/keep/\r\n");

  m_fs.clearFaults();
  m_fs.failOpen(kPath, base::Status::permissionDenied(kPath));
  EXPECT_EQ(ReadIgnoreList(m_fs, kPath).status().code(), base::Status::Code::kPermissionDenied);
}

TEST_F(IgnoreListFileTest, IgnoreTextFeedsTheMatcher) {
  const Entries entries = {"C:\\DATA\\", "C:\\"};
  EXPECT_EQ(IgnoreTextOf(entries), "C:\\DATA\\\r\nC:\\\r\n");
  EXPECT_EQ(IgnoreTextOf({}), "");
  const IgnoreMatcher matcher = IgnoreMatcher::FromIgnoreText(IgnoreTextOf(entries));
  EXPECT_TRUE(matcher.isIgnored("c:\\data\\"));
  EXPECT_TRUE(matcher.isIgnored("C:\\"));
}

TEST_F(IgnoreListFileTest, WholeTreeEntriesAreReadAsTheyAreAndCoverTheirTreeOnly) {
  // An older program reads such an entry as a folder named "**" that no drive has.
  m_fs.addTextFile(kPath, "C:\\BUILD\\**\r\nC:\\CACHE\\**  \r\nC:\\TEMP\\\r\nC:\\x**\r\n");
  std::vector<base::Status> warnings;
  auto entries = ReadIgnoreList(m_fs, kPath, &warnings);
  ASSERT_TRUE(entries.isOk());
  EXPECT_EQ(entries.value(),
            (Entries{"C:\\BUILD\\**", "C:\\CACHE\\**", "C:\\TEMP\\", "C:\\x**\\"}));
  // Blanks after the mark are a slip; a folder named "x**" is a folder like any other.
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_THAT(warnings[0].message(), ::testing::HasSubstr("line 2: \"C:\\CACHE\\**  \""));
  EXPECT_THAT(warnings[1].message(), ::testing::HasSubstr("read as \"C:\\x**\\\""));

  const IgnoreMatcher matcher(entries.value());
  for (const char* covered : {"C:\\BUILD\\", "c:\\build\\", "C:\\BUILD\\OBJ\\",
                              "C:\\Build\\a\\b\\c\\", "C:\\CACHE\\X\\"}) {
    EXPECT_TRUE(matcher.isIgnored(covered)) << covered;
    EXPECT_TRUE(matcher.leavesOutTree(covered)) << covered;
  }
  // A plain entry keeps its meaning: only its own folder.
  EXPECT_TRUE(matcher.isIgnored("C:\\TEMP\\"));
  EXPECT_FALSE(matcher.leavesOutTree("C:\\TEMP\\"));
  EXPECT_FALSE(matcher.isIgnored("C:\\TEMP\\OLD\\"));
  for (const char* outside :
       {"C:\\", "C:\\BUILD2\\", "C:\\BUIL\\", "D:\\BUILD\\", "C:\\x**\\y\\"}) {
    EXPECT_FALSE(matcher.isIgnored(outside)) << outside;
  }
  EXPECT_TRUE(matcher.isIgnored("C:\\x**\\"));
}

TEST(IgnoreMatcherTest, WholeTreesWithEitherSeparatorAndAtTheRoot) {
  const IgnoreMatcher posix({"/home/ann/build/**", "/srv/"});
  EXPECT_TRUE(posix.leavesOutTree("/home/ann/build/"));
  EXPECT_TRUE(posix.leavesOutTree("/home/ann/build/.git/objects/"));
  EXPECT_FALSE(posix.leavesOutTree("/home/ann/"));
  EXPECT_FALSE(posix.leavesOutTree("/home/ann/build.old/"));
  EXPECT_FALSE(posix.isIgnored("/srv/www/"));
  EXPECT_EQ(WholeTreeEntryOf("/home/ann/build/"), "/home/ann/build/**");
  EXPECT_TRUE(IsWholeTreeEntry("/**", '/'));
  EXPECT_FALSE(IsWholeTreeEntry("**", '/'));
  EXPECT_FALSE(IsWholeTreeEntry("/a/**", '\\'));

  const IgnoreMatcher everything({"/**"});
  EXPECT_TRUE(everything.isIgnored("/"));
  EXPECT_TRUE(everything.isIgnored("/home/"));
  EXPECT_FALSE(IgnoreMatcher().isIgnored("/"));
}

}  // namespace
}  // namespace engine
