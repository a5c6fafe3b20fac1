// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/print_rules.h"

#include <gtest/gtest.h>

#include "engine/settings_record.h"
#include "reports/test_support.h"

namespace reports {
namespace {

engine::SettingsRecord Margins(double topInches, double leftInches) {
  engine::SettingsRecord settings;
  settings.TopMargin = engine::InchesToStored(topInches);
  settings.LeftMargin = engine::InchesToStored(leftInches);
  return settings;
}

TEST(ColourBodyRectTest, MarginsAreMeasuredFromThePaperAndGivenInThePrintableArea) {
  const PaperTwips letter{12240, 15840, 360, 300};
  // No margins: the body starts left of the printable area, 205 twips down the paper.
  EXPECT_EQ(ColourBodyRect(Margins(0, 0), letter),
            (TwipsRect{-360, 205 - 300, 12240 - 720 - 360, 15840 - 720 - 300}));
  // Half an inch each: the header's 205 twips come off the top margin.
  EXPECT_EQ(ColourBodyRect(Margins(0.5, 0.5), letter),
            (TwipsRect{720 - 360, 720 - 205 - 300, 12240 - 720 - 360, 15840 - 720 - 300}));
}

TEST(ColourBodyRectTest, TopMarginsUpTo205TwipsGive205) {
  const PaperTwips paper{12240, 15840, 0, 0};
  struct Case {
    std::int64_t stored;  // inches x 10000
    std::int64_t top;     // twips
  };
  // 205 twips is 1423.6 stored units, 206 twips 1430.6: the rounding to whole twips decides.
  for (const Case& c : {Case{0, 205}, Case{1000, 205}, Case{1424, 205}, Case{1431, 1},
                        Case{2000, 83}, Case{10000, 1235}}) {
    engine::SettingsRecord settings;
    settings.TopMargin = c.stored;
    EXPECT_EQ(ColourBodyRect(settings, paper).top, c.top) << "stored " << c.stored;
  }
}

TEST(PrintHeadersTest, BothRoutesNameTheFileTheDateAndThePage) {
  EXPECT_EQ(ColourHeader("Drive_C.rtf", "3/14/24 3:09:26 PM", 1),
            "Source: Drive_C.rtf, Created 3/14/24 3:09:26 PM (Page 1)");
  EXPECT_EQ(PlainHeader("Drive_C.rtf", "3/14/24", 70000),
            " -- Source: Drive_C.rtf, 3/14/24 (Page 70000)");
  EXPECT_EQ(SourceNameOf("/home/u/Brinvale/Reports/Drive_CD_3-14-24_1509.txt"),
            "Drive_CD_3-14-24_1509.txt");
  EXPECT_EQ(SourceNameOf(""), "Untitled");
}

class MarkPlainLineTest : public ::testing::Test {
 protected:
  // Lines longer than `m_limit` characters are too wide.
  PlainPrintLine Mark(const QString& line) const {
    return MarkPlainLine(line, [this](const QString& s) { return s.size() > m_limit; });
  }
  int m_limit = 1000;
};

TEST_F(MarkPlainLineTest, AddedAndDeletedAreMarkedOnlyAtTheFourthCharacter) {
  EXPECT_EQ(Mark("   Added NEW.DLL (1,536.00 K)").first, ".   Added NEW.DLL (1,536.00 K)");
  EXPECT_EQ(Mark("   deleted OLD.LOG (2.50 K)").first, ".   deleted OLD.LOG (2.50 K)");
  EXPECT_EQ(Mark("abcAdded x").first, ".abcAdded x");
  // Anywhere else the word leaves the line as it is.
  EXPECT_EQ(Mark("  Added x").first, "  Added x");
  EXPECT_EQ(Mark("    Added x").first, "    Added x");
  EXPECT_EQ(Mark("   Addedx").first, "   Addedx");
  EXPECT_EQ(Mark("Total of Files Added = 1,536.00K").first, "Total of Files Added = 1,536.00K");
  EXPECT_EQ(Mark("").first, "");
  // Added lines are never split, however wide.
  m_limit = 5;
  const PlainPrintLine added = Mark("   Added a:b");
  EXPECT_EQ(added.first, ".   Added a:b");
  EXPECT_FALSE(added.continuation);
}

TEST_F(MarkPlainLineTest, ChangeLinesAreMarkedAndTooWideOnesSplitAfterTheFirstColon) {
  const QString time = "   AUTOEXEC.BAT: Time Changed From: 10/20/98 9:15:00 AM to 10/27/98";
  const QString grew = "   AUTOEXEC.BAT  Grew from .38 to .41 K";
  EXPECT_EQ(Mark(time).first, ".  " + time);
  EXPECT_EQ(Mark("   X  SHRUNK FROM 2 to 1 K").first, ".     X  SHRUNK FROM 2 to 1 K");
  EXPECT_FALSE(Mark(grew).continuation);

  m_limit = 20;
  const PlainPrintLine timeSplit = Mark(time);
  EXPECT_EQ(timeSplit.first, ".     AUTOEXEC.BAT: ");
  EXPECT_EQ(timeSplit.continuation, "Time Changed From: 10/20/98 9:15:00 AM to 10/27/98");
  const PlainPrintLine grewSplit = Mark(grew);
  EXPECT_EQ(grewSplit.first, ".");
  EXPECT_EQ(grewSplit.continuation, "  " + grew);
  // A colon at the very end leaves nothing to continue with.
  const PlainPrintLine endColon = Mark("   name Grew from b:");
  EXPECT_EQ(endColon.first, ".     name Grew from b:");
  EXPECT_FALSE(endColon.continuation);
  // Lines that are not change lines are never split.
  EXPECT_FALSE(Mark("In /home/someone/a/very/long/folder/name/").continuation);
}

}  // namespace
}  // namespace reports
