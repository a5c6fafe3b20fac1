// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/compare_profiles.h"

#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "base/saturating.h"
#include "engine/path_order.h"
#include "engine/profile_reader.h"

namespace engine {
namespace {

constexpr std::int64_t kStepsPerYield = 150;

// One side of the merge: its source, the record it holds, and what is needed to notice
// records that break the order. Records come folder by folder, so the side numbers its
// folders as they change: the merge compares two folders once, not once per record.
class Side {
 public:
  explicit Side(RecordSource& source) : m_source(source) {}

  // Moves to the next record, current(). False at the end of the source or on a failure.
  bool advance(std::optional<platform::PathStyle>* style, base::Status* orderWarning) {
    if (m_done) return false;
    if (++m_index >= m_batch.size()) {
      // The batch's records go with it: keep what the order check needs of the last one.
      if (!m_batch.empty()) m_previousName.assign(m_batch.back().name);
      m_previousInBatch = false;
      m_folderSeen = {};  // a new batch may reuse the memory of an old one
      m_index = 0;
      if (!m_source.nextBatch(&m_batch)) {
        m_batch = {};
        m_done = true;
        return false;
      }
    } else {
      m_previousInBatch = true;
    }
    const RecordView& current = m_batch[m_index];
    ++m_records;
    m_bytes = base::SaturatingAdd(m_bytes, current.size);
    if (!style->has_value()) *style = PathStyleOfFolder(current.folder);
    const bool first = m_folderNumber == 0;
    const std::string_view previousName =
        m_previousInBatch ? m_batch[m_index - 1].name : std::string_view(m_previousName);
    // Within a batch, records of one folder mostly share its bytes: a glance suffices.
    const bool sameFolder = !first && ((current.folder.data() == m_folderSeen.data() &&
                                        current.folder.size() == m_folderSeen.size()) ||
                                       current.folder == m_folder);
    m_folderSeen = current.folder;
    if (!sameFolder) {
      if (!first && orderWarning->isOk() &&
          CompareFiles(m_folder, previousName, current.folder, current.name, **style) >= 0) {
        warn(orderWarning);
      }
      m_folder.assign(current.folder);
      ++m_folderNumber;
    } else if (orderWarning->isOk() &&
               CompareNames(previousName, current.name, (*style)->caseSensitive) >= 0) {
      warn(orderWarning);
    }
    return true;
  }

  [[nodiscard]] const RecordView& current() const { return m_batch[m_index]; }
  [[nodiscard]] const base::Status& status() const { return m_source.status(); }
  // The folder of current(), and its number: equal numbers, equal folders.
  [[nodiscard]] const std::string& folder() const { return m_folder; }
  [[nodiscard]] std::uint64_t folderNumber() const { return m_folderNumber; }
  // The records passed so far, ignored folders' included, and the sum of their sizes.
  [[nodiscard]] std::int64_t records() const { return m_records; }
  [[nodiscard]] std::int64_t bytes() const { return m_bytes; }

 private:
  void warn(base::Status* orderWarning) const {
    *orderWarning = base::Status::corrupt(m_source.placeOf(m_index) +
                                          ": records are out of order; changes may be misreported");
  }

  RecordSource& m_source;
  std::span<const RecordView> m_batch;
  std::size_t m_index = static_cast<std::size_t>(-1);
  bool m_done = false;
  bool m_previousInBatch = false;
  std::string m_previousName;     // the name of the record before the batch
  std::string m_folder;           // the current record's folder, owned
  std::string_view m_folderSeen;  // where in the batch that folder was seen last
  // 0 before the first record; then the number of folder changes, the first included.
  std::uint64_t m_folderNumber = 0;
  std::int64_t m_records = 0;
  std::int64_t m_bytes = 0;  // saturated
};

// The merge with its totals and the folder of the last header, for one drive.
class Merge {
 public:
  Merge(ChangeReport& report, ChangeListener* listener, platform::Progress& progress,
        CompareOutcome* outcome)
      : m_report(report), m_listener(listener), m_progress(progress), m_outcome(outcome) {}

  base::Status header(std::string_view folder) {
    // Captions follow the folder headers, so they change only when the folder does.
    if (!m_hasCaptionFolder || folder != m_captionFolder) {
      m_captionFolder = folder;
      m_hasCaptionFolder = true;
      m_progress.setCaption("Changes in " + m_captionFolder);
    }
    return m_report.writeFolderHeader(folder);
  }

  base::Status added(const RecordView& r) {
    if (base::Status s = header(r.folder); !s.isOk()) return s;
    m_outcome->addedBytes = base::SaturatingAdd(m_outcome->addedBytes, r.size);
    ++m_outcome->changeLines;
    ++m_outcome->added;
    if (base::Status s = m_report.added(r.name, r.size); !s.isOk()) return s;
    return m_listener ? m_listener->added(r) : base::Status::ok();
  }

