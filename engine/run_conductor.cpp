// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/run_conductor.h"

#include <memory>

#include "base/ascii.h"
#include "engine/change_report.h"
#include "engine/compare_profiles.h"
#include "engine/drive_scan.h"
#include "engine/folder_prefetcher.h"
#include "engine/history.h"
#include "engine/ignore_list_file.h"
#include "engine/path_order.h"
#include "engine/profile_store.h"
#include "engine/program_conf.h"
#include "engine/report_naming.h"

namespace engine {
namespace {

std::string DriveLetterOf(const std::string& displayText) {
  return ProfilePathsFor(displayText, "").driveLetter;
}

bool StartsWith(std::string_view text, std::string_view prefix, platform::PathStyle style) {
  if (text.size() < prefix.size()) return false;
  const std::string_view head = text.substr(0, prefix.size());
  return style.caseSensitive ? head == prefix : base::EqualIgnoringCase(head, prefix);
}

// A compared drive of a run with one report for all drives: its new scan waits, written
// but not committed, until the combined report is saved.
struct PendingProfile {
  const RunDrive* drive = nullptr;
  std::unique_ptr<platform::ReplacementFile> profile;
  CompareOutcome totals;                               // of its comparison, for the history
  std::unique_ptr<GenerationInBackground> generation;  // its stored profile, for the history
};

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
      for (std::size_t i = 0; i < marks.size() && i < m_env.drives.size(); ++i) {
        // A drive that is not there now would be scanned as an empty folder, and its
        // profile replaced by one that says every file was deleted.
        if (!m_env.drives[i].available) marks[i] = false;
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
    std::vector<base::Status> warnings;
    auto entries =
        ReadIgnoreList(m_fs, m_env.programFolder + std::string(kIgnoreFileName), &warnings);
    if (entries.isOk()) {
      m_ignore = IgnoreMatcher(entries.value());
    } else {
      m_ui.showMessage("The Ignore list could not be read, so no folder is ignored in this run.\n" +
                       entries.status().message());
    }
    if (!warnings.empty()) {
      std::string text = "Some lines of the Ignore list were read as meant:";
      for (const base::Status& warning : warnings) text += "\n" + warning.message();
      m_ui.showMessage(text);
    }
  }

  // What killed or failed runs left behind: temporaries of the one way files are replaced,
  // and the shared work files of earlier versions. The run lock keeps every other run of
  // this program folder out meanwhile.
  void removeLeftovers() {
    m_fs.removeStaleTemporaries(m_env.programFolder);
    if (m_reports) m_fs.removeStaleTemporaries(m_reports->path());
    removeHistoryLeftovers();
    for (const char* name : kEarlierWorkFileNames) {
      const std::string path = m_env.programFolder + name;
      if (m_fs.isOrdinaryFile(path)) (void)m_fs.remove(path);
    }
  }

  void driveLoop() {
    m_outcome.driveLoopStarted = true;
    m_ui.runStarted();
    m_ui.play(RunUserInterface::Cue::kStart);
    for (std::size_t i : m_marked) m_outcome.markedDrives.push_back(m_env.drives[i].displayText);
    m_driveCount = m_marked.size();
    m_driveIndex = 0;
    m_freshReport = true;
    const std::string reportsPath =
        m_env.programFolder + kReportsFolderName + m_fs.pathStyle().separator;
    // Reports are written only into the Reports folder opened here, never through another
    // user's link in its place; when it cannot be had, each report says why it was not saved.
    if (auto reports = m_fs.openGuardedFolder(m_env.programFolder, kReportsFolderName);
        reports.isOk()) {
      m_reports = std::move(reports).value();
    } else {
      m_reportsProblem = reports.status();
    }
    removeLeftovers();
    // A settings file that cannot be read was told of when the front end read it; its
    // defaults hold here too.
    if (!m_env.confPath.empty()) (void)LoadProgramConf(m_fs, m_env.confPath, &m_conf);

    for (std::size_t i : m_marked) {
      if (!scanDrive(m_env.drives[i], reportsPath)) {
        m_outcome.cancelled = true;
        break;
      }
    }
    if (!m_outcome.cancelled && !complete()) m_outcome.cancelled = true;
    // A notice explains a saved report. A drive whose changes ended in none kept its profile
    // and its record, so the next run, which reports the same changes, tells it then.
    for (DriveResult& result : m_outcome.drives) {
      if (result.state != DriveResult::State::kCompared) result.notice.clear();
    }
    // A cancel keeps the stored profiles whose changes are in no saved report yet.
    m_pending.clear();
    m_reports.reset();
    // The wind-down runs after a cancel too.
    if (m_env.infoOnly) m_ui.switchOffInfoOnly();
    m_ui.runEnded();
  }

