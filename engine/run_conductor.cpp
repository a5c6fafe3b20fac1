// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/run_conductor.h"

#include <memory>

#include "engine/change_report.h"
#include "engine/compare_profiles.h"
#include "engine/drive_scan.h"
#include "engine/folder_prefetcher.h"
#include "engine/ignore_list_file.h"
#include "engine/profile_store.h"
#include "engine/report_naming.h"

namespace engine {
namespace {

// A drive's report section is composed here first and joins the composed report only when
// it is complete, so a failed comparison leaves no partial section behind.
constexpr const char* kSectionName = "section.tmp";

std::string DriveLetterOf(const std::string& displayText) {
  return ProfilePathsFor(displayText, "").driveLetter;
}

class Run {
 public:
  Run(RunEnvironment& env, RunUserInterface& ui) : m_env(env), m_ui(ui), m_fs(*env.fs) {}

  RunOutcome run() {
    if (!select()) return m_outcome;
    chooseReportKind();
    readIgnoreList();
    driveLoop();
    return m_outcome;
  }

 private:
  // The drive selection with its questions. False when the run ends before any drive.
  bool select() {
    std::vector<std::string> rows;
    for (const RunDrive& drive : m_env.drives) rows.push_back(drive.displayText);
    std::vector<bool> marks(rows.size(), false);
    for (;;) {
      if (!m_ui.selectDrives(rows, &marks, m_env.settings)) return false;
      m_marked.clear();
      for (std::size_t i = 0; i < marks.size(); ++i) {
        if (marks[i]) m_marked.push_back(i);
      }
      if (m_marked.empty()) {
        if (m_ui.retryWithoutDrives()) continue;
        return false;
      }
      m_driveTag.clear();
      m_newProfiles = 0;
      for (std::size_t i : m_marked) {
        m_driveTag += DriveLetterOf(rows[i]) + "_";
        if (!ProfileExists(m_fs, ProfilePathsFor(rows[i], m_env.programFolder).profilePath)) {
          ++m_newProfiles;
        }
      }
      if (m_newProfiles == 0 || askToCreate()) return true;
    }
  }

  bool askToCreate() {
    const std::string count = std::to_string(m_newProfiles);
    const std::string text =
        m_newProfiles == 1 ? "I do not yet have a profile for " + count +
                                 " of the drives you selected.\r\nDo you want to create it now?"
                           : "I do not yet have profiles for " + count +
                                 " of the drives you selected.\r\nDo you want to create them now?";
    return m_ui.askYesNo("Create New Profile(s)?", text);
  }

  void chooseReportKind() {
    m_multiReport = false;
    const std::size_t marked = m_marked.size();
    if (marked > 1 && marked > m_newProfiles + 1) {
      m_multiReport = m_ui.askOneReport(m_env.settings);
    }
  }

  void readIgnoreList() {
    auto entries = ReadIgnoreList(m_fs, m_env.programFolder + std::string(kIgnoreFileName));
    if (entries.isOk()) {
      m_ignore = IgnoreMatcher(entries.value());
    } else {
      m_ui.showMessage("The Ignore list could not be read, so no folder is ignored in this run.\n" +
                       entries.status().message());
    }
  }

  void driveLoop() {
    m_outcome.driveLoopStarted = true;
    m_ui.runStarted();
    m_ui.play(RunUserInterface::Cue::kStart);
    m_driveCount = m_marked.size();
    m_driveIndex = 0;
    m_freshReport = true;
    const std::string reportsPath =
        m_env.programFolder + kReportsFolderName + m_fs.pathStyle().separator;
    if (Status s = m_fs.createFolders(reportsPath); !s.isOk()) m_ui.showMessage(s.message());

    for (std::size_t i : m_marked) {
      if (!scanDrive(m_env.drives[i], reportsPath)) {
        m_outcome.cancelled = true;
        break;
      }
    }
    if (!m_outcome.cancelled) complete();
    // The wind-down runs after a cancel too.
    if (m_env.infoOnly) m_ui.switchOffInfoOnly();
    m_ui.runEnded();
  }

  void complete() {
    // A run that compared nothing has no report of its own; an earlier run's report is not
    // shown or saved again.
    if (m_outcome.comparedDrives > 0) {
      if (m_multiReport && !m_closingWritten) appendClosing();
      const std::string composed = composedPath();
      if (Status s = m_ui.loadReport(composed); !s.isOk()) {
        m_ui.showMessage(s.message());
      } else if (m_multiReport) {
        saveReport(m_lastReportPath);
      }
    }
    m_ui.play(RunUserInterface::Cue::kDone);
  }

  // One drive's step. False when the user cancelled.
  bool scanDrive(const RunDrive& drive, const std::string& reportsPath) {
    ++m_driveIndex;
    const ProfilePaths paths = ProfilePathsFor(drive.displayText, m_env.programFolder);
    const bool compare = ProfileExists(m_fs, paths.profilePath);
    std::string profileDate;
    if (compare) {
      auto date = ProfileDate(m_fs, paths.profilePath, *m_env.locale);
      if (!date.isOk()) return driveFailed(drive, date.status());
      profileDate = date.value();
    }

    ScanSettings scan;
    scan.driveRoot = drive.root;
    scan.driveDisplayText = drive.displayText;
    scan.includeRecycled = m_env.settings->includeRecycled();
    scan.ignore = m_ignore;
    scan.listingThreads = FolderPrefetcher::DefaultThreads();
    ScanProblems problems;
    std::int64_t totalFiles = 0;
    Status s = ScanToProfile(m_fs, scan, *m_env.locale, paths.tempProfilePath, m_ui.progress(),
                             &problems, &totalFiles);
    if (s.isCancelled()) return false;
    if (!s.isOk()) return driveFailed(drive, s);
    if (!problems.empty()) {
      m_ui.showMessage("Some places of drive " + drive.displayText +
                       " could not be read and were left out:\n" + problems.summary());
    }

    if (compare) {
      s = compareDrive(drive, paths, profileDate, totalFiles);
      if (s.isCancelled()) return false;
      if (!s.isOk()) return driveFailed(drive, s);
      nameAndSave(paths.driveLetter, reportsPath);
    }
    if (!m_env.infoOnly) {
      if (Status r = ReplaceProfile(m_fs, paths.tempProfilePath, paths.profilePath); !r.isOk()) {
        return driveFailed(drive, r);
      }
      m_outcome.writtenProfiles.push_back(paths.profilePath);
    }
    return true;
  }

