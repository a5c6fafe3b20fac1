// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// F1 finds the help context of the focused control, the open modal dialog or the
// highlighted menu entry, and opens the help once.
#include "help/help_key_filter.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>
#include <vector>

#include "help/help_test_support.h"
#include "help/help_topics.h"
#include "platform/testing/modal_dialogs.h"

namespace help {
namespace {

class HelpKeyFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_filter =
        std::make_unique<HelpKeyFilter>([this](int context) { m_opened.push_back(context); });
    qApp->installEventFilter(m_filter.get());
  }
  void TearDown() override { qApp->removeEventFilter(m_filter.get()); }

  static void Activate(QWidget* window) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }

  // Presses F1 in `widget` after giving it the focus.
  static void PressF1In(QWidget* widget) {
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_F1);
  }

  std::vector<int> m_opened;
  std::unique_ptr<HelpKeyFilter> m_filter;
};

TEST_F(HelpKeyFilterTest, FocusedControlOrItsNearestParentWithAContext) {
  QWidget window;
  auto* panel = new QWidget(&window);
  panel->setProperty(kHelpContextProperty, 6);
  auto* plain = new QLineEdit(panel);
  auto* own = new QLineEdit(panel);
  own->setProperty(kHelpContextProperty, 9);
  auto* outside = new QLineEdit(&window);
  auto* notANumber = new QLineEdit(&window);
  notANumber->setProperty(kHelpContextProperty, QStringLiteral("nine"));
  auto* layout = new QVBoxLayout(&window);
  for (QWidget* w : {static_cast<QWidget*>(panel), static_cast<QWidget*>(outside),
                     static_cast<QWidget*>(notANumber)}) {
    layout->addWidget(w);
  }
  new QVBoxLayout(panel);
  panel->layout()->addWidget(plain);
  panel->layout()->addWidget(own);
  Activate(&window);

  PressF1In(plain);
  PressF1In(own);
  PressF1In(outside);
  PressF1In(notANumber);
  EXPECT_EQ(m_opened, (std::vector<int>{6, 9, kMainWindowContext, kMainWindowContext}));

  // Only a plain F1 is help; Shift+F1 and other keys reach the control untouched.
  m_opened.clear();
  QTest::keyClick(plain, Qt::Key_F1, Qt::ShiftModifier);
  QTest::keyClicks(plain, QStringLiteral("ab"));
  EXPECT_TRUE(m_opened.empty());
  EXPECT_EQ(plain->text(), QStringLiteral("ab"));

  // The window itself gives its context when it has one; a held-down F1 opens help once.
  window.setProperty(kHelpContextProperty, 10);
  EXPECT_EQ(HelpContextOf(outside), 10);
  EXPECT_EQ(HelpContextOf(nullptr), kMainWindowContext);
  QTest::keyPress(outside, Qt::Key_F1);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(outside, &repeat);
  QTest::keyRelease(outside, Qt::Key_F1);
  EXPECT_EQ(m_opened, (std::vector<int>{10}));
}

