// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The web entry: the address goes to the desktop, no address opens the help's contents, and
// a failure comes back as one message.
#include "help/web_entry.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include <string_view>

#include "help/help_test_support.h"
#include "help/help_topics.h"
#include "help/help_window.h"

namespace help {
namespace {

// Stands in for the desktop's browser: records the addresses it is asked to open.
class BrowserStandIn : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void openUrl(const QUrl& url) { opened.append(url); }
};

class WebEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* scheme : {"http", "https"}) {
      QDesktopServices::setUrlHandler(QLatin1String(scheme), &m_browser, "openUrl");
    }
  }
  void TearDown() override {
    for (const char* scheme : {"http", "https"}) {
      QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
  }

  BrowserStandIn m_browser;
  int m_contentsShown = 0;
  std::function<void()> m_showContents = [this] { ++m_contentsShown; };
};

TEST_F(WebEntryTest, AnAddressOpensInTheBrowserNotTheHelp) {
  EXPECT_EQ(OpenWebEntry(QStringLiteral("https://brinvale.example/news"), m_showContents),
            QString());
  // An address without a scheme is a web address.
  EXPECT_EQ(OpenWebEntry(QStringLiteral(" www.brinvale.example "), m_showContents), QString());
  EXPECT_EQ(m_browser.opened, (QList<QUrl>{QUrl("https://brinvale.example/news"),
                                           QUrl("http://www.brinvale.example")}));
  EXPECT_EQ(m_contentsShown, 0);
}

TEST_F(WebEntryTest, WithoutAWebPageTheEntryOpensTheHelpContents) {
  EXPECT_EQ(OpenWebEntry(QString(), m_showContents), QString());
  EXPECT_EQ(m_contentsShown, 1);
  EXPECT_TRUE(m_browser.opened.isEmpty());

  // The entry as the menu calls it, with the program's own address and help window.
  QWidget mainWindow;
  auto* helpWindow = new HelpWindow(&mainWindow);
  EXPECT_EQ(OpenProjectWebPage([helpWindow] { helpWindow->showContents(); }), QString());
  if (std::string_view(kProjectWebAddress).empty()) {
    EXPECT_TRUE(helpWindow->isVisible());
    EXPECT_EQ(helpWindow->currentUrl(), ContentsUrl());
    EXPECT_TRUE(m_browser.opened.isEmpty());
  } else {
    EXPECT_FALSE(helpWindow->isVisible());
    EXPECT_EQ(m_browser.opened, QList<QUrl>{QUrl::fromUserInput(kProjectWebAddress)});
  }
}

TEST_F(WebEntryTest, AFailureToOpenIsOneMessage) {
  // A handler the desktop cannot call fails as a browser that cannot start does.
  QObject noBrowser;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &noBrowser, "openUrl");
  const QString failed = OpenWebEntry(QStringLiteral("https://brinvale.example"), m_showContents);
  EXPECT_TRUE(failed.contains(QStringLiteral("https://brinvale.example"))) << failed.toStdString();
  EXPECT_TRUE(failed.contains(QStringLiteral("could not be opened"))) << failed.toStdString();
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));

  const QString invalid = OpenWebEntry(QStringLiteral("http://"), m_showContents);
  EXPECT_TRUE(invalid.contains(QStringLiteral("not valid"))) << invalid.toStdString();
  EXPECT_TRUE(m_browser.opened.isEmpty());
  EXPECT_EQ(m_contentsShown, 0);
}

}  // namespace
}  // namespace help

#include "web_entry_test.moc"
