// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/path_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace engine {
namespace {

using platform::PathStyle;

std::vector<std::string> SortedFolders(std::vector<std::string> paths, PathStyle style) {
  std::sort(paths.begin(), paths.end(), [style](const std::string& a, const std::string& b) {
    return CompareFolderPaths(a, b, style) < 0;
  });
  return paths;
}

TEST(PathOrderTest, FolderListIsSortedIgnoringCaseRootFirst) {
  EXPECT_EQ(SortedFolders({"C:\\b\\c\\", "C:\\B\\", "C:\\a\\", "C:\\"}, PathStyle::windows()),
            (std::vector<std::string>{"C:\\", "C:\\a\\", "C:\\B\\", "C:\\b\\c\\"}));
}

TEST(PathOrderTest, SiblingThatExtendsANameComesAfterTheWholeSubtree) {
  // Compared as whole strings, "a b/" would sort between "a/" and "a/x/" (blank < '/').
  EXPECT_EQ(SortedFolders({"/a b/", "/a/x/", "/a/", "/a-b/", "/a.b/", "/"}, PathStyle::posix()),
            (std::vector<std::string>{"/", "/a/", "/a/x/", "/a b/", "/a-b/", "/a.b/"}));
}

TEST(PathOrderTest, CaseSensitiveSystemsKeepBothNamesInAFixedOrder) {
  EXPECT_LT(CompareNames("README", "readme", true), 0);
  EXPECT_GT(CompareNames("readme", "README", true), 0);
  EXPECT_EQ(CompareNames("readme", "README", false), 0);
  // Case folding decides before the exact bytes do.
  EXPECT_LT(CompareNames("a", "B", true), 0);
  EXPECT_LT(CompareNames("B", "b", true), 0);
  EXPECT_LT(CompareNames("b", "c", true), 0);
}

TEST(PathOrderTest, NonAsciiBytesSortAfterAscii) {
  EXPECT_LT(CompareNames("z", "é", true), 0);
  EXPECT_LT(CompareNames("ab", "abc", true), 0);
}

TEST(PathOrderTest, FilesOrderByFolderThenName) {
  const PathStyle posix = PathStyle::posix();
  EXPECT_LT(CompareFiles("/a/", "z", "/a/b/", "a", posix), 0);
  EXPECT_LT(CompareFiles("/a/", "a", "/a/", "b", posix), 0);
  EXPECT_EQ(CompareFiles("/a/", "x", "/a/", "x", posix), 0);
  EXPECT_NE(CompareFiles("/a/", "x", "/A/", "x", posix), 0);
  EXPECT_EQ(CompareFiles("C:\\A\\", "X.TXT", "c:\\a\\", "x.txt", PathStyle::windows()), 0);
}

TEST(PathOrderTest, TrailingSeparatorMakesNoDifference) {
  EXPECT_EQ(CompareFolderPaths("/a/b", "/a/b/", PathStyle::posix()), 0);
}

TEST(PathOrderTest, StyleIsTakenFromTheDriveLetter) {
  EXPECT_FALSE(PathStyleOfFolder("C:\\x\\").caseSensitive);
  EXPECT_EQ(PathStyleOfFolder("d:\\").separator, '\\');
  EXPECT_TRUE(PathStyleOfFolder("/home/").caseSensitive);
  EXPECT_EQ(PathStyleOfFolder("/").separator, '/');
}

TEST(PathOrderTest, NameKeysNeverContradictTheNameOrder) {
  const std::vector<std::string> names = {"",
                                          "a",
                                          "A",
                                          "ab",
                                          "aB",
                                          "ab c",
                                          "a-b",
                                          "abcdefgh",
                                          "abcdefghi",
                                          "ABCDEFGHZ",
                                          std::string("ab\0", 3),
                                          std::string("ab\0\x05", 4),
                                          "ab\x01",
                                          "\xc3\xa9t\xc3\xa9",
                                          "Z",
                                          "zz",
                                          "[x]",
                                          "_x",
                                          "~"};
  for (const std::string& a : names) {
    for (const std::string& b : names) {
      for (bool caseSensitive : {true, false}) {
        const int order = CompareNames(a, b, caseSensitive);
        const std::uint64_t keyA = NameOrderKey(a);
        const std::uint64_t keyB = NameOrderKey(b);
        if (keyA != keyB) {
          EXPECT_EQ(order < 0, keyA < keyB) << a << " / " << b;
          EXPECT_NE(order, 0) << a << " / " << b;
        }
      }
    }
  }
}

// The order by its definition: folded bytes, unsigned, shorter first; then, when case
// counts, the exact bytes.
int NameOrderByDefinition(const std::string& a, const std::string& b, bool caseSensitive) {
  auto folded = [](std::string s) {
    for (char& c : s) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return std::vector<unsigned char>(s.begin(), s.end());
  };
  const auto fa = folded(a);
  const auto fb = folded(b);
  if (fa != fb) return fa < fb ? -1 : 1;
  if (!caseSensitive || a == b) return 0;
  return std::vector<unsigned char>(a.begin(), a.end()) <
                 std::vector<unsigned char>(b.begin(), b.end())
             ? -1
             : 1;
}

TEST(PathOrderTest, LongNamesSharingLongBeginningsCompareByTheirDefinition) {
  std::mt19937 rng(9);
  const std::string letters = "aAbB.\xe9 ";
  for (int i = 0; i < 20000; ++i) {
    // A shared beginning of 0 to 20 bytes, then a few random letters on each side.
    std::string shared;
    for (std::size_t n = rng() % 21; n > 0; --n) shared += letters[rng() % letters.size()];
    std::string a = shared;
    std::string b = shared;
    for (std::size_t n = rng() % 4; n > 0; --n) a += letters[rng() % letters.size()];
    for (std::size_t n = rng() % 4; n > 0; --n) b += letters[rng() % letters.size()];
    for (bool caseSensitive : {true, false}) {
      const int order = CompareNames(a, b, caseSensitive);
      ASSERT_EQ((order > 0) - (order < 0), NameOrderByDefinition(a, b, caseSensitive))
          << a << " / " << b;
    }
  }
}

}  // namespace
}  // namespace engine
