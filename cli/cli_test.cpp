// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// brinvale-cli as a user runs it: the real executable on real temporary folders.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class CliTest : public ::testing::Test {
 protected:
  CliTest() {
    char pattern[] = "/tmp/brinvale-cli-test-XXXXXX";
    m_dir = mkdtemp(pattern);
    fs::create_directories(m_dir / "tree");
  }
  ~CliTest() override { fs::remove_all(m_dir); }

  Outcome Cli(const std::vector<std::string>& args) {
    std::string command = Quoted(BRINVALE_CLI);
    for (const std::string& arg : args) command += " " + Quoted(arg);
    command += " >" + Quoted(m_dir / "out.txt") + " 2>" + Quoted(m_dir / "err.txt") + " </dev/null";
    const int status = std::system(command.c_str());
    Outcome outcome;
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = Read(m_dir / "out.txt");
    outcome.err = Read(m_dir / "err.txt");
    return outcome;
  }

  std::string Root() const { return (m_dir / "tree").string(); }
  fs::path Path(const std::string& name) const { return m_dir / name; }

  fs::path m_dir;
};

TEST_F(CliTest, ProfileWritesExactRecordsForAwkwardNames) {
  Write(Path("tree/a.txt"), std::string(12345, 'a'));
  Write(Path("tree/.hidden"), "x");
  Write(Path("tree/v1.2/name, with comma.txt"), "");
  Write(Path("tree/v1.2/quote\"and|bar"), "");
  Write(Path("tree/new\nline"), "");
  Write(Path("tree/été 中"), "abc");
  Write(Path("tree/.cache/inside.txt"), "");
  fs::create_symlink("/nonexistent/target", Path("tree/dangling"));
  ASSERT_EQ(mkfifo(Path("tree/fifo").c_str(), 0600), 0);
  { std::ofstream big(Path("tree/big.bin"), std::ios::binary); }
  fs::resize_file(Path("tree/big.bin"), 4ULL << 30);

  const Outcome o = Cli({"profile", Root(), "-o", Path("p.bvp").string()});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const std::string profile = Read(Path("p.bvp"));
  const std::string folder = "\"" + Root() + "/\"";
  EXPECT_THAT(profile, HasSubstr("12345,#"));
  EXPECT_THAT(profile, HasSubstr("4294967296,#"));
  EXPECT_THAT(profile, HasSubstr(folder + ",\"new|0Aline\"\r\n"));
  EXPECT_THAT(profile, HasSubstr(folder + ",\"été 中\"\r\n"));
  EXPECT_THAT(profile, HasSubstr("19,#"));  // the link's own size: its target's path
  EXPECT_THAT(profile, HasSubstr("\"" + Root() + "/v1.2/\",\"name, with comma.txt\"\r\n"));
  EXPECT_THAT(profile, HasSubstr("\"quote|22and|7Cbar\""));
  EXPECT_THAT(profile, Not(HasSubstr("hidden")));
  EXPECT_THAT(profile, Not(HasSubstr("inside.txt")));
  EXPECT_THAT(profile, Not(HasSubstr("fifo")));
  EXPECT_THAT(o.err, HasSubstr("Loading Structure:  " + Root() + "/"));
  EXPECT_FALSE(fs::exists(Path("p.bvp.tmp")));
}

TEST_F(CliTest, EmptyTreeGivesAZeroByteProfile) {
  ASSERT_EQ(Cli({"profile", Root(), "-o", Path("p.bvp").string()}).exitCode, 0);
  EXPECT_TRUE(fs::exists(Path("p.bvp")));
  EXPECT_EQ(fs::file_size(Path("p.bvp")), 0u);
}

TEST_F(CliTest, BadInputIsOneLineExitTwoAndNothingWritten) {
  struct Case {
    std::vector<std::string> args;
    std::string says;
  };
  Write(Path("afile"), "x");
  const std::vector<Case> cases = {
      {{"profile", Path("missing").string(), "-o", Path("p.bvp").string()}, "no such folder"},
      {{"profile", Path("afile").string(), "-o", Path("p.bvp").string()}, "not a folder"},
      {{"profile", Root(), "-o", Path("no/such/dir/p.bvp").string()}, "cannot write"},
      {{"profile", Root(), "-o", Path("p.bvp").string(), "--bogus"}, "unknown option --bogus"},
      {{"profile", Root()}, "missing -o"},
      {{"compare", Path("none.bvp").string(), Path("none.bvp").string(), "-o",
        Path("p.bvp").string()},
       "none.bvp"},
      {{"frobnicate"}, "unknown command"},
  };
  for (const Case& c : cases) {
    const Outcome o = Cli(c.args);
    EXPECT_EQ(o.exitCode, 2) << c.says;
    EXPECT_THAT(o.err, HasSubstr(c.says));
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_FALSE(fs::exists(Path("p.bvp"))) << c.says;
  }
}

