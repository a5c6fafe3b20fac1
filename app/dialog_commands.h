// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The main window's dialogs and help: the Ignore list editor, Options, About, the help
// window with F1 everywhere, and the web entry.
#pragma once

#include <string>

#include <QPointer>

QT_BEGIN_NAMESPACE
class QObject;
class QWidget;
QT_END_NAMESPACE

namespace help {
class HelpWindow;
}  // namespace help
namespace platform {
class FileSystem;
class Volumes;
}  // namespace platform

namespace app {

class MainWindow;
struct MainWindowCommands;
class ReportCommands;

// Make one for the program run, after the window and its report commands:
//   app::DialogCommands dialogCommands(window, fileSystem, programFolder, volumes,
//                                      reportCommands);
//   dialogCommands.addTo(&commands);
// Making it creates the one help window of the program (a window of its own, owned by the
// main window) and installs F1 on the application: from then on F1 anywhere opens the
// topic of the highlighted menu entry, the focused control of the open dialog or of the
// active window (help::HelpKeyFilter). All of it runs on the user-interface thread.
class DialogCommands {
 public:
  // `window`, `fs`, `volumes` and `reportCommands` must outlive this object; `fs` and
  // `programFolder` (ending in the separator) are the window's. `volumes` gives the drives
  // the folder picker of the Ignore list editor offers, the same as a run's.
  DialogCommands(MainWindow& window, platform::FileSystem& fs, std::string programFolder,
                 platform::Volumes& volumes, ReportCommands& reportCommands);
  DialogCommands(const DialogCommands&) = delete;
  DialogCommands& operator=(const DialogCommands&) = delete;
  // Takes F1 off the application again; the help window goes with the main window.
  ~DialogCommands();

  // Sets showOptions, editIgnoreList, editFolderDrives, showAbout, helpContents, helpIndex
  // and openWebPage of `commands` to the operations below. The handlers refer to this
  // object.
  void addTo(MainWindowCommands* commands);

  // frmOptions, modal: the window's settings record and saveOptions, its sound, info-only
  // and hidden-files switches, and links to the Ignore list editor and the printing options.
  void showOptions();
  // frmIgnore, modal over `parent` (the window when null), on ignore.txt of the program
  // folder; the drives are listed afresh each time.
  void editIgnoreList(QWidget* parent = nullptr);
  // frmFolderDrives, modal over the window: the folders watched as drives, in drives.txt
  // of the program folder.
  void editFolderDrives();
  // frmAbout, modal, with the window's icon and the program's version.
  void showAbout();

  // "&Contents" and the toolbar's "Help(F1)": F1 on the main window, which gives it the
  // focus and opens the topic of its focused control, or its own (10).
  void helpContents();
  // "&Index": the help's contents page.
  void helpIndex();
  // "Orlo Online (&Go)": the project's web page, or the help contents while the project
  // has none; a failure to open it in one message.
  void openWebPage();

  // The help window; shown on demand.
  [[nodiscard]] help::HelpWindow* helpWindow() const;

 private:
  MainWindow& m_window;
  platform::FileSystem& m_fs;
  std::string m_programFolder;
  platform::Volumes& m_volumes;
  ReportCommands& m_reports;
  // Both belong to the main window, which may go first.
  QPointer<help::HelpWindow> m_help;
  QPointer<QObject> m_helpKey;  // the F1 filter
};

}  // namespace app
