// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The headers that most test files include, precompiled once and shared by the test
// executables. The Qt headers are taken only where Qt's widgets are linked: the executables of
// plain C++ tests have no Qt include folders, so theirs hold GoogleTest alone. QTest is left
// out, as its headers depend on macros that differ between executables. Test files still
// include what they use; this only makes it quicker to parse.
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

#if __has_include(<QApplication>)
#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <QWidget>
#endif
