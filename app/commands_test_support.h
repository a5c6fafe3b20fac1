// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Helpers for the tests of the window's commands: a started window with its report and
// dialog commands wired as the program wires them, on printers and drives of the test's
// choosing.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include <QAction>
#include <QLocale>
#include <QTest>
#include <QToolBar>

#include "app/dialog_commands.h"
#include "app/report_commands.h"
#include "app/window_test_support.h"
#include "platform/qt/qt_locale_format.h"
#include "platform/volumes.h"
#include "reports/print_test_support.h"

namespace app::testing {

// Drives of the test's choosing.
class ListedVolumes final : public platform::Volumes {
 public:
  platform::DriveListing drives() override { return {m_drives, {}}; }
  std::vector<platform::Drive> m_drives;
};

class CommandsTest : public WindowTest {
 protected:
  // Starts the window and wires its commands. `printers` stand for the system's printers;
  // the default printer is the first unless `defaultPrinter` names another.
  MainWindow& StartWired(std::vector<reports::PrinterEntry> printers = {},
                         const QString& defaultPrinter = {}) {
    m_volumes.m_drives = {
        {'D', folder().toStdString(), "d: [" + folder().toStdString() + "]", true, true}};
    const QString name =
        !defaultPrinter.isEmpty() || printers.empty() ? defaultPrinter : printers.front().name;
    m_printers = std::make_unique<reports::testing::ListedPrinters>(std::move(printers), name);
    m_window = Start();
    m_reports = std::make_unique<ReportCommands>(*m_window, *m_printers, m_locale);
    m_dialogs = std::make_unique<DialogCommands>(*m_window, m_fs, folder().toStdString(), m_volumes,
                                                 *m_reports);
    MainWindowCommands commands;
    m_reports->addTo(&commands);
    m_dialogs->addTo(&commands);
    m_window->setCommands(std::move(commands));
    return *m_window;
  }

  QAction* Entry(const char* name) const {
    return m_window->findChild<QAction*>(QLatin1String(name));
  }

  // Clicks the toolbar button with the key `key`, as the user does.
  void ClickButton(const char* key) const {
    auto* tlb1 = m_window->findChild<QToolBar*>(QStringLiteral("tlb1"));
    for (QAction* action : tlb1->actions()) {
      if (action->property("key").toString() == QLatin1String(key)) {
        QTest::mouseClick(tlb1->widgetForAction(action), Qt::LeftButton);
        return;
      }
    }
    ADD_FAILURE() << "no toolbar button " << key;
  }

  void Type(const QString& text) const {
    m_window->reportView()->setFocus();
    QTest::keyClicks(m_window->reportView(), text);
  }

  platform::QtLocaleFormat m_locale{QLocale(QLocale::English, QLocale::UnitedStates)};
  ListedVolumes m_volumes;
  std::unique_ptr<reports::testing::ListedPrinters> m_printers;
  // Destroyed in reverse: the commands before the window they serve.
  std::unique_ptr<MainWindow> m_window;
  std::unique_ptr<ReportCommands> m_reports;
  std::unique_ptr<DialogCommands> m_dialogs;
};

}  // namespace app::testing
