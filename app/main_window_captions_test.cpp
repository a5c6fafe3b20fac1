// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Every toolbar button and menu entry of the main window: caption, tool tip, help context,
// check mark, starting state, and the name assistive technology reads.
#include <gtest/gtest.h>

#include <QAction>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>
#include <QToolTip>

#include "app/window_test_support.h"

namespace app {
namespace {

using platform::testing::AccessibleName;
using testing::ProgressBar;
using testing::WindowTest;

// The caption as it reads: "&&" shows one ampersand, a single one marks the access key.
QString WithoutMnemonic(const char* caption) {
  QString text = QString::fromUtf8(caption);
  text.replace(QLatin1String("&&"), QLatin1String("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  return text;
}

TEST_F(WindowTest, EveryToolbarButtonAndMenuEntryHasItsCaptionAndStartingState) {
  auto window = Start();
  auto* tlb1 = window->findChild<QToolBar*>(QStringLiteral("tlb1"));
  ASSERT_NE(tlb1, nullptr);

  struct Button {
    int entry;  // 1-based position among the toolbar's 11 entries
    const char* key;
    const char* caption;
    const char* toolTip;  // nullptr: none
    bool enabled;         // before any command is wired
  };
  const Button kButtons[] = {
      {1, "find", "&Find 'em", "Start Now", false},
      {2, "options", "Options", nullptr, false},
      {3, "quit", "&Quit", "Quit or Cancel", true},
      {5, "open", "Open", "Open an existing report (rtf or txt)", false},
      {7, "save", "Save", "Save changes to current report", true},
      {9, "print", "&Print", "Print report now", true},
      {11, "help", "Help(F1)", "Use (F1) anytime for context sensitve help", false},
  };
  const QList<QAction*> entries = tlb1->actions();
  ASSERT_EQ(entries.size(), 11);
  int separators = 0;
  for (QAction* entry : entries) separators += entry->isSeparator() ? 1 : 0;
  EXPECT_EQ(separators, 4);
  for (const Button& b : kButtons) {
    SCOPED_TRACE(b.key);
    QAction* action = entries.at(b.entry - 1);
    EXPECT_EQ(action->property("key").toString(), QLatin1String(b.key));
    EXPECT_EQ(action->text(), QString::fromUtf8(b.caption));
    EXPECT_EQ(action->isEnabled(), b.enabled);
    EXPECT_FALSE(action->icon().pixmap(32).isNull());
    QWidget* button = tlb1->widgetForAction(action);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(AccessibleName(button), WithoutMnemonic(b.caption));
    if (b.toolTip != nullptr) {
      EXPECT_EQ(action->toolTip(), QString::fromUtf8(b.toolTip));
    } else {
      // Qt would show the caption; the button answers the tool tip request itself.
      QHelpEvent event(QEvent::ToolTip, QPoint(1, 1), button->mapToGlobal(QPoint(1, 1)));
      EXPECT_TRUE(QApplication::sendEvent(button, &event));
      EXPECT_FALSE(QToolTip::isVisible());
    }
  }

  struct Entry {
    const char* menu;
    const char* name;
    const char* caption;
    int helpContext;  // -1: none
    bool checkable;
    bool enabled;  // before any command is wired
  };
  // The sound entry's caption is set by the start-up, here without sound: "Turn &Sounds On".
  const Entry kEntries[] = {
      {"mnuReports", "mnuCreate", "&Create (Find Changes)", 3, false, false},
      {"mnuReports", "mnuOpen", "&Open Existing Report", -1, false, false},
      {"mnuReports", "mnuCompare", "Compare With an Earlier Run...", 15, false, false},
      {"mnuReports", "mnuSave", "&Save Report", -1, false, false},
      {"mnuReports", "mnuSaveAs", "Save &As", -1, false, false},
      {"mnuReports", "mnuPrint", "&Print", -1, false, false},
      {"mnuReports", "mnuPrintSel", "P&rinting Options", 9, false, false},
      {"mnuOptions", "mnuIgnore", "Set Folders to &Ignore", 6, false, false},
      {"mnuOptions", "mnuFolderDrives", "&Folders Watched as Drives...", 14, false, false},
      {"mnuOptions", "mnuSound", "Turn &Sounds On", 4, false, true},
      {"mnuOptions", "mnuRecycled", "&Include Recycle Bins", 13, true, true},
      {"mnuOptions", "mnuHidden", "Include &Hidden Files and Folders", 4, true, true},
      {"mnuOptions", "mnuInfoOnly", "&Next Run is Info Only", 7, true, true},
      {"mnuOptions", "mnuPrintOptions2", "P&rinting Options", 9, false, false},
      {"mnuHelp", "mnuHelpContents", "&Contents", -1, false, false},
      {"mnuHelp", "mnuHelpIndex", "&Index", -1, false, false},
      {"mnuHelp", "mnuAbout", "&About", 1, false, false},
      {"mnuHelp", "mnuOnline", "Orlo Online (&Go)", -1, false, false},
  };
  const struct {
    const char* name;
    const char* caption;
  } kMenus[] = {{"mnuReports", "&Reports"}, {"mnuOptions", "&Options"}, {"mnuHelp", "&Help"}};

  const QList<QAction*> bar = window->menuBar()->actions();
  ASSERT_EQ(bar.size(), 3);
  int row = 0;
  for (int m = 0; m < 3; ++m) {
    SCOPED_TRACE(kMenus[m].name);
    QMenu* menu = bar.at(m)->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QLatin1String(kMenus[m].name));
    EXPECT_EQ(bar.at(m)->text(), QString::fromUtf8(kMenus[m].caption));
    EXPECT_TRUE(bar.at(m)->isEnabled());
    QAccessibleInterface* barFace = QAccessible::queryAccessibleInterface(window->menuBar());
    ASSERT_NE(barFace, nullptr);
    EXPECT_EQ(barFace->child(m)->text(QAccessible::Name), WithoutMnemonic(kMenus[m].caption));

    QAccessibleInterface* menuFace = QAccessible::queryAccessibleInterface(menu);
    ASSERT_NE(menuFace, nullptr);
    const QList<QAction*> actions = menu->actions();
    for (int i = 0; i < actions.size(); ++i, ++row) {
      ASSERT_LT(row, int(std::size(kEntries)));
      const Entry& e = kEntries[row];
      SCOPED_TRACE(e.name);
      QAction* action = actions.at(i);
      EXPECT_EQ(QLatin1String(e.menu), QLatin1String(kMenus[m].name));
      EXPECT_EQ(action->objectName(), QLatin1String(e.name));
      EXPECT_EQ(action->text(), QString::fromUtf8(e.caption));
      EXPECT_EQ(
          action->property("helpContext").isValid() ? action->property("helpContext").toInt() : -1,
          e.helpContext);
      EXPECT_EQ(action->isCheckable(), e.checkable);
      EXPECT_FALSE(action->isChecked());
      EXPECT_EQ(action->isEnabled(), e.enabled);
      EXPECT_EQ(menuFace->child(i)->text(QAccessible::Name), WithoutMnemonic(e.caption));
    }
  }
  EXPECT_EQ(row, int(std::size(kEntries)));

  EXPECT_EQ(window->windowTitle(), QStringLiteral("Brinvale"));
  EXPECT_EQ(window->objectName(), QStringLiteral("frmMain"));
  EXPECT_EQ(window->property("helpContext").toInt(), 10);
  EXPECT_EQ(window->menuBar()->actions().at(1)->property("helpContext").toInt(), 4);
  EXPECT_FALSE(window->windowIcon().pixmap(64).isNull());
  EXPECT_EQ(AccessibleName(window->reportView()), QStringLiteral("Report"));
  EXPECT_EQ(AccessibleName(ProgressBar(*window)), QStringLiteral("Progress"));
}

}  // namespace
}  // namespace app
