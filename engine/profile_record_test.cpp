// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/profile_record.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

ProfileRecord Record(std::int64_t size, platform::LocalDateTime time, std::string folder,
                     std::string name) {
  return ProfileRecord{size, time, std::move(folder), std::move(name)};
}

std::string Line(const ProfileRecord& r) {
  std::string out;
  AppendProfileLine(r, &out);
  return out;
}

TEST(ProfileRecordTest, WritesTheDocumentedLine) {
  EXPECT_EQ(Line(Record(12345, {1998, 3, 14, 17, 5, 2}, "C:\\WINDOWS\\", "WIN.INI")),
            "12345,#1998-03-14 17:05:02#,\"C:\\WINDOWS\\\",\"WIN.INI\"\r\n");
}

TEST(ProfileRecordTest, MidnightWritesTheDateOnly) {
  EXPECT_EQ(Line(Record(0, {1998, 3, 14, 0, 0, 0}, "C:\\", "A")),
            "0,#1998-03-14#,\"C:\\\",\"A\"\r\n");
  EXPECT_EQ(Line(Record(1, {1998, 3, 14, 0, 0, 1}, "C:\\", "A")),
            "1,#1998-03-14 00:00:01#,\"C:\\\",\"A\"\r\n");
}

TEST(ProfileRecordTest, YearsOfAnyLengthAreWrittenWithFourDigitsAtLeast) {
  std::string text;
  for (int year : {7, 999, 1000, 2026, 9999, 10000, 123456}) {
    text.clear();
    AppendProfileTime({year, 1, 2, 3, 4, 5}, &text);
    EXPECT_EQ(text, "#" + std::string(year < 1000 ? (year < 10 ? "000" : "0") : "") +
                        std::to_string(year) + "-01-02 03:04:05#");
  }
}

TEST(ProfileRecordTest, SizesAreSixtyFourBit) {
  const std::int64_t fourGiB = 4LL * 1024 * 1024 * 1024;
  const std::string line = Line(Record(fourGiB, {2026, 1, 2, 3, 4, 5}, "/", "big"));
  EXPECT_EQ(line.substr(0, 11), "4294967296,");
  ProfileRecord back;
  ASSERT_TRUE(ParseProfileLine(line.substr(0, line.size() - 2), &back).isOk());
  EXPECT_EQ(back.size, fourGiB);
}

TEST(ProfileRecordTest, ReadsBothTimeFormsNegativeSizesAndCommas) {
  ProfileRecord r;
  ASSERT_TRUE(ParseProfileLine("-5,#1998-03-14#,\"C:\\A,B\\\",\"x,y.txt\"", &r).isOk());
  EXPECT_EQ(r.size, -5);
  EXPECT_EQ(r.time, (platform::LocalDateTime{1998, 3, 14, 0, 0, 0}));
  EXPECT_EQ(r.folder, "C:\\A,B\\");
  EXPECT_EQ(r.name, "x,y.txt");

  ASSERT_TRUE(ParseProfileLine("7,#2001-12-31 23:59:58#,\"/\",\"z\"", &r).isOk());
  EXPECT_EQ(r.time, (platform::LocalDateTime{2001, 12, 31, 23, 59, 58}));
}

TEST(ProfileRecordTest, NamesThatWouldBreakTheLineAreEscapedAndRoundTrip) {
  const std::string name = std::string("a\"b|c\nd\re\x01") + "\x7f" + "é,中";
  const ProfileRecord original = Record(3, {2020, 2, 29, 12, 0, 0}, "/tmp/q\"x/", name);
  const std::string line = Line(original);
  EXPECT_EQ(line, "3,#2020-02-29 12:00:00#,\"/tmp/q|22x/\",\"a|22b|7Cc|0Ad|0De|01|7Fé,中\"\r\n");
  ProfileRecord back;
  ASSERT_TRUE(ParseProfileLine(line.substr(0, line.size() - 2), &back).isOk());
  EXPECT_EQ(back.folder, original.folder);
  EXPECT_EQ(back.name, original.name);
}

TEST(ProfileRecordTest, WindowsNamesAreWrittenUnchanged) {
  const std::string name = "Résumé (final) [v2] #1 & more~!@$%^'`;=+.txt";
  EXPECT_NE(Line(Record(1, {2020, 1, 1, 1, 1, 1}, "C:\\", name)).find(name), std::string::npos);
}

TEST(ProfileRecordTest, RejectsMalformedLines) {
  ProfileRecord r;
  for (const char* bad :
       {"", "abc", ",#1998-03-14#,\"C:\\\",\"A\"", "12x,#1998-03-14#,\"C:\\\",\"A\"",
        "1,1998-03-14,\"C:\\\",\"A\"", "1,#1998-3-14#,\"C:\\\",\"A\"",
        "1,#1998-13-14#,\"C:\\\",\"A\"", "1,#1998-03-14 25:00:00#,\"C:\\\",\"A\"",
        "1,#1998-03-14#,C:\\,\"A\"", "1,#1998-03-14#,\"C:\\\",\"A", "1,#1998-03-14#,\"C:\\\"",
        "1,#1998-03-14#,\"C:\\\",\"A\"x", "99999999999999999999,#1998-03-14#,\"C:\\\",\"A\"",
        "+1,#1998-03-14#,\"C:\\\",\"A\""}) {
    EXPECT_EQ(ParseProfileLine(bad, &r).code(), base::Status::Code::kCorrupt) << bad;
  }
}

TEST(ProfileRecordTest, TimeFieldsEndAtTheirFirstHash) {
  ProfileRecord r;
  for (const char* bad :
       {"1,#19#8-03-14#,\"C:\\\",\"A\"", "1,#1998-03-14 1#:00:00#,\"C:\\\",\"A\"",
        "1,#1998-03-14 10:00:00,\"C:\\\",\"A\"", "1,#1998-03-1#4#,\"C:\\\",\"A\""}) {
    EXPECT_EQ(ParseProfileLine(bad, &r).message(), "bad time field") << bad;
  }
  // A date, then no comma where the folder should begin.
  EXPECT_EQ(ParseProfileLine("1,#1998-03-14#10:00:00#,\"C:\\\",\"A\"", &r).message(),
            "bad folder field");
  ASSERT_TRUE(ParseProfileLine("1,#1998-03-14#,\"C:\\#\\\",\"#\"", &r).isOk());
  EXPECT_EQ(r.folder, "C:\\#\\");
  EXPECT_EQ(r.name, "#");
}

TEST(ProfileRecordTest, StrayBarIsKeptAsItIs) {
  EXPECT_EQ(UnescapeField("a|zz|4"), "a|zz|4");
  EXPECT_EQ(UnescapeField("|41|4a"), "AJ");
}

}  // namespace
}  // namespace engine
