// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Helpers shared by the tests of help/: a QApplication on demand, and QString printing.
#pragma once

#include <QApplication>
#include <QString>
#include <QUrl>
#include <ostream>

// Lets GoogleTest print QStrings and QUrls as text.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QUrl& url, std::ostream* os) { *os << url.toString().toStdString(); }

namespace help::testing {

// The one QApplication of a test program, created on first use (offscreen: the test main
// sets QT_QPA_PLATFORM). It is never destroyed: destroyed among the static objects at exit,
// it would outlive Qt's own globals (the input devices of QTest's mouse clicks crash then).
inline void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "help_test";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

}  // namespace help::testing
