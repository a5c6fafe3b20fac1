// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The help topics compiled into the program: which topic answers which help context, the
// contents list, the keyword index and the full-text search over the topics' text.
#pragma once

#include <QString>
#include <QUrl>
#include <vector>

namespace help {

// The help context of the contents page, and the one F1 uses when nothing else has one.
inline constexpr int kContentsContext = 0;
inline constexpr int kMainWindowContext = 10;
// A topic that no control opens by F1; it is reached from the contents, links, index, search.
inline constexpr int kNoContext = -1;

struct Topic {
  QUrl url;                  // qrc:/help/topics/<file>.html
  int context = kNoContext;  // the help context the topic answers
  QString title;             // the topic's <title>
};

struct IndexEntry {
  QString keyword;     // as the index lists it
  QUrl url;            // the topic, with a #fragment when the entry names a section
  QString topicTitle;  // the title of the topic the entry leads to
};

struct SearchHit {
  QUrl url;
  QString title;
  int score = 0;  // higher is better
};

// Every topic in the order of the contents list, the contents page first. The titles and
// keywords are read from the compiled-in topics on the first call. REQUIRES: a
// QGuiApplication exists (the topics' text is taken from a QTextDocument). GUI thread only.
[[nodiscard]] const std::vector<Topic>& Topics();

// The topic for `context`; the contents page for kContentsContext and for every number
// that no topic answers.
[[nodiscard]] QUrl TopicUrl(int context);
[[nodiscard]] QUrl ContentsUrl();

// The keyword index: the keywords each topic names in its <meta name="keywords"> (items
// separated by ';', an item may end in #anchor to lead to a section), sorted by keyword
// ignoring case. Same requirements as Topics().
[[nodiscard]] const std::vector<IndexEntry>& IndexEntries();

// The topics whose title, keywords or text hold every word of `query` (words are separated
// by blanks; matching ignores case), best first: a word in the title counts most, then a
// word among the keywords, then each time it occurs in the text. An empty query finds
// nothing. Same requirements as Topics().
[[nodiscard]] std::vector<SearchHit> Search(const QString& query);

// The plain text of the topic at `url` as the help window shows it; empty when there is no
// such topic.
[[nodiscard]] QString TopicText(const QUrl& url);

// Makes the compiled-in topics reachable under qrc:/help/. Everything above calls it; call
// it yourself before reading the resources directly. Safe to call more than once.
void InitHelpResources();

}  // namespace help
