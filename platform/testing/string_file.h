// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A WritableFile in memory, for tests of what writers write.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace platform::testing {

// Keeps what is appended in `bytes`. With a capacity, an append that would go beyond it
// fails as a full disk does ("disk full"), and so does every later one.
class StringFile final : public WritableFile {
 public:
  explicit StringFile(std::size_t capacity = SIZE_MAX) : m_capacity(capacity) {}

  base::Status append(std::string_view data) override {
    if (m_full || data.size() > m_capacity - bytes.size()) {
      m_full = true;
      return base::Status::ioError("disk full");
    }
    bytes.append(data);
    return base::Status::ok();
  }
  base::Status close() override { return base::Status::ok(); }

  std::string bytes;

 private:
  std::size_t m_capacity;
  bool m_full = false;
};

}  // namespace platform::testing
