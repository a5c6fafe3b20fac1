// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/progress_relay.h"

#include <climits>

#include <QLabel>
#include <QProgressBar>

#include "app/run_texts.h"

namespace app {

ProgressRelay::ProgressRelay(QLabel* label, QProgressBar* bar, const std::atomic<bool>* keepGoing,
                             QObject* parent)
    : QObject(parent), m_label(label), m_bar(bar), m_keepGoing(keepGoing) {
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
  if (!m_keepGoing->load()) return;
  ++m_displayUpdates;
  const QString caption = TranslateRunText(state.caption);
  if (m_label->text() != caption) m_label->setText(caption);
  m_label->setVisible(state.labelVisible);
  // The bar counts in int; a drive with more steps than that shows them scaled.
  const std::int64_t scale = state.barMaximum > INT_MAX ? state.barMaximum / INT_MAX + 1 : 1;
  const int maximum = int(state.barMaximum / scale);
  const int value = int(std::min(state.barValue, state.barMaximum) / scale);
  if (m_bar->maximum() != maximum || m_bar->minimum() != 0) m_bar->setRange(0, maximum);
  if (m_bar->value() != value) m_bar->setValue(value);
  m_bar->setVisible(state.barVisible);
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

bool ProgressRelay::shouldContinue() { return m_keepGoing->load(std::memory_order_relaxed); }

}  // namespace app
