// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Local time of file times without asking the C library for every file: the offset from
// UTC is looked up once per quarter hour of time and kept in a small table.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

#include "platform/date_time.h"

namespace platform {

class LocalTimeCache {
 public:
  // Reads the time zone (TZ, else /etc/localtime) once, with tzset(). Create the cache
  // after TZ has its final value; a later change of TZ needs a new cache.
  LocalTimeCache();
  LocalTimeCache(const LocalTimeCache&) = delete;
  LocalTimeCache& operator=(const LocalTimeCache&) = delete;

  // The local calendar time of `utc`, the same as localtime_r gives, including the hour
  // at either side of a change to or from daylight-saving time. Times beyond about
  // 140 million years from 1970 are taken as UTC. Thread-safe.
  [[nodiscard]] LocalDateTime toLocal(UnixSeconds utc) const;

 private:
  struct Slot {
    std::int64_t block = INT64_MIN;  // the quarter hour the offset belongs to
    std::int64_t offset = 0;         // seconds east of UTC
  };
  static constexpr std::size_t kSlots = 64;

  mutable std::mutex m_mutex;
  mutable std::array<Slot, kSlots> m_slots{};
};

}  // namespace platform
