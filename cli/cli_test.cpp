// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// brinvale-cli as a user runs it: the real executable on real temporary folders.
#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "brinvale_version.h"
#include "platform/posix/posix_file_system.h"
#include "platform/run_lock.h"
#include "platform/testing/temp_folder.h"

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
  CliTest() { fs::create_directories(m_dir / "tree"); }

  // Runs the program; one that still runs after a minute (waiting on a FIFO, reading
  // endless bytes) is stopped and fails the test.
  Outcome Cli(const std::vector<std::string>& args, const std::string& environment = "") {
    std::string command = "timeout 60 env " + environment + " " + Quoted(BRINVALE_CLI);
    for (const std::string& arg : args) command += " " + Quoted(arg);
    command += " >" + Quoted(OutPath()) + " 2>" + Quoted(m_dir / ".err.txt") + " </dev/null";
    const int status = std::system(command.c_str());
    Outcome outcome;
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = Read(OutPath());
    outcome.err = Read(m_dir / ".err.txt");
    return outcome;
  }

  // Runs the program with its standard error on a terminal (a pseudo-terminal that passes
  // bytes as they are), its standard output to a file or, with `outputToo`, to the same
  // terminal. `err` is what the terminal showed.
  Outcome CliOnTerminal(const std::vector<std::string>& args, bool outputToo = false) {
    int terminal = -1;
    int program = -1;
    termios raw{};
    cfmakeraw(&raw);
    EXPECT_EQ(openpty(&terminal, &program, nullptr, &raw, nullptr), 0);
    std::vector<std::string> words = {BRINVALE_CLI};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string outPath = OutPath().string();
    const pid_t child = fork();
    if (child == 0) {
      const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int in = open("/dev/null", O_RDONLY);
      if (out < 0 || in < 0 || dup2(in, 0) < 0 || dup2(outputToo ? program : out, 1) < 0 ||
          dup2(program, 2) < 0) {
        _exit(127);
      }
      close(terminal);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(program);
    Outcome outcome;
    char buffer[4096];
    for (;;) {
      const ssize_t got = read(terminal, buffer, sizeof buffer);
      if (got > 0) {
        outcome.err.append(buffer, static_cast<std::size_t>(got));
      } else if (got < 0 && errno == EINTR) {
        continue;
      } else {
        break;  // EIO once the program has closed its end
      }
    }
    close(terminal);
    int status = 0;
    waitpid(child, &status, 0);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = Read(OutPath());
    return outcome;
  }

  std::string Root() const { return (m_dir / "tree").string(); }
  fs::path Path(const std::string& name) const { return m_dir / name; }
  // The captured output. Hidden, as is the captured standard error, so that a drive over
  // the whole temporary folder leaves them out: a run that starts a second later than the
  // one before would otherwise find them changed.
  fs::path OutPath() const { return m_dir / ".out.txt"; }

  platform::TempFolder m_temp;
  const fs::path m_dir = m_temp.path();
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

  const Outcome o = Cli({"profile", Root(), "-o", Path("p.bvp").string(), "--progress"});
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

// Makes `depth` folders named `name`, one inside the other, below `top`, with a file
// "f.txt" in each; paths beyond PATH_MAX are reached from the folder above.
void MakeDeepTree(const fs::path& top, const std::string& name, int depth) {
  fs::create_directories(top);
  int fd = open(top.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  for (int level = 0; level < depth; ++level) {
    ASSERT_EQ(mkdirat(fd, name.c_str(), 0755), 0);
    const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
    close(fd);
    ASSERT_GE(next, 0);
    fd = next;
    const int file = openat(fd, "f.txt", O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(file, 0);
    close(file);
  }
  close(fd);
}

TEST_F(CliTest, DeepTreesAreProfiledWholeToTheOneLimitAndReadBack) {
  // 1000 folders deep, some 10,000 bytes of path: far beyond PATH_MAX.
  MakeDeepTree(Path("tree/deep"), "level-abc", 1000);
  // 161 folders of 200 bytes: the last one lies beyond 32,000 bytes.
  MakeDeepTree(Path("tree/long"), std::string(199, 'n'), 161);
  const Outcome o = Cli({"profile", Root(), "-o", Path("p.bvp").string()});
  EXPECT_EQ(o.exitCode, 0) << o.err.substr(0, 2000);
  EXPECT_THAT(o.err, HasSubstr("these places could not be read and were left out:\n" + Root() +
                               "/long/nnnn"));
  EXPECT_THAT(o.err, HasSubstr("...: path longer than 32,000 bytes\n"));
  // Every folder of the long chain whose path (ending in '/') fits has its file profiled.
  const std::size_t fitting = (32000 - (Root() + "/long/").size()) / 200;
  ASSERT_LT(fitting, 161u);
  const std::string profile = Read(Path("p.bvp"));
  EXPECT_EQ(std::count(profile.begin(), profile.end(), '\n'),
            1000 + static_cast<std::ptrdiff_t>(fitting));
  std::string deepest = Root() + "/deep/";
  for (int level = 0; level < 1000; ++level) deepest += "level-abc/";
  EXPECT_THAT(profile, HasSubstr(",\"" + deepest + "\",\"f.txt\"\r\n"));
  // Read back whole: compared with itself it shows no change.
  const Outcome same = Cli({"compare", Path("p.bvp").string(), Path("p.bvp").string(), "-o",
                            Path("r.txt").string(), "--text"});
  EXPECT_EQ(same.exitCode, 0) << same.err;
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
      {{"profile", Root(), "-o", Path("p.bvp").string(), "--bogus"},
       "profile: Unknown option 'bogus' (see --help)"},
      {{"profile", Root(), "-x", "-o", Path("p.bvp").string()}, "Unknown option 'x'"},
      {{"profile", Root()}, "missing -o"},
      {{"profile", Root(), "-o"}, "profile: Missing value after '-o' (see --help)"},
      {{"profile", Root(), "--recycled=yes", "-o", Path("p.bvp").string()},
       "Unexpected value after '--recycled'"},
      {{"profile", Root(), "-q", "--progress", "-o", Path("p.bvp").string()},
       "-q and --progress exclude each other"},
      {{"profile", Root(), "-o", "-"}, "not to standard output"},
      // An option a command does not use is refused, not ignored.
      {{"profile", Root(), "-o", Path("p.bvp").string(), "--program-folder", m_dir.string()},
       "Unknown option 'program-folder'"},
      {{"compare", Path("afile").string(), Path("afile").string(), "-o", Path("p.bvp").string(),
        "--program-folder=" + m_dir.string()},
       "Unknown option 'program-folder'"},
      {{"totext", Path("afile").string(), "--json"}, "Unknown option 'json'"},
      {{"run", "--json", "--text", "X"}, "Unknown option 'text'"},
      {{"run", "-o", Path("p.bvp").string(), "X"}, "-o is only for --json"},
      {{"compare", Path("afile").string(), Path("afile").string(), "--json", "--since", "x"},
       "--since is not used with --json"},
      {{"--program-folder", m_dir.string(), "drives"}, "Unknown option 'program-folder'"},
      {{"--bogus"}, "brinvale-cli: Unknown option 'bogus'"},
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
  for (const char* command : {"profile", "compare", "run", "drives", "totext", "history"}) {
    const Outcome o = Cli({command, "--help"});
    EXPECT_EQ(o.exitCode, 0) << command;
    EXPECT_THAT(o.out, HasSubstr("Usage: brinvale-cli " + std::string(command)));
    EXPECT_THAT(o.out, HasSubstr("Exit status: 0 no change, 1 changes reported, 2 a drive "
                                 "failed, the run was refused or\nthe input was bad."));
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

TEST_F(CliTest, OutputsReplaceLinksAndNeverAnInput) {
  Write(Path("tree/a.txt"), "a");
  Write(Path("victim"), "precious");
  fs::create_symlink(Path("victim"), Path("p.bvp"));
  ASSERT_EQ(Cli({"profile", Root(), "-o", Path("p.bvp").string()}).exitCode, 0);
  fs::create_symlink(Path("victim"), Path("report.txt"));
  EXPECT_EQ(Cli({"compare", Path("p.bvp").string(), Path("p.bvp").string(), "-o",
                 Path("report.txt").string(), "--text"})
                .exitCode,
            0);
  fs::create_symlink(Path("victim"), Path("plain.txt"));
  EXPECT_EQ(Cli({"totext", Path("report.txt").string(), "-o", Path("plain.txt").string()}).exitCode,
            0);
  EXPECT_EQ(Read(Path("victim")), "precious");
  for (const char* name : {"p.bvp", "report.txt", "plain.txt"}) {
    EXPECT_FALSE(fs::is_symlink(Path(name))) << name;
  }
  EXPECT_THAT(Read(Path("plain.txt")), HasSubstr("Net Change = 0.00"));

  // An output that is one of the inputs, by name or through a link, is refused.
  const std::string profile = Read(Path("p.bvp"));
  fs::create_symlink(Path("p.bvp"), Path("alias.bvp"));
  for (const char* output : {"p.bvp", "alias.bvp"}) {
    const Outcome o = Cli({"compare", Path("p.bvp").string(), Path("tree/../p.bvp").string(), "-o",
                           Path(output).string()});
    EXPECT_EQ(o.exitCode, 2) << output;
    EXPECT_THAT(o.err, HasSubstr("is the profile")) << output;
  }
  EXPECT_EQ(Read(Path("p.bvp")), profile);
  const std::string report = Read(Path("report.txt"));
  const Outcome o = Cli({"totext", Path("report.txt").string(), "-o", Path("report.txt").string()});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_EQ(Read(Path("report.txt")), report);
  // Nothing was left beside the outputs.
  for (const auto& entry : fs::directory_iterator(m_dir)) {
    EXPECT_EQ(entry.path().filename().string().find(".brinvale-"), std::string::npos)
        << entry.path();
  }
}

TEST_F(CliTest, NoOutputReplacesOneOfTheProgramsOwnFiles) {
  // The default program folder (XDG_DATA_HOME/Brinvale) and one that `run` is given.
  const std::string data = "XDG_DATA_HOME=" + Path("data").string();
  const fs::path program = Path("data/Brinvale");
  const fs::path other = Path("other");
  for (const fs::path& folder : {program, other}) {
    Write(folder / "Prof_T_.bvp", "stored profile");
    Write(folder / "drives.txt", "X\t" + Root() + "\n");
    Write(folder / "brinvale.lock", "4242\n");
    Write(folder / "History/T/index.tsv", "kept");
    fs::create_directories(folder / "Reports");
  }
  fs::create_directory_symlink(program, Path("alias"));
  Write(Path("tree/a.txt"), "a");
  ASSERT_EQ(Cli({"profile", Root(), "-o", Path("p.bvp").string()}, data).exitCode, 0);
  Write(Path("r.txt"), "a report\r\n");

  const std::vector<std::string> own = {
      (program / "Prof_T_.bvp").string(),        (program / "drives.txt").string(),
      (program / "brinvale.lock").string(),      (program / "BV3.Def").string(),
      (program / "brinvale.conf").string(),      (program / "Reports/../ignore.txt").string(),
      Path("alias/Prof_T_.bvp").string(),        (other / "Prof_T_.bvp").string(),
      (program / "History/T/index.tsv").string()};
  for (const std::string& target : own) {
    const bool otherFolder = target.find("/other/") != std::string::npos;
    std::vector<std::vector<std::string>> commands = {
        {"run", "--json", "-o", target, "--program-folder", other.string(), "X"}};
    if (!otherFolder) {
      commands.push_back({"compare", Path("p.bvp").string(), Path("p.bvp").string(), "-o", target});
      commands.push_back(
          {"compare", Path("p.bvp").string(), Path("p.bvp").string(), "--json", "-o" + target});
      commands.push_back({"totext", Path("r.txt").string(), "--output=" + target});
      commands.push_back({"profile", Root(), "-o", target});
    }
    for (const std::vector<std::string>& command : commands) {
      const Outcome o = Cli(command, data);
      EXPECT_EQ(o.exitCode, 2) << command[0] << " " << target;
      EXPECT_EQ(o.err, "brinvale-cli: " + target +
                           " is one of Brinvale's own files in the program folder; choose "
                           "another output.\n")
          << command[0];
    }
  }
  for (const fs::path& folder : {program, other}) {
    EXPECT_EQ(Read(folder / "Prof_T_.bvp"), "stored profile");
    EXPECT_EQ(Read(folder / "brinvale.lock"), "4242\n");
    EXPECT_EQ(Read(folder / "History/T/index.tsv"), "kept");
    EXPECT_EQ(Read(folder / "drives.txt"), "X\t" + Root() + "\n");
    EXPECT_FALSE(fs::exists(folder / "BV3.Def"));
    EXPECT_FALSE(fs::exists(folder / "brinvale.conf"));
  }
  // The reports are the user's.
  EXPECT_EQ(
      Cli({"totext", Path("r.txt").string(), "-o", (program / "Reports/r.txt").string()}, data)
          .exitCode,
      0);
  EXPECT_EQ(Read(program / "Reports/r.txt"), "a report\r\n");
}

TEST_F(CliTest, OutputsOntoAPipeOrThroughADescriptorAreWrittenAsStreamsNeverReplaced) {
  Write(Path("tree/a.txt"), "a");
  ASSERT_EQ(Cli({"profile", Root(), "-o", Path("p.bvp").string()}).exitCode, 0);
  Write(Path("r.txt"), "a report\r\n");
  // A link to a pipe that the program inherits, as /dev/stdout is one to its own output.
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  (void)::fcntl(pipeEnds[1], F_SETPIPE_SZ, 1 << 20);
  fs::create_symlink("/proc/self/fd/" + std::to_string(pipeEnds[1]), Path("to-pipe"));
  const std::string toPipe = Path("to-pipe").string();
  EXPECT_EQ(Cli({"totext", Path("r.txt").string(), "-o", toPipe}).exitCode, 0);
  EXPECT_EQ(Cli({"compare", Path("p.bvp").string(), Path("p.bvp").string(), "--json", "-o", toPipe})
                .exitCode,
            0);
  EXPECT_EQ(Cli({"profile", Root(), "-o", toPipe}).exitCode, 0);
  ::close(pipeEnds[1]);
  std::string streamed;
  char buffer[4096];
  for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
    streamed.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(pipeEnds[0]);
  EXPECT_THAT(streamed, ::testing::StartsWith("a report\r\n{\"drive\":\"c\",\"totals\""));
  EXPECT_THAT(streamed, ::testing::EndsWith("\"" + Root() + "/\",\"a.txt\"\r\n"));
  EXPECT_TRUE(fs::is_symlink(Path("to-pipe")));

  // A regular file behind a descriptor (standard output sent to a file) is added to, as the
  // shell's redirection left it; the link stays a link.
  const int file = ::open(Path("log.txt").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  ASSERT_GE(file, 0);
  ASSERT_EQ(::write(file, "before\n", 7), 7);
  fs::create_symlink("/proc/self/fd/" + std::to_string(file), Path("to-file"));
  EXPECT_EQ(Cli({"totext", Path("r.txt").string(), "-o", Path("to-file").string()}).exitCode, 0);
  ::close(file);
  EXPECT_EQ(Read(Path("log.txt")), "before\na report\r\n");
  EXPECT_TRUE(fs::is_symlink(Path("to-file")));
}

TEST_F(CliTest, SpecialFilesAreRefusedAtOnce) {
  Write(Path("tree/a.txt"), "a");
  ASSERT_EQ(Cli({"profile", Root(), "-o", Path("p.bvp").string()}).exitCode, 0);
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  for (const std::string& input : {std::string("/dev/zero"), Path("fifo").string(), Root()}) {
    const Outcome o =
        Cli({"compare", input, Path("p.bvp").string(), "-o", Path("r.txt").string(), "--text"});
    EXPECT_EQ(o.exitCode, 2) << input;
    EXPECT_THAT(o.err, HasSubstr(input)) << input;
    EXPECT_FALSE(fs::exists(Path("r.txt"))) << input;
  }
  // A regular file of a gigabyte of zero bytes is no profile: refused at its first line.
  { std::ofstream big(Path("zeros.bvp"), std::ios::binary); }
  fs::resize_file(Path("zeros.bvp"), 1ULL << 30);
  const Outcome o = Cli({"compare", Path("zeros.bvp").string(), Path("p.bvp").string(), "-o",
                         Path("r.txt").string()});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_THAT(o.err, HasSubstr("zeros.bvp, line 1: longer than 65536 bytes"));
}

TEST_F(CliTest, CompareIgnoresOnBothSidesAndNeedsTheListItNames) {
  Write(Path("tree/cache/x.tmp"), "x");
  Write(Path("tree/keep.txt"), "k");
  ASSERT_EQ(Cli({"profile", Root(), "-o", Path("p.bvp").string()}).exitCode, 0);
  Write(Path("ignore.txt"), Root() + "/cache/\n");
  const Outcome same =
      Cli({"compare", Path("p.bvp").string(), Path("p.bvp").string(), "-o", Path("r.txt").string(),
           "--text", "--ignore", Path("ignore.txt").string()});
  EXPECT_EQ(same.exitCode, 0) << same.err;
  EXPECT_THAT(Read(Path("r.txt")), Not(HasSubstr("x.tmp")));

  const Outcome missing = Cli({"compare", Path("p.bvp").string(), Path("p.bvp").string(), "-o",
                               Path("r2.txt").string(), "--ignore", Path("none.txt").string()});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_THAT(missing.err, HasSubstr("none.txt: no such file"));
  EXPECT_FALSE(fs::exists(Path("r2.txt")));

  // An entry without its closing separator is read as meant, with a warning.
  Write(Path("ignore.txt"), Root() + "/cache\n");
  const Outcome slip = Cli({"compare", Path("p.bvp").string(), Path("p.bvp").string(), "-o",
                            Path("r.txt").string(), "--ignore", Path("ignore.txt").string()});
  EXPECT_EQ(slip.exitCode, 0);
  EXPECT_THAT(slip.err, HasSubstr("warning: " + Path("ignore.txt").string() + ", line 1"));
}

TEST_F(CliTest, WholeTreesOfTheIgnoreListAreLeftOutByProfileAndCompareAlike) {
  Write(Path("tree/build/a.o"), "a");
  Write(Path("tree/build/sub/b.o"), "b");
  Write(Path("tree/buildx/c.o"), "c");
  ASSERT_EQ(Cli({"profile", Root(), "-o", Path("old.bvp").string()}).exitCode, 0);
  Write(Path("tree/build/sub/new.o"), "n");
  Write(Path("tree/buildx/new.o"), "n");
  ASSERT_EQ(Cli({"profile", Root(), "-o", Path("new.bvp").string()}).exitCode, 0);
  const auto compare = [&](const std::string& entry) {
    Write(Path("ignore.txt"), entry + "\r\n");
    const Outcome o =
        Cli({"compare", Path("old.bvp").string(), Path("new.bvp").string(), "-o",
             Path("r.txt").string(), "--text", "--ignore", Path("ignore.txt").string()});
    EXPECT_EQ(o.exitCode, 1) << o.err;
    EXPECT_EQ(o.err, "");  // the form is no slip to warn about
    return Read(Path("r.txt"));
  };
  // The whole tree, not its namesake beside it.
  std::string report = compare(Root() + "/build/**");
  EXPECT_THAT(report, Not(HasSubstr("sub")));
  EXPECT_THAT(report, HasSubstr("buildx/"));
  // A plain entry still covers its own folder's files only.
  report = compare(Root() + "/build/");
  EXPECT_THAT(report, HasSubstr("build/sub/"));

  Write(Path("ignore.txt"), Root() + "/build/**\r\n");
  ASSERT_EQ(Cli({"profile", Root(), "-o", Path("p.bvp").string(), "--ignore",
                 Path("ignore.txt").string()})
                .exitCode,
            0);
  EXPECT_THAT(Read(Path("p.bvp")), Not(HasSubstr("/build/")));
  EXPECT_THAT(Read(Path("p.bvp")), HasSubstr("/buildx/"));
}

TEST_F(CliTest, ProfileTakesHiddenFilesOnlyWithHidden) {
  Write(Path("tree/.rc"), "r");
  Write(Path("tree/.cache/deep/in.txt"), "i");
  Write(Path("tree/plain.txt"), "p");
  ASSERT_EQ(Cli({"profile", Root(), "-o", Path("p.bvp").string()}).exitCode, 0);
  EXPECT_THAT(Read(Path("p.bvp")), Not(HasSubstr(".rc")));
  EXPECT_THAT(Read(Path("p.bvp")), Not(HasSubstr("\"in.txt\"")));
  const Outcome o = Cli({"profile", Root(), "-o", Path("p.bvp").string(), "--hidden"});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(o.err, "3 files profiled\n");
  EXPECT_THAT(Read(Path("p.bvp")), HasSubstr("\"" + Root() + "/.cache/deep/\",\"in.txt\""));
}

class CliRunTest : public CliTest {
 protected:
  CliRunTest() {
    fs::create_directories(Path("program"));
    Write(Path("tree/docs/a.txt"), "one");
    Write(Path("program/drives.txt"), "X\t" + Root() + "\n");
    // Reports named by drive alone, so each run's report has a known name.
    std::string settings(33, '\0');
    settings[29] = 'D';
    Write(Path("program/BV3.Def"), settings);
  }

  Outcome RunCli(std::vector<std::string> args) {
    args.insert(args.begin(), "run");
    args.push_back("--program-folder");
    args.push_back(Path("program").string());
    return Cli(args);
  }

  // The names in the program folder and its Reports folder, for "nothing else was left".
  std::vector<std::string> ProgramFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(m_dir / "program")) {
      names.push_back(fs::relative(entry.path(), m_dir / "program").string());
    }
    std::sort(names.begin(), names.end());
    return names;
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

TEST_F(CliRunTest, SecondRunAtOnceIsRefusedAndTouchesNothing) {
  ASSERT_EQ(RunCli({"--yes", "X"}).exitCode, 0);
  Write(Path("tree/docs/b.txt"), "b");
  const std::vector<std::string> before = ProgramFiles();
  const std::string profile = Read(Path("program/Prof_X_.bvp"));
  platform::PosixFileSystem posix;
  auto running = platform::RunLock::TryTake(posix, Path("program").string() + "/");
  ASSERT_TRUE(running.isOk());

  const Outcome o = RunCli({"X"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_EQ(o.err,
            "Another run is using this program folder (pid " + std::to_string(getpid()) + ").\n");
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(ProgramFiles(), before);
  EXPECT_EQ(Read(Path("program/Prof_X_.bvp")), profile);

  running.value().release();
  EXPECT_EQ(RunCli({"X"}).exitCode, 1);
}

TEST_F(CliRunTest, ReportThatCannotBeSavedKeepsTheProfileForTheNextRun) {
  ASSERT_EQ(RunCli({"--yes", "X"}).exitCode, 0);
  const std::string stored = Read(Path("program/Prof_X_.bvp"));
  Write(Path("tree/docs/b.txt"), std::string(1024, 'b'));
  fs::create_directories(Path("program/Reports/Drive_X.txt"));  // where the report would go

  const Outcome o = RunCli({"X"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_THAT(o.err, HasSubstr("The report could not be saved"));
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(Read(Path("program/Prof_X_.bvp")), stored);

  fs::remove(Path("program/Reports/Drive_X.txt"));
  const Outcome again = RunCli({"X"});
  EXPECT_EQ(again.exitCode, 1) << again.err;
  EXPECT_THAT(Read(Path("program/Reports/Drive_X.txt")), HasSubstr("Added b.txt (1.00 K)"));
}

TEST_F(CliRunTest, OneReportForThreeDrivesThatCannotBeSavedKeepsEveryProfile) {
  Write(Path("program/drives.txt"),
        "X\t" + Root() + "/docs\nY\t" + Root() + "/more\nZ\t" + Root() + "/most\n");
  for (const char* folder : {"more", "most"})
    Write(Path("tree/" + std::string(folder) + "/f"), "f");
  ASSERT_EQ(RunCli({"--yes", "X", "Y", "Z"}).exitCode, 0);
  std::map<std::string, std::string> stored;
  for (const char* letter : {"X", "Y", "Z"}) {
    stored[letter] = Read(Path("program/Prof_" + std::string(letter) + "_.bvp"));
  }
  for (const char* folder : {"docs", "more", "most"}) {
    Write(Path("tree/" + std::string(folder) + "/new.txt"), "new");
  }
  fs::create_directories(Path("program/Reports/Drive_X_Y_Z_.txt"));

  const Outcome o = RunCli({"--one-report", "X", "Y", "Z"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_THAT(o.err, HasSubstr("were kept, so the next run reports their changes again"));
  for (const char* letter : {"X", "Y", "Z"}) {
    EXPECT_EQ(Read(Path("program/Prof_" + std::string(letter) + "_.bvp")), stored[letter]);
  }
  fs::remove(Path("program/Reports/Drive_X_Y_Z_.txt"));
  EXPECT_EQ(RunCli({"--one-report", "X", "Y", "Z"}).exitCode, 1);
  EXPECT_EQ(
      Read(Path("program/Reports/Drive_X_Y_Z_.txt")).find("Added new.txt") != std::string::npos,
      true);
}

TEST_F(CliRunTest, ReportsAndWorkFilesAreNeverWrittenThroughLinks) {
  ASSERT_EQ(RunCli({"--yes", "X"}).exitCode, 0);
  Write(Path("tree/docs/b.txt"), "b");
  Write(Path("victim"), "precious");
  fs::create_symlink(Path("victim"), Path("program/Reports/Drive_X.txt"));
  for (const char* name : {"bvp.tmp", "section.tmp", "temp.rtf", "drives.txt.part"}) {
    fs::create_symlink(Path("victim"), Path("program/" + std::string(name)));
  }
  EXPECT_EQ(RunCli({"X"}).exitCode, 1);
  EXPECT_EQ(Read(Path("victim")), "precious");
  EXPECT_FALSE(fs::is_symlink(Path("program/Reports/Drive_X.txt")));
  EXPECT_THAT(Read(Path("program/Reports/Drive_X.txt")), HasSubstr("Added b.txt"));
}

TEST_F(CliRunTest, AReportsFolderThatIsAnotherUsersLinkIsRefusedAndTheOwnersOwnFollowed) {
  if (geteuid() != 0) GTEST_SKIP() << "needs a folder of another user, made as root";
  ASSERT_EQ(RunCli({"--yes", "X"}).exitCode, 0);
  const std::string profile = Read(Path("program/Prof_X_.bvp"));
  fs::create_directories(Path("nobodys"));
  ASSERT_EQ(chown(Path("nobodys").c_str(), 65534, 65534), 0);
  fs::remove_all(Path("program/Reports"));
  fs::create_directory_symlink(Path("nobodys"), Path("program/Reports"));
  Write(Path("tree/docs/b.txt"), "b");
  const Outcome refused = RunCli({"X"});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_THAT(refused.err, HasSubstr(Path("program/Reports").string() +
                                     " is a link to a folder of another user; nothing was "
                                     "written there."));
  EXPECT_TRUE(fs::is_empty(Path("nobodys")));
  EXPECT_EQ(Read(Path("program/Prof_X_.bvp")), profile);

  // The user's own link to a folder of their own is followed.
  fs::create_directories(Path("mine"));
  fs::remove(Path("program/Reports"));
  fs::create_directory_symlink(Path("mine"), Path("program/Reports"));
  const Outcome followed = RunCli({"X"});
  EXPECT_EQ(followed.exitCode, 1) << followed.err;
  EXPECT_THAT(Read(Path("mine/Drive_X.txt")), HasSubstr("Added b.txt"));
  EXPECT_TRUE(fs::is_symlink(Path("program/Reports")));
}

TEST_F(CliRunTest, GarbageProfileOrSpecialFilesStopWithAMessageAndKeepEverything) {
  ASSERT_EQ(RunCli({"--yes", "X"}).exitCode, 0);
  const std::string zeros(1 << 20, '\0');
  Write(Path("program/Prof_X_.bvp"), zeros);
  Outcome o = RunCli({"X"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_THAT(o.err, HasSubstr("Prof_X_.bvp, line 1: longer than 65536 bytes"));
  EXPECT_EQ(Read(Path("program/Prof_X_.bvp")), zeros);

  // A FIFO as the Ignore list is a warning; as the settings file, the run cannot go on.
  fs::remove(Path("program/Prof_X_.bvp"));
  ASSERT_EQ(mkfifo(Path("program/ignore.txt").c_str(), 0600), 0);
  o = RunCli({"--yes", "X"});
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_THAT(o.err, HasSubstr("ignore.txt: a FIFO"));
  fs::remove(Path("program/BV3.Def"));
  ASSERT_EQ(mkfifo(Path("program/BV3.Def").c_str(), 0600), 0);
  o = RunCli({"X"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_THAT(o.err, HasSubstr("BV3.Def: a FIFO"));
}

TEST_F(CliRunTest, ProgramFolderInsideTheDriveIsNoChange) {
  Write(Path("program/drives.txt"), "X\t" + m_dir.string() + "\n");
  ASSERT_EQ(RunCli({"--yes", "X"}).exitCode, 0);
  EXPECT_THAT(Read(Path("program/Prof_X_.bvp")), Not(HasSubstr("/program/")));
  // Its own profile, settings and lock changed since; the drive did not.
  const Outcome o = RunCli({"X"});
  EXPECT_EQ(o.exitCode, 0) << o.err;
}

TEST_F(CliRunTest, LeftoversOfKilledRunsAreSwept) {
  ASSERT_EQ(RunCli({"--yes", "X"}).exitCode, 0);
  ASSERT_EQ(RunCli({"X"}).exitCode, 0);
  // Each run keeps one more generation; the rest stays as it was.
  const auto files = [&] {
    std::vector<std::string> names = ProgramFiles();
    std::erase_if(names, [](const std::string& name) { return name.ends_with(".bvp.zst"); });
    return names;
  };
  const std::vector<std::string> clean = files();
  // Process ids of processes that are gone: a child that has ended.
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  waitpid(ended, nullptr, 0);
  const std::string pid = std::to_string(ended);
  Write(Path("program/.Prof_X_.bvp.brinvale-" + pid + "-0"), "partial");
  Write(Path("program/Prof_X_.bvp.copy-" + pid + "-1"), "partial");
  Write(Path("program/Reports/.Drive_X.txt.brinvale-" + pid + "-2"), "partial");
  Write(Path("program/History/X/.index.tsv.brinvale-" + pid + "-3"), "partial");
  Write(Path("program/bvp.tmp"), "old scan");
  Write(Path("program/section.tmp"), "old section");
  Write(Path("program/Reports/budget.copy-4000000-2"), "the user's");
  EXPECT_EQ(RunCli({"X"}).exitCode, 0);
  // Files that only look like the copies of earlier versions may be the user's: they stay.
  std::vector<std::string> expected = clean;
  expected.push_back("Prof_X_.bvp.copy-" + pid + "-1");
  expected.push_back("Reports/budget.copy-4000000-2");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(files(), expected);
}

// A new settings file names reports by drive, date and time, so every run keeps its
// report; a second one of the same minute is numbered.
TEST_F(CliRunTest, ANewSettingsFileKeepsEveryReportUnderItsTimeAndDate) {
  fs::remove(Path("program/BV3.Def"));
  ASSERT_EQ(RunCli({"--yes", "X"}).exitCode, 0);
  Write(Path("tree/docs/one.txt"), "1");
  const Outcome first = RunCli({"X"});
  ASSERT_EQ(first.exitCode, 1) << first.err;
  Write(Path("tree/docs/two.txt"), "2");
  const Outcome second = RunCli({"X"});
  ASSERT_EQ(second.exitCode, 1) << second.err;
  const std::string stamped = "Drive_X_[0-9]{1,2}-[0-9]{1,2}-[0-9]{2}_[0-9]{4}";
  EXPECT_THAT(first.out, ::testing::MatchesRegex(".*/program/Reports/" + stamped + "\\.txt\n"));
  EXPECT_THAT(second.out,
              ::testing::MatchesRegex(".*/program/Reports/" + stamped + "(_2)?\\.txt\n"));
  EXPECT_THAT(second.err, ::testing::MatchesRegex(".*report Reports/" + stamped + "(_2)?\\.txt\n"));
  std::string reports;
  int count = 0;
  for (const auto& entry : fs::directory_iterator(Path("program/Reports"))) {
    reports += Read(entry.path());
    ++count;
  }
  EXPECT_EQ(count, 2);
  EXPECT_THAT(reports, HasSubstr("Added one.txt"));
  EXPECT_THAT(reports, HasSubstr("Added two.txt"));
}

TEST_F(CliTest, DefaultProgramFolderIsTheUsersDataFolder) {
  const std::string data = "XDG_DATA_HOME=" + Path("data").string();
  const Outcome o = Cli({"drives"}, data);
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_TRUE(fs::exists(Path("data/Brinvale/drives.txt")));
  EXPECT_EQ(Cli({"run", "--help"}, "XDG_DATA_HOME=" + Path("other").string()).exitCode, 0);
  EXPECT_FALSE(fs::exists(Path("other")));  // asking for help creates nothing
}

}  // namespace

namespace {

TEST_F(CliTest, VersionAndTopLevelHelp) {
  for (const char* option : {"-v", "--version"}) {
    const Outcome o = Cli({option});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.out, std::string("brinvale-cli ") + BRINVALE_VERSION + "\n");
    EXPECT_EQ(o.err, "");
  }
  const Outcome help = Cli({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_THAT(help.out, HasSubstr("-v, --version"));
  EXPECT_THAT(help.out, HasSubstr("Exit status: 0 no change, 1 changes reported, 2 a drive"));
  // Without a command the usage goes where errors go.
  const Outcome none = Cli({});
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_EQ(none.out, "");
  EXPECT_THAT(none.err, HasSubstr("Usage: brinvale-cli COMMAND"));
}

TEST_F(CliTest, EveryFormOfTheOutputOptionWritesTheSameFile) {
  Write(Path("tree/a.txt"), "a");
  ASSERT_EQ(Cli({"profile", Root(), "-o", Path("old.bvp").string()}).exitCode, 0);
  Write(Path("tree/b.txt"), "bb");
  ASSERT_EQ(Cli({"profile", Root(), "-o" + Path("new.bvp").string()}).exitCode, 0);
  const std::vector<std::string> compare = {
      "compare", Path("old.bvp").string(), Path("new.bvp").string(), "--since", "then", "--text"};
  const std::string report = Path("r.txt").string();
  const std::vector<std::vector<std::string>> forms = {
      {"-o", report}, {"-o" + report}, {"--output=" + report}, {"--output", report}};
  std::string first;
  for (const auto& form : forms) {
    std::vector<std::string> args = compare;
    args.insert(args.end(), form.begin(), form.end());
    const Outcome o = Cli(args);
    EXPECT_EQ(o.exitCode, 1) << form[0] << o.err;
    EXPECT_EQ(o.out, "");
    if (first.empty()) first = Read(report);
    EXPECT_EQ(Read(report), first) << form[0];
    fs::remove(report);
  }
  EXPECT_THAT(first, HasSubstr("Added b.txt"));
  std::vector<std::string> toStandardOutput = compare;
  toStandardOutput.insert(toStandardOutput.end(), {"-o", "-"});
  const Outcome o = Cli(toStandardOutput);
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.out, first);
  EXPECT_FALSE(fs::exists(Path("-")));

  // totext takes the same forms; "-o -" is standard output, as is no -o at all.
  Write(Path("report.txt"), first);
  const Outcome plain = Cli({"totext", Path("report.txt").string()});
  ASSERT_EQ(plain.exitCode, 0);
  EXPECT_EQ(Cli({"totext", Path("report.txt").string(), "-o", "-"}).out, plain.out);
  for (const std::string& form :
       {"-o" + Path("t.txt").string(), "--output=" + Path("t.txt").string()}) {
    EXPECT_EQ(Cli({"totext", Path("report.txt").string(), form}).exitCode, 0);
    EXPECT_EQ(Read(Path("t.txt")), plain.out) << form;
    fs::remove(Path("t.txt"));
  }
}

TEST_F(CliTest, CaptionsOnlyOnATerminalOrWithProgressAndQuietKeepsProblems) {
  Write(Path("tree/a.txt"), "a");
  const std::string out = Path("p.bvp").string();
  EXPECT_EQ(Cli({"profile", Root(), "-o", out}).err, "1 file profiled\n");
  EXPECT_EQ(Cli({"profile", Root(), "-q", "-o", out}).err, "");
  const Outcome progress = Cli({"profile", Root(), "--progress", "-o", out});
  EXPECT_THAT(progress.err, HasSubstr("Loading Structure:  " + Root() + "/\n"));
  EXPECT_THAT(progress.err, Not(HasSubstr("\r")));

  // On a terminal the caption line is rewritten in place and cleared before the summary.
  const Outcome terminal = CliOnTerminal({"profile", Root(), "-o", out});
  EXPECT_EQ(terminal.exitCode, 0);
  EXPECT_THAT(terminal.err, HasSubstr("\rLoading Structure:  " + Root() + "/\x1b[K"));
  EXPECT_THAT(terminal.err, ::testing::EndsWith("\r\x1b[K1 file profiled\n"));
  EXPECT_EQ(CliOnTerminal({"profile", Root(), "--quiet", "-o", out}).err, "");

  // Quiet still tells of problems: a line of the Ignore list read as meant.
  Write(Path("ignore.txt"), Root() + "/cache\n");
  const Outcome quiet =
      Cli({"profile", Root(), "-q", "-o", out, "--ignore", Path("ignore.txt").string()});
  EXPECT_EQ(quiet.exitCode, 0);
  EXPECT_THAT(quiet.err,
              HasSubstr("brinvale-cli profile: warning: " + Path("ignore.txt").string()));
}

TEST_F(CliRunTest, RunSaysALinePerDriveAndPrintsOnlyResults) {
  const std::string drive = "x: [" + Root() + "]: ";
  Outcome o = RunCli({"--yes", "X"});
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, drive + "profile created, 1 file\n");

  Write(Path("tree/docs/b.txt"), "b");
  o = RunCli({"X"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.out, Path("program/Reports/Drive_X.txt").string() + "\n");
  EXPECT_EQ(o.err, drive + "2 files, 1 change, report Reports/Drive_X.txt\n");

  Write(Path("tree/docs/c.txt"), "c");
  o = RunCli({"-q", "X"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.out, Path("program/Reports/Drive_X.txt").string() + "\n");
  EXPECT_EQ(o.err, "");

  // A terminal sees the captions, cleared before the drive's line; results stay apart.
  Write(Path("tree/docs/d.txt"), "d");
  o = CliOnTerminal({"run", "X", "--program-folder", Path("program").string()});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.out, Path("program/Reports/Drive_X.txt").string() + "\n");
  EXPECT_THAT(o.err, HasSubstr("\rLoading Structure:  x: ["));
  EXPECT_THAT(o.err, ::testing::EndsWith("\r\x1b[K" + drive +
                                         "4 files, 1 change, report Reports/Drive_X.txt\n"));

  // A drive that fails says so on its line, after the message that tells why.
  Write(Path("program/drives.txt"), "X\t" + Root() + "\nY\t" + Path("gone").string() + "\n");
  o = RunCli({"--yes", "X", "Y"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_THAT(o.err, ::testing::EndsWith(drive +
                                         "4 files, 0 changes, report Reports/Drive_X.txt\n"
                                         "y: [" +
                                         Path("gone").string() + "]: failed, profile kept\n"));
}

TEST_F(CliRunTest, HiddenFilesFollowTheSettingsFileOrTheCommandLineAndAChangeIsTold) {
  Write(Path("tree/docs/.rc"), "r");
  const std::string drive = "x: [" + Root() + "]";
  Outcome o = RunCli({"--yes", "X"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_THAT(Read(Path("program/Prof_X_.bvp")), Not(HasSubstr(".rc")));

  // The settings file turns them on; the profile made without them says why they come.
  Write(Path("program/brinvale.conf"), "[scan]\nhidden = true\n");
  o = RunCli({"X"});
  EXPECT_EQ(o.exitCode, 1) << o.err;
  EXPECT_THAT(Read(Path("program/Reports/Drive_X.txt")), HasSubstr("   Added .rc"));
  EXPECT_EQ(o.err, drive + ": 2 files, 1 change, report Reports/Drive_X.txt\n" +
                       "Hidden files are now included for " + drive +
                       ": their files show as added this once.\n");
  EXPECT_EQ(Read(Path("program/brinvale.conf")),
            "[scan]\nhidden = true\n\n[profiles]\nX.hidden = true\n");
  o = RunCli({"X"});
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_THAT(o.err, Not(HasSubstr("Hidden")));

  // The command line overrides the file for one run.
  o = RunCli({"--no-hidden", "X"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_THAT(Read(Path("program/Reports/Drive_X.txt")), HasSubstr("   Deleted .rc"));
  EXPECT_THAT(o.err, HasSubstr("Hidden files are now left out for " + drive +
                               ": their files show as deleted this once.\n"));
  Write(Path("program/brinvale.conf"), "[scan]\nhidden = false\n[profiles]\nX.hidden = false\n");
  o = RunCli({"--hidden", "X"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_THAT(Read(Path("program/Prof_X_.bvp")), HasSubstr(".rc"));
  EXPECT_EQ(RunCli({"--hidden", "--no-hidden", "X"}).exitCode, 2);

  // A bad line is told once and leaves the defaults: hidden files left out.
  Write(Path("program/brinvale.conf"), "[scan]\nhidden = maybe\n[profiles]\nX.hidden = true\n");
  o = RunCli({"X"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_THAT(o.err,
              HasSubstr("brinvale-cli run: warning: " + Path("program/brinvale.conf").string() +
                        ", line 2: hidden must be true or false, not \"maybe\"; the "
                        "default settings are used\n"));
  EXPECT_THAT(Read(Path("program/Prof_X_.bvp")), Not(HasSubstr(".rc")));
}

TEST_F(CliRunTest, AWholeTreeOnTheIgnoreListIsLeftOutOfARunWhileAPlainEntryKeepsItsMeaning) {
  Write(Path("tree/build/a.o"), "a");
  Write(Path("tree/build/sub/b.o"), "b");
  Write(Path("tree/tmp/t.txt"), "t");
  Write(Path("tree/tmp/deep/u.txt"), "u");
  ASSERT_EQ(RunCli({"--yes", "X"}).exitCode, 0);
  ASSERT_THAT(Read(Path("program/Prof_X_.bvp")), HasSubstr("\"b.o\""));

  Write(Path("program/ignore.txt"), Root() + "/build/**\r\n" + Root() + "/tmp/\r\n");
  Write(Path("tree/build/sub/new.o"), "n");
  Write(Path("tree/tmp/new.txt"), "n");
  Write(Path("tree/tmp/deep/new.txt"), "n");
  const Outcome o = RunCli({"X"});
  EXPECT_EQ(o.exitCode, 1) << o.err;
  // The tree's stored files are not reported deleted nor its new one added; of the plain
  // entry only the folder's own files are left out, not its sub-folder's.
  const std::string report = Read(Path("program/Reports/Drive_X.txt"));
  EXPECT_THAT(report, Not(HasSubstr("build")));
  EXPECT_THAT(report, Not(HasSubstr("   Deleted ")));
  EXPECT_THAT(report, HasSubstr("In " + Root() + "/tmp/deep/\r\n   Added new.txt"));
  EXPECT_EQ(report.find("   Added "), report.rfind("   Added "));
  const std::string profile = Read(Path("program/Prof_X_.bvp"));
  EXPECT_THAT(profile, Not(HasSubstr("/build/")));
  EXPECT_THAT(profile, Not(HasSubstr("\"t.txt\"")));
  EXPECT_THAT(profile, HasSubstr("\"" + Root() + "/tmp/deep/\",\"new.txt\""));
}

TEST_F(CliRunTest, DrivesShowsEachProfilesDateAndFileCount) {
  Write(Path("program/drives.txt"), "X\t" + Root() + "\nY\t" + Path("tree/docs").string() + "\n");
  // A drive's column after its display text, and the column it starts at.
  const auto columnOf = [](const std::string& listing, const std::string& drive) {
    const std::size_t start = listing.find(drive + "  ");
    if (start == std::string::npos) return std::make_pair(std::string::npos, std::string());
    const std::size_t text = listing.find_first_not_of(' ', start + drive.size());
    return std::make_pair(text - start, listing.substr(text, listing.find('\n', text) - text));
  };
  const std::string x = "x: [" + Root() + "]";
  const std::string y = "y: [" + Path("tree/docs").string() + "]";
  Outcome o = Cli({"drives", "--program-folder", Path("program").string()});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(columnOf(o.out, x).second, "no profile");
  EXPECT_EQ(columnOf(o.out, y).second, "no profile");
  // One column for all drives.
  EXPECT_EQ(columnOf(o.out, x).first, columnOf(o.out, y).first);
  EXPECT_EQ(columnOf(o.out, "c: [/]").first, columnOf(o.out, y).first);

  // Three records, the last without its line end, in a profile of a known time.
  Write(Path("program/Prof_X_.bvp"),
        "1,#2001-02-03#,\"/\",\"a\"\r\n2,#2001-02-03#,\"/\",\"b\"\r\n"
        "3,#2001-02-03#,\"/\",\"c\"");
  struct timespec times[2] = {};
  times[0].tv_sec = times[1].tv_sec = 981191106;  // 2001-02-03 09:05:06 UTC, 4:05:06 AM here
  ASSERT_EQ(utimensat(AT_FDCWD, Path("program/Prof_X_.bvp").c_str(), times, 0), 0);
  std::string many;
  for (int i = 0; i < 150000; ++i)
    many += "1,#2001-02-03#,\"/\",\"f" + std::to_string(i) + "\"\r\n";
  Write(Path("program/Prof_Y_.bvp"), many);
  o = Cli({"drives", "--program-folder", Path("program").string()});
  EXPECT_EQ(columnOf(o.out, x).second, "profile of 2/3/01 4:05:06 AM, 3 files");
  EXPECT_THAT(columnOf(o.out, y).second, ::testing::EndsWith(", 150,000 files"));
}

TEST_F(CliRunTest, RunJsonGoesToStandardOutputOrItsFileAndTheReportIsSavedAllTheSame) {
  ASSERT_EQ(RunCli({"--yes", "X"}).exitCode, 0);
  Write(Path("tree/docs/b.txt"), "bb");
  Outcome o = RunCli({"--json", "X"});
  EXPECT_EQ(o.exitCode, 1) << o.err;
  const std::string folder = Root() + "/docs/";
  EXPECT_THAT(o.out,
              ::testing::StartsWith("{\"drive\":\"x\",\"kind\":\"added\",\"folder\":\"" + folder +
                                    "\",\"name\":\"b.txt\",\"size\":2,\"time\":\""));
  EXPECT_THAT(o.out,
              ::testing::EndsWith("\n{\"drive\":\"x\",\"totals\":{\"added\":1,\"deleted\":0,"
                                  "\"grew\":0,\"shrunk\":0,\"time\":0,\"addedBytes\":2,"
                                  "\"deletedBytes\":0,\"changedBytes\":0,\"netBytes\":2}}\n"));
  EXPECT_THAT(Read(Path("program/Reports/Drive_X.txt")), HasSubstr("Added b.txt"));

  fs::remove(Path("tree/docs/b.txt"));
  o = RunCli({"--json", "-o", Path("changes.jsonl").string(), "X"});
  EXPECT_EQ(o.exitCode, 1) << o.err;
  EXPECT_EQ(o.out, Path("program/Reports/Drive_X.txt").string() + "\n");
  const std::string jsonLines = Read(Path("changes.jsonl"));
  EXPECT_THAT(jsonLines, HasSubstr("\"kind\":\"deleted\""));

  // A run that stops before its first drive leaves the file as it was.
  Write(Path("program/drives.txt"), "X\t" + Root() + "\nY\t" + Path("tree/docs").string() + "\n");
  o = RunCli({"--json", "-o", Path("changes.jsonl").string(), "X", "Y"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_EQ(Read(Path("changes.jsonl")), jsonLines);

  // On a terminal the caption line is cleared before the JSON Lines.
  Write(Path("tree/docs/c.txt"), "c");
  o = CliOnTerminal({"run", "--json", "X", "--program-folder", Path("program").string()},
                    /*outputToo=*/true);
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_THAT(o.err, HasSubstr("\r\x1b[K{\"drive\":\"x\",\"kind\":\"added\""));

  // Nothing changed: only the totals.
  o = RunCli({"--json", "X"});
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 1) << o.out;
  EXPECT_THAT(o.out, HasSubstr("\"totals\":{\"added\":0,"));
}

}  // namespace

namespace {

// The environment for a child whose peak memory is measured. A build with the address
// sanitizer holds freed memory back for a while, to catch late uses of it, which would make
// the peak that of everything the command ever freed: the child is told to hold nothing back.
std::vector<std::string> MeasuredEnvironment() {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) environment.emplace_back(*entry);
#if defined(__SANITIZE_ADDRESS__)
  const std::string key = "ASAN_OPTIONS=";
  std::string options = "quarantine_size_mb=0";
  std::erase_if(environment, [&](const std::string& entry) {
    if (!entry.starts_with(key)) return false;
    options = entry.substr(key.size()) + ":" + options;
    return true;
  });
  environment.push_back(key + options);
#endif
  return environment;
}

// The peak resident memory, in KiB, of brinvale-cli run with `args` and its standard output
// sent to /dev/null; -1 when it failed.
long PeakOfCli(const std::vector<std::string>& args) {
  std::vector<std::string> words = {BRINVALE_CLI};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::vector<std::string> environment = MeasuredEnvironment();
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int null = open("/dev/null", O_RDWR);
    if (null < 0 || dup2(null, 0) < 0 || dup2(null, 1) < 0) _exit(127);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return -1;
  }
  return usage.ru_maxrss;
}

TEST_F(CliTest, TotextOfLargeReportsStaysInBoundedMemory) {
  // 20 MB of a composed report, and 20 MB of plain text in an 8-bit code page (read twice:
  // once to tell it from UTF-8); reading either whole would cost several times its size.
  // Written a line at a time: the test's own memory is part of a child's peak until exec.
  int lines = 0;
  {
    std::ofstream rtf(Path("big.rtf"), std::ios::binary);
    std::ofstream latin1(Path("big.txt"), std::ios::binary);
    rtf << "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f2\\fswiss\\fprq2 Arial;}}\r\n"
           "{\\colortbl\\red0\\green0\\blue0;\\red100\\green100\\blue0;}\r\n"
           "\\deflang1033 \\f2\\fs24Disk Activity on D: [/data] Since 3/14/24 9:00:00 AM"
           "\\plain\\f2\\fs20 \r\n";
    while (rtf.tellp() < 20'000'000) {
      const std::string change =
          "file-" + std::to_string(lines++) +
          ".dat: Time Changed From: 3/14/24 10:00:00 AM to 3/14/24 11:00:00 AM";
      rtf << "\\par \\plain\\f2\\fs20\\cf1    " << change << "\\plain\\f2\\fs20 \r\n";
      latin1 << "   caf\xe9 " << change << "\r\n";
    }
    rtf << " \\par }\r\n";
  }
  Write(Path("empty.rtf"), "");

  // Every peak is measured before the outputs are read back, so that each child starts from
  // the same test process.
  const long empty = PeakOfCli({"totext", Path("empty.rtf").string(), "-o", Path("e.txt")});
  ASSERT_GT(empty, 0);
  const std::vector<std::string> names = {"big.rtf", "big.txt"};
  std::vector<long> peaks;
  for (const std::string& name : names) {
    peaks.push_back(PeakOfCli({"totext", Path(name).string(), "-o", Path(name + ".out")}));
  }
  const std::string last = "file-" + std::to_string(lines - 1) + ".dat: Time Changed";
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    const long peak = peaks[i];
    ASSERT_GT(peak, 0) << name;
    EXPECT_LT(peak - empty, 24 * 1024) << name << ": " << peak << " KiB against " << empty;
    const std::string text = Read(Path(name + ".out"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), name == "big.rtf" ? lines + 1 : lines)
        << name;
    EXPECT_NE(text.find(last), std::string::npos) << name;
    if (name == "big.txt") {
      EXPECT_EQ(text.rfind("   caf\xc3\xa9 file-0.dat", 0), 0u);  // read as Latin-1
    }
  }
  EXPECT_GT(PeakOfCli({"totext", Path("big.rtf").string()}), 0);  // to standard output
}

class CliHistoryTest : public CliRunTest {
 protected:
  Outcome History(std::vector<std::string> args) {
    args.insert(args.begin(), "history");
    args.push_back("--program-folder");
    args.push_back(Path("program").string());
    return Cli(args);
  }

  // Two runs after the first: the profiles they replaced are kept, and copies of them (with
  // their times) are left as old1.bvp and old2.bvp.
  void ThreeRuns() {
    ASSERT_EQ(RunCli({"--yes", "X"}).exitCode, 0);
    for (const char* copy : {"old1.bvp", "old2.bvp"}) {
      fs::copy_file(Path("program/Prof_X_.bvp"), Path(copy));
      fs::last_write_time(Path(copy), fs::last_write_time(Path("program/Prof_X_.bvp")));
      Write(Path(std::string("tree/docs/") + copy + ".txt"), copy);
      Write(Path("tree/docs/a.txt"), std::string("one more ") + copy);
      ASSERT_EQ(RunCli({"X"}).exitCode, 1);
    }
  }

  fs::path Generation(int runsBack) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(Path("program/History/X"))) {
      if (entry.path().extension() == ".zst") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files.at(files.size() - static_cast<std::size_t>(runsBack));
  }
};

TEST_F(CliHistoryTest, AComparisonWithAKeptProfileIsTheOrdinaryComparisonOfItsCopy) {
  ThreeRuns();
  const std::string drive = "x: [" + Root() + "]";
  const std::string stored = Path("program/Prof_X_.bvp").string();
  // The report (plain text, as the settings say) and the JSON Lines, byte for byte.
  const Outcome plain =
      Cli({"compare", Path("old2.bvp").string(), stored, "-o", "-", "--text", "--drive", drive});
  ASSERT_EQ(plain.exitCode, 1) << plain.err;
  EXPECT_THAT(plain.out, HasSubstr("   Added old2.bvp.txt"));
  Outcome o = History({"X", "--compare", "-1", "-o", "-"});
  EXPECT_EQ(o.exitCode, 1) << o.err;
  EXPECT_EQ(o.out, plain.out);
  const Outcome json =
      Cli({"compare", Path("old1.bvp").string(), stored, "--json", "--drive", drive});
  o = History({"x:", "--compare", "-2", "--json"});
  EXPECT_EQ(o.exitCode, 1) << o.err;
  EXPECT_EQ(o.out, json.out);
  // Two kept ones: -2 to -1 is what the second run reported.
  const Outcome between = Cli({"compare", Path("old1.bvp").string(), Path("old2.bvp").string(),
                               "-o", "-", "--text", "--drive", drive});
  o = History({"X", "--compare", "-2", "--to", "-1", "-o", "-"});
  EXPECT_EQ(o.out, between.out);
  // --to before --compare, or a time before the first profile: nothing to compare.
  o = History({"X", "--compare", "-1", "--to", "-2"});
  EXPECT_EQ(o.exitCode, 2);
  o = History({"X", "--compare", "2000-01-01T00:00"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_THAT(o.err,
              HasSubstr("no profile of x: [" + Root() + "] was made by 2000-01-01; the oldest"));
  EXPECT_FALSE(fs::exists(Path("program/Reports/Drive_X_since")));
}

TEST_F(CliHistoryTest, ReportsAreSavedUnderTheirSidesTimesNumberedWhenTaken) {
  ThreeRuns();
  Outcome o = History({"X", "--compare", "-1"});
  EXPECT_EQ(o.exitCode, 1) << o.err;
  ASSERT_THAT(o.out, HasSubstr("/program/Reports/Drive_X_since_"));
  const std::string first = o.out.substr(0, o.out.size() - 1);
  EXPECT_TRUE(first.ends_with(".txt")) << first;
  EXPECT_EQ(Read(first), History({"X", "--compare", "-1", "-o", "-"}).out);
  o = History({"X", "--compare", "-1"});
  EXPECT_EQ(o.out, first.substr(0, first.size() - 4) + "_2.txt\n");
  o = History({"X", "--compare", "-2", "--to", "-1"});
  EXPECT_THAT(o.out,
              ::testing::MatchesRegex(".*/Reports/Drive_X_[0-9-]+_[0-9]{4}_to_[0-9-]+_[0-9]{4}"
                                      "\\.txt\n"));
}

TEST_F(CliHistoryTest, TheListingAndItsJsonKeysAndADamagedGenerationIsRefused) {
  ThreeRuns();
  Outcome o = History({});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_THAT(o.out, HasSubstr("x: [" + Root() + "]\n  -2  "));
  EXPECT_THAT(o.out, HasSubstr("  -1  "));
  // The first run after the first added a file and rewrote a.txt, a byte longer.
  EXPECT_THAT(o.out, ::testing::MatchesRegex(
                         ".*  -2  [^\n]*  1 file  0.00 K  net change 0.02 K \\(1 added, 0 "
                         "deleted, 1 grew, 0 shrunk, [01] time changed\\)\n.*"));

  o = History({"X", "--json"});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  std::istringstream lines(o.out);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    ++count;
    std::vector<std::string> keys;
    const std::regex key("\"([A-Za-z]+)\":");
    for (auto it = std::sregex_iterator(line.begin(), line.end(), key);
         it != std::sregex_iterator(); ++it) {
      keys.push_back((*it)[1]);
    }
    EXPECT_EQ(keys,
              (std::vector<std::string>{"drive", "made", "replaced", "files", "bytes", "hidden",
                                        "added", "deleted", "grew", "shrunk", "time", "addedBytes",
                                        "deletedBytes", "changedBytes", "file"}))
        << line;
    EXPECT_THAT(line, HasSubstr("\"drive\":\"x\",\"made\":\"20"));
    EXPECT_THAT(line, HasSubstr("\"hidden\":false,"));
    EXPECT_THAT(line, HasSubstr("\"file\":\"" + Path("program/History/X/").string()));
  }
  EXPECT_EQ(count, 2);

  // A generation cut short is refused, naming it; nothing is saved.
  const fs::path kept = Generation(1);
  fs::resize_file(kept, fs::file_size(kept) - 5);
  o = History({"X", "--compare", "-1"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_EQ(o.err,
            "brinvale-cli history: " + kept.string() + ": the compressed data is cut short\n");
  EXPECT_FALSE(fs::exists(Path("program/Reports")) &&
               std::any_of(fs::directory_iterator(Path("program/Reports")),
                           fs::directory_iterator(), [](const fs::directory_entry& e) {
                             return e.path().filename().string().find("since") != std::string::npos;
                           }));
}

}  // namespace