  // The temporaries of generations and indexes in History/K/, swept through the guarded
  // folders as the Reports folder's are. A program folder without History/ gets none.
  void removeHistoryLeftovers() {
    const char separator = m_fs.pathStyle().separator;
    const std::string history = m_env.programFolder + std::string(kHistoryFolderName) + separator;
    if (!m_fs.isFolder(history)) return;
    auto guarded = m_fs.openGuardedFolder(m_env.programFolder, kHistoryFolderName);
    if (!guarded.isOk()) return;
    m_fs.removeStaleTemporaries(guarded.value()->path());
    platform::FolderListing listing;
    if (!m_fs.listFolder(guarded.value()->path(), platform::ListWhat::kFolders, &listing).isOk()) {
      return;
    }
    for (const platform::DirEntry& entry : listing.entries) {
      if (entry.kind != platform::EntryKind::kFolder) continue;
      auto drive = m_fs.openGuardedFolder(guarded.value()->path(), entry.name);
      if (drive.isOk()) m_fs.removeStaleTemporaries(drive.value()->path());
    }
  }

  // The end of a run that was not cancelled in its drive loop. False when the user cancelled
  // before the combined report was in place: nothing was saved and no profile replaced.
  bool complete() {
    // A run that compared nothing has no report of its own; an earlier run's report is not
    // shown or saved again.
    if (m_outcome.comparedDrives > 0) {
      base::Status s = m_multiReport && !m_closingWritten ? appendClosing() : base::Status::ok();
      if (s.isOk()) s = m_ui.loadReport(composedPath());
      if (s.isOk() && m_multiReport) s = saveReport(m_lastReportPath);
      if (s.isCancelled()) {
        for (std::size_t index : m_awaitingCombined) {
          m_outcome.drives[index].state = DriveResult::State::kCancelled;
        }
        return false;
      }
      for (std::size_t index : m_awaitingCombined) {
        DriveResult& result = m_outcome.drives[index];
        result.state = s.isOk() ? DriveResult::State::kCompared : DriveResult::State::kFailed;
        if (s.isOk()) result.reportPath = m_outcome.savedReports.back();
      }
      if (s.isOk()) {
        commitPending();
      } else if (m_pending.empty()) {
        m_ui.showMessage(s.message());
      } else {
        keepPending(s);
      }
    }
    m_ui.play(RunUserInterface::Cue::kDone);
    return true;
  }

  // The combined report is saved: the compared drives' new scans become their profiles.
  void commitPending() {
    for (PendingProfile& pending : m_pending) {
      if (base::Status s =
              replaceProfile(*pending.profile, pending.totals, pending.generation.get());
          !s.isOk()) {
        driveFailed(*pending.drive, s);
      } else {
        m_outcome.writtenProfiles.push_back(pending.profile->targetPath());
        recordProfileSetting(DriveLetterOf(pending.drive->displayText));
      }
    }
    m_pending.clear();
  }

  // The combined report could not be saved: every compared drive keeps its profile.
  void keepPending(const base::Status& why) {
    std::string drives;
    for (const PendingProfile& pending : m_pending) {
      ++m_outcome.failedDrives;
      drives += (drives.empty() ? "" : ", ") + pending.drive->displayText;
    }
    m_ui.showMessage("The report could not be saved: " + why.message() + "\nThe profiles of " +
                     drives + " were kept, so the next run reports their changes again.");
    m_pending.clear();
  }

  // The folders a drive's scan leaves out: the program folder, also where the drive
  // reaches it through other links than its own path.
  std::vector<std::string> excludedFolders(const RunDrive& drive) {
    std::vector<std::string> excluded = {m_env.programFolder};
    auto realProgram = m_fs.realFolderPath(m_env.programFolder);
    auto realRoot = m_fs.realFolderPath(drive.root);
    if (realProgram.isOk() && realRoot.isOk() &&
        StartsWith(realProgram.value(), realRoot.value(), m_fs.pathStyle())) {
      excluded.push_back(drive.root + realProgram.value().substr(realRoot.value().size()));
    }
    return excluded;
  }

