// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/history.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/history_compare.h"
#include "engine/ignore_list_file.h"
#include "engine/profile_reader.h"
#include "engine/settings_record.h"
#include "platform/civil_time.h"
#include "platform/testing/fixed_locale.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/recording_progress.h"

namespace engine {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

constexpr const char* kProgram = "Z:\\BV\\";
constexpr const char* kProfile = "Z:\\BV\\Prof_C_.bvp";
constexpr const char* kFolder = "Z:\\BV\\History\\C\\";

platform::UnixSeconds At(int year, int month, int day, int hour = 0, int minute = 0,
                         int second = 0) {
  return platform::SecondsFromCivil({year, month, day, hour, minute, second});
}

TEST(HistoryTimesTest, StampsAndIsoTimesAreUtcAndReadBackExactly) {
  const platform::UnixSeconds t = At(2026, 3, 14, 2, 30, 5);
  EXPECT_EQ(UtcStamp(t), "20260314T023005Z");
  EXPECT_EQ(UtcIsoTime(t), "2026-03-14T02:30:05Z");
  EXPECT_EQ(ParseUtcIsoTime("2026-03-14T02:30:05Z"), t);
  EXPECT_EQ(ParseUtcIsoTime(UtcIsoTime(0)), 0);
  for (const char* bad : {"2026-03-14 02:30:05Z", "2026-03-14T02:30:05", "2026-02-30T00:00:00Z",
                          "2026-03-14T24:00:00Z", "2026-3-14T02:30:05Z", "+026-03-14T02:30:05Z"}) {
    EXPECT_EQ(ParseUtcIsoTime(bad), std::nullopt) << bad;
  }
}

class HistoryTest : public ::testing::Test {
 protected:
  HistoryTest() { fs.addFolder(kProgram); }

  // A stored profile of `lines` records made at `made`.
  void StoreProfile(const std::string& text, platform::UnixSeconds made) {
    fs.setNow(made);
    fs.addTextFile(kProfile, text);
  }

  // Keeps the stored profile as a run that replaced it at `replaced` would.
  base::Status Keep(platform::UnixSeconds replaced, int depth, const CompareOutcome& totals = {}) {
    auto pending = PendingGeneration::Prepare(fs, kProgram, 'C', kProfile, false);
    if (!pending.isOk()) return pending.status();
    return pending.value()->store(replaced, totals, depth);
  }

  std::vector<Generation> Index() {
    std::vector<Generation> index;
    base::Status s = ReadHistoryIndex(fs, kFolder, &index);
    EXPECT_TRUE(s.isOk()) << s.message();
    return index;
  }

  std::string Decompressed(const std::string& path) {
    auto reader = OpenProfileFile(fs, path);
    if (!reader.isOk()) return "<" + reader.status().message() + ">";
    std::string text;
    char buffer[512];
    for (std::size_t got = 1; got > 0;) {
      base::Status s = reader.value()->read(sizeof buffer, buffer, &got);
      if (!s.isOk()) return "<" + s.message() + ">";
      text.append(buffer, got);
    }
    return text;
  }

