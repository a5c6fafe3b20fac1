// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/run_command.h"

#include <unistd.h>

#include <QString>
#include <atomic>
#include <csignal>
#include <ctime>
#include <ostream>

#include "base/ascii.h"
#include "cli/cli_support.h"
#include "engine/run_conductor.h"
#include "engine/settings_record.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/qt_volumes.h"
#include "platform/run_lock.h"
#include "reports/report_file.h"

namespace cli {
namespace {

constexpr const char* kRunUsage =
    "Usage: brinvale-cli run [--yes] [--info-only] [--one-report | --separate] LETTER...\n"
    "\n"
    "Finds the changes on the drives with the given letters (see 'brinvale-cli drives'),\n"
    "exactly as the window's run does: each drive is rescanned and compared with its stored\n"
    "profile, the change report is saved in the Reports folder, and the profile is replaced.\n"
    "Drives without a profile are only profiled.\n"
    "\n"
    "  --yes         create the profiles that are missing (otherwise the run stops and asks)\n"
    "  --info-only   report, but create and replace no profile\n"
    "  --one-report  one report for all compared drives\n"
    "  --separate    one report per drive (default: the stored choice)\n"
    "  --program-folder DIR   use the profiles, settings and reports in DIR\n"
    "\n"
    "Prints the paths of the saved reports. A drive's profile is replaced only once its\n"
    "changes are in a saved report; with --one-report, once the combined report is saved.\n"
    "Ctrl+C (or SIGTERM) cancels: the drives whose changes are in no saved report keep their\n"
    "profiles. One run at a time uses a program folder: a second one is refused at once with\n"
    "\"Another run is using this program folder (pid N).\" and exit status 2.\n";

constexpr const char* kDrivesUsage =
    "Usage: brinvale-cli drives [--program-folder DIR]\n"
    "\n"
    "Lists the drives a run can scan: real volumes, with letters that stay the same from run\n"
    "to run, and folders named in the program folder's drives.txt.\n";

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

// Captions go to the terminal; Ctrl+C cancels the run as the Cancel button would.
class CliProgress final : public platform::Progress {
 public:
  CliProgress(std::ostream& err, bool terminal) : m_captions(err, terminal), m_show(terminal) {}
  void setCaption(std::string_view caption) override {
    if (m_show) m_captions.setCaption(caption);
  }
  void setLabelVisible(bool) override {}
  void setBarMaximum(std::int64_t) override {}
  void setBarValue(std::int64_t) override {}
  void setBarVisible(bool) override {}
  bool shouldContinue() override { return !g_interrupted; }

 private:
  CaptionPrinter m_captions;
  bool m_show;
};

// The run's questions are answered by the command's flags.
class CliRunUserInterface final : public engine::RunUserInterface {
 public:
  CliRunUserInterface(std::vector<bool> marks, bool createMissing, std::optional<bool> oneReport,
                      platform::FileSystem& fs, const platform::LocaleFormat& locale,
                      std::ostream& err, bool errIsTerminal)
      : m_marks(std::move(marks)),
        m_createMissing(createMissing),
        m_oneReport(oneReport),
        m_fs(fs),
        m_locale(locale),
        m_err(err),
        m_progress(err, errIsTerminal) {}

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
    m_err << question << " (run again with --yes to create)\n";
    m_declined = true;
    return false;
  }
  bool askOneReport(engine::SettingsRecord* settings) override {
    return m_oneReport.value_or(settings->OneReport == 1);
  }
  void showMessage(std::string_view text) override {
    m_err << "brinvale-cli run: " << text << '\n';
    ++m_messages;
  }
  void runStarted() override {}
  void runEnded() override {}
  void play(Cue) override {}
  platform::Progress& progress() override { return m_progress; }

  engine::Status loadReport(const std::string& path) override {
    m_loaded = path;
    return engine::Status::ok();
  }
  engine::Status saveReport(const std::string& path, bool richText) override {
    if (richText) return platform::CopyFile(m_fs, m_loaded, path);
    return reports::SaveReportFileAsPlainText(m_fs, m_loaded, path);
  }
  void switchOffInfoOnly() override {}
  platform::LocalDateTime now() override { return m_locale.toLocal(std::time(nullptr)); }