  Status compareDrive(const RunDrive& drive, const ProfilePaths& paths,
                      const std::string& profileDate, std::int64_t totalFiles) {
    const bool fresh = !m_multiReport || m_freshReport;
    const std::string section = m_env.programFolder + kSectionName;
    CompareSettings settings;
    settings.newProfilePath = paths.tempProfilePath;
    settings.oldProfilePath = paths.profilePath;
    settings.driveDisplayText = drive.displayText;
    settings.profileDate = profileDate;
    settings.ignore = m_ignore;
    settings.freshReport = fresh;
    settings.writeClosing = !m_multiReport || m_driveIndex == m_driveCount;
    settings.progressMaximum = totalFiles;

    CompareOutcome outcome;
    Status s;
    {
      auto file = m_fs.openForWriting(section);
      if (!file.isOk()) return file.status();
      auto sink = NewRtfReportSink(file.value().get());
      ChangeReport report(sink.get(), *m_env.locale);
      s = CompareProfiles(m_fs, settings, report, m_ui.progress(), &outcome);
      Status closed = file.value()->close();
      if (s.isOk()) s = closed;
    }
    if (s.isOk()) s = joinSection(section, fresh);
    if (!s.isOk()) {
      (void)m_fs.remove(section);
      return s;
    }
    m_freshReport = false;
    m_closingWritten = settings.writeClosing;
    ++m_outcome.comparedDrives;
    m_outcome.changeLines += outcome.changeLines;
    if (!outcome.orderWarning.isOk()) m_ui.showMessage(outcome.orderWarning.message());
    return Status::ok();
  }

  // Makes the finished section the composed report (fresh) or appends it to it.
  Status joinSection(const std::string& section, bool fresh) {
    if (fresh) return m_fs.rename(section, composedPath());
    auto text = platform::ReadWholeFile(m_fs, section);
    if (!text.isOk()) return text.status();
    Status s = appendToComposed(text.value());
    if (s.isOk()) s = m_fs.remove(section);
    return s;
  }

  Status appendToComposed(std::string_view text) {
    auto file = m_fs.openForAppending(composedPath());
    if (!file.isOk()) return file.status();
    Status s = file.value()->append(text);
    Status closed = file.value()->close();
    return s.isOk() ? closed : s;
  }

  // A combined report whose last marked drive was only created (or failed) still ends as a
  // whole document.
  void appendClosing() {
    auto file = m_fs.openForAppending(composedPath());
    Status s = file.isOk() ? Status::ok() : file.status();
    if (s.isOk()) {
      auto sink = NewRtfReportSink(file.value().get());
      ChangeReport report(sink.get(), *m_env.locale);
      s = report.writeClosing();
      Status closed = file.value()->close();
      if (s.isOk()) s = closed;
    }
    if (!s.isOk()) m_ui.showMessage(s.message());
  }

  // Names the report of a compared drive; with a report per drive, saves it at once.
  void nameAndSave(const std::string& driveLetter, const std::string& reportsPath) {
    const std::string tag = m_multiReport ? m_driveTag : driveLetter;
    m_lastReportPath = ReportPath(reportsPath, tag, *m_env.settings, m_ui.now());
    if (m_multiReport) return;
    if (Status s = m_ui.loadReport(composedPath()); !s.isOk()) {
      m_ui.showMessage(s.message());
      return;
    }
    saveReport(m_lastReportPath);
  }

  void saveReport(const std::string& path) {
    if (Status s = m_ui.saveReport(path, m_env.settings->isRichTextReports()); !s.isOk()) {
      m_ui.showMessage("The report could not be saved: " + s.message());
      return;
    }
    m_outcome.savedReports.push_back(path);
  }

  // Tells the user and goes on with the next drive; the stored profile stays as it was.
  bool driveFailed(const RunDrive& drive, const Status& status) {
    ++m_outcome.failedDrives;
    m_ui.showMessage("Drive " + drive.displayText + " was skipped and its profile kept:\n" +
                     status.message());
    return true;
  }

  std::string composedPath() const { return m_env.programFolder + kComposedReportName; }

  RunEnvironment& m_env;
  RunUserInterface& m_ui;
  platform::FileSystem& m_fs;
  RunOutcome m_outcome;
  std::vector<std::size_t> m_marked;
  std::string m_driveTag;
  std::size_t m_newProfiles = 0;
  bool m_multiReport = false;
  IgnoreMatcher m_ignore;
  std::size_t m_driveCount = 0;
  std::size_t m_driveIndex = 0;
  bool m_freshReport = true;
  bool m_closingWritten = false;
  std::string m_lastReportPath;
};

}  // namespace

RunOutcome FindChanges(RunEnvironment& env, RunUserInterface& ui) { return Run(env, ui).run(); }

}  // namespace engine
