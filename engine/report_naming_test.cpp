// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/report_naming.h"

#include <gtest/gtest.h>

#include "engine/settings_record.h"

namespace engine {
namespace {

SettingsRecord Settings(char format, char naming) {
  SettingsRecord s;
  s.ReportFormat = format;
  s.ReportNaming = naming;
  return s;
}

const platform::LocalDateTime kSixDecember1998At1407{1998, 12, 6, 14, 7, 33};

TEST(ReportNamingTest, ByDriveOnlyIsTheSameNameEveryRun) {
  EXPECT_EQ(ReportPath("/p/Reports/", "C", Settings('T', 'D'), kSixDecember1998At1407),
            "/p/Reports/Drive_C.txt");
  EXPECT_EQ(ReportPath("C:\\Reports\\", "C", Settings('R', 'D'), {2001, 2, 3, 4, 5, 6}),
            "C:\\Reports\\Drive_C.rtf");
}

TEST(ReportNamingTest, TimeStampedNameOfACombinedReport) {
  EXPECT_EQ(ReportPath("/p/Reports/", "C_D_", Settings('R', 'T'), kSixDecember1998At1407),
            "/p/Reports/Drive_C_D__12-6-98_1407.rtf");
  EXPECT_EQ(ReportBaseName("/r/", "C", Settings('r', 't'), kSixDecember1998At1407),
            "/r/Drive_C_12-6-98_1407");
}

TEST(ReportNamingTest, StampPadsYearHourAndMinuteOnly) {
  const SettingsRecord stamped = Settings('T', 'T');
  EXPECT_EQ(ReportBaseName("", "C", stamped, {2000, 1, 1, 0, 0, 0}), "Drive_C_1-1-00_0000");
  EXPECT_EQ(ReportBaseName("", "E", stamped, {2009, 10, 31, 23, 59, 59}), "Drive_E_10-31-09_2359");
  EXPECT_EQ(ReportBaseName("", "E", stamped, {2100, 7, 4, 9, 5, 0}), "Drive_E_7-4-00_0905");
}

// A new settings file names by time and date: only the letter D replaces the last report.
TEST(ReportNamingTest, UnsetOrUnknownFieldsMeanPlainTextByTimeAndDate) {
  EXPECT_EQ(ReportPath("/r/", "C", SettingsRecord{}, kSixDecember1998At1407),
            "/r/Drive_C_12-6-98_1407.txt");
  EXPECT_EQ(ReportPath("/r/", "C", Settings('X', 'x'), kSixDecember1998At1407),
            "/r/Drive_C_12-6-98_1407.txt");
  EXPECT_EQ(ReportPath("/r/", "C", Settings('X', 'd'), kSixDecember1998At1407), "/r/Drive_C.txt");
  EXPECT_EQ(ReportExtension(Settings('R', 0)), ".rtf");
}

// A comparison from the history is named by the times its sides were made, whatever the
// naming setting; its format follows the setting.
TEST(ReportNamingTest, HistoryReportsNameTheirSidesTimes) {
  const platform::LocalDateTime march{2026, 3, 9, 2, 30, 5};
  EXPECT_EQ(HistoryReportPath("/p/Reports/", 'K', march, std::nullopt, Settings('R', 'D')),
            "/p/Reports/Drive_K_since_3-9-26_0230.rtf");
  EXPECT_EQ(
      HistoryReportPath("/p/Reports/", 'K', kSixDecember1998At1407, march, Settings('T', 'T')),
      "/p/Reports/Drive_K_12-6-98_1407_to_3-9-26_0230.txt");
}

}  // namespace
}  // namespace engine
