// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_support.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace cli {
namespace {

// The text that reaches the stream when `pieces` are appended one by one and the file closed.
std::string ThroughLineFeeds(const std::vector<std::string>& pieces) {
  std::ostringstream out;
  StreamFile stream(out);
  LineFeedFile file(&stream);
  for (const std::string& piece : pieces) EXPECT_TRUE(file.append(piece).isOk()) << piece;
  EXPECT_TRUE(file.close().isOk());
  return out.str();
}

TEST(LineFeedFileTest, TurnsEachCrLfIntoLfWhereverTheAppendsSplitIt) {
  EXPECT_EQ(ThroughLineFeeds({"a\r\nb\r\n\r\nc"}), "a\nb\n\nc");
  // A pair cut between two appends, and a CR alone in an append.
  EXPECT_EQ(ThroughLineFeeds({"a\r", "\nb\r", "", "\n"}), "a\nb\n");
  EXPECT_EQ(ThroughLineFeeds({"a", "\r", "\n", "\r", "\n"}), "a\n\n");
  // A CR that no LF follows is text and stays, at the end too.
  EXPECT_EQ(ThroughLineFeeds({"a\rb\r\r\n", "\r", "x\r"}), "a\rb\r\n\rx\r");
  // LF alone, and what is already plain, pass unchanged.
  EXPECT_EQ(ThroughLineFeeds({"a\nb\n", "\xC3\xA9t\xC3\xA9"}), "a\nb\n\xC3\xA9t\xC3\xA9");
}

TEST(LineFeedFileTest, AFailedWriteIsReported) {
  std::ostringstream out;
  out.setstate(std::ios::badbit);
  StreamFile stream(out);
  LineFeedFile file(&stream);
  EXPECT_FALSE(file.append("a\r\n").isOk());
  EXPECT_FALSE(file.close().isOk());
}

}  // namespace
}  // namespace cli
