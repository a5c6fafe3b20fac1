// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_texts.h"

#include <vector>

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

namespace app {
namespace {

constexpr char kContext[] = "RunTexts";

// Every text of the run in its English form, %1, %2... where the engine puts a name, a
// figure or a text of the system's own.
constexpr const char* kForms[] = {
    // Progress captions
    QT_TRANSLATE_NOOP("RunTexts", "Loading Structure:  %1  :  %2 Directories"),
    QT_TRANSLATE_NOOP("RunTexts", "Loading Structure:  %1"),
    QT_TRANSLATE_NOOP("RunTexts", "Loading %1 Folders"),
    QT_TRANSLATE_NOOP("RunTexts", "Profiling %1 of %2 in %3"),
    QT_TRANSLATE_NOOP("RunTexts", "Profiling %1 Files in %2"),
    QT_TRANSLATE_NOOP("RunTexts", "Changes in %1"),
    QT_TRANSLATE_NOOP("RunTexts", "Updating %1"),
    // Questions
    QT_TRANSLATE_NOOP("RunTexts", "Create New Profile(s)?"),
    QT_TRANSLATE_NOOP("RunTexts",
                      "I do not yet have a profile for %1 of the drives you selected.\n"
                      "Do you want to create it now?"),
    QT_TRANSLATE_NOOP("RunTexts",
                      "I do not yet have profiles for %1 of the drives you selected.\n"
                      "Do you want to create them now?"),
    // Messages
    QT_TRANSLATE_NOOP("RunTexts",
                      "Some places of drive %1 could not be read; what they held at the last "
                      "run is kept in its profile:\n%2"),
    QT_TRANSLATE_NOOP("RunTexts",
                      "Some places of drive %1 could not be read and were left out:\n%2"),
    QT_TRANSLATE_NOOP("RunTexts", "Drive %1 was skipped and its profile kept:\n%2"),
    QT_TRANSLATE_NOOP("RunTexts",
                      "The Ignore list could not be read, so no folder is ignored in this run.\n"
                      "%1"),
    QT_TRANSLATE_NOOP("RunTexts", "Some lines of the Ignore list were read as meant:\n%1"),
    QT_TRANSLATE_NOOP("RunTexts",
                      "The report could not be saved: %1\nThe profiles of %2 were kept, so the "
                      "next run reports their changes again."),
    QT_TRANSLATE_NOOP("RunTexts",
                      "The report could not be saved: %1\nThe profile of %2 was kept, so the "
                      "next run reports its changes again."),
    QT_TRANSLATE_NOOP("RunTexts",
                      "A replaced profile could not be kept in the History folder; the run went "
                      "on without it:\n%1"),
    QT_TRANSLATE_NOOP("RunTexts",
                      "Which hidden-files setting the new profiles were made with could not be "
                      "recorded, so the next run may not say why hidden files show as added or "
                      "deleted:\n%1"),
    // A drive's notice in the status bar
    QT_TRANSLATE_NOOP("RunTexts",
                      "Hidden files are now included for %1: their files show as added this "
                      "once."),
    QT_TRANSLATE_NOOP("RunTexts",
                      "Hidden files are now left out for %1: their files show as deleted this "
                      "once."),
};

struct Form {
  const char* english;
  QRegularExpression pattern;  // the whole text; one group for each %N, in order
  std::vector<int> numbers;    // the N of each group
  bool opensParagraph;         // begins with words of its own, not a %N
};

std::vector<Form> MakeForms() {
  static const QRegularExpression placeholder(QStringLiteral("%(\\d)"));
  std::vector<Form> forms;
  for (const char* english : kForms) {
    const QString text = QString::fromUtf8(english);
    Form form{english, {}, {}, !text.startsWith(QLatin1Char('%'))};
    QString pattern = QStringLiteral("\\A");
    qsizetype at = 0;
    auto it = placeholder.globalMatch(text);
    while (it.hasNext()) {
      const QRegularExpressionMatch m = it.next();
      pattern += QRegularExpression::escape(text.mid(at, m.capturedStart() - at));
      // A name or figure stops at the first place the rest can follow; the last one takes
      // what is left, which may be several lines.
      pattern += it.hasNext() ? QStringLiteral("(.*?)") : QStringLiteral("(.*)");
      form.numbers.push_back(m.captured(1).toInt());
      at = m.capturedEnd();
    }
    pattern += QRegularExpression::escape(text.mid(at)) + QStringLiteral("\\z");
    form.pattern.setPattern(pattern);
    form.pattern.setPatternOptions(QRegularExpression::DotMatchesEverythingOption);
    form.pattern.optimize();
    forms.push_back(std::move(form));
  }
  return forms;
}

const std::vector<Form>& Forms() {
  static const std::vector<Form> forms = MakeForms();
  return forms;
}

const Form* FormOf(const QString& text, QRegularExpressionMatch* match) {
  for (const Form& form : Forms()) {
    *match = form.pattern.match(text);
    if (match->hasMatch()) return &form;
  }
  return nullptr;
}

// `translated` with each %N replaced by values[N - 1] in one pass, so that a value that
// holds "%2" itself stays as it is.
QString Fill(const QString& translated, const QStringList& values) {
  QString out;
  for (qsizetype i = 0; i < translated.size(); ++i) {
    const QChar c = translated.at(i);
    if (c == QLatin1Char('%') && i + 1 < translated.size() && translated.at(i + 1).isDigit()) {
      const qsizetype n = translated.at(i + 1).digitValue();
      if (n >= 1 && n <= values.size()) {
        out += values.at(n - 1);
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

QString Translate(const QString& text, int depth) {
  QRegularExpressionMatch m;
  const Form* form = FormOf(text, &m);
  if (form == nullptr) return text;
  QStringList values(qsizetype(form->numbers.size()));
  for (std::size_t i = 0; i < form->numbers.size(); ++i) {
    QString value = m.captured(int(i) + 1);
    // The last part may end in a paragraph of a known form after the system's lines.
    if (i + 1 == form->numbers.size() && depth < 4) {
      for (qsizetype line = value.indexOf(QLatin1Char('\n')); line >= 0;
           line = value.indexOf(QLatin1Char('\n'), line + 1)) {
        QRegularExpressionMatch next;
        const QString rest = value.mid(line + 1);
        if (const Form* paragraph = FormOf(rest, &next);
            paragraph != nullptr && paragraph->opensParagraph) {
          value = value.left(line + 1) + Translate(rest, depth + 1);
          break;
        }
      }
    }
    const int number = form->numbers[i];
    if (number >= 1 && number <= values.size()) values[number - 1] = value;
  }
  return Fill(QCoreApplication::translate(kContext, form->english), values);
}

}  // namespace

QString TranslateRunText(std::string_view text) {
  QString shown = QString::fromUtf8(text.data(), qsizetype(text.size()));
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return Translate(shown, 0);
}

}  // namespace app
