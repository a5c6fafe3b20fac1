// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A growable run of bytes for text made in large pieces: unlike std::string, growing it does
// not fill the new room first, and clearing it keeps its room for the next use.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace engine {

class TextBuffer {
 public:
  TextBuffer() = default;
  TextBuffer(TextBuffer&&) noexcept = default;
  TextBuffer& operator=(TextBuffer&&) noexcept = default;
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

  [[nodiscard]] const char* data() const { return m_data.get(); }
  [[nodiscard]] std::size_t size() const { return m_size; }
  [[nodiscard]] bool empty() const { return m_size == 0; }
  [[nodiscard]] std::size_t capacity() const { return m_capacity; }
  [[nodiscard]] std::string_view view() const { return {m_data.get(), m_size}; }

  void clear() { m_size = 0; }

  // Makes room for `n` more bytes and returns where they go. Pointers and views into the
  // buffer stay valid unless the room had to grow.
  char* reserveMore(std::size_t n) {
    if (m_capacity - m_size < n) grow(m_size + n);
    return m_data.get() + m_size;
  }
  // Counts the bytes up to `end`, which lies within the room of the last reserveMore.
  void commitTo(const char* end) { m_size = static_cast<std::size_t>(end - m_data.get()); }

  void append(std::string_view text) {
    char* at = reserveMore(text.size());
    if (!text.empty()) std::memcpy(at, text.data(), text.size());
    m_size += text.size();
  }

 private:
  void grow(std::size_t needed) {
    const std::size_t capacity = std::max(needed, m_capacity * 2);
    auto bigger = std::make_unique_for_overwrite<char[]>(capacity);
    if (m_size > 0) std::memcpy(bigger.get(), m_data.get(), m_size);
    m_data = std::move(bigger);
    m_capacity = capacity;
  }

  std::unique_ptr<char[]> m_data;
  std::size_t m_size = 0;
  std::size_t m_capacity = 0;
};

}  // namespace engine
