// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A Progress that records every call in order and cancels when a test tells it to, so
// tests check captions, bar values and the points at which work stops.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/progress.h"

namespace platform {

// Thread-safe: the engine may call it from a worker thread while the test reads it.
class RecordingProgress final : public Progress {
 public:
  struct Call {
    enum class Kind {
      kCaption,
      kLabelVisible,
      kBarMaximum,
      kBarValue,
      kBarVisible,
      kShouldContinue,
    };
    Kind kind = Kind::kCaption;
    std::string caption;     // kCaption
    std::int64_t value = 0;  // kBarMaximum, kBarValue; 1 or 0 for the visibility calls and
                             // for the answer of kShouldContinue
  };

  void setCaption(std::string_view caption) override;
  void setLabelVisible(bool visible) override;
  void setBarMaximum(std::int64_t maximum) override;
  void setBarValue(std::int64_t value) override;
  void setBarVisible(bool visible) override;
  // True until a cancel condition below is met, false from then on.
  [[nodiscard]] bool shouldContinue() override;

  // --- Cancel conditions ---

  // The first `calls` calls of shouldContinue() answer true, every later one false.
  void cancelAfter(int calls);
  // shouldContinue() answers false once a caption for which `matches` is true was set.
  void cancelWhenCaption(std::function<bool(const std::string&)> matches);
  // shouldContinue() answers false from now on.
  void cancel();

  // --- What was recorded ---

  [[nodiscard]] std::vector<Call> calls() const;
  // Every caption set, in order, repeats included.
  [[nodiscard]] std::vector<std::string> captions() const;
  [[nodiscard]] std::vector<std::int64_t> barMaximums() const;
  [[nodiscard]] std::vector<std::int64_t> barValues() const;
  // The state as the user would see it now (a label or bar never shown is not visible).
  [[nodiscard]] std::string caption() const;
  [[nodiscard]] bool labelVisible() const;
  [[nodiscard]] bool barVisible() const;
  [[nodiscard]] std::int64_t barMaximum() const;
  [[nodiscard]] std::int64_t barValue() const;
  [[nodiscard]] int shouldContinueCalls() const;
  // Forgets the recorded calls and the count of shouldContinue() calls; the current state
  // and the cancel conditions stay (a cancelAfter count then starts afresh).
  void clear();

 private:
  void record(Call call);
  std::vector<std::int64_t> valuesOf(Call::Kind kind) const;

  mutable std::mutex m_mutex;
  std::vector<Call> m_calls;
  std::string m_caption;
  bool m_labelVisible = false;
  bool m_barVisible = false;
  std::int64_t m_barMaximum = 0;
  std::int64_t m_barValue = 0;
  int m_continueCalls = 0;
  std::optional<int> m_cancelAfter;
  std::function<bool(const std::string&)> m_cancelOnCaption;
  bool m_cancelled = false;
};

}  // namespace platform
