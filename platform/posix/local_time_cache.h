// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Local time of file times without asking the C library for every file: the offset from
// UTC is looked up once per day of time (per quarter hour on the days the offset changes)
// and kept in small tables that threads read without a lock.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
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
  // 140 million years from 1970 are taken as UTC. Thread-safe, and lock-free once the day
  // of `utc` was met.
  [[nodiscard]] LocalDateTime toLocal(UnixSeconds utc) const;

 private:
  // The days of 1900 to 2124 share 16384 slots of two bytes, five days a slot: the table
  // stays in the processor's nearest cache while a scan's file times hit it at random.
  // Each slot names the day it holds and the index of its offset in m_offsets (a zone
  // has a few dozen offsets in all its history). Days outside those years are asked
  // directly. The days on which the offset changes are kept by the quarter hour.
  static constexpr std::size_t kDaySlots = 16384;
  static constexpr std::size_t kQuarterSlots = 256;  // a power of two
  static constexpr std::size_t kMaxOffsets = 255;

  [[nodiscard]] std::int64_t offsetAt(UnixSeconds utc) const;
  // The slot word for a day asked of the C library and stored, or 0 when it is not kept.
  std::uint16_t fillDay(std::int64_t day, std::size_t slot, std::uint16_t key) const;
  // The index of `offset` in m_offsets, added when it is new; kMaxOffsets when full.
  std::size_t indexOfOffset(std::int64_t offset) const;

  std::unique_ptr<std::atomic<std::uint16_t>[]> m_days;
  std::unique_ptr<std::atomic<std::uint64_t>[]> m_quarters;
  mutable std::array<std::atomic<std::int32_t>, kMaxOffsets> m_offsets{};
  mutable std::atomic<std::size_t> m_offsetCount{0};
  mutable std::mutex m_addOffset;  // taken only to add an offset
};

}  // namespace platform
