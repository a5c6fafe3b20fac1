// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/progress_relay.h"

#include <gtest/gtest.h>

#include <thread>

#include <QElapsedTimer>
#include <QTest>

#include "app/window_test_support.h"

namespace app {
namespace {

class ProgressRelayTest : public ::testing::Test {
 protected:
  void SetUp() override { m_relay.resume(); }

  ProgressDisplay m_shown;  // what the window was last told to show
  ProgressRelay m_relay{[this](const ProgressDisplay& display) { m_shown = display; }};
};

TEST_F(ProgressRelayTest, AFloodFromAnotherThreadShowsAFewUpdatesAndTheLatestWins) {
  constexpr int kUpdates = 300000;
  m_relay.start();
  QElapsedTimer clock;
  clock.start();
  std::atomic<bool> done{false};
  std::thread worker([&] {
    m_relay.setLabelVisible(true);
    m_relay.setBarMaximum(kUpdates);
    m_relay.setBarVisible(true);
    for (int i = 1; i <= kUpdates; ++i) {
      m_relay.setCaption("Profiling " + std::to_string(i));
      m_relay.setBarValue(i / 2);
    }
    done = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 20000));
  worker.join();
  m_relay.stop();
  const qint64 elapsed = clock.elapsed();

  EXPECT_EQ(m_shown.caption, "Profiling 300000");
  EXPECT_TRUE(m_shown.captionVisible);
  EXPECT_TRUE(m_shown.barVisible);
  EXPECT_EQ(m_shown.barMaximum, kUpdates);
  EXPECT_EQ(m_shown.barValue, kUpdates / 2);
  EXPECT_GE(m_relay.displayUpdates(), 1);
  EXPECT_LE(m_relay.displayUpdates(), elapsed / ProgressRelay::kInterval.count() + 2);

  // Nothing new: the timer shows nothing again.
  const int shown = m_relay.displayUpdates();
  m_relay.flush();
  EXPECT_EQ(m_relay.displayUpdates(), shown);
}

TEST_F(ProgressRelayTest, AfterACancelNothingComesBack) {
  m_relay.setCaption("Loading Structure:  d: [/data]");
  m_relay.setLabelVisible(true);
  m_relay.flush();
  ASSERT_TRUE(m_shown.captionVisible);
  EXPECT_TRUE(m_relay.shouldContinue());

  // The window hides its display on Cancel; what the winding-down run still says is not
  // shown.
  m_relay.cancel();
  const int shown = m_relay.displayUpdates();
  m_relay.setCaption("Profiling 100 of 500 in /data/");
  m_relay.setBarVisible(true);
  m_relay.flush();
  EXPECT_FALSE(m_relay.shouldContinue());
  EXPECT_EQ(m_relay.displayUpdates(), shown);
  EXPECT_EQ(m_shown.caption, "Loading Structure:  d: [/data]");
  EXPECT_FALSE(m_shown.barVisible);

  // The next run starts afresh.
  m_relay.resume();
  EXPECT_TRUE(m_relay.shouldContinue());
  m_relay.setCaption("Loading Structure:  e: [/media]");
  m_relay.flush();
  EXPECT_EQ(m_shown.caption, "Loading Structure:  e: [/media]");
}

}  // namespace
}  // namespace app
