// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The help window along a user's path: F1 topics by context, the contents, links, Back and
// Forward, the index and the search, and reading the help while a modal dialog is open.
#include "help/help_window.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QWindow>
#include <climits>
#include <memory>

#include "help/help_key_filter.h"
#include "help/help_test_support.h"
#include "help/help_topics.h"
#include "platform/testing/modal_dialogs.h"

namespace help {
namespace {

class HelpWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_mainWindow = std::make_unique<QWidget>();
    m_help = new HelpWindow(m_mainWindow.get());
    m_mainWindow->show();
  }

  template <typename T>
  T* Child(const char* name) {
    T* child = m_help->findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QString PageTitle() { return Child<QTextBrowser>("brwTopic")->documentTitle(); }
  QUrl Page() { return m_help->currentUrl().adjusted(QUrl::RemoveFragment); }

  // The row of `list` whose text is `text`; fails the test when there is none.
  static QListWidgetItem* Row(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    EXPECT_EQ(found.size(), 1) << text.toStdString();
    return found.value(0);
  }

  std::unique_ptr<QWidget> m_mainWindow;
  HelpWindow* m_help = nullptr;  // owned by m_mainWindow
};

TEST_F(HelpWindowTest, EachContextShowsItsTopicAndOtherNumbersTheContents) {
  // The topic's title, and a caption of the window or menu entry it explains.
  struct Case {
    int context;
    const char* title;
    const char* caption;
  };
  const Case cases[] = {
      {1, "About Brinvale", "System Info..."},
      {3, "Finding changes: a run", "Please Select Drive(s) to Scan / Update"},
      {4, "Options and sounds", "Turn Sounds On (Click Here)"},
      {6, "The Ignore list", "These Directory Folders will NOT be checked"},
      {7, "Info-only runs", "Next Run is Info Only"},
      {9, "Printing and printing options", "Printer Selection"},
      {10, "The main window", "Find 'em"},
      {13, "Recycle bins (the trash)", "Include Recycle Bins"},
      {0, "Brinvale Help", "Finding changes"},
      {2, "Brinvale Help", "Finding changes"},
      {-1, "Brinvale Help", "Finding changes"},
      {INT_MAX, "Brinvale Help", "Finding changes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.context);
    m_help->showTopic(c.context);
    EXPECT_TRUE(m_help->isVisible());
    EXPECT_EQ(PageTitle(), QString::fromUtf8(c.title));
    EXPECT_TRUE(m_help->windowTitle().startsWith(QString::fromUtf8(c.title)));
    EXPECT_TRUE(Child<QTextBrowser>("brwTopic")->toPlainText().contains(c.caption));
  }
  EXPECT_EQ(m_help->objectName(), QStringLiteral("frmHelp"));
  EXPECT_TRUE(m_help->isWindow());
  EXPECT_FALSE(m_help->isModal());
}

TEST_F(HelpWindowTest, ContentsLinksAndHistory) {
  auto* browser = Child<QTextBrowser>("brwTopic");
  auto* contents = Child<QListWidget>("lstContents");
  auto* back = Child<QToolButton>("cmdBack");
  auto* forward = Child<QToolButton>("cmdForward");
  m_help->showContents();
  EXPECT_EQ(Page(), ContentsUrl());
  EXPECT_EQ(contents->count(), static_cast<int>(Topics().size()));
  EXPECT_FALSE(back->isEnabled());

  // Showing the page that is shown makes no second history entry.
  m_help->showContents();
  EXPECT_FALSE(back->isEnabled());

  // A contents row, then a link on that page, as a click on it follows it.
  QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                    contents->visualItemRect(Row(contents, "The Ignore list")).center());
  EXPECT_EQ(Page(), TopicUrl(6));
  browser->setSource(browser->source().resolved(QUrl("options.html")));
  EXPECT_EQ(PageTitle(), QStringLiteral("Options and sounds"));
  EXPECT_EQ(contents->currentItem()->text(), QStringLiteral("Options and sounds"));

  QTest::mouseClick(back, Qt::LeftButton);
  EXPECT_EQ(Page(), TopicUrl(6));
  QTest::mouseClick(back, Qt::LeftButton);
  EXPECT_EQ(Page(), ContentsUrl());
  EXPECT_FALSE(back->isEnabled());
  QTest::mouseClick(forward, Qt::LeftButton);
  EXPECT_EQ(Page(), TopicUrl(6));
  QTest::mouseClick(Child<QToolButton>("cmdHome"), Qt::LeftButton);
  EXPECT_EQ(Page(), ContentsUrl());
  EXPECT_FALSE(forward->isEnabled());

  // Closing only hides the window; the next topic brings it back, also from minimised.
  m_help->close();
  EXPECT_FALSE(m_help->isVisible());
  m_help->showTopic(13);
  EXPECT_TRUE(m_help->isVisible());
  m_help->showMinimized();
  m_help->showTopic(7);
  EXPECT_FALSE(m_help->isMinimized());
  EXPECT_EQ(PageTitle(), QStringLiteral("Info-only runs"));
}

TEST_F(HelpWindowTest, IndexAndSearchOpenTheTopicThatHoldsTheWords) {
  m_help->showContents();
  auto* tabs = Child<QTabWidget>("tabHelp");
  auto* keyword = Child<QLineEdit>("txtIndex");
  auto* index = Child<QListWidget>("lstIndex");
  tabs->setCurrentIndex(1);
  QTest::keyClicks(keyword, QStringLiteral("drives.t"));
  ASSERT_NE(index->currentItem(), nullptr);
  // drives.txt is a keyword of more than one topic; each row names its topic.
  EXPECT_EQ(index->currentItem()->text(), QStringLiteral("drives.txt (Drives on Linux)"));
  QTest::keyClick(keyword, Qt::Key_Return);
  EXPECT_EQ(Page(), ContentsUrl().resolved(QUrl("drives.html")));
  EXPECT_EQ(m_help->currentUrl().fragment(), QStringLiteral("drives-txt"));

  // A keyword is found by a word inside it too.
  keyword->clear();
  QTest::keyClicks(keyword, QStringLiteral("apear"));
  ASSERT_NE(index->currentItem(), nullptr);
  EXPECT_TRUE(index->currentItem()->text().contains("There does not apear"));

  tabs->setCurrentIndex(2);
  auto* words = Child<QLineEdit>("txtSearch");
  auto* hits = Child<QListWidget>("lstSearch");
  auto* state = Child<QLabel>("lblSearch");
  QTest::keyClicks(words, QStringLiteral("zone"));
  ASSERT_GT(hits->count(), 0);
  EXPECT_TRUE(state->text().contains("found"));
  const QString first = hits->item(0)->text();
  QTest::keyClick(words, Qt::Key_Return);
  EXPECT_EQ(PageTitle(), first);
  // The page opens at the first place that holds the word.
  EXPECT_EQ(Child<QTextBrowser>("brwTopic")->textCursor().selectedText().toLower(),
            QStringLiteral("zone"));

  QTest::keyClicks(words, QStringLiteral(" xyzzy"));
  EXPECT_EQ(hits->count(), 0);
  EXPECT_EQ(state->text(), QStringLiteral("No topic holds all of these words."));
  QTest::keyClick(words, Qt::Key_Return);  // nothing to open: the page stays
  EXPECT_EQ(PageTitle(), first);
}

TEST_F(HelpWindowTest, HelpOpenedFromAModalDialogCanBeUsed) {
  m_mainWindow->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(m_mainWindow.get()));
  QDialog options(m_mainWindow.get());
  options.setProperty(kHelpContextProperty, 4);
  auto* field = new QLineEdit(&options);
  field->setProperty(kHelpContextProperty, 4);
  HelpKeyFilter filter([this](int context) { m_help->showTopic(context); });
  qApp->installEventFilter(&filter);

