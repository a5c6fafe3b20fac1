// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/run_command.h"

#include <unistd.h>

#include <QString>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <ctime>
#include <functional>
#include <memory>
#include <ostream>

#include "base/ascii.h"
#include "cli/cli_support.h"
#include "cli/json_changes.h"
#include "engine/profile_store.h"
#include "engine/program_conf.h"
#include "engine/run_conductor.h"
#include "engine/settings_record.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/qt_volumes.h"
#include "platform/run_lock.h"
#include "reports/report_text.h"

namespace cli {
namespace {

constexpr const char* kRunAbout =
    "Finds the changes on the drives with the given letters (see 'brinvale-cli drives'),\n"
    "exactly as the window's run does: each drive is rescanned and compared with its stored\n"
    "profile, the change report is saved in the Reports folder, and the profile is replaced.\n"
    "Drives without a profile are only profiled.\n"
    "\n"
    "Prints the paths of the saved reports on standard output, or with --json the changes as\n"
    "JSON Lines (docs/json_changes.md), and one line per drive on standard error. A drive's\n"
    "profile is replaced only once its changes are in a saved report; with --one-report,\n"
    "once the combined report is saved. Ctrl+C (or SIGTERM) cancels: the drives whose changes\n"
    "are in no saved report keep their profiles. One run at a time uses a program folder: a\n"
    "second one is refused at once with \"Another run is using this program folder (pid\n"
    "N).\" and exit status 2.\n"
    "\n"
    "Hidden files and folders (names starting with '.') are walked and profiled when the\n"
    "program folder's brinvale.conf says [scan] hidden = true, or with --hidden for this run;\n"
    "--no-hidden leaves them out for this run. A drive whose profile was made with the other\n"
    "setting is compared as usual, and its line says why its hidden files show as added or\n"
    "deleted.\n";

constexpr const char* kDrivesAbout =
    "Lists the drives a run can scan: real volumes, with letters that stay the same from run\n"
    "to run, and folders named in the program folder's drives.txt. Beside each drive: the\n"
    "date of its stored profile and the number of files in it, or \"no profile\".\n";

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int) { g_interrupted = true; }

// Cancels the run on Ctrl+C, and on the polite kill a scheduler sends, for as long as it
// lives; then the default handling is back.
class InterruptCancels {
 public:
  InterruptCancels() {
    for (int signal : kSignals) std::signal(signal, OnInterrupt);
  }
  ~InterruptCancels() {
    for (int signal : kSignals) std::signal(signal, SIG_DFL);
  }
  InterruptCancels(const InterruptCancels&) = delete;
  InterruptCancels& operator=(const InterruptCancels&) = delete;

 private:
  static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
};

// Captions go to standard error when wanted; Ctrl+C cancels the run as the Cancel button
// would.
class CliProgress final : public platform::Progress {
 public:
  CliProgress(std::ostream& err, bool terminal, bool show)
      : m_captions(err, terminal), m_show(show) {}
  void setCaption(std::string_view caption) override {
    if (m_show) m_captions.setCaption(caption);
  }
  void setLabelVisible(bool) override {}
  void setBarMaximum(std::int64_t) override {}
  void setBarValue(std::int64_t) override {}
  void setBarVisible(bool) override {}
  bool shouldContinue() override { return !g_interrupted; }
  // Erases a caption line of the terminal before other text goes there.
  void clear() { m_captions.clear(); }

 private:
  CaptionPrinter m_captions;
  bool m_show;
};

// A file that does something first before each write: clears the caption line before
// standard output writes to the terminal they may share.
class ClearingFirst final : public platform::WritableFile {
 public:
  ClearingFirst(platform::WritableFile& file, std::function<void()> first)
      : m_file(file), m_first(std::move(first)) {}
  base::Status append(std::string_view data) override {
    m_first();
    return m_file.append(data);
  }
  base::Status close() override { return m_file.close(); }

 private:
  platform::WritableFile& m_file;
  std::function<void()> m_first;
};

// The run's questions are answered by the command's flags.
class CliRunUserInterface final : public engine::RunUserInterface {
 public:
  CliRunUserInterface(std::vector<bool> marks, bool createMissing, std::optional<bool> oneReport,
                      platform::FileSystem& fs, const platform::LocaleFormat& locale,
                      std::ostream& err, bool errIsTerminal, bool captions)
      : m_marks(std::move(marks)),
        m_createMissing(createMissing),
        m_oneReport(oneReport),
        m_fs(fs),
        m_locale(locale),
        m_err(err),
        m_progress(err, errIsTerminal, captions) {}

