// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Helpers shared by the tests of reports/: test data files and the QApplication.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <ostream>

#include "platform/posix/posix_file_system.h"
#include "platform/testing/qt_application.h"

namespace reports::testing {

// The real file system, for the tests that read and write files on the disk.
inline platform::FileSystem& Disk() {
  static platform::PosixFileSystem disk;  // holds nothing of its own: one serves every test
  return disk;
}

// The path of `name` below testdata/rtf/ in the source tree.
inline QString TestDataPath(const QString& name) {
  return QStringLiteral(BRINVALE_TESTDATA_DIR "/rtf/") + name;
}

// The bytes of testdata/rtf/`name`; empty when it cannot be read, which the test then notices.
inline QByteArray ReadTestData(const QString& name) {
  QFile file(TestDataPath(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One line per paragraph (alignment) and per run of text (its text and every format the
// writer promises to keep), so that two documents compare as lists.
inline QStringList Describe(const QTextDocument& document) {
  QStringList lines;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    lines.append(QStringLiteral("paragraph align=%1").arg(block.blockFormat().alignment()));
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat f = it.fragment().charFormat();
      const auto color = [&](QTextFormat::Property property) {
        return f.hasProperty(property) ? f.brushProperty(property).color().name() : QString("-");
      };
      lines.append(
          QStringLiteral("[%1] %2 %3pt fg=%4 bg=%5 b=%6 i=%7 u=%8 s=%9")
              .arg(it.fragment().text(), f.fontFamilies().toStringList().join(','))
              .arg(f.fontPointSize())
              .arg(color(QTextFormat::ForegroundBrush), color(QTextFormat::BackgroundBrush))
              .arg(f.fontWeight() >= QFont::DemiBold)
              .arg(f.fontItalic())
              .arg(f.fontUnderline())
              .arg(f.fontStrikeOut()));
    }
  }
  return lines;
}

}  // namespace reports::testing
