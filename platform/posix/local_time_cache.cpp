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
  std::size_t size;
  std::int64_t seconds;

  // The highest offset field means "the offset changes within the block".
  static constexpr std::uint64_t kChangesField = kOffsetMask;

  Known find(std::int64_t block, std::int64_t* offset) const {
    const std::uint64_t packed =
        slots[static_cast<std::size_t>(block) % size].load(std::memory_order_relaxed);
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
    slots[static_cast<std::size_t>(block) % size].store(
        (static_cast<std::uint64_t>(block + kBlockBias) << 20) | field, std::memory_order_relaxed);
    *offset = first;
    return changes ? Known::kChanges : Known::kOffset;
  }

  Known lookUp(std::int64_t block, std::int64_t* offset) const {
    const Known known = find(block, offset);
    return known == Known::kNothing ? fill(block, offset) : known;
  }
};

}  // namespace

// Atomics start at 0, an empty slot.
LocalTimeCache::LocalTimeCache()
    : m_days(std::make_unique<std::atomic<std::uint64_t>[]>(kDaySlots)),
      m_quarters(std::make_unique<std::atomic<std::uint64_t>[]>(kQuarterSlots)) {
  tzset();
}

LocalDateTime LocalTimeCache::toLocal(UnixSeconds utc) const {
  if (utc > kZoneLimit || utc < -kZoneLimit) return CivilFromSeconds(utc);
  const Table days{m_days.get(), kDaySlots, kDay};
  const std::int64_t day = FloorDiv(utc, kDay);
  std::int64_t offset = 0;
  if (days.lookUp(day, &offset) == Known::kOffset) return CivilFromSeconds(utc + offset);

  const Table quarters{m_quarters.get(), kQuarterSlots, kQuarterHour};
  if (quarters.lookUp(FloorDiv(utc, kQuarterHour), &offset) == Known::kOffset) {
    return CivilFromSeconds(utc + offset);
  }
  if (!OffsetAt(utc, &offset)) offset = 0;
  return CivilFromSeconds(utc + offset);
}

}  // namespace platform
