// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/compare_profiles.h"

#include <memory>
#include <optional>

#include "base/saturating.h"
#include "engine/path_order.h"
#include "engine/profile_reader.h"

namespace engine {
namespace {

constexpr std::int64_t kStepsPerYield = 150;

// One side of the merge: the reader, the record it holds, and what is needed to notice
// records that break the order.
class Side {
 public:
  Side(std::unique_ptr<ProfileReader> reader, std::string path)
      : m_reader(std::move(reader)), m_path(std::move(path)) {}

  // Reads the next record into current(). False at the end of the file or on a failure.
  bool advance(std::optional<platform::PathStyle>* style, Status* orderWarning) {
    if (m_done) return false;
    if (m_hasCurrent) {
      m_previous.folder.swap(m_current.folder);
      m_previous.name.swap(m_current.name);
      m_hasPrevious = true;
    }
    m_hasCurrent = m_reader->next(&m_current);
    if (!m_hasCurrent) {
      m_done = true;
      return false;
    }
    if (!style->has_value()) *style = PathStyleOfFolder(m_current.folder);
    if (m_hasPrevious && orderWarning->isOk() &&
        CompareFiles(m_previous.folder, m_previous.name, m_current.folder, m_current.name,
                     **style) >= 0) {
      *orderWarning = Status::corrupt(m_path + ", line " + std::to_string(m_reader->lineNumber()) +
                                      ": records are out of order; changes may be misreported");
    }
    return true;
  }

  [[nodiscard]] const ProfileRecord& current() const { return m_current; }
  [[nodiscard]] const Status& status() const { return m_reader->status(); }

 private:
  std::unique_ptr<ProfileReader> m_reader;
  std::string m_path;
  ProfileRecord m_current;
  ProfileRecord m_previous;
  bool m_hasCurrent = false;
  bool m_hasPrevious = false;
  bool m_done = false;
};

// The merge with its totals and the folder of the last header, for one drive.
class Merge {
 public:
  Merge(ChangeReport& report, ChangeListener* listener, platform::Progress& progress,
        CompareOutcome* outcome)
      : m_report(report), m_listener(listener), m_progress(progress), m_outcome(outcome) {}

  Status header(const std::string& folder) {
    // Captions follow the folder headers, so they change only when the folder does.
    if (!m_hasCaptionFolder || folder != m_captionFolder) {
      m_captionFolder = folder;
      m_hasCaptionFolder = true;
      m_progress.setCaption("Changes in " + folder);
    }
    return m_report.writeFolderHeader(folder);
  }

  Status added(const ProfileRecord& r) {
    if (Status s = header(r.folder); !s.isOk()) return s;
    m_outcome->addedBytes = base::SaturatingAdd(m_outcome->addedBytes, r.size);
    ++m_outcome->changeLines;
    if (Status s = m_report.added(r.name, r.size); !s.isOk()) return s;
    return m_listener ? m_listener->added(r) : Status::ok();
  }

  Status deleted(const ProfileRecord& r) {
    if (Status s = header(r.folder); !s.isOk()) return s;
    m_outcome->deletedBytes = base::SaturatingAdd(m_outcome->deletedBytes, r.size);
    ++m_outcome->changeLines;
    if (Status s = m_report.deleted(r.name, r.size); !s.isOk()) return s;
    return m_listener ? m_listener->deleted(r) : Status::ok();
  }

