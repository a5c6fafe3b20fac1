// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Makes the results of a sequence of items on worker threads, a bounded window ahead of the
// one thread that takes them in order: the folder walk lists folders this way, the scan
// lists and formats them. The file system's latency and the kernel's work overlap with the
// taker's own, and memory stays bounded by the window.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace engine {

template <typename Result>
class OrderedPipeline {
 public:
  // Fills `*result` for item `index`; `*result` holds an earlier result, whose buffers it
  // may reuse. Called on the workers and on the taker's thread, for different items at
  // once.
  using Make = std::function<void(std::size_t index, Result* result)>;
  // The memory a made result holds (any unit). Results waiting to be taken may hold up to
  // `maxWeight` together before the workers wait; the item the taker waits for is always
  // made.
  using Weight = std::function<std::size_t(const Result&)>;

  // Makes items 0 .. count - 1, at most `window` ahead of the taker, on `threads` workers;
  // 0 makes each item on the taker's thread when it is taken.
  OrderedPipeline(std::size_t count, unsigned threads, std::size_t window, std::size_t maxWeight,
                  Make make, Weight weight)
      : m_count(count),
        m_maxWeight(maxWeight),
        m_make(std::move(make)),
        m_weight(std::move(weight)) {
    if (threads == 0 || count < 2) return;
    m_slots.resize(std::min(window, count));
    for (unsigned i = 0; i < threads; ++i) m_workers.emplace_back([this] { work(); });
  }
  OrderedPipeline(const OrderedPipeline&) = delete;
  OrderedPipeline& operator=(const OrderedPipeline&) = delete;

  // Stops the workers after the items they are making; results not taken are dropped.
  ~OrderedPipeline() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_stop = true;
    }
    m_workerWake.notify_all();
    for (std::thread& worker : m_workers) worker.join();
  }

  // Swaps the result of item `index` into `*result`, whose old content goes back for reuse.
  // REQUIRES: index is 0 on the first call and one more on each later call.
  void take(std::size_t index, Result* result) {
    if (m_workers.empty()) {
      m_make(index, result);
      return;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
      if (index >= m_nextClaim) {
        // The workers are behind: make the item here rather than wait for one of them.
        m_nextClaim = index + 1;
        lock.unlock();
        m_make(index, result);
        lock.lock();
        finishTake(index, &lock);
        return;
      }
      Slot& slot = m_slots[index % m_slots.size()];
      if (slot.ready) {
        std::swap(*result, slot.result);
        slot.ready = false;
        m_held -= m_weight(*result);
        finishTake(index, &lock);
        return;
      }
      if (claimable(index)) {
        // Waiting costs a sleep and a wake-up; making a later item meanwhile costs
        // neither and keeps this thread's core busy.
        const std::size_t other = m_nextClaim++;
        lock.unlock();
        m_make(other, &m_helped);
        lock.lock();
        store(other, &m_helped);
        continue;
      }
      m_takerWaitsFor = index;
      m_takerWake.wait(lock, [&slot] { return slot.ready; });
      m_takerWaitsFor = kNobody;
    }
  }

 private:
  struct Slot {
    bool ready = false;
    Result result;
  };
  static constexpr std::size_t kNobody = static_cast<std::size_t>(-1);
  // Idle workers wait for room in the window; they are let in a batch at a time.
  static constexpr std::size_t kWakeBatch = 32;

  // True when the next unclaimed item may be made while the taker is at `taken`. The item
  // the taker waits for is always claimable: everything before it was taken.
  bool claimable(std::size_t taken) const {
    return m_nextClaim < m_count && m_nextClaim < taken + m_slots.size() &&
           (m_held < m_maxWeight || m_nextClaim == taken);
  }

  // Puts a made result into its slot. REQUIRES: m_mutex held.
  void store(std::size_t index, Result* made) {
    Slot& slot = m_slots[index % m_slots.size()];
    std::swap(slot.result, *made);
    slot.ready = true;
    m_held += m_weight(slot.result);
  }

  void finishTake(std::size_t index, std::unique_lock<std::mutex>* lock) {
    m_taken = index + 1;
    const bool wake = m_idleWorkers > 0 && (m_taken % kWakeBatch == 0 || m_nextClaim == m_taken);
    lock->unlock();
    if (wake) m_workerWake.notify_all();
  }

  void work() {
    Result made;
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
      auto ready = [this] { return m_stop || m_nextClaim >= m_count || claimable(m_taken); };
      if (!ready()) {
        ++m_idleWorkers;
        m_workerWake.wait(lock, ready);
        --m_idleWorkers;
      }
      if (m_stop || m_nextClaim >= m_count) return;
      const std::size_t index = m_nextClaim++;
      lock.unlock();
      m_make(index, &made);
      lock.lock();
      store(index, &made);
      // Waking a thread costs more than making a small item: wake the taker only when it
      // waits for this very item.
      if (m_takerWaitsFor == index) m_takerWake.notify_one();
    }
  }

  const std::size_t m_count;
  const std::size_t m_maxWeight;
  const Make m_make;
  const Weight m_weight;

  std::mutex m_mutex;
  std::condition_variable m_workerWake;
  std::condition_variable m_takerWake;
  std::size_t m_takerWaitsFor = kNobody;
  unsigned m_idleWorkers = 0;
  std::vector<Slot> m_slots;    // a ring: item i lives in slot i % size
  std::size_t m_nextClaim = 0;  // the next item a worker makes
  std::size_t m_taken = 0;      // items handed to the taker
  std::size_t m_held = 0;       // weight of the results in ready slots
  bool m_stop = false;
  Result m_helped;  // the taker's scratch for items it makes for the workers
  std::vector<std::thread> m_workers;
};

}  // namespace engine
