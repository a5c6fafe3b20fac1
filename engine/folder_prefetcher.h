// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Lists a sequence of folders on worker threads ahead of the one thread that consumes the
// listings in order, so the file system's latency and the kernel's work overlap with the
// walk's own. Memory stays bounded: only a window of listings is held at a time.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/status.h"
#include "platform/file_system.h"

namespace engine {

class FolderPrefetcher {
 public:
  // Lists folders[i] with `what` for every i, except that folders whose `skip[i]` is true
  // (when `skip` is not empty) get an empty listing without asking the file system.
  // `folders` and `skip` must stay unchanged and live until this object is destroyed.
  // `threads` == 0 lists on the consumer's thread, one folder at a time.
  FolderPrefetcher(platform::FileSystem& fs, const std::vector<std::string>& folders,
                   const std::vector<bool>& skip, platform::ListWhat what, unsigned threads);
  FolderPrefetcher(const FolderPrefetcher&) = delete;
  FolderPrefetcher& operator=(const FolderPrefetcher&) = delete;
  // Stops the workers after the folders they are listing; listings not taken are dropped.
  ~FolderPrefetcher();

  // Moves the listing of folders[index] into `*listing` and returns the status of
  // listFolder. REQUIRES: index is 0 on the first call and one more on each later call.
  Status take(std::size_t index, platform::FolderListing* listing);

  // A sensible number of worker threads for this machine.
  static unsigned DefaultThreads();

 private:
  struct Slot {
    bool ready = false;
    Status status;
    platform::FolderListing listing;
  };

  void work();
  Status list(std::size_t index, platform::FolderListing* listing);

  platform::FileSystem& m_fs;
  const std::vector<std::string>& m_folders;
  const std::vector<bool>& m_skip;
  platform::ListWhat m_what;

  static constexpr std::size_t kNobody = static_cast<std::size_t>(-1);

  std::mutex m_mutex;
  std::condition_variable m_workerWake;
  std::condition_variable m_consumerWake;
  std::size_t m_consumerWaitsFor = kNobody;  // the folder the consumer waits for
  unsigned m_idleWorkers = 0;
  std::vector<Slot> m_slots;    // a ring: folder i lives in slot i % size
  std::size_t m_nextClaim = 0;  // the next folder a worker lists
  std::size_t m_taken = 0;      // folders handed to the consumer
  std::size_t m_buffered = 0;   // entries held in ready slots
  bool m_stop = false;
  std::vector<std::thread> m_workers;
};

}  // namespace engine
