// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/local_time_cache.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/civil_time.h"

namespace platform {
namespace {

LocalDateTime FromLibc(std::int64_t utc) {
  const time_t t = static_cast<time_t>(utc);
  tm parts{};
  localtime_r(&t, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
          parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

long OffsetOf(std::int64_t utc) {
  const time_t t = static_cast<time_t>(utc);
  tm parts{};
  localtime_r(&t, &parts);
  return parts.tm_gmtoff;
}

// Runs each test in the zone it names and puts the process's zone back afterwards.
class LocalTimeCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    m_hadZone = tz != nullptr;
    if (m_hadZone) m_savedZone = tz;
  }
  void TearDown() override {
    if (m_hadZone) {
      ::setenv("TZ", m_savedZone.c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    tzset();
  }

  // False (and the test skipped) when the zone's file is not installed.
  bool UseZone(const std::string& zone) {
    if (::access(("/usr/share/zoneinfo/" + zone).c_str(), R_OK) != 0) return false;
    ::setenv("TZ", zone.c_str(), 1);
    tzset();
    return true;
  }

  // Compares the cache with localtime_r on random times and on every second of the
  // hour either side of each change of offset between 1900 and 2100.
  void ExpectSameAsLibc() {
    const LocalTimeCache cache;
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> anyTime(-2208988800, 4102444800);
    for (int i = 0; i < 100000; ++i) {
      const std::int64_t t = anyTime(random);
      ASSERT_EQ(cache.toLocal(t), FromLibc(t)) << t;
    }
    int changes = 0;
    for (std::int64_t hour = -2208988800; hour < 4102444800; hour += 3600) {
      if (OffsetOf(hour) == OffsetOf(hour + 3600)) continue;
      ++changes;
      for (std::int64_t t = hour - 3600; t <= hour + 2 * 3600; ++t) {
        ASSERT_EQ(cache.toLocal(t), FromLibc(t)) << t;
      }
    }
    EXPECT_GT(changes, 100) << "the zone should change its offset twice a year";
  }

  bool m_hadZone = false;
  std::string m_savedZone;
};

TEST_F(LocalTimeCacheTest, NewYork) {
  if (!UseZone("America/New_York")) GTEST_SKIP() << "tzdata is not installed";
  ExpectSameAsLibc();
  const LocalTimeCache cache;
  // 1998-10-27 20:03:02 EST; the spring change of 2024 skips 02:00-02:59.
  EXPECT_EQ(cache.toLocal(909536582), (LocalDateTime{1998, 10, 27, 20, 3, 2}));
  EXPECT_EQ(cache.toLocal(1710053999), (LocalDateTime{2024, 3, 10, 1, 59, 59}));
  EXPECT_EQ(cache.toLocal(1710054000), (LocalDateTime{2024, 3, 10, 3, 0, 0}));
}

TEST_F(LocalTimeCacheTest, Berlin) {
  if (!UseZone("Europe/Berlin")) GTEST_SKIP() << "tzdata is not installed";
  ExpectSameAsLibc();
}

TEST_F(LocalTimeCacheTest, LordHoweChangesByHalfAnHour) {
  if (!UseZone("Australia/Lord_Howe")) GTEST_SKIP() << "tzdata is not installed";
  ExpectSameAsLibc();
}

TEST_F(LocalTimeCacheTest, ChangesAtOddSecondsAreExact) {
  // Monrovia left its offset of -0:44:30 at 00:44:30 UTC on 1972-01-07, in the middle of
  // a quarter hour.
  if (!UseZone("Africa/Monrovia")) GTEST_SKIP() << "tzdata is not installed";
  const LocalTimeCache cache;
  for (std::int64_t t = 63592200; t < 63596400; ++t) ASSERT_EQ(cache.toLocal(t), FromLibc(t)) << t;
}

TEST_F(LocalTimeCacheTest, DatesOfEveryDayFromYearZeroOnAreTheCalendars) {
  if (!UseZone("UTC")) GTEST_SKIP() << "tzdata is not installed";
  const LocalTimeCache cache;
  // Every day from before year 0 to after 4700, then a stride far beyond, at a time of
  // day that tells the hours, minutes and seconds apart.
  for (std::int64_t day = -720000; day < 1'000'000; ++day) {
    ASSERT_EQ(cache.toLocal(day * 86400 + 45296), CivilFromSeconds(day * 86400 + 45296)) << day;
  }
  for (std::int64_t day = 1'000'000; day < 200'000'000; day += 999'983) {
    ASSERT_EQ(cache.toLocal(day * 86400 + 86399), CivilFromSeconds(day * 86400 + 86399)) << day;
  }
}

TEST_F(LocalTimeCacheTest, SharedBetweenThreads) {
  if (!UseZone("Europe/Berlin")) GTEST_SKIP() << "tzdata is not installed";
  const LocalTimeCache cache;
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (int n = 0; n < 4; ++n) {
    threads.emplace_back([&cache, &mismatches, n] {
      std::mt19937_64 random(static_cast<unsigned>(n));
      // Few distinct blocks, so that the threads fight over the same slots.
      std::uniform_int_distribution<std::int64_t> anyTime(1711846800 - 36000, 1711846800 + 36000);
      for (int i = 0; i < 50000; ++i) {
        const std::int64_t t = anyTime(random);
        if (cache.toLocal(t) != FromLibc(t)) ++mismatches[static_cast<std::size_t>(n)];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace platform
