// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/civil_time.h"

#include <gtest/gtest.h>

#include <ctime>
#include <random>

namespace platform {
namespace {

LocalDateTime FromGmtime(std::int64_t seconds) {
  const time_t t = static_cast<time_t>(seconds);
  tm parts{};
  gmtime_r(&t, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
          parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

TEST(CivilTimeTest, KnownMoments) {
  EXPECT_EQ(CivilFromSeconds(0), (LocalDateTime{1970, 1, 1, 0, 0, 0}));
  EXPECT_EQ(CivilFromSeconds(909518582), (LocalDateTime{1998, 10, 27, 20, 3, 2}));
  EXPECT_EQ(CivilFromSeconds(-1), (LocalDateTime{1969, 12, 31, 23, 59, 59}));
  EXPECT_EQ(CivilFromSeconds(951782400), (LocalDateTime{2000, 2, 29, 0, 0, 0}));
  EXPECT_EQ(SecondsFromCivil({1998, 10, 27, 20, 3, 2}), 909518582);
  EXPECT_EQ(SecondsFromCivil({1998, 13, 1, 0, 0, 0}), SecondsFromCivil({1999, 1, 1, 0, 0, 0}));
  EXPECT_EQ(SecondsFromCivil({1999, 0, 1, 0, 0, 0}), SecondsFromCivil({1998, 12, 1, 0, 0, 0}));
}

TEST(CivilTimeTest, AgreesWithTheCLibraryBothWays) {
  std::mt19937_64 random(42);
  // From year 1 to year 9999, where gmtime_r is exact.
  std::uniform_int_distribution<std::int64_t> anyTime(-62135596800, 253402300799);
  for (int i = 0; i < 200000; ++i) {
    const std::int64_t t = anyTime(random);
    const LocalDateTime civil = CivilFromSeconds(t);
    ASSERT_EQ(civil, FromGmtime(t)) << t;
    ASSERT_EQ(SecondsFromCivil(civil), t);
  }
}

TEST(CivilTimeTest, DatesBeyondTheCLibraryRoundTripAcrossEveryRange) {
  // Around 0000-03-01 and about 270,000 years on, where the conversion changes its arithmetic,
  // and far beyond: each second maps to a date that maps back to it.
  constexpr std::int64_t kDay = 86400;
  for (const std::int64_t edgeDay : {std::int64_t{-719468}, std::int64_t{100'000'000 - 719468}}) {
    for (std::int64_t t = (edgeDay - 2) * kDay - 1; t <= (edgeDay + 2) * kDay; t += 3599) {
      ASSERT_EQ(SecondsFromCivil(CivilFromSeconds(t)), t) << t;
    }
  }
  EXPECT_EQ(CivilFromSeconds(-719468 * kDay), (LocalDateTime{0, 3, 1, 0, 0, 0}));
  EXPECT_EQ(CivilFromSeconds(-719468 * kDay - 1), (LocalDateTime{0, 2, 29, 23, 59, 59}));
}

TEST(CivilTimeTest, AbsurdTimesStayInRange) {
  const LocalDateTime far = CivilFromSeconds(INT64_MAX);
  EXPECT_GT(far.year, 1000000000);
  EXPECT_LT(CivilFromSeconds(INT64_MIN).year, -1000000000);
  EXPECT_GE(far.month, 1);
  EXPECT_LE(far.month, 12);
}

}  // namespace
}  // namespace platform