  platform::MemoryFileSystem fs;
};

const std::string kTwoFiles =
    "100,#2026-03-01 10:00:00#,\"C:\\DATA\\\",\"a.txt\"\r\n"
    "\r\n"
    "-5,#2026-03-01#,\"C:\\DATA\\\",\"b,c.txt\"\r\n"
    "3000000000,#2026-03-02 11:00:00#,\"C:\\\",\"big.iso\"";  // no line end

TEST_F(HistoryTest, AKeptProfileIsCompressedWholeAndIndexedWithTheRunsTotals) {
  StoreProfile(kTwoFiles, At(2026, 3, 14, 2, 30, 5));
  CompareOutcome totals;
  totals.added = 3;
  totals.deleted = 1;
  totals.grew = 2;
  totals.shrunk = 4;
  totals.timeChanged = 5;
  totals.addedBytes = 4096;
  totals.deletedBytes = 100;
  totals.changedBytes = -7;
  totals.storedFiles = 3;
  totals.storedBytes = 3000000095;
  ASSERT_TRUE(Keep(At(2026, 3, 15, 8, 0, 0), 30, totals).isOk());

  EXPECT_EQ(Decompressed(std::string(kFolder) + "20260314T023005Z.bvp.zst"), kTwoFiles);
  EXPECT_EQ(*fs.contents(std::string(kFolder) + "index.tsv"),
            std::string(kHistoryIndexHeader) +
                "\n2026-03-14T02:30:05Z\t2026-03-15T08:00:00Z\t3\t3000000095\tfalse\t3\t1\t2\t4\t5"
                "\t4096\t100\t-7\t20260314T023005Z.bvp.zst\n");
  EXPECT_EQ(Index()[0].netBytes(), 4096 - 7 - 100);
  // The profile itself is untouched: the run replaces it.
  EXPECT_EQ(fs.contents(kProfile), kTwoFiles);
}

TEST_F(HistoryTest, AProfileOfTheSameSecondIsNumberedAndNothingIsOverwritten) {
  StoreProfile("1,#2026-03-01#,\"C:\\\",\"a\"\r\n", At(2026, 3, 14));
  ASSERT_TRUE(Keep(At(2026, 3, 14), 30).isOk());
  StoreProfile("2,#2026-03-01#,\"C:\\\",\"a\"\r\n", At(2026, 3, 14));
  ASSERT_TRUE(Keep(At(2026, 3, 14), 30).isOk());
  const std::vector<Generation> index = Index();
  ASSERT_EQ(index.size(), 2u);
  EXPECT_EQ(index[0].file, "20260314T000000Z.bvp.zst");
  EXPECT_EQ(index[1].file, "20260314T000000Z_2.bvp.zst");
  EXPECT_THAT(Decompressed(std::string(kFolder) + index[1].file), HasSubstr("2,#"));
}

TEST_F(HistoryTest, TheDepthPrunesTheOldestOnlyOnceTheNewOneIsStored) {
  for (int day = 1; day <= 3; ++day) {
    StoreProfile(std::to_string(day) + ",#2026-03-01#,\"C:\\\",\"a\"\r\n", At(2026, 3, day));
    ASSERT_TRUE(Keep(At(2026, 3, day + 1), 3).isOk());
  }
  ASSERT_EQ(Index().size(), 3u);

  // The fourth cannot be indexed: the new generation goes again, the oldest stays.
  StoreProfile("4,#2026-03-01#,\"C:\\\",\"a\"\r\n", At(2026, 3, 4));
  fs.failRename(std::string(kFolder) + "index.tsv");
  EXPECT_FALSE(Keep(At(2026, 3, 5), 2).isOk());
  fs.clearFaults();
  EXPECT_THAT(fs.namesIn(kFolder),
              UnorderedElementsAre("20260301T000000Z.bvp.zst", "index.tsv",
                                   "20260302T000000Z.bvp.zst", "20260303T000000Z.bvp.zst"));
  ASSERT_EQ(Index().size(), 3u);

  // The depth lowered to 2: two are removed, after the new one is in.
  ASSERT_TRUE(Keep(At(2026, 3, 5), 2).isOk());
  std::vector<std::string> files;
  for (const Generation& g : Index()) files.push_back(g.file);
  EXPECT_THAT(files, ElementsAre("20260303T000000Z.bvp.zst", "20260304T000000Z.bvp.zst"));
  EXPECT_THAT(fs.namesIn(kFolder), UnorderedElementsAre("index.tsv", "20260303T000000Z.bvp.zst",
                                                        "20260304T000000Z.bvp.zst"));
}

TEST_F(HistoryTest, AFailureToCompressOrToStoreLeavesTheHistoryAsItWas) {
  StoreProfile("1,#2026-03-01#,\"C:\\\",\"a\"\r\n", At(2026, 3, 1));
  ASSERT_TRUE(Keep(At(2026, 3, 2), 30).isOk());
  const std::string index = *fs.contents(std::string(kFolder) + "index.tsv");
  StoreProfile("2,#2026-03-01#,\"C:\\\",\"a\"\r\n", At(2026, 3, 2));

  fs.failWritesAfter(std::string(kFolder) + "20260302T000000Z.bvp.zst", 10);
  EXPECT_THAT(Keep(At(2026, 3, 3), 30).message(), HasSubstr("disk full"));
  fs.clearFaults();
  fs.failOpen(kProfile, base::Status::permissionDenied("Z:\\BV\\Prof_C_.bvp: no"));
  EXPECT_FALSE(Keep(At(2026, 3, 3), 30).isOk());
  fs.clearFaults();
  // Prepared but never stored (the profile could not be replaced): nothing stays.
  ASSERT_TRUE(PendingGeneration::Prepare(fs, kProgram, 'C', kProfile, false).isOk());

  EXPECT_EQ(fs.contents(std::string(kFolder) + "index.tsv"), index);
  EXPECT_THAT(fs.namesIn(kFolder), UnorderedElementsAre("20260301T000000Z.bvp.zst", "index.tsv"));
}

TEST_F(HistoryTest, AGenerationInTheBackgroundIsWholeWhenTakenAtOnceOrLateOrNever) {
  // Several pieces' worth, so that take() can find the thread anywhere in the profile.
  std::string profile;
  for (int i = 0; i < 40000; ++i) {
    profile += std::to_string(i) + ",#2026-03-01 10:00:00#,\"C:\\DATA\\FOLDER\\\",\"file" +
               std::to_string(i) + ".txt\"\r\n";
  }
  StoreProfile(profile, At(2026, 3, 1));
  const auto keep = [&](bool waitFirst) -> base::Result<std::unique_ptr<PendingGeneration>> {
    GenerationInBackground background(fs, kProgram, 'C', kProfile, false);
    if (waitFirst) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return background.take();
  };
  for (const bool waitFirst : {false, true}) {
    auto pending = keep(waitFirst);
    ASSERT_TRUE(pending.isOk()) << pending.status().message();
    ASSERT_TRUE(pending.value()->store(At(2026, 3, 2), {}, 30).isOk());
    EXPECT_EQ(Decompressed(std::string(kFolder) + Index().back().file), profile);
  }

  // Dropped untaken, as a cancelled run drops it: nothing of it stays.
  { GenerationInBackground dropped(fs, kProgram, 'C', kProfile, false); }
  EXPECT_EQ(fs.namesIn(kFolder).size(), 3u);  // the two kept and the index
  // A profile that cannot be read is reported by take(), and take() is once only.
  fs.failOpen(kProfile, base::Status::permissionDenied("Z:\\BV\\Prof_C_.bvp: no"));
  GenerationInBackground failing(fs, kProgram, 'C', kProfile, false);
  EXPECT_THAT(failing.take().status().message(), HasSubstr("Prof_C_.bvp: no"));
  EXPECT_FALSE(failing.take().isOk());
  EXPECT_EQ(fs.namesIn(kFolder).size(), 3u);
}

TEST_F(HistoryTest, AnIndexThatIsNotOneIsRefusedNamingItsLine) {
  fs.addFolder(kFolder);
  const std::string path = std::string(kFolder) + "index.tsv";
  const std::string header = std::string(kHistoryIndexHeader) + "\n";
  const std::string good =
      "2026-03-14T02:30:05Z\t2026-03-15T08:00:00Z\t3\t10\ttrue\t0\t0\t0\t0\t0\t0\t0\t0\t"
      "20260314T023005Z.bvp.zst\n";
  std::vector<Generation> index;
  fs.addTextFile(path, header + good);
  ASSERT_TRUE(ReadHistoryIndex(fs, kFolder, &index).isOk());
  ASSERT_EQ(index.size(), 1u);
  EXPECT_TRUE(index[0].hidden);
  EXPECT_EQ(FormatHistoryIndex(index), header + good);

  const std::pair<std::string, std::string> bad[] = {
      {"", "empty"},
      {good, "line 1: not the header"},
      {header + good + "2026-03-14T02:30:05Z\tx\n", "line 3: expected 14 fields"},
      {header + "2026-03-14T02:30:05Z\t2026-03-15T08:00:00Z\tmany\t10\ttrue\t0\t0\t0\t0\t0\t0\t0"
                "\t0\ta.bvp.zst\n",
       "line 2: 'many' is not a number"},
      {header + "2026-03-14T02:30:05Z\t2026-03-15T08:00:00Z\t3\t10\tyes\t0\t0\t0\t0\t0\t0\t0\t0"
                "\ta.bvp.zst\n",
       "line 2: hidden is not true or false"},
      {header + "2026-03-14T02:30:05Z\t2026-03-15T08:00:00Z\t3\t10\ttrue\t0\t0\t0\t0\t0\t0\t0\t0"
                "\t..\\..\\Prof_C_.bvp.zst\n",
       "is not the name of a kept profile"},
  };
  for (const auto& [text, why] : bad) {
    fs.addTextFile(path, text);
    const base::Status s = ReadHistoryIndex(fs, kFolder, &index);
    EXPECT_EQ(s.code(), base::Status::Code::kCorrupt) << text;
    EXPECT_THAT(s.message(), HasSubstr(path)) << text;
    EXPECT_THAT(s.message(), HasSubstr(why)) << text;
  }
  // A bad index keeps nothing more in it, and is left as it is.
  StoreProfile("1,#2026-03-01#,\"C:\\\",\"a\"\r\n", At(2026, 3, 1));
  EXPECT_FALSE(Keep(At(2026, 3, 2), 30).isOk());
  EXPECT_EQ(fs.contents(path), bad[5].first);
}

TEST(HistoryWhenTest, RunsBackDatesAndLocalTimesAreReadAndNothingElse) {
  auto back = ParseHistoryWhen("-3");
  ASSERT_TRUE(back.isOk());
  EXPECT_EQ(back.value().runsBack, 3);
  EXPECT_FALSE(back.value().at.has_value());
  auto day = ParseHistoryWhen("2026-03-09");
  ASSERT_TRUE(day.isOk());
  EXPECT_EQ(day.value().at, (platform::LocalDateTime{2026, 3, 9, 0, 0, 0}));
  auto minute = ParseHistoryWhen("2026-03-09T17:45");
  ASSERT_TRUE(minute.isOk());
  EXPECT_EQ(minute.value().at, (platform::LocalDateTime{2026, 3, 9, 17, 45, 0}));
  for (const char* bad : {"-0", "-", "--1", "-1x", "3", "2026-3-9", "2026-02-30", "2026-13-01",
                          "2026-03-09 17:45", "2026-03-09T24:00", "2026-03-09T17:45:10", ""}) {
    const auto parsed = ParseHistoryWhen(bad);
    EXPECT_FALSE(parsed.isOk()) << bad;
    if (!parsed.isOk()) {
      EXPECT_THAT(parsed.status().message(), HasSubstr("'" + std::string(bad)));
    }
  }
}

TEST_F(HistoryTest, AMomentPicksTheProfileCurrentThenAndRunsBackCountKeptOnes) {
  // Kept profiles made on the 1st at noon and the 3rd at noon; the stored one on the 5th.
  for (int day : {1, 3}) {
    StoreProfile(std::to_string(day) + ",#2026-03-01#,\"C:\\\",\"a\"\r\n", At(2026, 3, day, 12));
    ASSERT_TRUE(Keep(At(2026, 3, day + 2, 12), 30).isOk());
  }
  StoreProfile("5,#2026-03-01#,\"C:\\\",\"a\"\r\n", At(2026, 3, 5, 12));
  auto profiles = DriveProfiles(fs, kProgram, 'C', kProfile);
  ASSERT_TRUE(profiles.isOk());
  ASSERT_EQ(profiles.value().size(), 3u);
  EXPECT_TRUE(profiles.value()[2].stored);
  const platform::FixedLocale locale;
  const auto pick = [&](const char* when) -> std::string {
    auto picked =
        PickProfile(profiles.value(), ParseHistoryWhen(when).value(), "c: [DISK]", locale);
    if (!picked.isOk()) return picked.status().message();
    return UtcIsoTime(picked.value().made);
  };
  EXPECT_EQ(pick("-1"), "2026-03-03T12:00:00Z");
  EXPECT_EQ(pick("-2"), "2026-03-01T12:00:00Z");
  EXPECT_EQ(pick("-3"), "c: [DISK] has 2 kept profiles, not 3");
  // Exactly at a profile's time it is the current one; a minute before, the one before it.
  EXPECT_EQ(pick("2026-03-03T12:00"), "2026-03-03T12:00:00Z");
  EXPECT_EQ(pick("2026-03-03T11:59"), "2026-03-01T12:00:00Z");
  EXPECT_EQ(pick("2026-03-03"), "2026-03-01T12:00:00Z");
  EXPECT_EQ(pick("2026-03-05T12:00"), "2026-03-05T12:00:00Z");
  EXPECT_EQ(pick("2027-01-01"), "2026-03-05T12:00:00Z");
  // Before the first there was none.
  EXPECT_EQ(pick("2026-03-01T11:59"),
            "no profile of c: [DISK] was made by 2026-03-01 11:59; the oldest was made 3/1/26 "
            "12:00:00 PM");
  EXPECT_EQ(pick("2026-03-01"),
            "no profile of c: [DISK] was made by 2026-03-01; the oldest was made 3/1/26 "
            "12:00:00 PM");
}

TEST(HistoryDriveTextTest, ADriveNoLongerListedIsNamedByItsLetter) {
  std::vector<platform::Drive> drives(2);
  drives[0].letter = 'C';
  drives[0].displayText = "c: [/]";
  drives[1].letter = 'K';
  drives[1].displayText = "k: [/data]";
  EXPECT_EQ(HistoryDriveText(drives, 'K'), "k: [/data]");
  EXPECT_EQ(HistoryDriveText(drives, 'D'), "d:");
  EXPECT_EQ(HistoryDriveText({}, 'Z'), "z:");
}

TEST_F(HistoryTest, OnlyOneLetterFoldersOfTheHistoryAreDrivesWithHistory) {
  EXPECT_TRUE(DrivesWithHistory(fs, kProgram).empty());  // no History folder at all
  for (const char* name : {"E", "C", "cd", "x", "1"}) {
    fs.addFolder(std::string(kProgram) + "History\\" + name + "\\");
  }
  fs.addTextFile(std::string(kProgram) + "History\\D", "a file, not a drive's folder");
  EXPECT_THAT(DrivesWithHistory(fs, kProgram), ElementsAre('C', 'E'));
}

TEST_F(HistoryTest, ASavedComparisonLeavesOutIgnoredFoldersAndIsNumberedNeverReplaced) {
  // Kept on the 1st; the stored profile of the 5th changed a.txt and a file of an ignored
  // folder.
  StoreProfile(
      "1,#2026-03-01#,\"C:\\\",\"a.txt\"\r\n"
      "1,#2026-03-01#,\"C:\\TMP\\\",\"t.txt\"\r\n",
      At(2026, 3, 1, 9, 5));
  ASSERT_TRUE(Keep(At(2026, 3, 5, 12), 30).isOk());
  StoreProfile(
      "22,#2026-03-01#,\"C:\\\",\"a.txt\"\r\n"
      "22,#2026-03-01#,\"C:\\TMP\\\",\"t.txt\"\r\n",
      At(2026, 3, 5, 12));
  fs.addTextFile(std::string(kProgram) + std::string(kIgnoreFileName), "C:\\TMP\\\r\n");
  auto profiles = DriveProfiles(fs, kProgram, 'C', kProfile);
  ASSERT_TRUE(profiles.isOk());
  ASSERT_EQ(profiles.value().size(), 2u);

  std::vector<base::Status> warnings;
  const CompareSettings settings = HistoryCompareSettings(fs, kProgram, "c: [DISK]", &warnings);
  EXPECT_TRUE(warnings.empty());
  SettingsRecord record;
  record.ReportFormat = 'T';
  record.ReportNaming = 'T';
  const platform::FixedLocale locale;
  const auto save = [&](platform::Progress& progress, std::string* path, CompareOutcome* outcome) {
    return SaveHistoryReport(fs, kProgram, 'C', profiles.value()[0], profiles.value()[1], settings,
                             record, locale, progress, path, outcome);
  };
  platform::RecordingProgress progress;
  std::string first;
  CompareOutcome outcome;
  base::Status s = save(progress, &first, &outcome);
  ASSERT_TRUE(s.isOk()) << s.message();
  EXPECT_EQ(first, "Z:\\BV\\Reports\\Drive_C_since_3-1-26_0905.txt");
  EXPECT_EQ(outcome.changeLines, 1);
  EXPECT_EQ(outcome.grew, 1);
  const std::string text = fs.contents(first).value_or("");
  EXPECT_THAT(text, HasSubstr("a.txt"));
  EXPECT_THAT(text, ::testing::Not(HasSubstr("t.txt")));

  // The same comparison again gets a name of its own.
  std::string second;
  ASSERT_TRUE(save(progress, &second, &outcome).isOk());
  EXPECT_EQ(second, "Z:\\BV\\Reports\\Drive_C_since_3-1-26_0905_2.txt");
  EXPECT_EQ(fs.contents(second), fs.contents(first));

  // Stopped, even once the comparison itself is through: no report, the path untouched.
  platform::RecordingProgress stopped;
  stopped.cancel();
  std::string none = "unset";
  EXPECT_TRUE(save(stopped, &none, &outcome).isCancelled());
  EXPECT_EQ(none, "unset");
  EXPECT_FALSE(fs.exists("Z:\\BV\\Reports\\Drive_C_since_3-1-26_0905_3.txt"));

  // An Ignore list that cannot be read is a warning; the comparison then ignores nothing.
  ASSERT_TRUE(fs.remove(std::string(kProgram) + std::string(kIgnoreFileName)).isOk());
  fs.addFolder(std::string(kProgram) + std::string(kIgnoreFileName) + "\\");
  warnings.clear();
  const CompareSettings unignored = HistoryCompareSettings(fs, kProgram, "c: [DISK]", &warnings);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_THAT(warnings[0].message(),
              HasSubstr("the Ignore list could not be read, so no folder is ignored"));
  std::string third;
  ASSERT_TRUE(SaveHistoryReport(fs, kProgram, 'C', profiles.value()[0], profiles.value()[1],
                                unignored, record, locale, progress, &third, &outcome)
                  .isOk());
  EXPECT_EQ(outcome.changeLines, 2);
}

}  // namespace
}  // namespace engine