  // One drive's step. False when the user cancelled.
  bool scanDrive(const RunDrive& drive, const std::string& reportsPath) {
    ++m_driveIndex;
    DriveResult result;
    result.displayText = drive.displayText;
    m_outcome.drives.push_back(std::move(result));
    const ProfilePaths paths = ProfilePathsFor(drive.displayText, m_env.programFolder);
    const bool compare = ProfileExists(m_fs, paths.profilePath);
    std::string profileDate;
    if (compare) {
      auto date = ProfileDate(m_fs, paths.profilePath, *m_env.locale);
      if (!date.isOk()) return driveFailed(drive, date.status());
      profileDate = date.value();
    }

    // The new scan is written beside the stored profile and becomes it only by commit();
    // dropping it (cancel, failure, info-only) removes it. An info-only run never keeps
    // it, so it is not sent to the disk: the report's own sync need not wait for it.
    auto newProfile =
        m_fs.openForReplacing(paths.profilePath, m_env.infoOnly ? platform::Durability::kWorkFile
                                                                : platform::Durability::kSynced);
    if (!newProfile.isOk()) return driveFailed(drive, newProfile.status());
    // A stored profile that this run may replace is compressed for the history meanwhile.
    std::unique_ptr<GenerationInBackground> generation;
    if (compare && !m_env.infoOnly && m_conf.historyDepth > 0 && paths.driveLetter.size() == 1) {
      const char letter = paths.driveLetter[0];
      generation = std::make_unique<GenerationInBackground>(
          m_fs, m_env.programFolder, letter, paths.profilePath, m_conf.profileHidden(letter));
    }
    ScanSettings scan;
    scan.driveRoot = drive.root;
    scan.driveDisplayText = drive.displayText;
    scan.includeRecycled = m_env.settings->includeRecycled();
    scan.includeHidden = m_env.includeHidden;
    scan.ignore = m_ignore;
    scan.excludedFolders = excludedFolders(drive);
    scan.listingThreads = FolderPrefetcher::DefaultThreads();
    ScanProblems problems;
    std::int64_t totalFiles = 0;
    std::int64_t totalFolders = 0;
    // A drive with a stored profile is compared while it is scanned; the new scan is
    // written all the same, to become the stored profile later.
    base::Status s =
        compare
            ? compareDrive(drive, scan, paths.profilePath, newProfile.value().get(), profileDate,
                           &problems, &totalFiles)
            : createDrive(scan, newProfile.value().get(), &problems, &totalFiles, &totalFolders);
    if (s.isCancelled()) return false;
    if (!s.isOk()) return driveFailed(drive, s);
    m_outcome.drives.back().files = totalFiles;
    m_outcome.drives.back().folders = totalFolders;
    if (!problems.empty()) m_ui.showMessage(problems.message(drive.displayText, compare));
    // A drive only profiled hides no change: its profile is made unless the user cancelled
    // meanwhile. A compared drive goes on only once its report is in place (nameAndSave).
    if (!compare && !m_ui.progress().shouldContinue()) return false;
    if (compare) {
      base::Status saved = nameAndSave(paths.driveLetter, reportsPath);
      if (saved.isCancelled()) return false;
      if (!saved.isOk()) {
        ++m_outcome.failedDrives;
        m_outcome.drives.back().state = DriveResult::State::kFailed;
        m_ui.showMessage("The report could not be saved: " + saved.message() + "\nThe profile of " +
                         drive.displayText +
                         " was kept, so the next run reports its changes again.");
        return true;
      }
    }
    if (!compare) {
      m_outcome.drives.back().state = DriveResult::State::kProfiled;
    } else if (m_multiReport) {
      m_awaitingCombined.push_back(m_outcome.drives.size() - 1);
    } else {
      m_outcome.drives.back().state = DriveResult::State::kCompared;
      m_outcome.drives.back().reportPath = m_outcome.savedReports.back();
    }
    if (m_env.infoOnly) return true;
    if (compare && m_multiReport) {
      m_pending.push_back(
          {&drive, std::move(newProfile).value(), m_lastTotals, std::move(generation)});
      return true;
    }
    if (base::Status r = replaceProfile(*newProfile.value(), m_lastTotals, generation.get());
        !r.isOk()) {
      return driveFailed(drive, r);
    }
    m_outcome.writtenProfiles.push_back(paths.profilePath);
    recordProfileSetting(paths.driveLetter);
    return true;
  }

