// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmMain, Brinvale's main window: the toolbar and menus and what they dispatch to, the
// report view, start-up and closing, Save and Save As, the sound switch and the run options.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QMainWindow>
#include <QString>

#include "app/run_window.h"
#include "app/sound_cues.h"
#include "base/status.h"
#include "engine/settings_record.h"
#include "reports/report_file.h"

QT_BEGIN_NAMESPACE
class QAction;
class QLabel;
class QLockFile;
class QMenu;
class QProgressBar;
class QToolBar;
QT_END_NAMESPACE

namespace platform {
class FileSystem;
class GuardedFolder;
}  // namespace platform
namespace reports {
class ReportLoader;
}  // namespace reports

namespace app {

class ReportView;
class SoundOutput;

// The commands whose work lives outside the window. Each runs on the user-interface
// thread when its menu entry or toolbar button is used. A command without a handler shows
// its entries disabled (the toolbar's Print button excepted, and the report menu's Print,
// which follows enableReportCommands).
struct MainWindowCommands {
  std::function<void()> findChanges;            // toolbar "find", mnuCreate: a run
  std::function<void()> compareWithEarlierRun;  // mnuCompare: frmHistory and its comparison
  std::function<void()> cancelRun;              // quitOrCancel while the toolbar reads "Cancel"
  std::function<void()> showOptions;            // toolbar "options": frmOptions
  std::function<void()> openReport;             // toolbar "open", mnuOpen
  std::function<void()> printReport;            // toolbar "print", mnuPrint
  std::function<void()> printingOptions;        // mnuPrintSel, mnuPrintOptions2: frmSelPrint
  std::function<void()> editIgnoreList;         // mnuIgnore: frmIgnore
  std::function<void()> editFolderDrives;       // mnuFolderDrives: frmFolderDrives
  std::function<void()> showAbout;              // mnuAbout: frmAbout
  std::function<void()> helpContents;           // toolbar "help", mnuHelpContents
  std::function<void()> helpIndex;              // mnuHelpIndex
  std::function<void()> openWebPage;            // mnuOnline
};

struct MainWindowDependencies {
  // Every file the window reads or writes goes through it: the settings, the Reports folder,
  // the work file temp.rtf, and the reports it opens, saves and prints. Paths are in its
  // spelling.
  platform::FileSystem* fileSystem = nullptr;
  // Absolute, ending in '/'. Every file of the program is named relative to it.
  std::string programFolder;
  SoundOutput* sound = nullptr;
  MainWindowCommands commands;
};

class MainWindow final : public QMainWindow, public RunWindow {
  Q_OBJECT

