// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/web_entry.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

namespace help {

QString OpenWebEntry(const QString& address, const std::function<void()>& showContents) {
  const QString trimmed = address.trimmed();
  if (trimmed.isEmpty()) {
    showContents();
    return {};
  }
  const QUrl url = QUrl::fromUserInput(trimmed);
  if (!url.isValid() || url.host().isEmpty()) {
    return QCoreApplication::translate("help::WebEntry",
                                       "The web page address \"%1\" is not valid.")
        .arg(trimmed);
  }
  if (!QDesktopServices::openUrl(url)) {
    return QCoreApplication::translate(
               "help::WebEntry",
               "The web page %1 could not be opened. Please check that a web browser is "
               "set up on this computer, or open the address in a browser yourself.")
        .arg(url.toString());
  }
  return {};
}

QString OpenProjectWebPage(const std::function<void()>& showContents) {
  return OpenWebEntry(QString::fromUtf8(kProjectWebAddress), showContents);
}

}  // namespace help