  // Makes the new scan `profile` the stored profile of its drive. The stored profile it
  // replaces, compressed meanwhile by `background` (null: the history keeps none of it), is
  // stored in the history with the run's `totals` once the rename is done. Keeping it never
  // stops the drive: a failure is told once per run and the profile is replaced all the
  // same. Fails only when the profile itself cannot be replaced; the stored one is then as it
  // was, and so is its history.
  base::Status replaceProfile(platform::ReplacementFile& profile, const CompareOutcome& totals,
                              GenerationInBackground* background) {
    std::unique_ptr<PendingGeneration> generation;
    if (background != nullptr) {
      auto prepared = background->take();
      if (prepared.isOk()) {
        generation = std::move(prepared).value();
      } else {
        historyFailed(prepared.status());
      }
    }
    if (base::Status s = profile.commit(); !s.isOk()) return s;
    if (generation) {
      // The new profile's time is when the kept one stopped being the stored one.
      auto replaced = m_fs.modificationTime(profile.targetPath());
      base::Status s = replaced.isOk()
                           ? generation->store(replaced.value(), totals, m_conf.historyDepth)
                           : replaced.status();
      if (!s.isOk()) historyFailed(s);
    }
    return base::Status::ok();
  }

  void historyFailed(const base::Status& why) {
    if (m_historyProblemTold) return;
    m_historyProblemTold = true;
    m_ui.showMessage(
        "A replaced profile could not be kept in the History folder; the run went on "
        "without it:\n" +
        why.message());
  }

  // The notice of a compared drive whose stored profile was made with the other
  // hidden-files setting: the report is full of hidden files added or deleted.
  std::string hiddenNotice(const RunDrive& drive) const {
    if (m_env.confPath.empty() ||
        m_conf.profileHidden(DriveLetterOf(drive.displayText)[0]) == m_env.includeHidden) {
      return {};
    }
    return m_env.includeHidden ? "Hidden files are now included for " + drive.displayText +
                                     ": their files show as added this once."
                               : "Hidden files are now left out for " + drive.displayText +
                                     ": their files show as deleted this once.";
  }

  // The profile of drive `letter` was created or replaced: records the setting it was made
  // with, when that is not what is recorded already.
  void recordProfileSetting(const std::string& letter) {
    if (m_env.confPath.empty() || letter.size() != 1 ||
        m_conf.profileHidden(letter[0]) == m_env.includeHidden) {
      return;
    }
    if (base::Status s = StoreProfileHidden(m_fs, m_env.confPath, letter[0], m_env.includeHidden);
        !s.isOk()) {
      if (!m_confProblemTold) {
        m_ui.showMessage(
            "Which hidden-files setting the new profiles were made with could not be "
            "recorded, so the next run may not say why hidden files show as added or "
            "deleted:\n" +
            s.message());
        m_confProblemTold = true;
      }
      return;
    }
    m_conf.profileMadeWithHidden[letter[0]] = m_env.includeHidden;
  }

  base::Status createDrive(const ScanSettings& scan, platform::ReplacementFile* newProfile,
                           ScanProblems* problems, std::int64_t* totalFiles,
                           std::int64_t* totalFolders) {
    return ScanToProfile(m_fs, scan, *m_env.locale, newProfile, m_ui.progress(), problems,
                         totalFiles, totalFolders);
  }

  base::Status compareDrive(const RunDrive& drive, const ScanSettings& scan,
                            const std::string& profilePath, platform::ReplacementFile* newProfile,
                            const std::string& profileDate, ScanProblems* problems,
                            std::int64_t* totalFiles) {
    const bool fresh = !m_multiReport || m_freshReport;
    CompareSettings settings;
    settings.oldProfilePath = profilePath;
    settings.driveDisplayText = drive.displayText;
    settings.profileDate = profileDate;
    settings.ignore = m_ignore;
    settings.freshReport = fresh;
    settings.writeClosing = !m_multiReport || m_driveIndex == m_driveCount;
    settings.listener = m_env.changeListener;

    // The composed report takes the drive's section only once it is complete: a failed
    // or cancelled comparison leaves it as it was.
    auto composed = m_fs.openForReplacing(composedPath(), platform::Durability::kWorkFile);
    if (!composed.isOk()) return composed.status();
    base::Status s = fresh
                         ? base::Status::ok()
                         : platform::AppendWholeFile(m_fs, composedPath(), composed.value().get());
    if (!s.isOk()) return s;
    CompareOutcome outcome;
    {
      auto sink = NewRtfReportSink(composed.value().get());
      ChangeReport report(sink.get(), *m_env.locale);
      s = ScanAndCompareProfiles(m_fs, scan, *m_env.locale, newProfile, settings, report,
                                 m_ui.progress(), problems, totalFiles, &outcome);
    }
    if (s.isOk()) s = composed.value()->commit();
    if (!s.isOk()) return s;
    m_freshReport = false;
    m_closingWritten = settings.writeClosing;
    ++m_outcome.comparedDrives;
    m_outcome.changeLines += outcome.changeLines;
    m_outcome.drives.back().changeLines = outcome.changeLines;
    m_lastTotals = outcome;
    m_outcome.drives.back().notice = hiddenNotice(drive);
    if (!outcome.orderWarning.isOk()) m_ui.showMessage(outcome.orderWarning.message());
    return base::Status::ok();
  }

