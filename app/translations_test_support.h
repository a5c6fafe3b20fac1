// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The window in German for the length of a test: the translators that app::InstallTranslators
// puts on the application, removed again at the end so that the next test reads English.
#pragma once

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include "app/translations.h"

namespace app::testing {

class ScopedLanguage {
 public:
  explicit ScopedLanguage(const QLocale& locale)
      : m_loaded(InstallTranslators(QCoreApplication::instance(), locale)) {}
  ~ScopedLanguage() {
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
  }
  ScopedLanguage(const ScopedLanguage&) = delete;
  ScopedLanguage& operator=(const ScopedLanguage&) = delete;

  [[nodiscard]] bool loaded() const { return m_loaded; }

 private:
  bool m_loaded;
};

inline QLocale German() { return QLocale(QLocale::German, QLocale::Germany); }

}  // namespace app::testing
