// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/local_time_cache.h"

#include <ctime>

#include "platform/civil_time.h"

namespace platform {
namespace {

// A day of UTC has one offset throughout when its two ends agree: in the time zone
// database no zone changes its offset and back within a day (the closest two changes of
// any zone are four days apart). The days whose ends disagree are looked at by the
// quarter hour, since every zone of our time changes at a whole quarter hour of UTC; a
// quarter hour whose ends disagree (older zone history has changes at odd seconds) is
// never cached and each of its times is asked directly.
constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kQuarterHour = 900;
constexpr std::int64_t kZoneLimit = std::int64_t{1} << 52;

// The day table: days from 1900-01-01 on, five per slot. A slot word holds in its high
// byte which of the five (plus one, so that 0 is an empty slot) and in its low byte the
// offset's index, or kChanges for a day whose ends disagree.
constexpr std::int64_t kFirstDay = -25567;  // 1900-01-01
constexpr std::int64_t kDaysPerSlot = 5;
constexpr std::uint16_t kChanges = 0xFF;

// The quarter-hour table, packed: bits 20..63 the quarter hour plus kBlockBias, bits 0..19
// the offset plus kOffsetBias, which is never 0, so a packed word is never 0 either.
// Blocks stay below 2^43 either way within kZoneLimit, offsets below six days.
constexpr std::int64_t kBlockBias = std::int64_t{1} << 43;
constexpr std::int64_t kOffsetBias = std::int64_t{1} << 19;
constexpr std::uint64_t kOffsetMask = (std::uint64_t{1} << 20) - 1;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && (a < 0) ? 1 : 0);
}

bool OffsetAt(std::int64_t utc, std::int64_t* offset) {
  const time_t t = static_cast<time_t>(utc);
  tm parts{};
  if (localtime_r(&t, &parts) == nullptr) return false;
  *offset = parts.tm_gmtoff;
  return true;
}

// The offset of the quarter hour of `utc` from `slots` (kQuarterSlots of them), asked and
// cached when unknown; false when the quarter hour's ends disagree.
bool QuarterOffset(std::atomic<std::uint64_t>* slots, std::size_t count, std::int64_t utc,
                   std::int64_t* offset) {
  const std::int64_t block = FloorDiv(utc, kQuarterHour);
  std::atomic<std::uint64_t>& slot = slots[static_cast<std::size_t>(block) & (count - 1)];
  const std::uint64_t packed = slot.load(std::memory_order_relaxed);
  if (packed != 0 && static_cast<std::int64_t>(packed >> 20) - kBlockBias == block) {
    *offset = static_cast<std::int64_t>(packed & kOffsetMask) - kOffsetBias;
    return true;
  }
  std::int64_t first = 0;
  std::int64_t last = 0;
  if (!OffsetAt(block * kQuarterHour, &first) ||
      !OffsetAt(block * kQuarterHour + kQuarterHour - 1, &last) || first != last ||
      first <= -kOffsetBias || first >= kOffsetBias) {
    return false;
  }
  slot.store((static_cast<std::uint64_t>(block + kBlockBias) << 20) |
                 static_cast<std::uint64_t>(first + kOffsetBias),
             std::memory_order_relaxed);
  *offset = first;
  return true;
}

}  // namespace

// Atomics start at 0, an empty slot.
LocalTimeCache::LocalTimeCache()
    : m_days(std::make_unique<std::atomic<std::uint16_t>[]>(kDaySlots)),
      m_quarters(std::make_unique<std::atomic<std::uint64_t>[]>(kQuarterSlots)) {
  tzset();
}

std::size_t LocalTimeCache::indexOfOffset(std::int64_t offset) const {
  const auto wanted = static_cast<std::int32_t>(offset);
  std::size_t count = m_offsetCount.load(std::memory_order_acquire);
  for (std::size_t i = 0; i < count; ++i) {
    if (m_offsets[i].load(std::memory_order_relaxed) == wanted) return i;
  }
  std::lock_guard<std::mutex> lock(m_addOffset);
  count = m_offsetCount.load(std::memory_order_relaxed);
  for (std::size_t i = 0; i < count; ++i) {
    if (m_offsets[i].load(std::memory_order_relaxed) == wanted) return i;
  }
  if (count == kMaxOffsets - 1) return kMaxOffsets;  // index kChanges stays free
  m_offsets[count].store(wanted, std::memory_order_relaxed);
  m_offsetCount.store(count + 1, std::memory_order_release);
  return count;
}

std::uint16_t LocalTimeCache::fillDay(std::int64_t day, std::size_t slot, std::uint16_t key) const {
  std::int64_t first = 0;
  std::int64_t last = 0;
  if (!OffsetAt(day * kDay, &first) || !OffsetAt(day * kDay + kDay - 1, &last)) return 0;
  std::uint16_t low = kChanges;
  if (first == last) {
    const std::size_t index =
        first > INT32_MIN && first < INT32_MAX ? indexOfOffset(first) : kMaxOffsets;
    if (index >= kMaxOffsets) return 0;
    low = static_cast<std::uint16_t>(index);
  }
  const auto word = static_cast<std::uint16_t>(key << 8 | low);
  // Release: a reader that sees the word also sees the offset its index names.
  m_days[slot].store(word, std::memory_order_release);
  return word;
}

std::int64_t LocalTimeCache::offsetAt(UnixSeconds utc) const {
  const std::int64_t day = FloorDiv(utc, kDay);
  const std::int64_t fromFirst = day - kFirstDay;
  if (fromFirst >= 0 && fromFirst < static_cast<std::int64_t>(kDaySlots) * kDaysPerSlot) {
    const auto slot = static_cast<std::size_t>(fromFirst) % kDaySlots;
    const auto key = static_cast<std::uint16_t>(fromFirst / kDaySlots + 1);
    std::uint16_t word = m_days[slot].load(std::memory_order_acquire);
    if (word >> 8 != key) word = fillDay(day, slot, key);
    if (word >> 8 == key && (word & 0xFF) != kChanges) {
      return m_offsets[word & 0xFF].load(std::memory_order_relaxed);
    }
  }
  std::int64_t offset = 0;
  if (QuarterOffset(m_quarters.get(), kQuarterSlots, utc, &offset)) return offset;
  return OffsetAt(utc, &offset) ? offset : 0;
}

LocalDateTime LocalTimeCache::toLocal(UnixSeconds utc) const {
  if (utc > kZoneLimit || utc < -kZoneLimit) return CivilFromSeconds(utc);
  return CivilFromSeconds(utc + offsetAt(utc));
}

}  // namespace platform