TEST_F(HelpKeyFilterTest, InsideModalDialogsTheDialogsContextCounts) {
  QWidget mainWindow;
  mainWindow.setProperty(kHelpContextProperty, kMainWindowContext);
  Activate(&mainWindow);

  QDialog options(&mainWindow);
  options.setProperty(kHelpContextProperty, 4);
  auto* field = new QLineEdit(&options);
  (new QVBoxLayout(&options))->addWidget(field);
  QDialog ignoreEditor(&options);
  ignoreEditor.setProperty(kHelpContextProperty, 6);
  auto* list = new QLineEdit(&ignoreEditor);
  (new QVBoxLayout(&ignoreEditor))->addWidget(list);
  QDialog noTopic(&mainWindow);  // a dialog without a topic of its own

  options.setObjectName(QStringLiteral("options"));
  ignoreEditor.setObjectName(QStringLiteral("ignoreEditor"));
  noTopic.setObjectName(QStringLiteral("noTopic"));

  // F1 in each dialog as it comes; the editor opens over the options, and the options have
  // their own context again once it has closed.
  {
    platform::testing::DialogScript script;
    script
        .then("options",
              [&](QWidget*) {
                PressF1In(field);
                ignoreEditor.exec();
                PressF1In(field);
                options.accept();
              })
        .then("ignoreEditor",
              [&](QWidget*) {
                PressF1In(list);
                ignoreEditor.accept();
              })
        .then("noTopic", [&](QWidget* dialog) {
          QTest::keyClick(dialog, Qt::Key_F1);
          noTopic.reject();
        });
    options.exec();
    noTopic.exec();
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(m_opened, (std::vector<int>{4, 6, 4, kMainWindowContext}));
}

TEST_F(HelpKeyFilterTest, OpenMenuGivesTheHighlightedEntrysContextAndCloses) {
  QWidget window;
  window.setProperty(kHelpContextProperty, kMainWindowContext);
  auto* bar = new QMenuBar(&window);
  QMenu* options = bar->addMenu(QStringLiteral("&Options"));
  options->menuAction()->setProperty(kHelpContextProperty, 4);
  QAction* ignore = options->addAction(QStringLiteral("Set Folders to &Ignore"));
  ignore->setProperty(kHelpContextProperty, 6);
  QAction* recycled = options->addAction(QStringLiteral("&Include Recycle Bins"));
  recycled->setProperty(kHelpContextProperty, 13);
  QAction* sound = options->addAction(QStringLiteral("Turn Off &Sounds"));
  QMenu* reports = bar->addMenu(QStringLiteral("&Reports"));
  QAction* open = reports->addAction(QStringLiteral("&Open Existing Report"));
  auto* field = new QLineEdit(&window);
  field->setProperty(kHelpContextProperty, 9);
  QMenu fieldMenu(field);  // a control's own menu, as a right click shows it
  QAction* copy = fieldMenu.addAction(QStringLiteral("&Copy"));
  (new QVBoxLayout(&window))->addWidget(field);
  Activate(&window);

  const auto f1OnEntry = [](QMenu* menu, QAction* entry) {
    menu->popup(QPoint(10, 10));
    if (!QTest::qWaitFor([menu] { return QApplication::activePopupWidget() == menu; })) {
      return false;
    }
    menu->setActiveAction(entry);
    QTest::keyClick(menu, Qt::Key_F1);
    // The menu gives the keyboard and mouse back to the help window.
    return QTest::qWaitFor([menu] { return !menu->isVisible(); });
  };
  EXPECT_TRUE(f1OnEntry(options, ignore));
  EXPECT_TRUE(f1OnEntry(options, recycled));
  EXPECT_TRUE(f1OnEntry(options, sound));    // no context: the menu's own entry
  EXPECT_TRUE(f1OnEntry(reports, open));     // neither: the window the menu belongs to
  EXPECT_TRUE(f1OnEntry(&fieldMenu, copy));  // a control's menu: that control
  EXPECT_EQ(m_opened, (std::vector<int>{6, 13, 4, kMainWindowContext, 9}));
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(HelpKeyFilterTest, F1TypedIntoTheWindowOpensHelpOnceEvenWithAnF1Shortcut) {
  QWidget window;
  window.setProperty(kHelpContextProperty, 3);
  auto* field = new QLineEdit(&window);
  (new QVBoxLayout(&window))->addWidget(field);
  QAction helpAction(QStringLiteral("&Contents"));
  helpAction.setShortcut(QKeySequence(Qt::Key_F1));
  window.addAction(&helpAction);
  int shortcutFired = 0;
  QObject::connect(&helpAction, &QAction::triggered, [&] { ++shortcutFired; });
  Activate(&window);
  field->setFocus();

  // Through the window, as the keyboard delivers it: shortcut override, then key press.
  QTest::keyClick(window.windowHandle(), Qt::Key_F1);
  EXPECT_EQ(m_opened, (std::vector<int>{3}));
  EXPECT_EQ(shortcutFired, 0);
  EXPECT_EQ(CurrentHelpContext(), 3);
}

}  // namespace
}  // namespace help
