// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Helpers shared by the tests of reports/: test data files and a QApplication on demand.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <ostream>

// Lets GoogleTest print QStrings and lists of them as text.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace reports::testing {

// The path of `name` below testdata/rtf/ in the source tree.
inline QString TestDataPath(const QString& name) {
  return QStringLiteral(BRINVALE_TESTDATA_DIR "/rtf/") + name;
}

// The bytes of testdata/rtf/`name`; empty when it cannot be read, which the test then notices.
inline QByteArray ReadTestData(const QString& name) {
  QFile file(TestDataPath(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Creates the process's QApplication, for tests that lay out text or show widgets, and keeps
// it until the process ends. Does nothing when an application exists.
inline void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "reports_test";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
}

}  // namespace reports::testing
