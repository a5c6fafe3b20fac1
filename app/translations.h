// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The window's language: the program's own catalogue and Qt's, chosen by the user's locale.
#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace app {

// The folder the package installs the catalogues into, relative to the program's folder
// (bin/../share/brinvale/translations).
QString InstalledTranslationsFolder();

// Installs on `application` the translators for the first of `locale.uiLanguages()` that
// has a catalogue: the program's own, built into the resources (":/i18n/brinvale_LANG.qm")
// or else installed, and Qt's "qtbase" for the standard dialogs' buttons when Debian's Qt
// translations are installed. English, or a language without a catalogue, installs none
// and the window keeps its source texts. Returns whether the program's catalogue was loaded.
bool InstallTranslators(QCoreApplication* application, const QLocale& locale = QLocale::system());

}  // namespace app