  bool selectDrives(const std::vector<std::string>&, std::vector<bool>* marks,
                    engine::SettingsRecord*) override {
    // The letters are the selection; a second showing means the run was declined.
    if (m_selected) return false;
    m_selected = true;
    *marks = m_marks;
    return true;
  }
  bool retryWithoutDrives() override { return false; }
  bool askYesNo(std::string_view, std::string_view text) override {
    if (m_createMissing) return true;
    std::string question(text);
    for (auto pos = question.find("\r\n"); pos != std::string::npos; pos = question.find("\r\n")) {
      question.replace(pos, 2, " ");
    }
    m_progress.clear();
    m_err << question << " (run again with --yes to create)\n";
    m_declined = true;
    return false;
  }
  bool askOneReport(engine::SettingsRecord* settings) override {
    return m_oneReport.value_or(settings->OneReport == 1);
  }
  void showMessage(std::string_view text) override {
    m_progress.clear();
    m_err << "brinvale-cli run: " << text << '\n';
    ++m_messages;
  }
  void runStarted() override {}
  void runEnded() override {}
  void play(Cue) override {}
  platform::Progress& progress() override { return m_progress; }

  base::Status loadReport(const std::string& path) override {
    m_loaded = path;
    return base::Status::ok();
  }
  base::Status writeReport(platform::ReplacementFile* report, bool richText) override {
    if (richText) return platform::AppendWholeFile(m_fs, m_loaded, report);
    return reports::AppendReportFileAsPlainText(m_fs, m_loaded, report);
  }
  void reportSaved(const std::string&) override {}
  void switchOffInfoOnly() override {}
  platform::LocalDateTime now() override { return m_locale.toLocal(std::time(nullptr)); }

  [[nodiscard]] bool declined() const { return m_declined; }
  void clearProgress() { m_progress.clear(); }
  [[nodiscard]] int messages() const { return m_messages; }

 private:
  std::vector<bool> m_marks;
  bool m_createMissing;
  std::optional<bool> m_oneReport;
  platform::FileSystem& m_fs;
  const platform::LocaleFormat& m_locale;
  std::ostream& m_err;
  CliProgress m_progress;
  bool m_selected = false;
  bool m_declined = false;
  int m_messages = 0;
  std::string m_loaded;
};

}  // namespace

int RunDrivesCommand(const std::vector<std::string>& args, const ProgramFolderChoice& choose,
                     const platform::LocaleFormat& locale, std::ostream& out, std::ostream& err) {
  CommandLine line("drives", "drives [--program-folder DIR]", kDrivesAbout);
  line.add(ProgramFolderOption());
  if (auto done = line.parse(args, out, err)) return *done;
  if (!line.positional().empty()) {
    return line.fail(err, "unexpected argument " + line.positional()[0] + " (see --help)");
  }
  auto programFolder = choose(line.value("program-folder").value_or(""));
  if (!programFolder.isOk()) return line.fail(err, programFolder.status().message());

  platform::PosixFileSystem fs;
  platform::QtVolumes volumes(fs, programFolder.value());
  const platform::DriveListing listing = volumes.drives();
  for (const base::Status& problem : listing.problems) line.fail(err, problem.message());
  std::size_t width = 0;
  for (const platform::Drive& drive : listing.drives) {
    width = std::max(width, drive.displayText.size());
  }
  for (const platform::Drive& drive : listing.drives) {
    std::string row = drive.displayText;
    row.resize(width + 2, ' ');
    const std::string profile =
        engine::ProfilePathsFor(drive.displayText, programFolder.value()).profilePath;
    if (!engine::ProfileExists(fs, profile)) {
      row += "no profile";
    } else {
      // A profile that cannot be read is still listed, with what is wrong with it.
      auto date = engine::ProfileDate(fs, profile, locale);
      auto lines = CountLines(fs, profile);
      if (date.isOk() && lines.isOk()) {
        row += "profile of " + date.value() + ", " +
               GroupedCount(lines.value(), locale.groupSeparator()) +
               (lines.value() == 1 ? " file" : " files");
      } else {
        row += "profile unreadable: " + (date.isOk() ? lines.status() : date.status()).message();
      }
    }
    if (!drive.available) row += "  (not available)";
    out << row << '\n';
  }
  return listing.drives.empty() && !listing.problems.empty() ? kExitError : kExitOk;
}