  base::Status deleted(const RecordView& r) {
    if (base::Status s = header(r.folder); !s.isOk()) return s;
    m_outcome->deletedBytes = base::SaturatingAdd(m_outcome->deletedBytes, r.size);
    ++m_outcome->changeLines;
    ++m_outcome->deleted;
    if (base::Status s = m_report.deleted(r.name, r.size); !s.isOk()) return s;
    return m_listener ? m_listener->deleted(r) : base::Status::ok();
  }

  // The same file on both sides: size lines first, then the time line. The lines show
  // the new record's name and folder, so a change of letter case alone shows nothing.
  base::Status matched(const RecordView& oldRecord, const RecordView& newRecord) {
    if (oldRecord.size != newRecord.size) {
      m_outcome->changedBytes = base::SaturatingAdd(
          m_outcome->changedBytes, base::SaturatingSubtract(newRecord.size, oldRecord.size));
      if (base::Status s = header(newRecord.folder); !s.isOk()) return s;
      ++m_outcome->changeLines;
      ++(oldRecord.size > newRecord.size ? m_outcome->shrunk : m_outcome->grew);
      base::Status s = oldRecord.size > newRecord.size
                           ? m_report.shrunk(newRecord.name, oldRecord.size, newRecord.size)
                           : m_report.grew(newRecord.name, oldRecord.size, newRecord.size);
      if (!s.isOk()) return s;
      if (m_listener) {
        if (base::Status s = m_listener->sizeChanged(oldRecord, newRecord); !s.isOk()) return s;
      }
    }
    if (oldRecord.time != newRecord.time) {
      if (base::Status s = header(newRecord.folder); !s.isOk()) return s;
      ++m_outcome->changeLines;
      ++m_outcome->timeChanged;
      if (base::Status s = m_report.timeChanged(newRecord.name, oldRecord.time, newRecord.time);
          !s.isOk()) {
        return s;
      }
      return m_listener ? m_listener->timeChanged(oldRecord, newRecord) : base::Status::ok();
    }
    return base::Status::ok();
  }

