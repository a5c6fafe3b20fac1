// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// ChangeListener: the changes a comparison finds, one at a time and with their records,
// for readers other than the change report (the command line's JSON Lines).
#pragma once

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "engine/profile_record.h"

namespace engine {

// Called by CompareProfiles right after the change report took the same finding, so a
// listener sees exactly the report's changes in the report's order. Every call may fail;
// the comparison then stops with that failure, as it does when the report cannot be
// written. A drive whose comparison fails or is cancelled gets driveStarted and some
// changes but no driveFinished: a listener that must not pass on a partial drive holds
// its changes until driveFinished.
class ChangeListener {
 public:
  virtual ~ChangeListener() = default;

  // A drive's comparison starts; `driveDisplayText` is the drive as the report's title
  // names it ("k: [/data]").
  [[nodiscard]] virtual base::Status driveStarted(std::string_view driveDisplayText) = 0;

  // A file only in the new scan, or only in the stored profile.
  [[nodiscard]] virtual base::Status added(const RecordView& newRecord) = 0;
  [[nodiscard]] virtual base::Status deleted(const RecordView& oldRecord) = 0;
  // The same file on both sides with another size (grew or shrunk) or another time. A file
  // whose size and time both changed gets sizeChanged, then timeChanged. The new record's
  // folder and name are the ones the report shows.
  [[nodiscard]] virtual base::Status sizeChanged(const RecordView& oldRecord,
                                                 const RecordView& newRecord) = 0;
  [[nodiscard]] virtual base::Status timeChanged(const RecordView& oldRecord,
                                                 const RecordView& newRecord) = 0;

  // The drive's last change was passed on; the byte totals are the report's.
  [[nodiscard]] virtual base::Status driveFinished(std::int64_t addedBytes,
                                                   std::int64_t deletedBytes,
                                                   std::int64_t changedBytes) = 0;
};

}  // namespace engine
