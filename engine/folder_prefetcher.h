// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Lists a sequence of folders on worker threads ahead of the one thread that consumes the
// listings in order, so the file system's latency and the kernel's work overlap with the
// walk's own. Memory stays bounded: only a window of listings is held at a time.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/status.h"
#include "engine/ordered_pipeline.h"
#include "platform/file_system.h"

namespace engine {

class FolderPrefetcher {
 public:
  // Lists folders[i] of `tree` with what[i] for every i, checking that it is the folder
  // ids[i] (see FolderTree::list); a folder whose what[i] is empty gets an empty listing
  // without asking the file system. `tree`, `folders`, `ids` and `what` must stay unchanged
  // and live until this object is destroyed. `threads` == 0 lists on the consumer's thread,
  // one folder at a time.
  FolderPrefetcher(platform::FolderTree& tree, const std::vector<std::string>& folders,
                   const std::vector<platform::FileId>& ids,
                   const std::vector<std::optional<platform::ListWhat>>& what, unsigned threads);
  FolderPrefetcher(const FolderPrefetcher&) = delete;
  FolderPrefetcher& operator=(const FolderPrefetcher&) = delete;

  // Moves the listing of folders[index] into `*listing` and returns the status of
  // listing it. REQUIRES: index is 0 on the first call and one more on each later call.
  base::Status take(std::size_t index, platform::FolderListing* listing);

  // A sensible number of worker threads for this machine.
  static unsigned DefaultThreads();

 private:
  struct Listed {
    base::Status status;
    platform::FolderListing listing;
  };

  OrderedPipeline<Listed> m_pipeline;
  Listed m_taken;
};

}  // namespace engine
