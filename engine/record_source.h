// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// One side of a comparison: records in the one order of engine/path_order.h, handed over a
// batch at a time. A stored profile being read is one (engine/profile_reader.h), a drive
// being scanned is another (engine/drive_scan.h).
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "base/status.h"
#include "engine/profile_record.h"

namespace engine {

class RecordSource {
 public:
  virtual ~RecordSource() = default;

  // Moves to the next batch of one or more records, which stays valid until the next call.
  // False at the end, or after a failure that status() then tells: a source that failed
  // is not at its end, and its caller must not take the missing records as gone.
  [[nodiscard]] virtual bool nextBatch(std::span<const RecordView>* batch) = 0;
  // OK until a failure; the first failure stays.
  [[nodiscard]] virtual const base::Status& status() const = 0;
  // Where record `index` of the current batch comes from, for messages: "PATH, line N".
  [[nodiscard]] virtual std::string placeOf(std::size_t index) const = 0;
};

}  // namespace engine
