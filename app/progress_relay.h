// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The run's progress as the worker thread tells it, shown by the main window's progress
// display on the user-interface thread without ever flooding its event loop, and the run's
// cancel flag.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include <QObject>
#include <QTimer>

#include "app/run_window.h"
#include "platform/progress.h"

namespace app {

// The worker only stores the latest caption, bar values and visibilities; while started, a
// timer on the user-interface thread shows what changed at most kInterval apart, so a run
// that sets its caption a million times costs the window a few dozen updates a second, and
// the latest value always wins. Once cancelled (the window hides its progress display
// itself) nothing more is shown: the winding-down run cannot bring it back.
//
// Thread safety: the platform::Progress methods may be called from any thread. start(),
// stop(), flush() and the display belong to the thread the object lives on.
class ProgressRelay final : public QObject, public platform::Progress {
  Q_OBJECT

 public:
  static constexpr std::chrono::milliseconds kInterval{40};

  // Shows a state on the user-interface thread; the caption is translated already.
  using Display = std::function<void(const ProgressDisplay&)>;

  explicit ProgressRelay(Display display, QObject* parent = nullptr);
  ~ProgressRelay() override;
  ProgressRelay(const ProgressRelay&) = delete;
  ProgressRelay& operator=(const ProgressRelay&) = delete;

  // Starts and stops the periodic display. stop() shows the last state first.
  void start();
  void stop();
  // Shows the latest state now, so that what the run showed before a question or the end
  // of the run is on screen when it comes.
  void flush();

  // A run begins: shouldContinue() is true until cancel(). User-interface thread.
  void resume() { m_keepGoing = true; }
  // Cancel: shouldContinue() turns false and nothing more is shown. Any thread.
  void cancel() { m_keepGoing = false; }

  // How many times the display was changed since the relay was made.
  [[nodiscard]] int displayUpdates() const { return m_displayUpdates; }

  // platform::Progress
  void setCaption(std::string_view caption) override;
  void setLabelVisible(bool visible) override;
  void setBarMaximum(std::int64_t maximum) override;
  void setBarValue(std::int64_t value) override;
  void setBarVisible(bool visible) override;
  [[nodiscard]] bool shouldContinue() override;

 private:
  struct State {
    std::string caption;
    bool labelVisible = false;
    std::int64_t barMaximum = 0;
    std::int64_t barValue = 0;
    bool barVisible = false;
  };

  Display m_display;
  std::atomic<bool> m_keepGoing{false};
  QTimer m_timer;
  int m_displayUpdates = 0;

  std::mutex m_mutex;
  State m_latest;          // guarded by m_mutex
  bool m_changed = false;  // guarded by m_mutex
};

}  // namespace app
