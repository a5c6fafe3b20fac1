// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_locale_format.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <random>
#include <string>

#include "platform/testing/fixed_locale.h"

namespace platform {
namespace {

constexpr LocalDateTime kEvening{1998, 10, 27, 20, 3, 2};
constexpr LocalDateTime kMidnight{1998, 10, 27, 0, 0, 0};

// Qt reads the system locale from the environment once, at its first use, so the
// environment is pinned before any test runs.
const bool kEnvironmentPinned = [] {
  ::setenv("LANG", "en_US.UTF-8", 1);
  for (const char* name : {"LC_ALL", "LC_TIME", "LC_NUMERIC", "LC_MESSAGES"}) ::unsetenv(name);
  return true;
}();

TEST(QtLocaleFormatTest, SystemLocaleFollowsLang) {
  ASSERT_TRUE(kEnvironmentPinned);
  const QtLocaleFormat format;
  EXPECT_EQ(format.generalDate(kEvening), "10/27/98 8:03:02 PM");
  EXPECT_EQ(format.generalDate(kMidnight), "10/27/98");
  EXPECT_EQ(format.groupSeparator(), ",");
  EXPECT_EQ(format.decimalSeparator(), ".");
}

TEST(QtLocaleFormatTest, UnitedStates) {
  const QtLocaleFormat format(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(format.generalDate(kEvening), "10/27/98 8:03:02 PM");
  EXPECT_EQ(format.generalDate(kMidnight), "10/27/98");
  // One second after midnight is not midnight; noon is PM and the hour after midnight 12 AM.
  EXPECT_EQ(format.generalDate({2001, 1, 2, 0, 0, 1}), "1/2/01 12:00:01 AM");
  EXPECT_EQ(format.generalDate({2001, 1, 2, 12, 0, 0}), "1/2/01 12:00:00 PM");
  EXPECT_EQ(format.generalDate({2001, 1, 2, 9, 5, 7}), "1/2/01 9:05:07 AM");
}

// Engine tests use FixedLocale in place of the real en_US; it must not drift from Qt's.
TEST(QtLocaleFormatTest, FixedTestLocaleMatchesQtUnitedStates) {
  const QtLocaleFormat qt(QLocale(QLocale::English, QLocale::UnitedStates));
  const FixedLocale fixed;
  std::mt19937 random(3);
  for (int i = 0; i < 20000; ++i) {
    const LocalDateTime when{std::uniform_int_distribution<int>(1980, 2099)(random),
                             std::uniform_int_distribution<int>(1, 12)(random),
                             std::uniform_int_distribution<int>(1, 28)(random),
                             std::uniform_int_distribution<int>(0, 23)(random),
                             std::uniform_int_distribution<int>(0, 59)(random),
                             i % 7 == 0 ? 0 : std::uniform_int_distribution<int>(0, 59)(random)};
    ASSERT_EQ(fixed.generalDate(when), qt.generalDate(when));
  }
  EXPECT_EQ(fixed.generalDate(kMidnight), qt.generalDate(kMidnight));
  EXPECT_EQ(fixed.groupSeparator(), qt.groupSeparator());
  EXPECT_EQ(fixed.decimalSeparator(), qt.decimalSeparator());
}

TEST(QtLocaleFormatTest, GermanyAndTheCLocale) {
  const QtLocaleFormat german(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(german.generalDate(kEvening), "27.10.98 20:03:02");
  EXPECT_EQ(german.generalDate(kMidnight), "27.10.98");
  EXPECT_EQ(german.groupSeparator(), ".");
  EXPECT_EQ(german.decimalSeparator(), ",");

  const QtLocaleFormat plain(QLocale::c());
  EXPECT_EQ(plain.generalDate(kEvening), "27 Oct 1998 20:03:02");
  EXPECT_EQ(plain.generalDate(kMidnight), "27 Oct 1998");
  EXPECT_EQ(plain.groupSeparator(), ",");
  EXPECT_EQ(plain.decimalSeparator(), ".");
}

TEST(QtLocaleFormatTest, SeparatorsAreUtf8) {
  // French groups digits with a narrow no-break space (U+202F) in Qt's locale data.
  const QtLocaleFormat french(QLocale(QLocale::French, QLocale::France));
  EXPECT_EQ(french.groupSeparator(), "\u202F");
  EXPECT_EQ(french.decimalSeparator(), ",");
}

TEST(QtLocaleFormatTest, ZoneNameIsTakenOutOfTimeFormats) {
  EXPECT_EQ(TimeFormatWithoutZone("h:mm:ss AP t"), "h:mm:ss AP");
  EXPECT_EQ(TimeFormatWithoutZone("HH:mm:ss t"), "HH:mm:ss");
  EXPECT_EQ(TimeFormatWithoutZone("t HH:mm:ss"), "HH:mm:ss");
  EXPECT_EQ(TimeFormatWithoutZone("H:mm:ss (t)"), "H:mm:ss");
  EXPECT_EQ(TimeFormatWithoutZone("HH:mm:ss tttt"), "HH:mm:ss");
  EXPECT_EQ(TimeFormatWithoutZone("HH 'o''clock' t"), "HH 'o''clock'");
  EXPECT_EQ(TimeFormatWithoutZone("HH 'at' mm"), "HH 'at' mm");
  EXPECT_EQ(TimeFormatWithoutZone("HH:mm:ss"), "HH:mm:ss");
}

TEST(QtLocaleFormatTest, NoLocaleKeepsAZoneOrStrayBlanks) {
  const QList<QLocale> all =
      QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
  ASSERT_GT(all.size(), 100);
  for (const QLocale& locale : all) {
    const QString format = TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat));
    SCOPED_TRACE(locale.name().toStdString() + ": " + format.toStdString());
    ASSERT_FALSE(format.isEmpty());
    EXPECT_FALSE(format.front().isSpace());
    EXPECT_FALSE(format.back().isSpace());
    bool quoted = false;
    for (QChar c : format) {
      if (c == u'\'') quoted = !quoted;
      EXPECT_TRUE(quoted || c != u't');
    }
  }
}

TEST(QtLocaleFormatTest, LocalTimeFollowsTz) {
  if (::access("/usr/share/zoneinfo/Europe/Berlin", R_OK) != 0) GTEST_SKIP() << "no tzdata";
  const char* saved = std::getenv("TZ");
  const std::string savedZone = saved ? saved : "";
  ::setenv("TZ", "Europe/Berlin", 1);
  const QtLocaleFormat format(QLocale(QLocale::German, QLocale::Germany));
  const LocalDateTime local = format.toLocal(909518582);  // 20:03:02 UTC
  if (saved) {
    ::setenv("TZ", savedZone.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  tzset();
  EXPECT_EQ(local, (LocalDateTime{1998, 10, 27, 21, 3, 2}));
}

}  // namespace
}  // namespace platform
