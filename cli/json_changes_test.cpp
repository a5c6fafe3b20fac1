// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/json_changes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_support.h"

namespace cli {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(JsonStringTest, KeepsUtf8EscapesWhatJsonMustAndReplacesIllFormedSequences) {
  struct Case {
    std::string text;
    std::string json;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"a.txt", "\"a.txt\"", true},
      {"été 中 😀", "\"été 中 😀\"", true},
      {"q\"b\\s/", "\"q\\\"b\\\\s/\"", true},
      {"new\nline\ttab\r\x01\x1f\x7f", "\"new\\nline\\ttab\\r\\u0001\\u001f\x7f\"", true},
      // Line ends beyond LF and CR: valid in JSON strings, escaped all the same; their
      // neighbours in the same blocks pass through.
      {"a\u2028b\u2029c\u0085d", "\"a\\u2028b\\u2029c\\u0085d\"", true},
      {"\u2027\u202a\u0084\u00a0", "\"\u2027\u202a\u0084\u00a0\"", true},
      {"\xe9t\xe9", "\"" + kFffd + "t" + kFffd + "\"", false},       // Latin-1
      {"\xe2\x82x", "\"" + kFffd + "x\"", false},                    // a cut sequence is one mark
      {"\xed\xa0\x80", "\"" + kFffd + kFffd + kFffd + "\"", false},  // a surrogate
      {"\xc0\xaf", "\"" + kFffd + kFffd + "\"", false},              // overlong '/'
      {"\xf4\x90\x80\x80", "\"" + kFffd + kFffd + kFffd + kFffd + "\"", false},  // > U+10FFFF
      {"ok\xf0\x9f\x98", "\"ok" + kFffd + "\"", false},                          // cut at the end
  };
  for (const Case& c : cases) {
    bool valid = !c.valid;
    EXPECT_EQ(JsonString(c.text, &valid), c.json) << c.json;
    EXPECT_EQ(valid, c.valid) << c.json;
  }
}

TEST(JsonStringTest, Base64AndTimesWithTheirOffset) {
  EXPECT_EQ(Base64(""), "");
  EXPECT_EQ(Base64("f"), "Zg==");
  EXPECT_EQ(Base64("fo"), "Zm8=");
  EXPECT_EQ(Base64("foobar"), "Zm9vYmFy");
  EXPECT_EQ(Base64(std::string("\xff\xfe\x00", 3)), "//4A");

  const platform::LocalDateTime when{2026, 3, 1, 14, 3, 22};
  EXPECT_EQ(IsoTime(when, 3600), "2026-03-01T14:03:22+01:00");
  EXPECT_EQ(IsoTime(when, 0), "2026-03-01T14:03:22+00:00");
  EXPECT_EQ(IsoTime(when, 19800), "2026-03-01T14:03:22+05:30");
  EXPECT_EQ(IsoTime(when, -12600), "2026-03-01T14:03:22-03:30");
  // The tests run in New York time: winter and summer.
  EXPECT_EQ(LocalUtcOffset({2026, 1, 15, 12, 0, 0}), -5 * 3600);
  EXPECT_EQ(LocalUtcOffset({2026, 7, 15, 12, 0, 0}), -4 * 3600);
  EXPECT_EQ(LocalUtcOffset({1999, 12, 31, 23, 59, 59}), -5 * 3600);
}

// The names are literals, which outlive the views.
engine::RecordView Record(std::int64_t size, platform::LocalDateTime time, std::string_view folder,
                          std::string_view name) {
  return {folder, name, size, time};
}