  // The same file on both sides: size lines first, then the time line. The lines show
  // the new record's name and folder, so a change of letter case alone shows nothing.
  Status matched(const ProfileRecord& oldRecord, const ProfileRecord& newRecord) {
    if (oldRecord.size != newRecord.size) {
      m_outcome->changedBytes = base::SaturatingAdd(
          m_outcome->changedBytes, base::SaturatingSubtract(newRecord.size, oldRecord.size));
      if (Status s = header(newRecord.folder); !s.isOk()) return s;
      ++m_outcome->changeLines;
      Status s = oldRecord.size > newRecord.size
                     ? m_report.shrunk(newRecord.name, oldRecord.size, newRecord.size)
                     : m_report.grew(newRecord.name, oldRecord.size, newRecord.size);
      if (s.isOk() && m_listener) s = m_listener->sizeChanged(oldRecord, newRecord);
      if (!s.isOk()) return s;
    }
    if (oldRecord.time != newRecord.time) {
      if (Status s = header(newRecord.folder); !s.isOk()) return s;
      ++m_outcome->changeLines;
      Status s = m_report.timeChanged(newRecord.name, oldRecord.time, newRecord.time);
      if (s.isOk() && m_listener) s = m_listener->timeChanged(oldRecord, newRecord);
      return s;
    }
    return Status::ok();
  }

 private:
  ChangeReport& m_report;
  ChangeListener* m_listener;
  platform::Progress& m_progress;
  CompareOutcome* m_outcome;
  std::string m_captionFolder;
  bool m_hasCaptionFolder = false;
};

}  // namespace

Status CompareProfiles(platform::FileSystem& fs, const CompareSettings& settings,
                       ChangeReport& report, platform::Progress& progress,
                       CompareOutcome* outcome) {
  *outcome = CompareOutcome();
  progress.setBarValue(0);
  progress.setCaption("Updating " + settings.driveDisplayText);
  progress.setBarVisible(true);

  auto newReader = ProfileReader::Open(fs, settings.newProfilePath);
  if (!newReader.isOk()) return newReader.status();
  auto oldReader = ProfileReader::Open(fs, settings.oldProfilePath);
  if (!oldReader.isOk()) return oldReader.status();
  Side newSide(std::move(newReader).value(), settings.newProfilePath);
  Side oldSide(std::move(oldReader).value(), settings.oldProfilePath);

  if (Status s =
          report.startDrive(settings.driveDisplayText, settings.profileDate, settings.freshReport);
      !s.isOk()) {
    return s;
  }

  if (settings.listener) {
    if (Status s = settings.listener->driveStarted(settings.driveDisplayText); !s.isOk()) return s;
  }

  Merge merge(report, settings.listener, progress, outcome);
  std::optional<platform::PathStyle> style;
  // The Ignore list applies to both sides: a profile given to the command line may hold an
  // ignored folder's records on either side. The test runs once per folder, not per record.
  struct IgnoredFolder {
    std::string folder;
    bool ignored = false;
    bool known = false;
  };
  IgnoredFolder lastOld;
  IgnoredFolder lastNew;
  auto next = [&](Side& side, IgnoredFolder& last) {
    while (side.advance(&style, &outcome->orderWarning)) {
      const std::string& folder = side.current().folder;
      if (!last.known || folder != last.folder) {
        last.folder = folder;
        last.known = true;
        last.ignored = settings.ignore.isIgnored(folder);
      }
      if (!last.ignored) return true;
    }
    return false;
  };
  auto nextOld = [&]() { return next(oldSide, lastOld); };
  auto nextNew = [&]() { return next(newSide, lastNew); };

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
      if (steps < settings.progressMaximum) progress.setBarValue(steps);
      if (!progress.shouldContinue()) return Status::cancelled();
    }
    int order = 0;
    if (haveNew && haveOld) {
      const ProfileRecord& o = oldSide.current();
      const ProfileRecord& n = newSide.current();
      order = CompareFiles(o.folder, o.name, n.folder, n.name, *style);
    } else {
      order = haveOld ? -1 : 1;
    }
    Status s;
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

  if (Status s =
          report.writeTotals(outcome->addedBytes, outcome->deletedBytes, outcome->changedBytes);
      !s.isOk()) {
    return s;
  }
  if (settings.listener) {
    if (Status s = settings.listener->driveFinished(outcome->addedBytes, outcome->deletedBytes,
                                                    outcome->changedBytes);
        !s.isOk()) {
      return s;
    }
  }
  if (settings.writeClosing) {
    if (Status s = report.writeClosing(); !s.isOk()) return s;
  }
  progress.setBarVisible(false);
  return Status::ok();
}

}  // namespace engine
