// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ascii.h"

#include <gtest/gtest.h>

#include <clocale>

namespace base {
namespace {

TEST(AsciiTest, OnlyTheTwentySixLettersChangeCase) {
  // A Latin-1 locale would make std::toupper turn 0xE9 into 0xC9 and corrupt UTF-8 names.
  std::setlocale(LC_ALL, "");
  EXPECT_EQ(AsciiUppercased("c: [/home/été]"), "C: [/HOME/\xC3\xA9T\xC3\xA9]");
  EXPECT_EQ(AsciiLowercased("C:\\WINDOWS\\Été"), "c:\\windows\\\xC3\x89t\xC3\xA9");
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    const bool lower = byte >= 'a' && byte <= 'z';
    const bool upper = byte >= 'A' && byte <= 'Z';
    EXPECT_EQ(AsciiUpper(c), lower ? static_cast<char>(byte - 32) : c) << byte;
    EXPECT_EQ(AsciiLower(c), upper ? static_cast<char>(byte + 32) : c) << byte;
  }
  std::setlocale(LC_ALL, "C");
}

TEST(AsciiTest, EqualIgnoringCaseFoldsOnlyTheTwentySixLetters) {
  EXPECT_TRUE(EqualIgnoringCase("C:\\Program Files\\", "c:\\PROGRAM FILES\\"));
  EXPECT_TRUE(EqualIgnoringCase("", ""));
  EXPECT_FALSE(EqualIgnoringCase("Reports", "Report"));
  EXPECT_FALSE(EqualIgnoringCase("Report", "Reports"));
  EXPECT_FALSE(EqualIgnoringCase("Repprts", "Reports"));
  // UTF-8 letters keep their case: \xC3\xA9 and \xC3\x89 (é, É) are two names.
  EXPECT_FALSE(EqualIgnoringCase("\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"));
  // '@' and '`' lie beside the letters and are not letters.
  EXPECT_FALSE(EqualIgnoringCase("@", "`"));
  EXPECT_FALSE(EqualIgnoringCase("[", "{"));
}

}  // namespace
}  // namespace base