class JsonChangeWriterTest : public ::testing::Test {
 protected:
  // Every drive's changes, and a second drive that fails half-way.
  void WriteTwoDrivesAndAFailedOne(JsonChangeWriter& writer) {
    const platform::LocalDateTime winter{2026, 1, 2, 3, 4, 5};
    const platform::LocalDateTime summer{2026, 7, 2, 3, 4, 5};
    ASSERT_TRUE(writer.driveStarted("k: [/data]").isOk());
    ASSERT_TRUE(writer.added(Record(5'000'000'000, winter, "/data/x/", "big.iso")).isOk());
    ASSERT_TRUE(writer.deleted(Record(3, summer, "/data/x/", "old\xe9.txt")).isOk());
    const auto before = Record(10, winter, "/data/\xff/", "a");
    const auto after = Record(4, summer, "/data/\xff/", "a");
    ASSERT_TRUE(writer.sizeChanged(before, after).isOk());
    ASSERT_TRUE(writer.timeChanged(before, after).isOk());
    ASSERT_TRUE(writer.sizeChanged(after, before).isOk());
    ASSERT_TRUE(writer.driveFinished(5'000'000'000, 3, -6).isOk());
    // This drive never finishes; the next one starts.
    ASSERT_TRUE(writer.driveStarted("l: [/lost]").isOk());
    ASSERT_TRUE(writer.added(Record(1, winter, "/lost/", "partial")).isOk());
    ASSERT_TRUE(writer.driveStarted("M:").isOk());
    ASSERT_TRUE(writer.driveFinished(0, 0, 0).isOk());
  }

  static int FixedOffset(const platform::LocalDateTime& time) {
    return time.month == 7 ? 7200 : 3600;
  }
};

TEST_F(JsonChangeWriterTest, OneObjectPerChangeAndTotalsPerFinishedDrive) {
  std::ostringstream text;
  StreamFile out(text);
  JsonChangeWriter writer(&out, FixedOffset);
  WriteTwoDrivesAndAFailedOne(writer);
  EXPECT_EQ(
      text.str(),
      "{\"drive\":\"k\",\"kind\":\"added\",\"folder\":\"/data/x/\",\"name\":\"big.iso\","
      "\"size\":5000000000,\"time\":\"2026-01-02T03:04:05+01:00\"}\n"
      "{\"drive\":\"k\",\"kind\":\"deleted\",\"folder\":\"/data/x/\",\"name\":\"old" +
          kFffd +
          ".txt\",\"rawName\":\"b2xk6S50eHQ=\",\"size\":3,\"time\":\"2026-07-02T03:04:05+02:00\"}\n"
          "{\"drive\":\"k\",\"kind\":\"shrunk\",\"folder\":\"/data/" +
          kFffd +
          "/\",\"rawFolder\":\"L2RhdGEv/y8=\",\"name\":\"a\",\"oldSize\":10,\"newSize\":4}\n"
          "{\"drive\":\"k\",\"kind\":\"time\",\"folder\":\"/data/" +
          kFffd +
          "/\",\"rawFolder\":\"L2RhdGEv/y8=\",\"name\":\"a\",\"oldTime\":\"2026-01-02T03:04:05+01:"
          "00\",\"newTime\":\"2026-07-02T03:04:05+02:00\"}\n"
          "{\"drive\":\"k\",\"kind\":\"grew\",\"folder\":\"/data/" +
          kFffd +
          "/\",\"rawFolder\":\"L2RhdGEv/y8=\",\"name\":\"a\",\"oldSize\":4,\"newSize\":10}\n"
          "{\"drive\":\"k\",\"totals\":{\"added\":1,\"deleted\":1,\"grew\":1,\"shrunk\":1,"
          "\"time\":1,\"addedBytes\":5000000000,\"deletedBytes\":3,\"changedBytes\":-6,"
          "\"netBytes\":4999999991}}\n"
          "{\"drive\":\"m\",\"totals\":{\"added\":0,\"deleted\":0,\"grew\":0,\"shrunk\":0,"
          "\"time\":0,\"addedBytes\":0,\"deletedBytes\":0,\"changedBytes\":0,\"netBytes\":0}}\n");
}

TEST_F(JsonChangeWriterTest, SpilledToATemporaryFileTheLinesAreTheSame) {
  std::ostringstream inMemory;
  StreamFile memoryOut(inMemory);
  JsonChangeWriter memoryWriter(&memoryOut, FixedOffset);
  WriteTwoDrivesAndAFailedOne(memoryWriter);

  std::ostringstream spilled;
  StreamFile spilledOut(spilled);
  JsonChangeWriter spillingWriter(&spilledOut, FixedOffset);
  spillingWriter.spool().memoryLimit = 100;  // about one line
  WriteTwoDrivesAndAFailedOne(spillingWriter);
  EXPECT_EQ(spilled.str(), inMemory.str());
}

TEST_F(JsonChangeWriterTest, OutputThatFailsFailsTheDrive) {
  std::ostringstream text;
  text.setstate(std::ios::badbit);
  StreamFile out(text);
  JsonChangeWriter writer(&out, FixedOffset);
  ASSERT_TRUE(writer.driveStarted("k:").isOk());
  ASSERT_TRUE(writer.added(Record(1, {}, "/", "a")).isOk());
  EXPECT_FALSE(writer.driveFinished(1, 0, 0).isOk());
}

}  // namespace
}  // namespace cli