  // A combined report whose last marked drive was only created (or failed) still ends as a
  // whole document.
  base::Status appendClosing() {
    auto composed = m_fs.openForReplacing(composedPath(), platform::Durability::kWorkFile);
    if (!composed.isOk()) return composed.status();
    base::Status s = platform::AppendWholeFile(m_fs, composedPath(), composed.value().get());
    if (s.isOk()) {
      auto sink = NewRtfReportSink(composed.value().get());
      ChangeReport report(sink.get(), *m_env.locale);
      s = report.writeClosing();
    }
    return s.isOk() ? composed.value()->commit() : s;
  }

  // Names the report of a compared drive; with a report per drive, saves it at once.
  base::Status nameAndSave(const std::string& driveLetter, const std::string& reportsPath) {
    const std::string tag = m_multiReport ? m_driveTag : driveLetter;
    m_lastReportPath = ReportPath(reportsPath, tag, *m_env.settings, m_ui.now());
    if (m_multiReport) return base::Status::ok();
    if (base::Status s = m_ui.loadReport(composedPath()); !s.isOk()) return s;
    return saveReport(m_lastReportPath);
  }

  // Saves what the report view shows. A time-stamped name that an earlier report took in
  // the same minute is numbered rather than replaced; a name by drive only is replaced,
  // as the user chose. A cancel is honoured until the report is renamed into place: the
  // report is then dropped and the result is cancelled. From the rename on, the report
  // stands and the run finishes the drive (or, at its end, the run) as if no cancel came.
  base::Status saveReport(const std::string& path) {
    if (!m_ui.progress().shouldContinue()) return base::Status::cancelled();
    if (!m_reports) return m_reportsProblem;
    std::string target = path;
    if (m_env.settings->isTimeStampedNames()) {
      for (int number = 2; m_fs.exists(target); ++number) {
        target = NumberedReportPath(path, number);
      }
    }
    auto report = m_fs.openForReplacing(target, platform::Durability::kSynced);
    if (!report.isOk()) return report.status();
    base::Status s = m_ui.writeReport(report.value().get(), m_env.settings->isRichTextReports());
    if (!s.isOk()) return s;
    // The last moment a cancel can stop the run: writing a large report takes seconds.
    if (!m_ui.progress().shouldContinue()) return base::Status::cancelled();
    if (s = report.value()->commit(); !s.isOk()) return s;
    m_ui.reportSaved(target);
    m_outcome.savedReports.push_back(target);
    return base::Status::ok();
  }

  // Tells the user and goes on with the next drive; the stored profile stays as it was.
  bool driveFailed(const RunDrive& drive, const base::Status& status) {
    ++m_outcome.failedDrives;
    for (DriveResult& result : m_outcome.drives) {
      if (result.displayText == drive.displayText) result.state = DriveResult::State::kFailed;
    }
    m_ui.showMessage("Drive " + drive.displayText + " was skipped and its profile kept:\n" +
                     status.message());
    return true;
  }

  std::string composedPath() const {
    return m_env.composedReportPath.empty() ? m_env.programFolder + kComposedReportName
                                            : m_env.composedReportPath;
  }

  RunEnvironment& m_env;
  RunUserInterface& m_ui;
  platform::FileSystem& m_fs;
  RunOutcome m_outcome;
  std::vector<std::size_t> m_marked;
  std::string m_driveTag;
  std::size_t m_newProfiles = 0;
  bool m_multiReport = false;
  IgnoreMatcher m_ignore;
  ProgramConf m_conf;  // as the drive loop found it, with what the run recorded since
  bool m_confProblemTold = false;
  bool m_historyProblemTold = false;
  CompareOutcome m_lastTotals;  // of the drive compared last
  std::size_t m_driveCount = 0;
  std::size_t m_driveIndex = 0;
  bool m_freshReport = true;
  bool m_closingWritten = false;
  std::string m_lastReportPath;
  std::vector<PendingProfile> m_pending;
  // The Reports folder for the drive loop, or why there is none.
  std::unique_ptr<platform::GuardedFolder> m_reports;
  base::Status m_reportsProblem;
  // Compared drives of a combined report, as indexes into m_outcome.drives.
  std::vector<std::size_t> m_awaitingCombined;
};

}  // namespace

RunOutcome FindChanges(RunEnvironment& env, RunUserInterface& ui) { return Run(env, ui).run(); }

}  // namespace engine