  options.setObjectName(QStringLiteral("options"));
  bool helpCame = false;
  QUrl clicked;
  QUrl helpOnHelp;
  platform::testing::DialogScript script;
  script.then("options", [&](QWidget*) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_F1);
    helpCame = QTest::qWaitForWindowExposed(m_help);
    // A click into the help window, delivered as the window system delivers it, so that
    // a window blocked by the dialog would not get it.
    auto* contents = Child<QListWidget>("lstContents");
    const QRect row = contents->visualItemRect(Row(contents, "The Ignore list"));
    const QPoint at = contents->viewport()->mapTo(m_help, row.center());
    QTest::mouseClick(m_help->windowHandle(), Qt::LeftButton, {}, at);
    clicked = Page();
    // F1 in the help window itself, the dialog still open: how to use the help.
    m_help->activateWindow();
    if (QTest::qWaitForWindowActive(m_help)) {
      contents->setFocus();
      QTest::keyClick(contents, Qt::Key_F1);
      helpOnHelp = Page();
    }
    options.accept();
  });
  options.exec();
  qApp->removeEventFilter(&filter);

  ASSERT_TRUE(script.done());
  EXPECT_TRUE(helpCame);
  EXPECT_EQ(clicked, TopicUrl(6));
  EXPECT_EQ(helpOnHelp, ContentsUrl());
  // Once the dialog is gone the help belongs to the main window again.
  m_help->showTopic(10);
  EXPECT_EQ(m_help->windowHandle()->transientParent(), m_mainWindow->windowHandle());
}

}  // namespace
}  // namespace help