  [[nodiscard]] bool declined() const { return m_declined; }
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

int RunDrivesCommand(const std::vector<std::string>& args, const std::string& programFolder,
                     std::ostream& out, std::ostream& err) {
  ArgumentScanner scanner({}, {});
  if (auto done = ScanCommandLine(&scanner, args, "drives", kDrivesUsage, out, err)) return *done;
  if (!scanner.positional().empty()) {
    err << "brinvale-cli drives: unexpected argument " << scanner.positional()[0]
        << " (see --help)\n";
    return kExitError;
  }
  platform::PosixFileSystem fs;
  platform::QtVolumes volumes(fs, programFolder);
  const platform::DriveListing listing = volumes.drives();
  for (const engine::Status& problem : listing.problems) {
    err << "brinvale-cli drives: " << problem.message() << '\n';
  }
  for (const platform::Drive& drive : listing.drives) {
    out << drive.displayText << (drive.available ? "" : "  (not available)") << '\n';
  }
  return listing.drives.empty() && !listing.problems.empty() ? kExitError : kExitOk;
}

int RunRunCommand(const std::vector<std::string>& args, const std::string& programFolder,
                  const platform::LocaleFormat& locale, std::ostream& out, std::ostream& err,
                  bool errIsTerminal) {
  ArgumentScanner scanner({}, {"--yes", "--info-only", "--one-report", "--separate"});
  if (auto done = ScanCommandLine(&scanner, args, "run", kRunUsage, out, err)) return *done;
  if (scanner.has("--one-report") && scanner.has("--separate")) {
    err << "brinvale-cli run: --one-report and --separate exclude each other\n";
    return kExitError;
  }
  if (scanner.positional().empty()) {
    err << "brinvale-cli run: name at least one drive letter (see 'brinvale-cli drives')\n";
    return kExitError;
  }

  platform::PosixFileSystem fs;
  // Nothing of the program folder is touched, not even drives.txt, before the lock is held.
  auto lock = platform::RunLock::TryTake(fs, programFolder);
  if (!lock.isOk()) {
    if (lock.status().isBusy()) {
      err << lock.status().message() << '\n';
    } else {
      err << "brinvale-cli run: " << lock.status().message() << '\n';
    }
    return kExitError;
  }
  platform::QtVolumes volumes(fs, programFolder);
  const platform::DriveListing listing = volumes.drives();
  for (const engine::Status& problem : listing.problems) {
    err << "brinvale-cli run: " << problem.message() << '\n';
  }
  engine::RunEnvironment env;
  for (const platform::Drive& drive : listing.drives) {
    env.drives.push_back({drive.displayText, drive.root});
  }
  std::vector<bool> marks(listing.drives.size(), false);
  for (const std::string& word : scanner.positional()) {
    std::string letter = word;
    if (letter.size() == 2 && letter[1] == ':') letter.pop_back();
    bool found = false;
    for (std::size_t i = 0; i < listing.drives.size() && letter.size() == 1; ++i) {
      if (listing.drives[i].letter == base::AsciiUpper(letter[0])) {
        marks[i] = true;
        found = true;
      }
    }
    if (!found) {
      err << "brinvale-cli run: no drive " << word << " (see 'brinvale-cli drives')\n";
      return kExitError;
    }
  }

  engine::SettingsRecord settings;
  env.settingsPath = programFolder + std::string(engine::kSettingsFileName);
  if (engine::Status s = engine::LoadSettings(fs, env.settingsPath, &settings); !s.isOk()) {
    err << "brinvale-cli run: cannot read the settings: " << s.message() << '\n';
    return kExitError;
  }
  env.fs = &fs;
  env.locale = &locale;
  env.programFolder = programFolder;
  // temp.rtf is the window's; a window opened or closed meanwhile must not disturb this run.
  env.composedReportPath =
      programFolder +
      platform::TemporaryName("composed-report.rtf", static_cast<std::uint64_t>(::getpid()), "run");
  env.settings = &settings;
  env.infoOnly = scanner.has("--info-only");

  std::optional<bool> oneReport;
  if (scanner.has("--one-report")) oneReport = true;
  if (scanner.has("--separate")) oneReport = false;
  CliRunUserInterface ui(marks, scanner.has("--yes"), oneReport, fs, locale, err, errIsTerminal);
  engine::RunOutcome outcome;
  {
    InterruptCancels interrupts;
    outcome = engine::FindChanges(env, ui);
  }
  (void)fs.remove(env.composedReportPath);

  for (const std::string& path : outcome.savedReports) out << path << '\n';
  if (!outcome.driveLoopStarted || outcome.cancelled || outcome.failedDrives > 0 || ui.declined()) {
    if (outcome.cancelled) err << "brinvale-cli run: cancelled\n";
    return kExitError;
  }
  return outcome.changeLines > 0 ? kExitChanges : kExitNoChange;
}

}  // namespace cli
