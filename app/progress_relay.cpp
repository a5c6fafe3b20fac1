// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/progress_relay.h"

#include <algorithm>

#include "app/run_texts.h"

namespace app {

ProgressRelay::ProgressRelay(Display display, QObject* parent)
    : QObject(parent), m_display(std::move(display)) {
  m_timer.setInterval(kInterval);
  connect(&m_timer, &QTimer::timeout, this, &ProgressRelay::flush);
}

ProgressRelay::~ProgressRelay() = default;

void ProgressRelay::start() { m_timer.start(); }

void ProgressRelay::stop() {
  m_timer.stop();
  flush();
}

void ProgressRelay::flush() {
  State state;
  {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_changed) return;
    m_changed = false;
    state = m_latest;
  }
  if (!m_keepGoing.load()) return;
  ++m_displayUpdates;
  m_display({TranslateRunText(state.caption), state.labelVisible, state.barMaximum, state.barValue,
             state.barVisible});
}

void ProgressRelay::setCaption(std::string_view caption) {
  const std::lock_guard<std::mutex> lock(m_mutex);
  m_latest.caption.assign(caption);
  m_changed = true;
}

void ProgressRelay::setLabelVisible(bool visible) {
  const std::lock_guard<std::mutex> lock(m_mutex);
  m_latest.labelVisible = visible;
  m_changed = true;
}

void ProgressRelay::setBarMaximum(std::int64_t maximum) {
  const std::lock_guard<std::mutex> lock(m_mutex);
  m_latest.barMaximum = std::max<std::int64_t>(maximum, 0);
  m_changed = true;
}

void ProgressRelay::setBarValue(std::int64_t value) {
  const std::lock_guard<std::mutex> lock(m_mutex);
  m_latest.barValue = std::max<std::int64_t>(value, 0);
  m_changed = true;
}

void ProgressRelay::setBarVisible(bool visible) {
  const std::lock_guard<std::mutex> lock(m_mutex);
  m_latest.barVisible = visible;
  m_changed = true;
}

bool ProgressRelay::shouldContinue() { return m_keepGoing.load(std::memory_order_relaxed); }

}  // namespace app
