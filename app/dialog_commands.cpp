// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialog_commands.h"

#include <utility>

#include <QApplication>
#include <QMessageBox>

#include "app/main_window.h"
#include "app/report_commands.h"
#include "brinvale_version.h"
#include "dialogs/about_dialog.h"
#include "dialogs/dialog_support.h"
#include "dialogs/folder_drives_dialog.h"
#include "dialogs/ignore_list_dialog.h"
#include "dialogs/options_dialog.h"
#include "help/help_key_filter.h"
#include "help/help_window.h"
#include "help/web_entry.h"
#include "platform/volumes.h"

namespace app {

DialogCommands::DialogCommands(MainWindow& window, platform::FileSystem& fs,
                               std::string programFolder, platform::Volumes& volumes,
                               ReportCommands& reportCommands)
    : m_window(window),
      m_fs(fs),
      m_programFolder(std::move(programFolder)),
      m_volumes(volumes),
      m_reports(reportCommands),
      m_help(new help::HelpWindow(&window)) {
  // The filter outlives nothing it calls: it holds the help window weakly.
  m_helpKey = new help::HelpKeyFilter(
      [helpWindow = m_help](int context) {
        if (helpWindow != nullptr) helpWindow->showTopic(context);
      },
      &window);
  qApp->installEventFilter(m_helpKey);
}

DialogCommands::~DialogCommands() {
  if (m_helpKey != nullptr) qApp->removeEventFilter(m_helpKey);
  delete m_helpKey.data();
}

help::HelpWindow* DialogCommands::helpWindow() const { return m_help; }

void DialogCommands::addTo(MainWindowCommands* commands) {
  commands->showOptions = [this] { showOptions(); };
  commands->editIgnoreList = [this] { editIgnoreList(); };
  commands->editFolderDrives = [this] { editFolderDrives(); };
  commands->showAbout = [this] { showAbout(); };
  commands->helpContents = [this] { helpContents(); };
  commands->helpIndex = [this] { helpIndex(); };
  commands->openWebPage = [this] { openWebPage(); };
}

void DialogCommands::showOptions() {
  dialogs::OptionsWindow window;
  window.toggleSound = [this] { m_window.toggleSound(); };
  window.toggleInfoOnly = [this] { m_window.toggleInfoOnly(); };
  window.toggleHidden = [this] { m_window.toggleHidden(); };
  window.soundsEnabled = [this] { return m_window.soundsEnabled(); };
  window.InfoOnly = [this] { return m_window.infoOnly(); };
  window.IncludeHidden = [this] { return m_window.includeHidden(); };
  window.showIgnoreList = [this](QWidget* page) { editIgnoreList(page); };
  window.showPrinterSettings = [this](QWidget* page) { m_reports.printingOptions(page); };
  // The page changes the window's own record, so the window's save stores what it shows.
  dialogs::OptionsDialog dialog(
      &m_window.settings(),
      [this](const engine::SettingsRecord&) { return m_window.saveOptions(); }, std::move(window),
      &m_window);
  dialog.exec();
}

void DialogCommands::editIgnoreList(QWidget* parent) {
  // Listing problems (a line of drives.txt ignored, a letter not stored) are the run's to
  // report, where a profile depends on them; the picker simply offers what is listed.
  dialogs::editIgnoreList(parent != nullptr ? parent : &m_window, m_fs, m_programFolder,
                          m_volumes.drives().drives);
}

void DialogCommands::editFolderDrives() {
  dialogs::editFolderDrives(&m_window, m_fs, m_programFolder, m_volumes);
}

void DialogCommands::showAbout() {
  dialogs::AboutDialog dialog(m_window.windowIcon(), QStringLiteral(BRINVALE_VERSION), &m_window);
  dialog.exec();
}

void DialogCommands::helpContents() {
  m_window.activateWindow();
  QWidget* focused = m_window.focusWidget();
  if (m_help != nullptr)
    m_help->showTopic(help::HelpContextOf(focused != nullptr ? focused : &m_window));
}

void DialogCommands::helpIndex() {
  if (m_help != nullptr) m_help->showContents();
}

void DialogCommands::openWebPage() {
  const QString message = help::OpenProjectWebPage([this] { helpIndex(); });
  if (!message.isEmpty()) dialogs::ShowWarning(&m_window, message);
}

}  // namespace app
