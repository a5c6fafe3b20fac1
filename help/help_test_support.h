// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Helpers shared by the tests of help/: the QApplication, and QUrl printing.
#pragma once

#include <QUrl>
#include <ostream>

#include "platform/testing/qt_application.h"

// Lets GoogleTest print QUrls as text.
inline void PrintTo(const QUrl& url, std::ostream* os) { *os << url.toString().toStdString(); }
