// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The help menu's web entry, "Orlo Online (&Go)": the project's web page in the desktop's
// browser, or the program's own help while the project has no web page.
#pragma once

#include <QString>
#include <functional>

namespace help {

// The project's web page. Empty while the project has none; the entry then opens the help.
inline constexpr char kProjectWebAddress[] = "";

// Asks the desktop (QDesktopServices::openUrl) to open `address` in the user's browser. An
// address without a scheme is taken as a web address (www.example.org opens as
// http://www.example.org). An empty address calls `showContents` instead, which should show
// the help window at its contents page. Returns an empty text when the page or the help was
// opened; otherwise the one message to show the user (the address is invalid, or the
// desktop could not open it). The desktop opens the browser without waiting for it.
// REQUIRES: a QGuiApplication exists; `showContents` is callable when `address` is empty.
[[nodiscard]] QString OpenWebEntry(const QString& address,
                                   const std::function<void()>& showContents);

// OpenWebEntry with kProjectWebAddress: what the web entry's click handler calls, e.g.
//   if (QString m = help::OpenProjectWebPage([&] { help->showContents(); }); !m.isEmpty())
//     QMessageBox::warning(this, windowTitle(), m);
[[nodiscard]] QString OpenProjectWebPage(const std::function<void()>& showContents);

}  // namespace help
