// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// WindowRun's comparisons with earlier runs: frmHistory, then the comparison on the run's
// worker thread with the run's cancel mode, progress and report.
#include <memory>
#include <thread>

#include <QFile>
#include <QFileInfo>

#include "app/run_window.h"
#include "app/window_run.h"
#include "app/window_run_ui.h"
#include "dialogs/dialog_support.h"
#include "dialogs/history/history_dialog.h"
#include "engine/history_compare.h"
#include "engine/k_format.h"
#include "engine/profile_store.h"
#include "platform/locale_format.h"
#include "platform/qt/native_path.h"
#include "platform/volumes.h"

namespace app {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void WindowRun::compareWithEarlierRun() {
  if (running()) return;
  RunWindow& window = *m_deps.window;
  // The comparison's report takes the view's place, as a run's does.
  if (!window.maybeSave()) return;
  const std::string programFolder = platform::NativeBytes(window.programFolder());
  const std::vector<char> letters = engine::DrivesWithHistory(*m_deps.fileSystem, programFolder);
  if (letters.empty()) {
    dialogs::ShowMessage(window.dialogParent(),
                         tr("No earlier run is kept yet: each run that replaces a "
                            "drive's profile keeps the one it replaces."));
    return;
  }
  const std::vector<platform::Drive> listed = m_deps.volumes->drives().drives;
  std::vector<dialogs::HistoryDrive> drives;
  for (char letter : letters) drives.push_back({letter, engine::HistoryDriveText(listed, letter)});
  const auto choice = dialogs::ChooseHistoryComparison(
      window.dialogParent(), *m_deps.fileSystem, programFolder, std::move(drives), *m_deps.locale);
  if (choice) compare(*choice);
}

void WindowRun::compare(const dialogs::HistoryChoice& choice) {
  if (running()) return;
  RunWindow& window = *m_deps.window;
  platform::FileSystem& fs = *m_deps.fileSystem;
  const std::string programFolder = platform::NativeBytes(window.programFolder());

  // A scheduled run may be keeping a new profile, and dropping the oldest, right now.
  auto lock = platform::RunLock::TryTake(fs, programFolder);
  if (!lock.isOk()) {
    const QString reason = QString::fromStdString(lock.status().message());
    dialogs::ShowMessage(
        window.dialogParent(),
        lock.status().isBusy() ? reason : tr("The comparison cannot start:\n%1").arg(reason));
    return;
  }

  // The list the user chose from was read before the lock was held: the kept profiles are
  // looked up again by name.
  const std::string driveText =
      engine::HistoryDriveText(m_deps.volumes->drives().drives, choice.letter);
  const std::string profilePath =
      engine::ProfilePathsFor(std::string(1, choice.letter) + ":", programFolder).profilePath;
  auto profiles = engine::DriveProfiles(fs, programFolder, choice.letter, profilePath);
  const auto find = [&](const std::string& file) -> const engine::DriveProfile* {
    if (!profiles.isOk()) return nullptr;
    const std::string path =
        engine::HistoryFolderOf(programFolder, choice.letter, fs.pathStyle().separator) + file;
    for (const engine::DriveProfile& profile : profiles.value()) {
      if (file.empty() ? profile.stored : !profile.stored && profile.path == path) return &profile;
    }
    return nullptr;
  };
  const engine::DriveProfile* older = find(choice.olderFile);
  const engine::DriveProfile* newer = find(choice.newerFile);
  if (older == nullptr || newer == nullptr) {
    dialogs::ShowMessage(window.dialogParent(),
                         profiles.isOk()
                             ? tr("The profiles chosen of %1 are no longer all there: a run "
                                  "has changed its history since. Nothing was compared.")
                                   .arg(Text(driveText))
                             : Text(profiles.status().message()));
    return;
  }
  m_lock = std::move(lock).value();

  struct Job {
    std::string programFolder;
    std::string driveText;
    engine::DriveProfile older;
    engine::DriveProfile newer;
    engine::SettingsRecord record;
  };
  auto job =
      std::make_shared<Job>(Job{programFolder, driveText, *older, *newer, window.settings()});
  m_comparing = true;
  m_comparisonStatus.clear();
  m_ui->resume();
  m_workerDone = false;
  m_worker = std::thread([this, job, letter = choice.letter] {
    platform::FileSystem& fs = *m_deps.fileSystem;
    const platform::LocaleFormat& locale = *m_deps.locale;
    m_ui->runStarted();
    std::vector<base::Status> warnings;
    const engine::CompareSettings settings =
        engine::HistoryCompareSettings(fs, job->programFolder, job->driveText, &warnings);
    std::string saved;
    engine::CompareOutcome outcome;
    base::Status s =
        engine::SaveHistoryReport(fs, job->programFolder, letter, job->older, job->newer, settings,
                                  job->record, locale, m_ui->progress(), &saved, &outcome);
    // In place: from here on the view shows it, even after a late Cancel.
    if (s.isOk()) s = m_ui->loadReport(saved);
    if (s.isOk()) m_ui->reportSaved(saved);

    const QString older = Text(locale.generalDate(locale.toLocal(job->older.made)));
    const QString newer = job->newer.stored
                              ? tr("the stored profile")
                              : tr("the profile of %1")
                                    .arg(Text(locale.generalDate(locale.toLocal(job->newer.made))));
    QString status;
    if (!saved.empty()) {
      const engine::NumberSeparators separators = engine::NumberSeparators::From(locale);
      status = tr("Compared %1 as of %2 with %3: %4 %5. Report saved: %6.")
                   .arg(Text(job->driveText), older, newer,
                        Text(engine::FormatCount(outcome.changeLines, separators)),
                        outcome.changeLines == 1 ? tr("change") : tr("changes"),
                        QFileInfo(Text(saved)).fileName());
      if (!s.isOk())
        status += QLatin1Char(' ') + tr("It could not be shown: %1").arg(Text(s.message()));
    } else if (s.isCancelled()) {
      status = tr("Comparison cancelled: nothing was saved.");
    } else {
      status = tr("The comparison of %1 as of %2 with %3 failed: %4")
                   .arg(Text(job->driveText), older, newer, Text(s.message()));
      m_ui->showMessage(status.toStdString());
    }
    for (const base::Status& warning : warnings) {
      status += QLatin1Char(' ') + tr("Warning: %1.").arg(Text(warning.message()));
    }
    if (!outcome.orderWarning.isOk()) {
      status += QLatin1Char(' ') + tr("Warning: %1.").arg(Text(outcome.orderWarning.message()));
    }
    m_ui->runEnded();
    m_comparisonStatus = status;
    m_workerDone = true;
    QMetaObject::invokeMethod(this, "workerFinished", Qt::QueuedConnection);
  });
}

void WindowRun::comparisonFinished() {
  m_comparing = false;
  m_lock.release();
  m_deps.window->showStatus(m_comparisonStatus);
  emit finished();
  m_deps.window->runFinished();
}

}  // namespace app
