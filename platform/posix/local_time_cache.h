// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Local time of file times without asking the C library for every file: the offset from
// UTC is looked up once per day of time (per quarter hour on the days the offset changes)
// and kept in tables that threads read without a lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

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
  // 140 million years from 1970 are taken as UTC. Thread-safe and lock-free once the
  // day of `utc` is in the table.
  [[nodiscard]] LocalDateTime toLocal(UnixSeconds utc) const;

 private:
  // 16384 days, about 45 years: a drive's file times fit without two days sharing a slot.
  // The days on which the offset changes are kept by the quarter hour, a few at a time.
  // Both are powers of two.
  static constexpr std::size_t kDaySlots = 16384;
  static constexpr std::size_t kQuarterSlots = 256;

  // Each slot holds a block of time and its offset packed into one word (0: empty), so a
  // reader never sees the block of one writer with the offset of another.
  std::unique_ptr<std::atomic<std::uint64_t>[]> m_days;
  std::unique_ptr<std::atomic<std::uint64_t>[]> m_quarters;
  // The calendar date of each local day met, by the same rule: working it out costs more
  // than the rest of a file's time together.
  std::unique_ptr<std::atomic<std::uint64_t>[]> m_dates;
};

}  // namespace platform
