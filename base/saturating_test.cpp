// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/saturating.h"

#include <gtest/gtest.h>

namespace base {
namespace {

TEST(SaturatingTest, StopsAtTheLimits) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(SaturatingAdd(kMax - 1, 5), kMax);
  EXPECT_EQ(SaturatingAdd(kMin + 1, -5), kMin);
  EXPECT_EQ(SaturatingAdd(kMax, kMin), -1);
  EXPECT_EQ(SaturatingSubtract(kMin, 1), kMin);
  EXPECT_EQ(SaturatingSubtract(0, kMin), kMax);
  EXPECT_EQ(SaturatingSubtract(kMax, -1), kMax);
  EXPECT_EQ(SaturatingSubtract(-5, -7), 2);
}

}  // namespace
}  // namespace base
