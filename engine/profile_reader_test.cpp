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
using ::testing::Not;

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
  base::Status status;
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
    auto file = fs.openForReplacing(kPath);
    ASSERT_TRUE(file.isOk());
    ProfileWriter writer(file.value().get());
    for (const ProfileRecord& r : written) ASSERT_TRUE(writer.add(r).isOk());
    ASSERT_TRUE(writer.finish().isOk());
    EXPECT_EQ(writer.recordCount(), 20000);
    ASSERT_TRUE(file.value()->commit().isOk());
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

TEST_F(ProfileReaderTest, LastLineCutShortIsDamageThatNamesTheLineAndTheWayOut) {
  // Cut inside any field, or garbage without a line end, after a whole first record.
  for (const char* cut : {"2", "2,#2000-01", "2,#2000-01-01#,\"C:\\", "2,#2000-01-01#,\"C:\\\",\"B",
                          "2,#2000-01-01#,\"C:\\\",\"B\",", "oops"}) {
    EXPECT_EQ(ReadAll(std::string("1,#2000-01-01#,\"C:\\\",\"A\"\r\n") + cut).size(), 1u) << cut;
    EXPECT_EQ(status.code(), base::Status::Code::kCorrupt) << cut;
    EXPECT_EQ(status.message(),
              std::string(kPath) +
                  ", line 2: the profile is damaged at its end. Rename or delete it to make a new "
                  "one on the next run.")
        << cut;
  }
  // A bad line that is ended is an ordinary bad line.
  ReadAll("1,#2000-01-01#,\"C:\\\",\"A\"\r\n2,#2000-01\r\n");
  EXPECT_THAT(status.message(), Not(HasSubstr("damaged at its end")));
  EXPECT_THAT(status.message(), HasSubstr("line 2"));
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
  EXPECT_EQ(status.code(), base::Status::Code::kCorrupt);
  EXPECT_THAT(status.message(), HasSubstr("Prof_C_.bvp, line 2"));
}

TEST_F(ProfileReaderTest, LongLinesSpanningBuffersAreRead) {
  // Lines just under the limit, so that some cross the boundaries of the reader's chunks.
  const std::string name(kMaxProfileLine - 40, 'n');
  std::string text;
  for (int i = 0; i < 12; ++i) text += "1,#2000-01-01#,\"C:\\\",\"" + name + "\"\r\n";
  const auto records = ReadAll(text);
  ASSERT_EQ(records.size(), 12u);
  EXPECT_TRUE(status.isOk()) << status.toString();
  EXPECT_EQ(records[11].name, name);
}

TEST_F(ProfileReaderTest, LineBeyondTheLimitIsCorruptWithoutReadingOn) {
  const std::string name(kMaxProfileLine, 'n');
  EXPECT_EQ(ReadAll("1,#2000-01-01#,\"C:\\\",\"A\"\r\n1,#2000-01-01#,\"C:\\\",\"" + name + "\"\r\n")
                .size(),
            1u);
  EXPECT_EQ(status.code(), base::Status::Code::kCorrupt);
  EXPECT_THAT(status.message(), HasSubstr("Prof_C_.bvp, line 2: longer than 65536 bytes"));

  // A megabyte of zero bytes, as a crash can leave a file, is no profile that ended early.
  EXPECT_TRUE(ReadAll(std::string(1 << 20, '\0')).empty());
  EXPECT_EQ(status.code(), base::Status::Code::kCorrupt);
  EXPECT_THAT(status.message(), HasSubstr("line 1"));
}

TEST_F(ProfileReaderTest, GarbageAsTheOnlyOrLastLineIsCorrupt) {
  for (const std::string& last :
       {std::string("garbage"), std::string(100, '\0'), std::string("2,#2000-01-01# ,\"C:\\"),
        std::string("2,#2000-01-01#,\"C:\\\",\"B\" x")}) {
    EXPECT_TRUE(ReadAll(last).empty()) << last;
    EXPECT_EQ(status.code(), base::Status::Code::kCorrupt) << last;
    EXPECT_EQ(ReadAll("1,#2000-01-01#,\"C:\\\",\"A\"\r\n" + last).size(), 1u) << last;
    EXPECT_THAT(status.message(), HasSubstr("line 2")) << last;
  }
}

TEST_F(ProfileReaderTest, WriteFailureIsStickyAndReported) {
  fs.failWritesAfter(kPath, 100);
  auto file = fs.openForReplacing(kPath);
  ASSERT_TRUE(file.isOk());
  ProfileWriter writer(file.value().get());
  base::Status s;
  for (int i = 0; i < 10000 && s.isOk(); ++i) {
    s = writer.add({1, {2000, 1, 1, 0, 0, 0}, "C:\\", "file" + std::to_string(i)});
  }
  if (s.isOk()) s = writer.finish();
  EXPECT_FALSE(s.isOk());
  EXPECT_FALSE(writer.finish().isOk());
}

}  // namespace
}  // namespace engine
