// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/recording_progress.h"

#include <utility>

namespace platform {

using Kind = RecordingProgress::Call::Kind;

void RecordingProgress::record(Call call) { m_calls.push_back(std::move(call)); }

void RecordingProgress::setCaption(std::string_view caption) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_caption = caption;
  record({Kind::kCaption, m_caption, 0});
  if (m_cancelOnCaption && m_cancelOnCaption(m_caption)) m_cancelled = true;
}

void RecordingProgress::setLabelVisible(bool visible) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_labelVisible = visible;
  record({Kind::kLabelVisible, {}, visible ? 1 : 0});
}

void RecordingProgress::setBarMaximum(std::int64_t maximum) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_barMaximum = maximum;
  record({Kind::kBarMaximum, {}, maximum});
}

void RecordingProgress::setBarValue(std::int64_t value) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_barValue = value;
  record({Kind::kBarValue, {}, value});
}

void RecordingProgress::setBarVisible(bool visible) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_barVisible = visible;
  record({Kind::kBarVisible, {}, visible ? 1 : 0});
}

bool RecordingProgress::shouldContinue() {
  std::lock_guard<std::mutex> lock(m_mutex);
  ++m_continueCalls;
  if (m_cancelAfter && m_continueCalls > *m_cancelAfter) m_cancelled = true;
  record({Kind::kShouldContinue, {}, m_cancelled ? 0 : 1});
  return !m_cancelled;
}

void RecordingProgress::cancelAfter(int calls) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_cancelAfter = calls;
}

void RecordingProgress::cancelWhenCaption(std::function<bool(const std::string&)> matches) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_cancelOnCaption = std::move(matches);
}

void RecordingProgress::cancel() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_cancelled = true;
}

std::vector<RecordingProgress::Call> RecordingProgress::calls() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_calls;
}

std::vector<std::string> RecordingProgress::captions() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<std::string> result;
  for (const Call& call : m_calls) {
    if (call.kind == Kind::kCaption) result.push_back(call.caption);
  }
  return result;
}

std::vector<std::int64_t> RecordingProgress::valuesOf(Call::Kind kind) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<std::int64_t> result;
  for (const Call& call : m_calls) {
    if (call.kind == kind) result.push_back(call.value);
  }
  return result;
}

std::vector<std::int64_t> RecordingProgress::barMaximums() const {
  return valuesOf(Kind::kBarMaximum);
}

std::vector<std::int64_t> RecordingProgress::barValues() const { return valuesOf(Kind::kBarValue); }

std::string RecordingProgress::caption() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_caption;
}

bool RecordingProgress::labelVisible() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_labelVisible;
}

bool RecordingProgress::barVisible() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_barVisible;
}

std::int64_t RecordingProgress::barMaximum() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_barMaximum;
}

std::int64_t RecordingProgress::barValue() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_barValue;
}

int RecordingProgress::shouldContinueCalls() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_continueCalls;
}

void RecordingProgress::clear() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_calls.clear();
  m_continueCalls = 0;
}

}  // namespace platform