 public:
  // REQUIRES: a QApplication; deps.fileSystem and deps.sound outlive the window. Builds the
  // widgets only; nothing is read or written before load.
  explicit MainWindow(MainWindowDependencies deps, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The load step; call once, before show(). Takes this program folder's window lock,
  // makes the Reports folder, reads brinvale.conf (a bad line is told in the status bar and
  // its defaults are used) and BV3.Def, finds the sound device, sets the check marks,
  // writes the start-up document to temp.rtf and shows it, and plays "intro". Returns
  // false, after one message, when the program must end: another window holds this program
  // folder, or the Reports folder cannot be made. A later failure is reported as
  // "Error #N description called from load", the rest of the step is skipped, and the
  // window opens with what was done (true).
  [[nodiscard]] bool load();

  // Replaces the command handlers and enables the entries that now have one.
  void setCommands(MainWindowCommands commands);

  // --- What runs and dialogs call ---

  // A run begins: every toolbar button is disabled but Quit, which reads "Cancel" with the
  // picture "cancel"; the Reports and Options menus are disabled, Help stays usable.
  void enterCancelMode();
  // The run is over: the toolbar and menus are back as they were, Quit reads "&Quit".
  void leaveCancelMode();
  // Enables Save, Save As and Print in the Reports menu. Nothing disables them again.
  void enableReportCommands();
  // The toolbar's third button. While a run goes on (the button does not read "&Quit"):
  // plays "cxl", hides the progress label and bar and calls the cancelRun
  // handler. Otherwise closes the window through its closing step; when the user answers
  // Cancel to the save question, the window stays open.
  void quitOrCancel();
  // A run's worker has finished winding down. When the window was asked to close during the
  // run (close box, logging out), it closes now through its closing step.
  void runFinished() override;

  // Plays the cue `waveName` without waiting when sounds are enabled; returns whether
  // playing started, or nothing when sounds are off.
  std::optional<bool> play(const QString& waveName) override;
  // True while sound cues play: a device was found and the user has them on.
  [[nodiscard]] bool soundsEnabled() const { return m_sound.soundsEnabled(); }
  // Writes the settings record to BV3.Def; the status names the file on failure.
  [[nodiscard]] base::Status saveOptions() override;
  // Reads BV3.Def into the settings record again, throwing away unsaved edits.
  [[nodiscard]] base::Status resetOptions();

  // The settings record, the one instance of the process. Valid for the window's life;
  // dialogs change it and then call saveOptions.
  [[nodiscard]] engine::SettingsRecord& settings() override { return m_settings; }
  // The info-only flag of the next run ("&Next Run is Info Only" is checked).
  [[nodiscard]] bool infoOnly() const override { return m_infoOnly; }
  // Whether runs walk hidden files and folders ("Include &Hidden Files and Folders" is
  // checked): [scan] hidden of brinvale.conf, read by load.
  [[nodiscard]] bool includeHidden() const override { return m_includeHidden; }
  // True when the user changed the report view since it was last saved.
  [[nodiscard]] bool reportChanged() const { return m_reportChanged; }
  // Forgets the user's changes: after opening a report, or reloading it for printing.
  void clearReportChanged() { m_reportChanged = false; }

  // Loads `path` into the report view (rich or plain text by its content), which makes it
  // the view's current file. A file of up to kLoadAtOnceBytes is read at once. A larger one
  // loads in the background (loading()): the view shows its first lines at once and the
  // rest as they come, the progress label and bar above it say "Loading FILE" and how much
  // is in, and until it is all in the view takes no typing and Save, Save As and Print are
  // disabled. Not a change by the user: ReportChanged stays as it was. A failure found
  // before the view's document is replaced (missing, not a file, too large, unreadable) is
  // returned and the view keeps its document and current file. A failure while loading in
  // the background is shown in a message, and the view is left empty without a current
  // file, so that a report read in part can never be saved over its file.
  [[nodiscard]] base::Status loadReport(const QString& path);
  // Loads `path` as the Open command does. A file that is not text (kNotText) is not loaded
  // and nothing changes. Anything else is loaded as loadReport does; for a file that is not
  // a report of this program (kOtherText) the status bar says "FILE is not a Brinvale
  // report: Save will ask for a new name.", and Save acts as Save As, so the file is never
  // rewritten in the view's poorer form. Fails as loadReport does.
  [[nodiscard]] base::Result<reports::ReportFileKind> openReport(const QString& path);
  // Files of up to this size are loaded at once: a few milliseconds.
  static constexpr qint64 kLoadAtOnceBytes = 512 * 1024;
  // True while a report loads into the view in the background; reportLoaded() ends it.
  [[nodiscard]] bool loading() const;
  // Saves the view to `path` in `format`, replacing any file there in one step; on success
  // `path` becomes the current file and ReportChanged is cleared. On failure the previous
  // file at `path` is intact and nothing changes.
  [[nodiscard]] base::Status saveReport(const QString& path, reports::ReportFormat format);
  // For the end of a run: loads the report read from `source` (the composed report, or the
  // report file the run saved from it) as loadReport does, makes `path` (the report's file)
  // the current file and clears ReportChanged: Find 'em asked about the previous document's
  // changes before the run began. True when the report is shown, or loading; a failure is
  // shown in a message and gives false.
  [[nodiscard]] bool showRunReport(const QString& source, const QString& path) override;
  // The path last loaded or saved; empty before the first.
  [[nodiscard]] const QString& currentFile() const override { return m_currentFile; }
  // False while the current file is one Save must not rewrite (openReport's kOtherText).
  [[nodiscard]] bool currentFileIsReport() const { return m_currentFileIsReport; }
  // True while the view shows the start-up document that the load step put there: until
  // a report is loaded, opened, saved or shown by a run.
  [[nodiscard]] bool showsStartUpDocument() const { return m_showsStartUpDocument; }
  // The question before the report in the view is given up, by closing, by opening another
  // or by a run (which may put its report in its place): when the user changed it, asks
  // "Save Changes to this Report?" Yes/No/Cancel.
  // True when the report may be given up: nothing to save, No, or Yes and the save
  // succeeded. False on Cancel, or when the save failed or was cancelled (nothing is lost).
  [[nodiscard]] bool maybeSave() override;

  // The program's own messages (a print's file, a file that is not a report, a cancel that
  // came too late) go to the status bar under the report, never over it. A message stays
  // until the next one replaces it; an empty one clears the bar.
  void showStatus(const QString& message) override;
  [[nodiscard]] QString statusMessage() const;

  [[nodiscard]] ReportView* reportView() const { return m_rtf1; }

  // The file system every file of the window goes through (MainWindowDependencies).
  [[nodiscard]] platform::FileSystem& fileSystem() const { return *m_deps.fileSystem; }
  // Opens the Reports folder for writing as runs do (platform::FileSystem::
  // openGuardedFolder), making it when it is missing: while the result lives, files written
  // directly in it go to the folder opened, and a link in its place to another user's
  // folder is refused ("PATH is a link to a folder of another user; nothing was written
  // there.").
  [[nodiscard]] base::Result<std::unique_ptr<platform::GuardedFolder>> openReportsFolder() const;

  // Paths, each absolute: the program folder and Reports folder end in the separator.
  [[nodiscard]] QString programFolder() const override;
  [[nodiscard]] QString reportsPath() const;
  [[nodiscard]] QString settingsPath() const override;
  [[nodiscard]] QString confPath() const override;  // brinvale.conf
  // temp.rtf: the start-up document, later each run's composed report.
  [[nodiscard]] QString composedReportPath() const override;

  // RunWindow, for the rest of a run's needs.
  [[nodiscard]] QWidget* dialogParent() override { return this; }
  [[nodiscard]] bool showsEarlierReport() const override;
  void enterRunMode() override;
  void leaveRunMode() override;
  void showProgress(const ProgressDisplay& display) override;
  void hideProgress() override;
  void clearInfoOnly() override;

 public slots:
  // Dispatches a toolbar button by its key ("find", "options", "quit", "open", "save",
  // "print", "help"), compared ignoring case; any other key does nothing.
  void runToolbarButton(QAction* button);

  // Find 'em: when the view holds changes, asks first as closing does (maybeSave);
  // Cancel, or a save that did not happen, starts nothing. Then the findChanges handler.
  void findChanges();
  void open();
  void compareWithEarlierRun();
  // The Save command. Refuses with a message when there is neither a document nor a
  // current file. Acts as Save As when there is no current file, when the current file is
  // the work file temp.rtf (which closing deletes) or not a report of this program;
  // otherwise writes the current file, rich text when its name contains ".rtf". Returns true when
  // the report was saved; a failure shows a message and loses nothing.
  bool save();
  // The Save As command: asks for a name in the Reports folder, saves there (rich text when
  // the file name contains ".rtf") and loads the file back so it becomes the current file.
  // Returns true when saved; false when the user cancelled or saving failed (message shown).
  bool saveAs();
  void print();
  void printingOptions();
  void editIgnoreList();
  void editFolderDrives();
  // The sound switch; without a sound device only a message. Stores SoundOn.
  void toggleSound();
  // Switches "&Include Recycle Bins" and stores IncludeRecycled (255 on, 0 off). The entry
  // shows any value but 0 as on, as the scan takes it.
  void toggleRecycled();
  // Switches "&Next Run is Info Only" and the info-only flag; not stored.
  void toggleInfoOnly();
  // Switches "Include &Hidden Files and Folders" and stores it in brinvale.conf.
  void toggleHidden();
  void helpContents();
  void helpIndex();
  void about();
  void openWebPage();

 signals:
  // A load into the view in the background has ended, all in or failed.
  void reportLoaded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createActions();
  void createToolBar();
  void createMenus();
  void createKeys();
  void createReportArea();
  void createStatusBar();
  void refreshCommandStates();

  void placeReportView();
  // Every change of the document's text or formatting, by typing, Delete, cut, paste,
  // undo or anything else the user does; loading by the window itself is not one.
  void reportEdited(int position, int removed, int added);

  // Loads `source` into the view under the name `currentFile` (loadReport).
  [[nodiscard]] base::Status loadInto(const QString& source, const QString& currentFile,
                                      bool isReport);
  void loadingFinished(const base::Status& status);
  void showLoadingProgress(qint64 done, qint64 total);
  void stopLoading();

  // Shows the failure of a save as "N Error Called from mnuOpen" with the file and reason.
  void showSaveFailure(const base::Status& status);
  void showLoadFailure(const base::Status& status);
  bool isWorkFile(const QString& path) const;
  // The view's current file is now `path`; `isReport` as for currentFileIsReport(). A status
  // message that said the previous file was no report goes with it.
  void setCurrentFile(const QString& path, bool isReport);
  void dispatch(const std::function<void()>& command);
  // Writes the settings record to BV3.Def; a failure is told (dialogs::StoreSettings).
  void storeSettings();

  MainWindowDependencies m_deps;
  SoundCues m_sound;
  engine::SettingsRecord m_settings;
  std::unique_ptr<QLockFile> m_windowLock;

  QString m_currentFile;
  bool m_currentFileIsReport = true;
  bool m_showsStartUpDocument = false;
  QString m_notAReportMessage;  // the status message openReport showed, while it stands
  bool m_reportChanged = false;
  bool m_filling = false;  // the window fills the view's document: no change by the user
  bool m_reportCommandsEnabled = false;
  bool m_infoOnly = false;
  bool m_includeHidden = false;
  bool m_closeAfterRun = false;

  QToolBar* m_tlb1 = nullptr;
  QAction* m_tlbFind = nullptr;
  QAction* m_tlbOptions = nullptr;
  QAction* m_tlbQuit = nullptr;
  QAction* m_tlbOpen = nullptr;
  QAction* m_tlbSave = nullptr;
  QAction* m_tlbPrint = nullptr;
  QAction* m_tlbHelp = nullptr;

  QMenu* m_mnuReports = nullptr;
  QMenu* m_mnuOptions = nullptr;
  QMenu* m_mnuHelp = nullptr;
  QAction* m_mnuCreate = nullptr;
  QAction* m_mnuOpen = nullptr;
  QAction* m_mnuCompare = nullptr;
  QAction* m_mnuSave = nullptr;
  QAction* m_mnuSaveAs = nullptr;
  QAction* m_mnuPrint = nullptr;
  QAction* m_mnuPrintSel = nullptr;
  QAction* m_mnuIgnore = nullptr;
  QAction* m_mnuFolderDrives = nullptr;
  QAction* m_mnuSound = nullptr;
  QAction* m_mnuRecycled = nullptr;
  QAction* m_mnuInfoOnly = nullptr;
  QAction* m_mnuHidden = nullptr;
  QAction* m_mnuPrintOptions2 = nullptr;
  QAction* m_mnuHelpContents = nullptr;
  QAction* m_mnuHelpIndex = nullptr;
  QAction* m_mnuAbout = nullptr;
  QAction* m_mnuOnline = nullptr;
  QAction* m_keyQuit = nullptr;  // Ctrl+Q: the toolbar's Quit, or Cancel during a run

  QWidget* m_reportArea = nullptr;
  ReportView* m_rtf1 = nullptr;
  reports::ReportLoader* m_loader = nullptr;
  QLabel* m_lblProgress = nullptr;
  QProgressBar* m_pbr1 = nullptr;
  QLabel* m_lblStatus = nullptr;
};

}  // namespace app