 private:
  ChangeReport& m_report;
  ChangeListener* m_listener;
  platform::Progress& m_progress;
  CompareOutcome* m_outcome;
  std::string m_captionFolder;
  bool m_hasCaptionFolder = false;
};

// Merges the records of `newSource` and `oldSource` into the drive's change lines, as
// CompareProfiles says, asking `progress` every 150 steps whether to go on; with
// `barFollowsSteps` the bar shows the steps (up to settings.progressMaximum).
base::Status MergeSources(RecordSource& newSource, RecordSource& oldSource,
                          const CompareSettings& settings, bool barFollowsSteps,
                          ChangeReport& report, platform::Progress& progress,
                          CompareOutcome* outcome) {
  Side newSide(newSource);
  Side oldSide(oldSource);
  Merge merge(report, settings.listener, progress, outcome);
  std::optional<platform::PathStyle> style;
  // The Ignore list applies to both sides: a profile given to the command line may hold an
  // ignored folder's records on either side. The test runs once per folder, not per record.
  struct IgnoredFolder {
    std::uint64_t folderNumber = 0;
    bool ignored = false;
  };
  IgnoredFolder lastOld;
  IgnoredFolder lastNew;
  auto next = [&](Side& side, IgnoredFolder& last) {
    while (side.advance(&style, &outcome->orderWarning)) {
      if (side.folderNumber() != last.folderNumber) {
        last.folderNumber = side.folderNumber();
        last.ignored = settings.ignore.isIgnored(side.folder());
      }
      if (!last.ignored) return true;
    }
    return false;
  };
  auto nextOld = [&]() { return next(oldSide, lastOld); };
  auto nextNew = [&]() { return next(newSide, lastNew); };

  // The order of the two current folders, kept while neither side's folder changes.
  std::uint64_t orderedOld = 0;
  std::uint64_t orderedNew = 0;
  int folderOrder = 0;

  bool haveNew = nextNew();
  bool haveOld = nextOld();
  std::int64_t steps = 0;
  while (haveNew || haveOld) {
    // A side that failed to read is not at its end: stop before the rest of the other
    // side is reported as Added or Deleted.
    if (!newSide.status().isOk()) return newSide.status();
    if (!oldSide.status().isOk()) return oldSide.status();
    // Every record is decided exactly once, the last of each file included. Cancel is
    // honoured also after one side has run out, so a long tail stays interruptible.
    if (++steps % kStepsPerYield == 0) {
      if (barFollowsSteps && steps < settings.progressMaximum) progress.setBarValue(steps);
      if (!progress.shouldContinue()) return base::Status::cancelled();
    }
    int order = 0;
    if (haveNew && haveOld) {
      if (oldSide.folderNumber() != orderedOld || newSide.folderNumber() != orderedNew) {
        orderedOld = oldSide.folderNumber();
        orderedNew = newSide.folderNumber();
        folderOrder = oldSide.folder() == newSide.folder()
                          ? 0
                          : CompareFolderPaths(oldSide.folder(), newSide.folder(), *style);
      }
      order = folderOrder != 0 ? folderOrder
                               : CompareNames(oldSide.current().name, newSide.current().name,
                                              style->caseSensitive);
    } else {
      order = haveOld ? -1 : 1;
    }
    base::Status s;
    if (order == 0) {
      s = merge.matched(oldSide.current(), newSide.current());
      haveOld = nextOld();
      haveNew = nextNew();
    } else if (order < 0) {
      s = merge.deleted(oldSide.current());
      haveOld = nextOld();
    } else {
      s = merge.added(newSide.current());
      haveNew = nextNew();
    }
    if (!s.isOk()) return s;
  }
  if (!newSide.status().isOk()) return newSide.status();
  if (!oldSide.status().isOk()) return oldSide.status();
  outcome->storedFiles = oldSide.records();
  outcome->storedBytes = oldSide.bytes();
  return base::Status::ok();
}

// The drive's heading in the report, and the listener told the drive has started.
base::Status StartDrive(const CompareSettings& settings, ChangeReport& report) {
  if (base::Status s =
          report.startDrive(settings.driveDisplayText, settings.profileDate, settings.freshReport);
      !s.isOk()) {
    return s;
  }
  return settings.listener ? settings.listener->driveStarted(settings.driveDisplayText)
                           : base::Status::ok();
}

// The drive's totals block, the listener told the drive is finished and, when it is the
// report's last drive, the closing line.
base::Status FinishDrive(const CompareSettings& settings, const CompareOutcome& outcome,
                         ChangeReport& report) {
  if (base::Status s =
          report.writeTotals(outcome.addedBytes, outcome.deletedBytes, outcome.changedBytes);
      !s.isOk()) {
    return s;
  }
  if (settings.listener) {
    if (base::Status s = settings.listener->driveFinished(outcome.addedBytes, outcome.deletedBytes,
                                                          outcome.changedBytes);
        !s.isOk()) {
      return s;
    }
  }
  return settings.writeClosing ? report.writeClosing() : base::Status::ok();
}

}  // namespace

base::Status CompareProfiles(platform::FileSystem& fs, const CompareSettings& settings,
                             ChangeReport& report, platform::Progress& progress,
                             CompareOutcome* outcome) {
  *outcome = CompareOutcome();
  progress.setBarValue(0);
  progress.setCaption("Updating " + settings.driveDisplayText);
  progress.setBarVisible(true);

  // Each profile is read and parsed on a thread of its own while this one merges.
  auto newReader = ProfileBlockReader::Open(fs, settings.newProfilePath);
  if (!newReader.isOk()) return newReader.status();
  auto oldReader = ProfileBlockReader::Open(fs, settings.oldProfilePath);
  if (!oldReader.isOk()) return oldReader.status();

  if (base::Status s = StartDrive(settings, report); !s.isOk()) return s;
  if (base::Status s = MergeSources(*newReader.value(), *oldReader.value(), settings,
                                    /*barFollowsSteps=*/true, report, progress, outcome);
      !s.isOk()) {
    return s;
  }
  if (base::Status s = FinishDrive(settings, *outcome, report); !s.isOk()) return s;
  progress.setBarVisible(false);
  return base::Status::ok();
}

base::Status ScanAndCompareProfiles(platform::FileSystem& fs, const ScanSettings& scan,
                                    const platform::LocaleFormat& locale,
                                    platform::ReplacementFile* newProfile,
                                    const CompareSettings& settings, ChangeReport& report,
                                    platform::Progress& progress, ScanProblems* problems,
                                    std::int64_t* totalFiles, CompareOutcome* outcome) {
  *outcome = CompareOutcome();
  *totalFiles = 0;
  // The stored profile is read ahead on its own thread while the drive is walked.
  auto oldReader = ProfileBlockReader::Open(fs, settings.oldProfilePath);
  if (!oldReader.isOk()) return oldReader.status();
  WalkedFiles walked(fs);
  auto folders = LoadStructure(fs, scan, progress, problems, &walked);
  if (!folders.isOk()) return folders.status();

  // What the places that cannot be read held at the last run comes from the stored profile.
  FileProfiler profiler(fs, folders.value(), scan, locale, newProfile, newProfile->temporaryPath(),
                        progress, problems, &walked, settings.oldProfilePath);
  if (base::Status s = StartDrive(settings, report); !s.isOk()) return s;
  // The merge takes the new side to its end, so the profile is whole and closed before the
  // totals are written.
  base::Status s = MergeSources(profiler, *oldReader.value(), settings, /*barFollowsSteps=*/false,
                                report, progress, outcome);
  *totalFiles = profiler.totalFiles();
  if (!s.isOk()) return s;
  return FinishDrive(settings, *outcome, report);
}

}  // namespace engine
