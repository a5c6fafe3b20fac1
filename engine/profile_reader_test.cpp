// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/profile_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/profile_writer.h"
#include "platform/testing/memory_file_system.h"

namespace engine {
namespace {

using ::testing::HasSubstr;

constexpr const char* kPath = "C:\\Prof_C_.bvp";

class ProfileReaderTest : public ::testing::Test {
 protected:
  ProfileReaderTest() { fs.addFolder("C:\\"); }

  // Reads every record of `text`; the reader's status is left in `status`.
  std::vector<ProfileRecord> ReadAll(const std::string& text) {
    fs.addTextFile(kPath, text);
    auto reader = ProfileReader::Open(fs, kPath);
    EXPECT_TRUE(reader.isOk());
    std::vector<ProfileRecord> records;
    ProfileRecord r;
    while (reader.value()->next(&r)) records.push_back(r);
    status = reader.value()->status();
    return records;
  }

  platform::MemoryFileSystem fs;
  Status status;
};

TEST_F(ProfileReaderTest, WriterAndReaderRoundTripManyRecords) {
  std::vector<ProfileRecord> written;
  for (int i = 0; i < 20000; ++i) {
    written.push_back({static_cast<std::int64_t>(i) * 1000003,
                       {2000 + i % 30, 1 + i % 12, 1 + i % 28, i % 24, i % 60, (i * 7) % 60},
                       "C:\\F" + std::to_string(i / 100) + "\\",
                       "name, " + std::to_string(i)});
  }
  {
    auto writer = ProfileWriter::Create(fs, kPath);
    ASSERT_TRUE(writer.isOk());
    for (const ProfileRecord& r : written) ASSERT_TRUE(writer.value()->add(r).isOk());
    ASSERT_TRUE(writer.value()->finish().isOk());
    EXPECT_EQ(writer.value()->recordCount(), 20000);
  }
  auto reader = ProfileReader::Open(fs, kPath);
  ASSERT_TRUE(reader.isOk());
  ProfileRecord r;
  for (const ProfileRecord& expected : written) {
    ASSERT_TRUE(reader.value()->next(&r));
    EXPECT_EQ(r.size, expected.size);
    EXPECT_EQ(r.time, expected.time);
    EXPECT_EQ(r.folder, expected.folder);
    EXPECT_EQ(r.name, expected.name);
  }
  EXPECT_FALSE(reader.value()->next(&r));
  EXPECT_TRUE(reader.value()->status().isOk());
}

TEST_F(ProfileReaderTest, EmptyFileHasNoRecords) {
  EXPECT_TRUE(ReadAll("").empty());
  EXPECT_TRUE(status.isOk());
}

TEST_F(ProfileReaderTest, LastLineWithoutLineEndStillCounts) {
  EXPECT_EQ(ReadAll("1,#2000-01-01#,\"C:\\\",\"A\"\r\n2,#2000-01-01#,\"C:\\\",\"B\"").size(), 2u);
  EXPECT_TRUE(status.isOk());
}

TEST_F(ProfileReaderTest, LastLineCutShortEndsTheFileQuietly) {
  for (const char* cut :
       {"2", "2,#2000-01", "2,#2000-01-01#,\"C:\\", "2,#2000-01-01#,\"C:\\\",\"B"}) {
    EXPECT_EQ(ReadAll(std::string("1,#2000-01-01#,\"C:\\\",\"A\"\r\n") + cut).size(), 1u) << cut;
    EXPECT_TRUE(status.isOk()) << cut;
  }
}

TEST_F(ProfileReaderTest, LfOnlyAndEmptyLinesAreAccepted) {
  EXPECT_EQ(
      ReadAll("1,#2000-01-01#,\"C:\\\",\"A\"\n\r\n2,#2000-01-01#,\"C:\\\",\"B\"\r\n\r\n").size(),
      2u);
  EXPECT_TRUE(status.isOk());
}

TEST_F(ProfileReaderTest, MalformedLineInTheMiddleNamesFileAndLine) {
  EXPECT_EQ(ReadAll("1,#2000-01-01#,\"C:\\\",\"A\"\r\nnot a record\r\n"
                    "2,#2000-01-01#,\"C:\\\",\"B\"\r\n")
                .size(),
            1u);
  EXPECT_EQ(status.code(), Status::Code::kCorrupt);
  EXPECT_THAT(status.message(), HasSubstr("Prof_C_.bvp, line 2"));
}

TEST_F(ProfileReaderTest, LongLinesSpanningBuffersAreRead) {
  const std::string name(700000, 'n');
  const auto records = ReadAll("1,#2000-01-01#,\"C:\\\",\"" + name + "\"\r\n");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].name, name);
}

TEST_F(ProfileReaderTest, WriteFailureIsStickyAndReported) {
  fs.failWritesAfter(kPath, 100);
  auto writer = ProfileWriter::Create(fs, kPath);
  ASSERT_TRUE(writer.isOk());
  Status s;
  for (int i = 0; i < 10000 && s.isOk(); ++i) {
    s = writer.value()->add({1, {2000, 1, 1, 0, 0, 0}, "C:\\", "file" + std::to_string(i)});
  }
  if (s.isOk()) s = writer.value()->finish();
  EXPECT_FALSE(s.isOk());
  EXPECT_FALSE(writer.value()->finish().isOk());
}

}  // namespace
}  // namespace engine
