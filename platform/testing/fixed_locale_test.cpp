// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/fixed_locale.h"

#include <gtest/gtest.h>

#include "platform/civil_time.h"

namespace platform {
namespace {

TEST(FixedLocaleTest, UsGeneralDate) {
  const FixedLocale us;
  EXPECT_EQ(us.generalDate({1998, 10, 27, 20, 3, 2}), "10/27/98 8:03:02 PM");
  EXPECT_EQ(us.generalDate({1998, 10, 27, 0, 0, 0}), "10/27/98");
  EXPECT_EQ(us.generalDate({2005, 1, 2, 0, 0, 1}), "1/2/05 12:00:01 AM");
  EXPECT_EQ(us.generalDate({2005, 1, 2, 12, 30, 0}), "1/2/05 12:30:00 PM");
  EXPECT_EQ(us.generalDate({2000, 12, 31, 11, 59, 59}), "12/31/00 11:59:59 AM");
  EXPECT_EQ(us.groupSeparator(), ",");
  EXPECT_EQ(us.decimalSeparator(), ".");
}

TEST(FixedLocaleTest, FileTimesAreTakenAsLocalTimes) {
  const FixedLocale us;
  const LocalDateTime when{1998, 10, 27, 20, 3, 2};
  EXPECT_EQ(us.toLocal(SecondsFromCivil(when)), when);
}

}  // namespace
}  // namespace platform
