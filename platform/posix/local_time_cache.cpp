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

// Packing: bits 20..63 the block plus kBlockBias, bits 0..19 the offset plus kOffsetBias,
// which is never 0, so a packed word is never 0 either. Blocks stay below 2^43 either way
// within kZoneLimit, offsets below six days.
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

// What a table knows of a block.
enum class Known { kNothing, kOffset, kChanges };

// One table of blocks of `seconds` each. A block whose ends disagree is remembered as one
// in which the offset changes, so it is not asked again.
struct Table {
  std::atomic<std::uint64_t>* slots;
  std::size_t size;  // a power of two
  std::int64_t seconds;

  // The highest offset field means "the offset changes within the block".
  static constexpr std::uint64_t kChangesField = kOffsetMask;

  Known find(std::int64_t block, std::int64_t* offset) const {
    const std::uint64_t packed =
        slots[static_cast<std::size_t>(block) & (size - 1)].load(std::memory_order_relaxed);
    if (packed == 0 || static_cast<std::int64_t>(packed >> 20) - kBlockBias != block) {
      return Known::kNothing;
    }
    if ((packed & kOffsetMask) == kChangesField) return Known::kChanges;
    *offset = static_cast<std::int64_t>(packed & kOffsetMask) - kOffsetBias;
    return Known::kOffset;
  }

  // Asks for the offsets at both ends of the block and caches what they say. localtime_r
  // is thread-safe, and two threads filling one slot store the same word.
  Known fill(std::int64_t block, std::int64_t* offset) const {
    std::int64_t first = 0;
    std::int64_t last = 0;
    if (!OffsetAt(block * seconds, &first) || !OffsetAt(block * seconds + seconds - 1, &last) ||
        first <= -kOffsetBias || first >= kOffsetBias - 1) {
      return Known::kNothing;
    }
    const bool changes = first != last;
    const std::uint64_t field =
        changes ? kChangesField : static_cast<std::uint64_t>(first + kOffsetBias);
    slots[static_cast<std::size_t>(block) & (size - 1)].store(
        (static_cast<std::uint64_t>(block + kBlockBias) << 20) | field, std::memory_order_relaxed);
    *offset = first;
    return changes ? Known::kChanges : Known::kOffset;
  }

  Known lookUp(std::int64_t block, std::int64_t* offset) const {
    const Known known = find(block, offset);
    return known == Known::kNothing ? fill(block, offset) : known;
  }
};

// A local day and its date packed into one word: bits 25..63 the day plus kDayBias, then
// the year (16 bits), the month (4) and the day of the month (5). The month is never 0, so a
// packed word is never 0. Years beyond 0..65535 are not cached.
constexpr std::int64_t kDayBias = std::int64_t{1} << 38;

LocalDateTime WithTimeOfDay(std::int64_t local, std::int64_t day, LocalDateTime date) {
  const auto second = static_cast<int>(local - day * kDay);
  date.hour = second / 3600;
  date.minute = second / 60 % 60;
  date.second = second % 60;
  return date;
}

}  // namespace

// Atomics start at 0, an empty slot.
LocalTimeCache::LocalTimeCache()
    : m_days(std::make_unique<std::atomic<std::uint64_t>[]>(kDaySlots)),
      m_quarters(std::make_unique<std::atomic<std::uint64_t>[]>(kQuarterSlots)),
      m_dates(std::make_unique<std::atomic<std::uint64_t>[]>(kDaySlots)) {
  tzset();
}

LocalDateTime LocalTimeCache::toLocal(UnixSeconds utc) const {
  if (utc > kZoneLimit || utc < -kZoneLimit) return CivilFromSeconds(utc);
  const Table days{m_days.get(), kDaySlots, kDay};
  std::int64_t offset = 0;
  if (days.lookUp(FloorDiv(utc, kDay), &offset) != Known::kOffset) {
    const Table quarters{m_quarters.get(), kQuarterSlots, kQuarterHour};
    if (quarters.lookUp(FloorDiv(utc, kQuarterHour), &offset) != Known::kOffset &&
        !OffsetAt(utc, &offset)) {
      offset = 0;
    }
  }

  const std::int64_t local = utc + offset;
  const std::int64_t day = FloorDiv(local, kDay);
  std::atomic<std::uint64_t>& slot = m_dates[static_cast<std::size_t>(day) % kDaySlots];
  const std::uint64_t packed = slot.load(std::memory_order_relaxed);
  if (packed != 0 && static_cast<std::int64_t>(packed >> 25) - kDayBias == day) {
    LocalDateTime date;
    date.year = static_cast<int>((packed >> 9) & 0xFFFF);
    date.month = static_cast<int>((packed >> 5) & 0xF);
    date.day = static_cast<int>(packed & 0x1F);
    return WithTimeOfDay(local, day, date);
  }
  const LocalDateTime result = CivilFromSeconds(local);
  if (result.year >= 0 && result.year <= 0xFFFF) {
    slot.store((static_cast<std::uint64_t>(day + kDayBias) << 25) |
                   (static_cast<std::uint64_t>(result.year) << 9) |
                   (static_cast<std::uint64_t>(result.month) << 5) |
                   static_cast<std::uint64_t>(result.day),
               std::memory_order_relaxed);
  }
  return result;
}

}  // namespace platform
