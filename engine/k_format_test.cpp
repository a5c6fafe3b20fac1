// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/k_format.h"

#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace engine {
namespace {

const NumberSeparators kUs;  // "," and "."

TEST(KFormatTest, SizeHasNoDigitBeforeSeparatorBelowOneK) {
  EXPECT_EQ(FormatSizeK(0, kUs), ".00");
  EXPECT_EQ(FormatSizeK(512, kUs), ".50");
  EXPECT_EQ(FormatSizeK(390, kUs), ".38");
  EXPECT_EQ(FormatSizeK(1023, kUs), "1.00");  // .999 rounds up into the units
  EXPECT_EQ(FormatSizeK(1024, kUs), "1.00");
  EXPECT_EQ(FormatSizeK(2560, kUs), "2.50");
  EXPECT_EQ(FormatSizeK(1048576, kUs), "1,024.00");
  EXPECT_EQ(FormatSizeK(1572864, kUs), "1,536.00");
}

TEST(KFormatTest, TotalAlwaysHasAUnitsDigit) {
  EXPECT_EQ(FormatTotalK(0, kUs), "0.00");
  EXPECT_EQ(FormatTotalK(512, kUs), "0.50");
  EXPECT_EQ(FormatTotalK(30, kUs), "0.03");
  EXPECT_EQ(FormatTotalK(1570334, kUs), "1,533.53");
  EXPECT_EQ(FormatTotalK(-50, kUs), "-0.05");
  EXPECT_EQ(FormatTotalK(-1048576, kUs), "-1,024.00");
}

TEST(KFormatTest, HalfHundredthRoundsAwayFromZero) {
  // 128 bytes are exactly 0.125 K; 5 bytes are 0.0048828125 K (rounds down).
  EXPECT_EQ(FormatSizeK(128, kUs), ".13");
  EXPECT_EQ(FormatTotalK(-128, kUs), "-0.13");
  EXPECT_EQ(FormatTotalK(5, kUs), "0.00");
  EXPECT_EQ(FormatTotalK(6, kUs), "0.01");  // 0.005859375
  // The same half above a whole number of K: 1,536 K + 128 bytes.
  EXPECT_EQ(FormatTotalK(1572992, kUs), "1,536.13");
  EXPECT_EQ(FormatTotalK(-1572992, kUs), "-1,536.13");
}

TEST(KFormatTest, NegativeValuesKeepTheirFormat) {
  EXPECT_EQ(FormatSizeK(-512, kUs), "-.50");
  EXPECT_EQ(FormatSizeK(-2560, kUs), "-2.50");
  // A loss too small to show is not signed.
  EXPECT_EQ(FormatTotalK(-1, kUs), "0.00");
  EXPECT_EQ(FormatSizeK(-5, kUs), ".00");
}

TEST(KFormatTest, CountsBeyondThirtyTwoBitsPrintTheirTrueFigure) {
  EXPECT_EQ(FormatTotalK(std::int64_t{1} << 31, kUs), "2,097,152.00");
  EXPECT_EQ(FormatTotalK((std::int64_t{1} << 32) + 512, kUs), "4,194,304.50");
  EXPECT_EQ(FormatSizeK(std::int64_t{1} << 40, kUs), "1,073,741,824.00");
  EXPECT_EQ(FormatTotalK(-(std::int64_t{1} << 31), kUs), "-2,097,152.00");
}

TEST(KFormatTest, Int64ExtremesDoNotOverflow) {
  // 2^63 - 1 bytes are 9,007,199,254,740,991.999... K.
  EXPECT_EQ(FormatTotalK(std::numeric_limits<std::int64_t>::max(), kUs),
            "9,007,199,254,740,992.00");
  EXPECT_EQ(FormatTotalK(std::numeric_limits<std::int64_t>::min(), kUs),
            "-9,007,199,254,740,992.00");
  EXPECT_EQ(FormatSizeK(std::numeric_limits<std::int64_t>::min() + 1, kUs),
            "-9,007,199,254,740,992.00");
}

TEST(KFormatTest, UsesTheGivenSeparators) {
  const NumberSeparators german{".", ","};
  EXPECT_EQ(FormatSizeK(1572864, german), "1.536,00");
  EXPECT_EQ(FormatTotalK(512, german), "0,50");
  // Multi-byte separators (U+202F narrow no-break space) and no grouping at all.
  const NumberSeparators narrow{"\u202f", ","};
  EXPECT_EQ(FormatTotalK(std::int64_t{1} << 31, narrow), "2\u202f097\u202f152,00");
  const NumberSeparators ungrouped{"", "."};
  EXPECT_EQ(FormatTotalK(1048576 * 1000, ungrouped), "1024000.00");
}

TEST(KFormatTest, CountsAreGroupedByThousands) {
  EXPECT_EQ(FormatCount(0, kUs), "0");
  EXPECT_EQ(FormatCount(999, kUs), "999");
  EXPECT_EQ(FormatCount(1000, kUs), "1,000");
  EXPECT_EQ(FormatCount(153169, kUs), "153,169");
  EXPECT_EQ(FormatCount(-12410, kUs), "-12,410");
  EXPECT_EQ(FormatCount(std::numeric_limits<std::int64_t>::min(), kUs),
            "-9,223,372,036,854,775,808");
  EXPECT_EQ(FormatCount(1234567, NumberSeparators{"\u202f", ","}), "1\u202f234\u202f567");
}

}  // namespace
}  // namespace engine
