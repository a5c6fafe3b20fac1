// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/totext_command.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include <QFile>
#include <QTemporaryDir>

#include "reports/test_support.h"

namespace cli {
namespace {

std::string WithLineFeeds(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

class TotextCommandTest : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& args) {
    m_out.str("");
    m_err.str("");
    return RunTotextCommand(args, "", m_out, m_err);
  }

  const std::string m_example = reports::testing::TestDataPath("worked_example.rtf").toStdString();
  // The report's text with CR LF, as a file holds it, and with LF, as standard output gets it.
  const std::string m_expected = reports::testing::ReadTestData("worked_example.txt").toStdString();
  const std::string m_expectedOnStandardOutput = WithLineFeeds(m_expected);
  QTemporaryDir m_dir;
  std::ostringstream m_out;
  std::ostringstream m_err;
};

TEST_F(TotextCommandTest, WritesThePlainTextToStandardOutputOrAFile) {
  ASSERT_FALSE(m_expected.empty());
  ASSERT_NE(m_expected.find("\r\n"), std::string::npos);
  EXPECT_EQ(Run({m_example}), 0);
  EXPECT_EQ(m_out.str(), m_expectedOnStandardOutput);
  EXPECT_EQ(m_err.str(), "");

  const QString out = m_dir.filePath("out.txt");
  EXPECT_EQ(Run({m_example, "-o", out.toStdString()}), 0);
  EXPECT_EQ(m_out.str(), "");
  QFile file(out);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(), m_expected);
}

TEST_F(TotextCommandTest, FailuresExitWithTwoAndOneLine) {
  const std::string missing = m_dir.filePath("missing.rtf").toStdString();
  const std::vector<std::vector<std::string>> failing = {
      {},
      {m_example, m_example},
      {m_example, "-x"},
      {m_example, "-o"},
      {missing},
      {m_example, "-o", m_dir.filePath("no/such/out.txt").toStdString()},
  };
  for (const auto& args : failing) {
    EXPECT_EQ(Run(args), 2);
    EXPECT_EQ(m_out.str(), "");
    const std::string err = m_err.str();
    EXPECT_EQ(err.rfind("brinvale-cli totext: ", 0), 0u) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
  }
  Run({missing});
  EXPECT_NE(m_err.str().find(missing), std::string::npos) << m_err.str();
}

TEST_F(TotextCommandTest, NamesThatAreNotUtf8AreFoundAsTheyAre) {
  // "caf\xe9" is Latin-1: no UTF-8 text spells it, so it is passed on as bytes.
  const std::string folder = QFile::encodeName(m_dir.path()).toStdString();
  const std::string in = folder + "/caf\xe9.rtf";
  const std::string out = folder + "/caf\xe9.txt";
  {
    std::ofstream copy(in, std::ios::binary);
    copy << reports::testing::ReadTestData("worked_example.rtf").toStdString();
  }
  EXPECT_EQ(Run({in}), 0) << m_err.str();
  EXPECT_EQ(m_out.str(), m_expectedOnStandardOutput);
  EXPECT_EQ(Run({in, "-o", out}), 0) << m_err.str();
  std::ifstream written(out, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), m_expected);
}

TEST_F(TotextCommandTest, HelpExplainsTheCommand) {
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(m_out.str().find("totext FILE [-o OUT]"), std::string::npos);
}

}  // namespace
}  // namespace cli
