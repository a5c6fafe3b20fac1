// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The about box: its title line from the version it is given, and the three ways "System
// Info..." can go, with stub programs on a temporary PATH.
#include "dialogs/about_dialog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "platform/testing/modal_dialogs.h"

namespace dialogs {
namespace {

using platform::testing::DialogScript;
using platform::testing::MessageSeen;
using platform::testing::Press;

QIcon TestIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::darkCyan);
  return QIcon(pixmap);
}

// A folder that is the whole PATH while the fixture lives, to hold stub programs.
class AboutDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_bin.isValid());
    m_oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_bin.path()));
  }
  void TearDown() override { qputenv("PATH", m_oldPath); }

  // A program `name` on PATH that writes its name to the file "started". With
  // `interpreter` naming a missing program, it cannot be started.
  void AddProgram(const QString& name, const QString& interpreter = "/bin/sh") {
    QFile file(m_bin.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("#!%1\necho %2 > '%3'\n")
                   .arg(interpreter, name, m_bin.filePath("started"))
                   .toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  QString Started() {
    QFile file(m_bin.filePath("started"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
  }

  static void ClickSystemInfo(AboutDialog& dialog) {
    dialog.findChild<QPushButton*>("cmdSysInfo")->click();
  }

  QTemporaryDir m_bin;
  QByteArray m_oldPath;
};

TEST_F(AboutDialogTest, TitleLineTakesTheVersionGiven) {
  AboutDialog dialog(TestIcon(), "9.8.7");
  EXPECT_EQ(dialog.findChild<QLabel*>("lblTitle")->text(), "Brinvale, Version 9.8.7");
  EXPECT_FALSE(dialog.findChild<QLabel*>("picIcon")->pixmap().isNull());
  EXPECT_FALSE(dialog.windowIcon().isNull());
}

TEST_F(AboutDialogTest, SystemInfoStartsTheFirstProgramFoundOnPath) {
  AddProgram("gnome-system-monitor");
  AddProgram("kinfocenter");
  EXPECT_EQ(FindSystemInfoProgram(), m_bin.filePath("kinfocenter"));
  AboutDialog dialog(TestIcon(), "1.0.1");
  dialog.show();
  platform::testing::DialogScript none;  // asks nothing
  ClickSystemInfo(dialog);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Started().isEmpty(); }, 5000));
  EXPECT_EQ(Started(), "kinfocenter");
}

TEST_F(AboutDialogTest, NoProgramOrOneThatFailsToStartGivesTheSameMessage) {
  AboutDialog dialog(TestIcon(), "1.0.1");
  dialog.show();
  MessageSeen seen;
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
    ClickSystemInfo(dialog);
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(seen.text, "System Information Is Unavailable At This Time");
  EXPECT_EQ(seen.title, "Brinvale");

  // The first one found cannot start; a later one is not tried instead.
  AddProgram("hardinfo2", "/nonexistent/interpreter");
  AddProgram("kinfocenter");
  seen = {};
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
    ClickSystemInfo(dialog);
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(seen.text, "System Information Is Unavailable At This Time");
  EXPECT_TRUE(Started().isEmpty());
  EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
}  // namespace dialogs
