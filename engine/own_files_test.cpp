// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/own_files.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

TEST(OwnFilesTest, TheProgramsFilesInItsFolderAreItsOwnAndNothingElse) {
  for (const char* own :
       {"Prof_C_.bvp", "prof_z_.BVP", "BV3.Def", "brinvale.conf", "Brinvale.CONF", "drives.txt",
        "ignore.txt", "brinvale.lock", "window.lock", "temp.rtf", "text.tmp", "bvp.tmp",
        "section.tmp", ".Prof_C_.bvp.brinvale-4242-7", ".composed-report.rtf.brinvale-99-run",
        "History/C/index.tsv", "history/c/20260314T023005Z.bvp.zst", "History/C/any"}) {
    EXPECT_TRUE(IsOwnFile(own)) << own;
  }
  for (const char* other :
       {"Reports/Drive_C.rtf", "Reports/Prof_C_.bvp", "Prof_C.bvp", "Prof_C_.bvp.txt", "notes.txt",
        "budget.copy-4000000-2", "drives.txt.bak", "Reports", "History", "sub/BV3.Def",
        "brinvale.conf.orig"}) {
    EXPECT_FALSE(IsOwnFile(other)) << other;
  }
  EXPECT_TRUE(IsOwnFile("Prof_C_.bvp", '\\'));
  EXPECT_FALSE(IsOwnFile("Reports\\Prof_C_.bvp", '\\'));
  EXPECT_TRUE(IsOwnFile("History\\C\\index.tsv", '\\'));
}

}  // namespace
}  // namespace engine
