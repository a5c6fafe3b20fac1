// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {

QString InstalledTranslationsFolder() {
  return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                         QStringLiteral("/../share/brinvale/translations"));
}

bool InstallTranslators(QCoreApplication* application, const QLocale& locale) {
  // The translators belong to the application and live as long as it does.
  auto* own = new QTranslator(application);
  const bool loaded = own->load(locale, QStringLiteral("brinvale"), QStringLiteral("_"),
                                QStringLiteral(":/i18n")) ||
                      own->load(locale, QStringLiteral("brinvale"), QStringLiteral("_"),
                                InstalledTranslationsFolder());
  if (loaded) {
    QCoreApplication::installTranslator(own);
  } else {
    delete own;
  }
  auto* qt = new QTranslator(application);
  if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qt);
  } else {
    delete qt;
  }
  return loaded;
}

}  // namespace app
