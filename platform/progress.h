// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// How long engine work shows its progress (the progress label and bar of the main window)
// and learns that the user cancelled. The GUI implements it by posting to the UI thread,
// the command line by printing captions; tests record every call.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

class Progress {
 public:
  virtual ~Progress() = default;

  // The progress label. The caption is UTF-8 and shown exactly as given.
  virtual void setCaption(std::string_view caption) = 0;
  virtual void setLabelVisible(bool visible) = 0;

  // The progress bar. Values are never negative; the engine keeps value <= maximum.
  virtual void setBarMaximum(std::int64_t maximum) = 0;
  virtual void setBarValue(std::int64_t value) = 0;
  virtual void setBarVisible(bool visible) = 0;

  // Called at the engine's yield points (every 50 folders, every 100 files of a folder,
  // every 150 comparison steps, and more often where cheap): false once the user has
  // cancelled. Must be cheap and callable from the worker thread.
  [[nodiscard]] virtual bool shouldContinue() = 0;
};

// Shows nothing and never cancels.
class SilentProgress final : public Progress {
 public:
  void setCaption(std::string_view) override {}
  void setLabelVisible(bool) override {}
  void setBarMaximum(std::int64_t) override {}
  void setBarValue(std::int64_t) override {}
  void setBarVisible(bool) override {}
  bool shouldContinue() override { return true; }
};

}  // namespace platform
