// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_topics.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextDocument>
#include <algorithm>

// Q_INIT_RESOURCE declares the resource's init function where it is used, so it must be
// used outside any namespace.
static void InitHelpQrc() { Q_INIT_RESOURCE(help); }

namespace help {
namespace {

constexpr char kTopicFolder[] = "qrc:/help/topics/";

struct TopicFile {
  const char* file;
  int context;
};

// The contents list, in order. Each help context has exactly one topic.
constexpr TopicFile kTopicFiles[] = {
    {"contents.html", kContentsContext},
    {"getting_started.html", kNoContext},
    {"main_window.html", kMainWindowContext},
    {"finding_changes.html", 3},
    {"drives.html", 14},
    {"reading_reports.html", kNoContext},
    {"what_is_compared.html", kNoContext},
    {"saving_opening.html", kNoContext},
    {"options.html", 4},
    {"ignore_list.html", 6},
    {"info_only.html", 7},
    {"history.html", kNoContext},
    {"compare_runs.html", 15},
    {"recycle_bins.html", 13},
    {"printing.html", 9},
    {"command_line.html", kNoContext},
    {"program_folder.html", kNoContext},
    {"troubleshooting.html", kNoContext},
    {"using_help.html", kNoContext},
    {"about.html", 1},
};

struct LoadedTopic {
  Topic topic;
  QString text;              // plain text, as shown
  QStringList keywordItems;  // the meta keywords, each possibly ending in #anchor
};

QUrl UrlOf(const char* file) { return QUrl(QString::fromLatin1(kTopicFolder) + file); }

QString ResourcePath(const QUrl& url) { return QLatin1Char(':') + url.path(); }

QString ReadResource(const QUrl& url) {
  QFile file(ResourcePath(url));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

// The few entities a keyword may hold; QTextDocument does not read <meta>.
QString DecodeEntities(QString text) {
  text.replace(QLatin1String("&lt;"), QLatin1String("<"));
  text.replace(QLatin1String("&gt;"), QLatin1String(">"));
  text.replace(QLatin1String("&quot;"), QLatin1String("\""));
  text.replace(QLatin1String("&#39;"), QLatin1String("'"));
  text.replace(QLatin1String("&amp;"), QLatin1String("&"));
  return text;
}

QStringList KeywordItems(const QString& html) {
  static const QRegularExpression meta(
      QStringLiteral(R"re(<meta\s+name\s*=\s*"keywords"\s+content\s*=\s*"([^"]*)")re"),
      QRegularExpression::CaseInsensitiveOption);
  QStringList items;
  const QRegularExpressionMatch match = meta.match(html);
  if (!match.hasMatch()) return items;
  // Entities first: "&amp;" holds the separator.
  for (const QString& item : DecodeEntities(match.captured(1)).split(QLatin1Char(';'))) {
    const QString trimmed = item.trimmed();
    if (!trimmed.isEmpty()) items.append(trimmed);
  }
  return items;
}

const std::vector<LoadedTopic>& Loaded() {
  static const std::vector<LoadedTopic> topics = [] {
    InitHelpResources();
    std::vector<LoadedTopic> all;
    for (const TopicFile& file : kTopicFiles) {
      LoadedTopic loaded;
      loaded.topic.url = UrlOf(file.file);
      loaded.topic.context = file.context;
      const QString html = ReadResource(loaded.topic.url);
      QTextDocument document;
      document.setHtml(html);
      loaded.topic.title = document.metaInformation(QTextDocument::DocumentTitle);
      loaded.text = document.toPlainText();
      loaded.keywordItems = KeywordItems(html);
      all.push_back(std::move(loaded));
    }
    return all;
  }();
  return topics;
}

const LoadedTopic* Find(const QUrl& url) {
  const QUrl page = url.adjusted(QUrl::RemoveFragment);
  for (const LoadedTopic& loaded : Loaded()) {
    if (loaded.topic.url == page) return &loaded;
  }
  return nullptr;
}

}  // namespace

void InitHelpResources() { InitHelpQrc(); }

const std::vector<Topic>& Topics() {
  static const std::vector<Topic> topics = [] {
    std::vector<Topic> all;
    for (const LoadedTopic& loaded : Loaded()) all.push_back(loaded.topic);
    return all;
  }();
  return topics;
}

QUrl ContentsUrl() { return TopicUrl(kContentsContext); }

QUrl TopicUrl(int context) {
  if (context != kNoContext) {
    for (const TopicFile& file : kTopicFiles) {
      if (file.context == context) return UrlOf(file.file);
    }
  }
  return UrlOf(kTopicFiles[0].file);
}

const std::vector<IndexEntry>& IndexEntries() {
  static const std::vector<IndexEntry> entries = [] {
    std::vector<IndexEntry> all;
    for (const LoadedTopic& loaded : Loaded()) {
      for (const QString& item : loaded.keywordItems) {
        IndexEntry entry;
        entry.url = loaded.topic.url;
        entry.topicTitle = loaded.topic.title;
        // A '#' leads to a section; keywords themselves never hold one.
        const qsizetype hash = item.indexOf(QLatin1Char('#'));
        entry.keyword = item.left(hash).trimmed();
        if (hash >= 0) entry.url.setFragment(item.mid(hash + 1).trimmed());
        all.push_back(std::move(entry));
      }
    }
    std::stable_sort(all.begin(), all.end(), [](const IndexEntry& a, const IndexEntry& b) {
      return a.keyword.compare(b.keyword, Qt::CaseInsensitive) < 0;
    });
    return all;
  }();
  return entries;
}

std::vector<SearchHit> Search(const QString& query) {
  const QStringList words = query.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
  std::vector<SearchHit> hits;
  if (words.isEmpty()) return hits;
  for (const LoadedTopic& loaded : Loaded()) {
    const QString keywords = loaded.keywordItems.join(QLatin1Char(' '));
    int score = 0;
    bool all = true;
    for (const QString& word : words) {
      const int inTitle = loaded.topic.title.contains(word, Qt::CaseInsensitive) ? 1 : 0;
      const int inKeywords = keywords.contains(word, Qt::CaseInsensitive) ? 1 : 0;
      const auto inText = static_cast<int>(loaded.text.count(word, Qt::CaseInsensitive));
      if (inTitle + inKeywords + inText == 0) {
        all = false;
        break;
      }
      score += 20 * inTitle + 5 * inKeywords + inText;
    }
    if (all) hits.push_back({loaded.topic.url, loaded.topic.title, score});
  }
  // Equal scores keep the order of the contents list.
  std::stable_sort(hits.begin(), hits.end(),
                   [](const SearchHit& a, const SearchHit& b) { return a.score > b.score; });
  return hits;
}

QString TopicText(const QUrl& url) {
  const LoadedTopic* loaded = Find(url);
  return loaded ? loaded->text : QString();
}

}  // namespace help
