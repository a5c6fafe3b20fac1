// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The headers that most test files include, precompiled once for each test executable. The
// Qt headers are taken only where the executable links that Qt module: an executable of
// plain C++ tests has no Qt include folders, so it precompiles GoogleTest alone. Test files
// still include what they use; this only makes it quicker to parse.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#if __has_include(<QString>)
#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#endif
#if __has_include(<QApplication>)
#include <QApplication>
#include <QMessageBox>
#include <QTextDocument>
#include <QWidget>
#endif
#if __has_include(<QTest>)
#include <QTest>
#endif
