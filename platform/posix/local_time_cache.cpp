// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/local_time_cache.h"

#include <ctime>

#include "platform/civil_time.h"

namespace platform {
namespace {

// Every zone of our time changes its offset at a whole quarter hour of UTC, so most
// blocks have one offset throughout. Older zone history has changes at odd seconds; a
// block whose two ends disagree is never cached and each of its times is asked directly.
constexpr std::int64_t kBlockSeconds = 15 * 60;
constexpr std::int64_t kZoneLimit = std::int64_t{1} << 52;

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

}  // namespace

LocalTimeCache::LocalTimeCache() { tzset(); }

LocalDateTime LocalTimeCache::toLocal(UnixSeconds utc) const {
  if (utc > kZoneLimit || utc < -kZoneLimit) return CivilFromSeconds(utc);
  const std::int64_t block = FloorDiv(utc, kBlockSeconds);
  Slot& slot = m_slots[static_cast<std::size_t>(block) % kSlots];
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (slot.block == block) return CivilFromSeconds(utc + slot.offset);
  }

  // localtime_r is thread-safe; only the table needs the lock.
  std::int64_t first = 0;
  std::int64_t last = 0;
  if (OffsetAt(block * kBlockSeconds, &first) &&
      OffsetAt(block * kBlockSeconds + kBlockSeconds - 1, &last) && first == last) {
    std::lock_guard<std::mutex> lock(m_mutex);
    slot.block = block;
    slot.offset = first;
    return CivilFromSeconds(utc + first);
  }
  std::int64_t offset = 0;
  if (!OffsetAt(utc, &offset)) offset = 0;
  return CivilFromSeconds(utc + offset);
}

}  // namespace platform
