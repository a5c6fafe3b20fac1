// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/progress_relay.h"

#include <gtest/gtest.h>

#include <climits>
#include <thread>

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include "app/window_test_support.h"

namespace app {
namespace {

class ProgressRelayTest : public ::testing::Test {
 protected:
  QWidget m_area;
  QLabel* m_label = new QLabel(&m_area);
  QProgressBar* m_bar = new QProgressBar(&m_area);
  std::atomic<bool> m_keepGoing{true};
  ProgressRelay m_relay{m_label, m_bar, &m_keepGoing};

  void SetUp() override {
    m_label->hide();
    m_bar->hide();
    m_area.show();
  }
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

  EXPECT_EQ(m_label->text(), "Profiling 300000");
  EXPECT_TRUE(m_label->isVisible());
  EXPECT_TRUE(m_bar->isVisible());
  EXPECT_EQ(m_bar->maximum(), kUpdates);
  EXPECT_EQ(m_bar->value(), kUpdates / 2);
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
  ASSERT_TRUE(m_label->isVisible());
  EXPECT_TRUE(m_relay.shouldContinue());

  // The cancel hides the controls; what the winding-down run still says is not shown.
  m_keepGoing = false;
  m_label->hide();
  m_relay.setCaption("Profiling 100 of 500 in /data/");
  m_relay.setLabelVisible(true);
  m_relay.setBarVisible(true);
  m_relay.flush();
  EXPECT_FALSE(m_relay.shouldContinue());
  EXPECT_FALSE(m_label->isVisible());
  EXPECT_FALSE(m_bar->isVisible());
  EXPECT_EQ(m_label->text(), "Loading Structure:  d: [/data]");
}

TEST_F(ProgressRelayTest, BarBeyondTheRangeOfIntIsScaled) {
  const std::int64_t maximum = std::int64_t(5) * 1000 * 1000 * 1000;
  m_relay.setBarMaximum(maximum);
  m_relay.setBarValue(maximum / 2);
  m_relay.setBarVisible(true);
  m_relay.flush();
  EXPECT_GT(m_bar->maximum(), INT_MAX / 4);
  EXPECT_NEAR(double(m_bar->value()) / m_bar->maximum(), 0.5, 1e-6);

  // A value past the maximum (never sent by the engine) does not overflow the bar.
  m_relay.setBarValue(maximum * 2);
  m_relay.flush();
  EXPECT_EQ(m_bar->value(), m_bar->maximum());
}

}  // namespace
}  // namespace app
