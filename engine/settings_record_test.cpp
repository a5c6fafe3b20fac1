// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/settings_record.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/run_lock.h"
#include "platform/testing/memory_file_system.h"

namespace engine {
namespace {

std::string Bytes(const SettingsRecord& record) {
  const auto bytes = EncodeSettings(record);
  return std::string(bytes.data(), bytes.size());
}

SettingsRecord KnownRecord() {
  SettingsRecord r;
  r.SoundOn = 1;
  r.TopMargin = 12500;  // 1.25 inch
  r.LeftMargin = -2;    // odd, but the file can hold it
  r.Reserved = {'a', 'b', 'c', 0, 0, 0, 0, 0, 0, 0, 'z'};
  r.ReportFormat = 'R';
  r.ReportNaming = 'T';
  r.PrintColor = 1;
  r.OneReport = 0;
  r.setIncludeRecycled(true);
  return r;
}

TEST(SettingsRecordTest, EncodesTheKnownLayout) {
  const std::string expected = std::string("\x01", 1) +                              // SoundOn
                               std::string("\xD4\x30\0\0\0\0\0\0", 8) +              // 12500
                               std::string("\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8) +  // -2
                               std::string("abc\0\0\0\0\0\0\0z", 11) + "RT" +
                               std::string("\x01\x00\xFF", 3);
  ASSERT_EQ(expected.size(), kSettingsRecordSize);
  EXPECT_EQ(Bytes(KnownRecord()), expected);
  EXPECT_EQ(DecodeSettings(expected), KnownRecord());
  EXPECT_EQ(Bytes(SettingsRecord{}), std::string(kSettingsRecordSize, '\0'));
}

TEST(SettingsRecordTest, MarginOfOneAndAQuarterInchIsStoredAs12500) {
  SettingsRecord r;
  r.TopMargin = InchesToStored(1.25);
  r.LeftMargin = InchesToStored(1.25);
  const std::string bytes = Bytes(r);
  EXPECT_EQ(bytes.substr(1, 8), std::string("\xD4\x30\0\0\0\0\0\0", 8));
  EXPECT_EQ(bytes.substr(9, 8), std::string("\xD4\x30\0\0\0\0\0\0", 8));
  EXPECT_EQ(StoredToInches(12500), 1.25);
}

TEST(SettingsRecordTest, MarginConversionsRoundAndClamp) {
  EXPECT_EQ(InchesToStored(0.5), 5000);
  EXPECT_EQ(InchesToStored(0.33336), 3334);  // to the nearest stored unit
  EXPECT_EQ(InchesToStored(-0.75), -7500);
  EXPECT_EQ(InchesToStored(1e300), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(InchesToStored(-1e300), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(InchesToStored(std::nan("")), 0);
  EXPECT_EQ(StoredToTwips(10000), 1440);
  EXPECT_EQ(StoredToTwips(12500), 1800);
  EXPECT_EQ(StoredToTwips(35), 5);  // 5.04 twips
  EXPECT_EQ(StoredToTwips(-35), -5);
  EXPECT_EQ(StoredToTwips(38), 5);  // 5.472
  EXPECT_EQ(StoredToTwips(39), 6);  // 5.616
  EXPECT_EQ(StoredToTwips(std::numeric_limits<std::int64_t>::max()),
            1328165573307087716);  // no overflow: (2^63 - 1) * 18 / 125, rounded
}

TEST(SettingsRecordTest, ShortInputKeepsZeroDefaultsForFieldsItLacks) {
  const std::string full = Bytes(KnownRecord());
  EXPECT_EQ(DecodeSettings(""), SettingsRecord{});

  SettingsRecord soundOnly;
  soundOnly.SoundOn = 1;
  EXPECT_EQ(DecodeSettings(full.substr(0, 1)), soundOnly);
  // A margin cut off in the middle is not half a number.
  EXPECT_EQ(DecodeSettings(full.substr(0, 5)), soundOnly);

  SettingsRecord upToFormat = KnownRecord();
  upToFormat.ReportNaming = 0;
  upToFormat.PrintColor = 0;
  upToFormat.IncludeRecycled = 0;
  EXPECT_EQ(DecodeSettings(full.substr(0, 29)), upToFormat);
  // Bytes after the record are not part of it.
  EXPECT_EQ(DecodeSettings(full + "tail"), KnownRecord());
}

TEST(SettingsRecordTest, ChoicesIgnoreLetterCase) {
  SettingsRecord r;
  EXPECT_FALSE(r.isRichTextReports());  // unset: plain text, named by drive, date and time
  EXPECT_TRUE(r.isTimeStampedNames());
  EXPECT_FALSE(r.includeRecycled());
  r.ReportFormat = 'r';
  r.ReportNaming = 't';
  r.IncludeRecycled = 1;
  EXPECT_TRUE(r.isRichTextReports());
  EXPECT_TRUE(r.isTimeStampedNames());
  EXPECT_TRUE(r.includeRecycled());
  r.ReportFormat = 'T';
  r.ReportNaming = 'd';
  r.setIncludeRecycled(false);
  EXPECT_FALSE(r.isRichTextReports());
  EXPECT_FALSE(r.isTimeStampedNames());
  r.ReportNaming = 'X';  // only D names by drive alone
  EXPECT_TRUE(r.isTimeStampedNames());
  EXPECT_EQ(r.IncludeRecycled, 0);
}

TEST(SettingsRecordTest, MarginsNeverSetStandForTheDefaultsEachOnItsOwn) {
  SettingsRecord r;  // a new settings file
  EXPECT_EQ(r.effectiveTopMargin(), 5000);
  EXPECT_EQ(r.effectiveLeftMargin(), 7500);
  // A margin the user set is used as it is, however small; the other keeps its default.
  r.TopMargin = 1;
  EXPECT_EQ(r.effectiveTopMargin(), 1);
  EXPECT_EQ(r.effectiveLeftMargin(), 7500);
  r.LeftMargin = 59999;
  EXPECT_EQ(r.effectiveLeftMargin(), 59999);
  // No dialog stores a negative margin: a damaged file prints as a new one would.
  r.TopMargin = -2500;
  EXPECT_EQ(r.effectiveTopMargin(), 5000);
  // Reading them never changes the record.
  EXPECT_EQ(r.TopMargin, -2500);
}

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() { m_fs.addFolder("C:\\Brinvale"); }

  std::string File() const { return m_fs.contents(kPath).value_or("<missing>"); }

  static constexpr const char* kPath = "C:\\Brinvale\\BV3.Def";
  platform::MemoryFileSystem m_fs;
};

TEST_F(SettingsFileTest, FirstStartCreatesAnEmptyFileAndZeroDefaults) {
  SettingsRecord record = KnownRecord();
  ASSERT_TRUE(LoadSettings(m_fs, kPath, &record).isOk());
  EXPECT_EQ(record, SettingsRecord{});
  EXPECT_EQ(File(), "");
}

TEST_F(SettingsFileTest, SaveWritesTheRecordAndKeepsALongerFilesTail) {
  m_fs.addTextFile(kPath, "abc");
  ASSERT_TRUE(SaveOptions(m_fs, kPath, KnownRecord()).isOk());
  EXPECT_EQ(File(), Bytes(KnownRecord()));

  m_fs.addTextFile(kPath, std::string(40, 'x'));
  ASSERT_TRUE(SaveOptions(m_fs, kPath, KnownRecord()).isOk());
  EXPECT_EQ(File(), Bytes(KnownRecord()) + "xxxxxxx");
  SettingsRecord read;
  ASSERT_TRUE(LoadSettings(m_fs, kPath, &read).isOk());
  EXPECT_EQ(read, KnownRecord());
}

TEST_F(SettingsFileTest, ShortFileGivesZeroDefaultsForWhatItLacks) {
  m_fs.addTextFile(kPath, Bytes(KnownRecord()).substr(0, 17));
  SettingsRecord record = KnownRecord();
  ASSERT_TRUE(LoadSettings(m_fs, kPath, &record).isOk());
  SettingsRecord expected;
  expected.SoundOn = 1;
  expected.TopMargin = 12500;
  expected.LeftMargin = -2;
  EXPECT_EQ(record, expected);
}

TEST_F(SettingsFileTest, ResetOptionsThrowsAwayUnsavedEdits) {
  ASSERT_TRUE(SaveOptions(m_fs, kPath, KnownRecord()).isOk());
  SettingsRecord record = KnownRecord();
  record.TopMargin = InchesToStored(3);
  record.PrintColor = 0;
  ASSERT_TRUE(ResetOptions(m_fs, kPath, &record).isOk());
  EXPECT_EQ(record, KnownRecord());

  // Never saved: the re-read gives what the start-up read gave, not the edits.
  m_fs.addTextFile(kPath, "");
  ASSERT_TRUE(ResetOptions(m_fs, kPath, &record).isOk());
  EXPECT_EQ(record, SettingsRecord{});
}

TEST_F(SettingsFileTest, FailuresLeaveRecordAndFileAsTheyWere) {
  ASSERT_TRUE(SaveOptions(m_fs, kPath, SettingsRecord{}).isOk());
  m_fs.failOpen(kPath, base::Status::permissionDenied(kPath));
  SettingsRecord record = KnownRecord();
  EXPECT_EQ(LoadSettings(m_fs, kPath, &record).code(), base::Status::Code::kPermissionDenied);
  EXPECT_EQ(ResetOptions(m_fs, kPath, &record).code(), base::Status::Code::kPermissionDenied);
  EXPECT_EQ(record, KnownRecord());
  EXPECT_FALSE(SaveOptions(m_fs, kPath, KnownRecord()).isOk());

  m_fs.clearFaults();
  m_fs.failWritesAfter(kPath, 10);
  EXPECT_FALSE(SaveOptions(m_fs, kPath, KnownRecord()).isOk());
  EXPECT_EQ(File(), Bytes(SettingsRecord{}));

  // The settings folder is gone: the file cannot be created on first start.
  SettingsRecord untouched = KnownRecord();
  EXPECT_FALSE(LoadSettings(m_fs, "C:\\Gone\\BV3.Def", &untouched).isOk());
  EXPECT_EQ(untouched, KnownRecord());
}

TEST_F(SettingsFileTest, SaveTakesTheRunLockAndNeverWritesThroughAnotherRun) {
  ASSERT_TRUE(SaveOptions(m_fs, kPath, SettingsRecord{}).isOk());
  EXPECT_EQ(m_fs.contents("C:\\Brinvale\\brinvale.lock"), std::to_string(::getpid()) + "\n");
  // Within this process's own run the save goes through at once.
  {
    auto run = platform::RunLock::TryTake(m_fs, "C:\\Brinvale\\");
    ASSERT_TRUE(run.isOk());
    EXPECT_TRUE(SaveOptions(m_fs, kPath, KnownRecord()).isOk());
  }
  // Another process's run holds the program folder for longer than a save waits.
  m_fs.holdLockElsewhere("C:\\Brinvale\\brinvale.lock", "4711\n");
  const base::Status busy = SaveOptions(m_fs, kPath, SettingsRecord{});
  EXPECT_TRUE(busy.isBusy());
  EXPECT_EQ(busy.message(), "Another run is using this program folder (pid 4711).");
  EXPECT_EQ(File(), Bytes(KnownRecord()));
}

}  // namespace
}  // namespace engine
