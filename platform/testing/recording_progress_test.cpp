// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/recording_progress.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(RecordingProgressTest, RecordsCallsAndState) {
  RecordingProgress progress;
  progress.setCaption("Loading 3 Folders");
  progress.setBarMaximum(3);
  progress.setBarVisible(true);
  progress.setBarValue(0);
  progress.setBarValue(3);
  progress.setBarVisible(false);
  progress.setBarMaximum(12);
  EXPECT_EQ(progress.captions(), std::vector<std::string>{"Loading 3 Folders"});
  EXPECT_EQ(progress.barMaximums(), (std::vector<std::int64_t>{3, 12}));
  EXPECT_EQ(progress.barValues(), (std::vector<std::int64_t>{0, 3}));
  EXPECT_FALSE(progress.barVisible());
  EXPECT_FALSE(progress.labelVisible());
  EXPECT_EQ(progress.barMaximum(), 12);
  EXPECT_EQ(progress.calls().size(), 7u);
  EXPECT_EQ(progress.calls()[2].kind, RecordingProgress::Call::Kind::kBarVisible);
}

TEST(RecordingProgressTest, CancelsAfterACountOfQuestions) {
  RecordingProgress progress;
  progress.cancelAfter(2);
  EXPECT_TRUE(progress.shouldContinue());
  EXPECT_TRUE(progress.shouldContinue());
  EXPECT_FALSE(progress.shouldContinue());
  EXPECT_FALSE(progress.shouldContinue());
  EXPECT_EQ(progress.shouldContinueCalls(), 4);
}

TEST(RecordingProgressTest, CancelsWhenACaptionAppears) {
  RecordingProgress progress;
  progress.cancelWhenCaption([](const std::string& c) { return c.starts_with("Profiling"); });
  progress.setCaption("Loading 2 Folders");
  EXPECT_TRUE(progress.shouldContinue());
  progress.setCaption("Profiling 52 Files in C:\\");
  EXPECT_FALSE(progress.shouldContinue());
  progress.setCaption("Loading 2 Folders");
  EXPECT_FALSE(progress.shouldContinue());
}

}  // namespace
}  // namespace platform
