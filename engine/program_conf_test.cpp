// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/program_conf.h"

#include <gtest/gtest.h>

#include "platform/testing/memory_file_system.h"

namespace engine {
namespace {

constexpr char kPath[] = "C:\\Brinvale\\brinvale.conf";

class ProgramConfTest : public ::testing::Test {
 protected:
  void SetUp() override { m_fs.addFolder("C:\\Brinvale"); }

  ProgramConf Load(base::Status* status = nullptr) {
    ProgramConf conf;
    conf.historyDepth = -1;  // whatever it held is replaced
    base::Status s = LoadProgramConf(m_fs, kPath, &conf);
    if (status != nullptr) *status = s;
    return conf;
  }

  platform::MemoryFileSystem m_fs;
};

TEST_F(ProgramConfTest, AMissingFileGivesTheDefaults) {
  base::Status s;
  const ProgramConf conf = Load(&s);
  EXPECT_TRUE(s.isOk());
  EXPECT_FALSE(conf.includeHidden);
  EXPECT_EQ(conf.historyDepth, 30);
  EXPECT_FALSE(conf.profileHidden('C'));
  EXPECT_FALSE(m_fs.exists(kPath));  // reading creates nothing
}

TEST_F(ProgramConfTest, ReadsEveryKeyAndPassesOverKeysItDoesNotKnow) {
  m_fs.addTextFile(kPath,
                   "[scan]\nhidden = TRUE\nspeed = fast\n"
                   "[history]\ndepth = 7\n"
                   "[profiles]\nc.hidden = true\nD.hidden = false\nC.history = 3\nAB.hidden = x\n"
                   "[window]\nwidth = 800\n");
  base::Status s;
  const ProgramConf conf = Load(&s);
  ASSERT_TRUE(s.isOk()) << s.message();
  EXPECT_TRUE(conf.includeHidden);
  EXPECT_EQ(conf.historyDepth, 7);
  EXPECT_TRUE(conf.profileHidden('C'));
  EXPECT_TRUE(conf.profileHidden('c'));
  EXPECT_FALSE(conf.profileHidden('D'));
  EXPECT_FALSE(conf.profileHidden('E'));  // never recorded: made before the setting existed
}

TEST_F(ProgramConfTest, ABadLineOrValueGivesAllTheDefaultsAndNamesFileAndLine) {
  struct Case {
    const char* text;
    const char* problem;
  };
  const Case cases[] = {
      {"[scan]\nhidden = true\n[history]\ndepth = 7\noops\n",
       "line 5: expected [section], key = value, or a comment starting with # or ;"},
      {"[history]\ndepth = 7\n[scan]\nhidden = yes\n",
       "line 4: hidden must be true or false, not \"yes\""},
      {"[scan]\nhidden = true\n[history]\ndepth = -1\n",
       "line 4: depth must be a whole number from 0 to 1000, not \"-1\""},
      {"[scan]\nhidden = true\n[history]\ndepth = 1001\n",
       "line 4: depth must be a whole number from 0 to 1000, not \"1001\""},
      {"[scan]\nhidden = true\n[history]\ndepth = 3x\n",
       "line 4: depth must be a whole number from 0 to 1000, not \"3x\""},
      {"[scan]\nhidden = true\n[profiles]\nE.hidden = 1\n",
       "line 4: E.hidden must be true or false, not \"1\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    m_fs.addTextFile(kPath, c.text);
    base::Status s;
    const ProgramConf conf = Load(&s);
    EXPECT_EQ(s.message(), std::string(kPath) + ", " + c.problem);
    EXPECT_FALSE(conf.includeHidden);
    EXPECT_EQ(conf.historyDepth, kDefaultHistoryDepth);
  }
  m_fs.addTextFile(kPath, "[history]\ndepth = 0\n");
  EXPECT_EQ(Load().historyDepth, 0);
  m_fs.addTextFile(kPath, "[history]\ndepth = 1000\n");
  EXPECT_EQ(Load().historyDepth, 1000);
}

TEST_F(ProgramConfTest, StoringASettingKeepsEverythingElseByteForByte) {
  const std::string text =
      "# my settings\n"
      "[scan]\n"
      "hidden = false   # not yet\n"
      "speed = fast\n"
      "\n"
      "[window]\n"
      "width = 800\n";
  m_fs.addTextFile(kPath, text);
  // A value with a comment after it is not a value of the key: the file is told of, and
  // storing the key puts a value there that reads.
  base::Status s;
  (void)Load(&s);
  EXPECT_FALSE(s.isOk());

  ASSERT_TRUE(StoreIncludeHidden(m_fs, kPath, true).isOk());
  ASSERT_TRUE(StoreProfileHidden(m_fs, kPath, 'k', true).isOk());
  ASSERT_TRUE(StoreProfileHidden(m_fs, kPath, 'C', false).isOk());
  ASSERT_TRUE(StoreProfileHidden(m_fs, kPath, 'K', false).isOk());
  EXPECT_EQ(m_fs.contents(kPath),
            "# my settings\n"
            "[scan]\n"
            "hidden = true\n"
            "speed = fast\n"
            "\n"
            "[window]\n"
            "width = 800\n"
            "\n"
            "[profiles]\n"
            "K.hidden = false\n"
            "C.hidden = false\n");
  const ProgramConf conf = Load(&s);
  EXPECT_TRUE(s.isOk());
  EXPECT_TRUE(conf.includeHidden);
  EXPECT_FALSE(conf.profileHidden('K'));

  EXPECT_FALSE(StoreProfileHidden(m_fs, kPath, '1', true).isOk());
}

TEST_F(ProgramConfTest, StoringIntoAFileWithABadLineKeepsThatLine) {
  m_fs.addTextFile(kPath, "[scan\nhidden = true\n");
  ASSERT_TRUE(StoreIncludeHidden(m_fs, kPath, false).isOk());
  EXPECT_EQ(m_fs.contents(kPath), "[scan\nhidden = true\n\n[scan]\nhidden = false\n");
  // Still told, until the user mends it; the defaults hold meanwhile.
  base::Status s;
  EXPECT_FALSE(Load(&s).includeHidden);
  EXPECT_EQ(s.message(), std::string(kPath) + ", line 1: a section starts with a line [name]");
}

}  // namespace
}  // namespace engine
