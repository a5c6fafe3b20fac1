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

TEST(SourceNameTest, IsTheLastPartOfThePathOrUntitled) {
  EXPECT_EQ(SourceNameOf("/home/ann/.local/share/Brinvale/Reports/Drive_C.rtf"), "Drive_C.rtf");
  EXPECT_EQ(SourceNameOf("Drive_C.rtf"), "Drive_C.rtf");
  // A backslash is part of a name on Linux, not a separator.
  EXPECT_EQ(SourceNameOf("/tmp/a\\b.rtf"), "a\\b.rtf");
  EXPECT_EQ(SourceNameOf(""), "Untitled");
  EXPECT_EQ(SourceNameOf("/tmp/"), "Untitled");
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

// Marking by position and phrase, and splitting only what is marked ".  " and too wide.
TEST(MarkPlainLineTest, MarksChangeLinesAndSplitsTooWideOnesAfterTheFirstColon) {
  const QString time = "   AUTOEXEC.BAT: Time Changed From: 10/20/98 9:15:00 AM to 10/27/98";
  const QString grew = "   AUTOEXEC.BAT  Grew from .38 to .41 K";
  struct Case {
    QString line;
    int limit;  // characters; longer lines are too wide
    QString first;
    std::optional<QString> continuation;
  };
  const Case cases[] = {
      {"   Added NEW.DLL (1,536.00 K)", 5, ".   Added NEW.DLL (1,536.00 K)", {}},
      {"   deleted a:b (2.50 K)", 5, ".   deleted a:b (2.50 K)", {}},
      {"abcAdded x", 100, ".abcAdded x", {}},
      {"  Added x", 100, "  Added x", {}},
      {"    Added x", 100, "    Added x", {}},
      {"   Addedx", 100, "   Addedx", {}},
      {"Total of Files Added = 1,536.00K", 5, "Total of Files Added = 1,536.00K", {}},
      {"In /home/someone/a/long/folder/name/", 5, "In /home/someone/a/long/folder/name/", {}},
      {"", 5, "", {}},
      {"   X  SHRUNK FROM 2 to 1 K", 100, ".     X  SHRUNK FROM 2 to 1 K", {}},
      {grew, 100, ".  " + grew, {}},
      {time, 20, ".     AUTOEXEC.BAT: ", "Time Changed From: 10/20/98 9:15:00 AM to 10/27/98"},
      {grew, 20, ".", "  " + grew},
      // A colon at the very end leaves nothing to continue with.
      {"   name Grew from b:", 20, ".     name Grew from b:", {}},
  };
  for (const Case& c : cases) {
    const PlainPrintLine printed =
        MarkPlainLine(c.line, [&c](const QString& s) { return s.size() > c.limit; });
    EXPECT_EQ(printed.first, c.first) << c.line.toStdString();
    EXPECT_EQ(printed.continuation, c.continuation) << c.line.toStdString();
  }
}

}  // namespace
}  // namespace reports