TEST_F(CliTest, HelpExplainsEachCommand) {
  for (const char* command : {"profile", "compare", "run", "drives", "totext"}) {
    const Outcome o = Cli({command, "--help"});
    EXPECT_EQ(o.exitCode, 0) << command;
    EXPECT_THAT(o.out, HasSubstr("Usage: brinvale-cli " + std::string(command)));
  }
}

TEST_F(CliTest, CompareExitsLikeDiffAndWritesTheReport) {
  Write(Path("tree/docs/a.txt"), "one");
  ASSERT_EQ(Cli({"profile", Root(), "-o", Path("old.bvp").string()}).exitCode, 0);
  const std::vector<std::string> compare = {"compare",
                                            Path("old.bvp").string(),
                                            Path("old.bvp").string(),
                                            "-o",
                                            Path("same.txt").string(),
                                            "--text",
                                            "--since",
                                            "then"};
  EXPECT_EQ(Cli(compare).exitCode, 0);
  EXPECT_THAT(Read(Path("same.txt")), HasSubstr("Net Change = 0.00\r\n"));

  Write(Path("tree/docs/b.txt"), std::string(2048, 'b'));
  ASSERT_EQ(Cli({"profile", Root(), "-o", Path("new.bvp").string()}).exitCode, 0);
  const Outcome o = Cli({"compare", Path("old.bvp").string(), Path("new.bvp").string(), "-o",
                         Path("report.rtf").string(), "--drive", "x: [tree]", "--since", "then"});
  EXPECT_EQ(o.exitCode, 1) << o.err;
  const std::string report = Read(Path("report.rtf"));
  EXPECT_THAT(report, HasSubstr("Disk Activity on X: [TREE] Since then"));
  EXPECT_THAT(report, HasSubstr("\\cf5    Added b.txt (2.00 K)"));
}

class CliRunTest : public CliTest {
 protected:
  CliRunTest() {
    fs::create_directories(Path("program"));
    Write(Path("tree/docs/a.txt"), "one");
    Write(Path("program/drives.txt"), "X\t" + Root() + "\n");
  }

  Outcome RunCli(std::vector<std::string> args) {
    args.insert(args.begin(), "run");
    args.push_back("--program-folder");
    args.push_back(Path("program").string());
    return Cli(args);
  }
};

TEST_F(CliRunTest, DrivesListsTheWatchedFolder) {
  const Outcome o = Cli({"drives", "--program-folder", Path("program").string()});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_THAT(o.out, HasSubstr("c: [/]"));
  EXPECT_THAT(o.out, HasSubstr("x: [" + Root() + "]"));
}

TEST_F(CliRunTest, MissingProfileIsCreatedOnlyWithYes) {
  Outcome o = RunCli({"X"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_THAT(o.err, HasSubstr("I do not yet have a profile for 1 of the drives you selected."));
  EXPECT_FALSE(fs::exists(Path("program/Prof_X_.bvp")));

  o = RunCli({"--yes", "x"});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_THAT(Read(Path("program/Prof_X_.bvp")), HasSubstr("\"a.txt\""));
  EXPECT_EQ(o.out, "");
}

TEST_F(CliRunTest, SecondRunSavesTheReportAndExitsOne) {
  ASSERT_EQ(RunCli({"--yes", "X"}).exitCode, 0);
  Write(Path("tree/docs/b.txt"), std::string(1024, 'b'));
  fs::remove(Path("tree/docs/a.txt"));

  const Outcome o = RunCli({"X"});
  EXPECT_EQ(o.exitCode, 1) << o.err;
  const fs::path report = Path("program/Reports/Drive_X.txt");
  EXPECT_EQ(o.out, report.string() + "\n");
  const std::string text = Read(report);
  EXPECT_THAT(text, HasSubstr("Disk Activity on X: ["));
  EXPECT_THAT(text, HasSubstr("   Added b.txt (1.00 K)\r\n"));
  EXPECT_THAT(text, HasSubstr("   Deleted a.txt (.00 K)\r\n"));
  EXPECT_THAT(Read(Path("program/Prof_X_.bvp")), Not(HasSubstr("a.txt")));

  // Nothing changed since: exit 0, and the report names no file.
  const Outcome again = RunCli({"X"});
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_THAT(Read(report), Not(HasSubstr("Added b.txt")));
}

TEST_F(CliRunTest, UnknownLetterAndUnreadableDriveExitTwo) {
  EXPECT_EQ(RunCli({"Q"}).exitCode, 2);
  Write(Path("program/drives.txt"), "X\t" + Root() + "\nY\t" + Path("gone").string() + "\n");
  ASSERT_EQ(RunCli({"--yes", "X"}).exitCode, 0);
  const Outcome o = RunCli({"--yes", "X", "Y"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_THAT(o.err, HasSubstr("gone"));
  EXPECT_FALSE(fs::exists(Path("program/Prof_Y_.bvp")));
}

}  // namespace
