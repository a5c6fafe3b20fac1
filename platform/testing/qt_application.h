// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The QApplication of a test program that lays out text or shows widgets (offscreen: the
// test main sets QT_QPA_PLATFORM). Including this header is enough: the application exists
// from before the first test until after the last.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include <QApplication>
#include <QString>

// Lets GoogleTest print QStrings as text.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace platform::testing {

// Made by GoogleTest before the first test and destroyed after the last, before the exit
// handlers run: destroyed among the static objects at exit, the application would outlive
// Qt's own globals, and the input devices that QTest's clicks create crash then. Closing a
// test's last window must not end the application, nor the event loop of a modal dialog
// that a test answers.
class QtApplicationEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "brinvale_test";
    static char* argv[] = {name, nullptr};
    m_application = std::make_unique<QApplication>(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
  }
  void TearDown() override { m_application.reset(); }

 private:
  std::unique_ptr<QApplication> m_application;
};

// GoogleTest owns its environments.
inline ::testing::Environment* const kQtApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace platform::testing
