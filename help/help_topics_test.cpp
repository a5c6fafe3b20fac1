// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The compiled-in topics: every topic is listed and reachable, every link and index entry
// leads to an existing topic and section, and the search finds topics by their words.
#include "help/help_topics.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "help/help_test_support.h"

namespace help {
namespace {

class HelpTopicsTest : public ::testing::Test {
 protected:
  static QString Html(const QUrl& url) {
    QFile file(QLatin1Char(':') + url.path());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

  // The anchor names and the link targets of a topic, as the help window reads them.
  struct Parsed {
    QSet<QString> anchors;
    QStringList hrefs;
  };
  static Parsed Parse(const QUrl& url) {
    QTextDocument document;
    document.setHtml(Html(url));
    Parsed parsed;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        for (const QString& name : format.anchorNames()) parsed.anchors.insert(name);
        if (format.isAnchor() && !format.anchorHref().isEmpty()) {
          parsed.hrefs.append(format.anchorHref());
        }
      }
    }
    return parsed;
  }

  static bool IsTopic(const QUrl& url) {
    const QUrl page = url.adjusted(QUrl::RemoveFragment);
    for (const Topic& topic : Topics()) {
      if (topic.url == page) return true;
    }
    return false;
  }

  // Empty when `target` is a topic and, with a fragment, that topic has the anchor.
  static QString Problem(const QUrl& target) {
    if (target.scheme() != QLatin1String("qrc")) return QStringLiteral("leaves the help");
    if (!IsTopic(target)) return QStringLiteral("no such topic");
    if (target.hasFragment() && !Parse(target).anchors.contains(target.fragment())) {
      return QStringLiteral("no such section");
    }
    return {};
  }
};

TEST_F(HelpTopicsTest, EveryTopicFileIsATitledTopicListedOnTheContentsPage) {
  QSet<QString> listed;
  QSet<QString> titles;
  for (const Topic& topic : Topics()) {
    SCOPED_TRACE(topic.url.toString().toStdString());
    EXPECT_FALSE(Html(topic.url).isEmpty());
    EXPECT_FALSE(topic.title.isEmpty());
    EXPECT_FALSE(titles.contains(topic.title)) << "two topics share a title";
    titles.insert(topic.title);
    listed.insert(topic.url.fileName());
  }
  // No topic file is left out of the contents list.
  const QStringList files = QDir(QStringLiteral(":/help/topics")).entryList({"*.html"});
  EXPECT_EQ(QSet<QString>(files.begin(), files.end()), listed);

  // The contents page links to every other topic.
  QSet<QString> linked;
  for (const QString& href : Parse(ContentsUrl()).hrefs) {
    linked.insert(ContentsUrl().resolved(QUrl(href)).fileName());
  }
  listed.remove(ContentsUrl().fileName());
  EXPECT_TRUE(linked.contains(listed)) << "a topic is missing from the contents page";
}

TEST_F(HelpTopicsTest, EveryLinkLeadsToAnExistingTopicAndSection) {
  int checked = 0;
  for (const Topic& topic : Topics()) {
    for (const QString& href : Parse(topic.url).hrefs) {
      const QUrl target = topic.url.resolved(QUrl(href));
      EXPECT_EQ(Problem(target), QString())
          << topic.url.fileName().toStdString() << " links to " << href.toStdString();
      ++checked;
    }
  }
  // Every topic links at least back to the contents, and most link to others.
  EXPECT_GT(checked, 2 * static_cast<int>(Topics().size()));
}

TEST_F(HelpTopicsTest, IndexEntriesAreSortedAndLeadToExistingSections) {
  const std::vector<IndexEntry>& entries = IndexEntries();
  ASSERT_FALSE(entries.empty());
  QSet<QUrl> reached;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const IndexEntry& entry = entries[i];
    SCOPED_TRACE(entry.keyword.toStdString());
    EXPECT_FALSE(entry.keyword.isEmpty());
    EXPECT_EQ(Problem(entry.url), QString());
    if (i > 0) {
      EXPECT_LE(entries[i - 1].keyword.compare(entry.keyword, Qt::CaseInsensitive), 0);
    }
    reached.insert(entry.url.adjusted(QUrl::RemoveFragment));
  }
  // The index reaches every topic.
  for (const Topic& topic : Topics())
    EXPECT_TRUE(reached.contains(topic.url)) << topic.title.toStdString();

  // Entities in keywords read as their characters; a #section is not part of the keyword.
  const auto byTimeAndDate = std::find_if(entries.begin(), entries.end(), [](const IndexEntry& e) {
    return e.keyword == "by Time & Date";
  });
  ASSERT_NE(byTimeAndDate, entries.end());
  EXPECT_EQ(byTimeAndDate->url.fragment(), QStringLiteral("options"));
}

TEST_F(HelpTopicsTest, SearchFindsTopicsHoldingAllWordsBestFirst) {
  // A word in a topic's title ranks that topic first.
  std::vector<SearchHit> hits = Search(QStringLiteral("recycle"));
  ASSERT_FALSE(hits.empty());
  EXPECT_EQ(hits.front().url, TopicUrl(13));

  hits = Search(QStringLiteral("DRIVES.TXT"));
  ASSERT_FALSE(hits.empty());
  EXPECT_EQ(hits.front().title, QStringLiteral("Drives on Linux"));

  // Every hit holds every word; a topic holding only one of them is left out.
  hits = Search(QStringLiteral("  time   zone "));
  ASSERT_FALSE(hits.empty());
  bool foundComparison = false;
  for (const SearchHit& hit : hits) {
    const QString text = TopicText(hit.url);
    EXPECT_TRUE(text.contains("time", Qt::CaseInsensitive) || hit.title.contains("time"));
    EXPECT_TRUE(text.contains("zone", Qt::CaseInsensitive)) << hit.title.toStdString();
    foundComparison = foundComparison || hit.title == QStringLiteral("What Brinvale compares");
  }
  EXPECT_TRUE(foundComparison);
  for (std::size_t i = 1; i < hits.size(); ++i) EXPECT_GE(hits[i - 1].score, hits[i].score);
  EXPECT_LT(hits.size(), Search(QStringLiteral("time")).size());

  EXPECT_TRUE(Search(QStringLiteral("recycle xyzzy")).empty());
  EXPECT_TRUE(Search(QStringLiteral("   ")).empty());
}

}  // namespace
}  // namespace help