int RunRunCommand(const std::vector<std::string>& args, const ProgramFolderChoice& choose,
                  const std::string& defaultProgramFolder, const platform::LocaleFormat& locale,
                  std::ostream& out, std::ostream& err, bool errIsTerminal) {
  CommandLine line("run",
                   "run [--yes] [--info-only] [--one-report | --separate] [--json [-o FILE]]\n"
                   "                        [--hidden | --no-hidden] [-q | --progress]\n"
                   "                        [--program-folder DIR] LETTER...",
                   kRunAbout);
  line.add(QCommandLineOption(QStringLiteral("yes"),
                              QStringLiteral("create the profiles that are missing\n"
                                             "(otherwise the run stops and asks)")));
  line.add(QCommandLineOption(QStringLiteral("info-only"),
                              QStringLiteral("report, but create and replace no profile")));
  line.add(QCommandLineOption(QStringLiteral("one-report"),
                              QStringLiteral("one report for all compared drives")));
  line.add(QCommandLineOption(QStringLiteral("separate"),
                              QStringLiteral("one report per drive (default: the stored choice)")));
  line.add(QCommandLineOption(QStringLiteral("hidden"),
                              QStringLiteral("include hidden files and folders in this run")));
  line.add(QCommandLineOption(QStringLiteral("no-hidden"),
                              QStringLiteral("leave hidden files and folders out of this run\n"
                                             "(default: the stored choice)")));
  line.add(
      JsonOption("write the changes as JSON Lines on standard output\n"
                 "(the reports are saved all the same)"));
  line.add(OutputOption("FILE", "with --json: write the JSON Lines to FILE instead"));
  line.add(QuietOption());
  line.add(ProgressOption());
  line.add(ProgramFolderOption());
  if (auto done = line.parse(args, out, err)) return *done;
  const auto chatter = ChatterOf(line, errIsTerminal, err);
  if (!chatter) return kExitError;
  if (line.isSet("one-report") && line.isSet("separate")) {
    return line.fail(err, "--one-report and --separate exclude each other");
  }
  if (line.isSet("hidden") && line.isSet("no-hidden")) {
    return line.fail(err, "--hidden and --no-hidden exclude each other");
  }
  const bool json = line.isSet("json");
  auto jsonOutput = line.value("output");
  if (jsonOutput && !json) return line.fail(err, "-o is only for --json (see --help)");
  if (jsonOutput && jsonOutput->empty()) return line.fail(err, "-o needs a file name, or -");
  if (jsonOutput && *jsonOutput == kStandardOutputName) jsonOutput.reset();
  if (line.positional().empty()) {
    return line.fail(err, "name at least one drive letter (see 'brinvale-cli drives')");
  }
  auto chosen = choose(line.value("program-folder").value_or(""));
  if (!chosen.isOk()) return line.fail(err, chosen.status().message());
  const std::string& programFolder = chosen.value();
  if (const auto refusal = jsonOutput
                               ? OwnFileRefusal(*jsonOutput, {programFolder, defaultProgramFolder})
                               : std::nullopt) {
    err << *refusal << '\n';
    return kExitError;
  }

  platform::PosixFileSystem fs;
  // Nothing of the program folder is touched, not even drives.txt, before the lock is held.
  auto lock = platform::RunLock::TryTake(fs, programFolder);
  if (!lock.isOk()) {
    if (lock.status().isBusy()) {
      err << lock.status().message() << '\n';
      return kExitError;
    }
    return line.fail(err, lock.status().message());
  }
  platform::QtVolumes volumes(fs, programFolder);
  const platform::DriveListing listing = volumes.drives();
  for (const base::Status& problem : listing.problems) line.fail(err, problem.message());
  engine::RunEnvironment env;
  for (const platform::Drive& drive : listing.drives) {
    env.drives.push_back({drive.displayText, drive.root});
  }
  std::vector<bool> marks(listing.drives.size(), false);
  for (const std::string& word : line.positional()) {
    std::string letter = word;
    if (letter.size() == 2 && letter[1] == ':') letter.pop_back();
    bool found = false;
    for (std::size_t i = 0; i < listing.drives.size() && letter.size() == 1; ++i) {
      if (listing.drives[i].letter == base::AsciiUpper(letter[0])) {
        marks[i] = true;
        found = true;
      }
    }
    if (!found) return line.fail(err, "no drive " + word + " (see 'brinvale-cli drives')");
  }

  engine::SettingsRecord settings;
  env.settingsPath = programFolder + std::string(engine::kSettingsFileName);
  if (base::Status s = engine::LoadSettings(fs, env.settingsPath, &settings); !s.isOk()) {
    return line.fail(err, "cannot read the settings: " + s.message());
  }
  env.fs = &fs;
  env.locale = &locale;
  env.programFolder = programFolder;
  // temp.rtf is the window's; a window opened or closed meanwhile must not disturb this run.
  env.composedReportPath =
      programFolder +
      platform::TemporaryName("composed-report.rtf", static_cast<std::uint64_t>(::getpid()), "run");
  env.settings = &settings;
  env.infoOnly = line.isSet("info-only");
  // A settings file with a bad line is told of once; its defaults hold for this run.
  engine::ProgramConf conf;
  env.confPath = programFolder + std::string(engine::kConfFileName);
  if (base::Status s = engine::LoadProgramConf(fs, env.confPath, &conf); !s.isOk()) {
    line.fail(err, "warning: " + s.message() + "; the default settings are used");
  }
  env.includeHidden = line.isSet("hidden")      ? true
                      : line.isSet("no-hidden") ? false
                                                : conf.includeHidden;

  // The JSON Lines go to standard output, or replace FILE once the run has ended.
  std::optional<bool> oneReport;
  if (line.isSet("one-report")) oneReport = true;
  if (line.isSet("separate")) oneReport = false;
  CliRunUserInterface ui(marks, line.isSet("yes"), oneReport, fs, locale, err, errIsTerminal,
                         chatter->captions);

  // The JSON Lines go to standard output, which may share the terminal with the captions,
  // or replace FILE once the run has ended.
  StreamFile standardOutput(out);
  ClearingFirst jsonOnStandardOutput(standardOutput, [&ui] { ui.clearProgress(); });
  std::unique_ptr<Output> jsonFile;
  if (jsonOutput) {
    auto opened = OpenOutput(fs, *jsonOutput);
    if (!opened.isOk()) {
      return line.fail(err, "cannot write the changes: " + opened.status().message());
    }
    jsonFile = std::move(opened).value();
  }
  JsonChangeWriter changes(jsonFile ? jsonFile->file() : &jsonOnStandardOutput);
  if (json) env.changeListener = &changes;

  engine::RunOutcome outcome;
  {
    InterruptCancels interrupts;
    outcome = engine::FindChanges(env, ui);
  }
  (void)fs.remove(env.composedReportPath);
  ui.clearProgress();

  bool failed = false;
  if (jsonFile && (outcome.driveLoopStarted || jsonFile->streamed())) {
    // The file holds every drive that was compared whole, also when another failed. A run
    // that never started keeps the file as it was.
    if (base::Status s = jsonFile->finish(); !s.isOk()) {
      line.fail(err, "cannot write the changes: " + s.message());
      failed = true;
    }
  } else if (json) {
    if (base::Status s = standardOutput.close(); !s.isOk()) failed = true;
  }
  // Standard output carries the results: the JSON Lines when they go there, else the
  // reports' paths.
  if (!json || jsonFile) {
    for (const std::string& path : outcome.savedReports) out << path << '\n';
  }
  if (chatter->notes) {
    for (const engine::DriveResult& drive : outcome.drives) {
      err << DriveSummary(drive, programFolder, env.infoOnly, locale.groupSeparator()) << '\n';
    }
  }
  if (!outcome.driveLoopStarted || outcome.cancelled || outcome.failedDrives > 0 || ui.declined() ||
      failed) {
    if (outcome.cancelled) line.fail(err, "cancelled");
    return kExitError;
  }
  return outcome.changeLines > 0 ? kExitChanges : kExitNoChange;
}

std::string DriveSummary(const engine::DriveResult& drive, const std::string& programFolder,
                         bool infoOnly, const std::string& groupSeparator) {
  const auto count = [&](std::int64_t n, const char* one, const char* many) {
    return GroupedCount(n, groupSeparator) + " " + (n == 1 ? one : many);
  };
  std::string line = drive.displayText + ": ";
  switch (drive.state) {
    case engine::DriveResult::State::kProfiled:
      line += infoOnly ? count(drive.files, "file", "files") + ", no profile created (info only)"
                       : "profile created, " + count(drive.files, "file", "files");
      break;
    case engine::DriveResult::State::kCompared: {
      std::string report = drive.reportPath;
      if (report.rfind(programFolder, 0) == 0) report.erase(0, programFolder.size());
      line += count(drive.files, "file", "files") + ", " +
              count(drive.changeLines, "change", "changes") + ", report " + report;
      if (infoOnly) line += ", profile kept (info only)";
      break;
    }
    case engine::DriveResult::State::kFailed:
      line += "failed, profile kept";
      break;
    case engine::DriveResult::State::kCancelled:
      line += "cancelled, profile kept";
      break;
  }
  if (!drive.notice.empty()) line += "\n" + drive.notice;
  return line;
}

}  // namespace cli
