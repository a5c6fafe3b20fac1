// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include <algorithm>
#include <climits>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>

#include "app/error_number.h"
#include "app/report_view.h"
#include "app/resources.h"
#include "app/sound_output.h"
#include "dialogs/dialog_support.h"
#include "engine/program_conf.h"
#include "engine/run_conductor.h"
#include "platform/file_system.h"
#include "platform/qt/native_path.h"
#include "reports/report_loader.h"

namespace app {
namespace {

constexpr char kQuitCaption[] = QT_TRANSLATE_NOOP("app::MainWindow", "&Quit");
constexpr char kCancelCaption[] = QT_TRANSLATE_NOOP("app::MainWindow", "Cancel");
constexpr char kWorkFileName[] = "temp.rtf";
constexpr char kWindowLockName[] = "window.lock";
constexpr int kMainWindowHelpContext = 10;

// The filters of the Save As dialog. HideNameFilterDetails shows the text before the last
// pattern list, so each caption keeps its own "(*.rtf)" and the pattern follows it.
constexpr char kRichFilter[] =
    QT_TRANSLATE_NOOP("app::MainWindow", "Rich Format Report (*.rtf) (*.rtf)");
constexpr char kPlainFilter[] = QT_TRANSLATE_NOOP("app::MainWindow", "Plain Text (*.txt) (*.txt)");
constexpr char kOtherFilter[] = QT_TRANSLATE_NOOP("app::MainWindow", "Other (*)");

QIcon Picture(const char* themeName, const char* resource) {
  return QIcon::fromTheme(QLatin1String(themeName),
                          QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(resource))));
}

// The platform's keys for `standard`, with `key` first: the key the help names works on
// every desktop, also where the platform binds none to the command (Save As, Quit).
QList<QKeySequence> KeysFor(QKeySequence::StandardKey standard, const QKeySequence& key) {
  QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
  keys.removeAll(key);
  keys.prepend(key);
  return keys;
}

}  // namespace

MainWindow::MainWindow(MainWindowDependencies deps, QWidget* parent)
    : QMainWindow(parent), m_deps(std::move(deps)), m_sound(*m_deps.sound) {
  InitResources();
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QLatin1String(dialogs::kProgramTitle));
  setWindowIcon(QIcon(QStringLiteral(":/brinvale.svg")));
  setProperty("helpContext", kMainWindowHelpContext);
  createActions();
  createToolBar();
  createMenus();
  createReportArea();
  createStatusBar();
  refreshCommandStates();
  resize(760, 560);
}

MainWindow::~MainWindow() { m_loader->stop(); }

// --- Building the window ---

void MainWindow::createActions() {
  const auto button = [this](const char* key, const char* caption, const char* toolTip,
                             QIcon icon) {
    auto* action = new QAction(std::move(icon), tr(caption), this);
    action->setObjectName(QStringLiteral("tlb1_%1").arg(QLatin1String(key)));
    action->setProperty("key", QLatin1String(key));
    if (toolTip != nullptr) {
      action->setToolTip(tr(toolTip));
    } else {
      action->setProperty("noToolTip", true);
    }
    return action;
  };
  m_tlbFind = button("find", QT_TR_NOOP("&Find 'em"), QT_TR_NOOP("Start Now"),
                     Picture("edit-find", "find"));
  m_tlbOptions =
      button("options", QT_TR_NOOP("Options"), nullptr, Picture("preferences-system", "options"));
  m_tlbQuit = button("quit", kQuitCaption, QT_TR_NOOP("Quit or Cancel"),
                     Picture("application-exit", "quit"));
  m_tlbOpen = button("open", QT_TR_NOOP("Open"), QT_TR_NOOP("Open an existing report (rtf or txt)"),
                     Picture("document-open", "open"));
  m_tlbSave = button("save", QT_TR_NOOP("Save"), QT_TR_NOOP("Save changes to current report"),
                     Picture("document-save", "save"));
  m_tlbPrint = button("print", QT_TR_NOOP("&Print"), QT_TR_NOOP("Print report now"),
                      Picture("document-print", "print"));
  m_tlbHelp = button("help", QT_TR_NOOP("Help(F1)"),
                     QT_TR_NOOP("Use (F1) anytime for context sensitve help"),
                     Picture("help-contents", "help"));
}

void MainWindow::createToolBar() {
  m_tlb1 = new QToolBar(tr("Toolbar"), this);
  m_tlb1->setObjectName(QStringLiteral("tlb1"));
  m_tlb1->setMovable(false);
  m_tlb1->setFloatable(false);
  m_tlb1->setIconSize(QSize(32, 32));
  m_tlb1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  m_tlb1->setContextMenuPolicy(Qt::PreventContextMenu);
  // Eleven entries; Quit is the third, which a run relabels.
  m_tlb1->addAction(m_tlbFind);
  m_tlb1->addAction(m_tlbOptions);
  m_tlb1->addAction(m_tlbQuit);
  m_tlb1->addSeparator();
  m_tlb1->addAction(m_tlbOpen);
  m_tlb1->addSeparator();
  m_tlb1->addAction(m_tlbSave);
  m_tlb1->addSeparator();
  m_tlb1->addAction(m_tlbPrint);
  m_tlb1->addSeparator();
  m_tlb1->addAction(m_tlbHelp);
  addToolBar(Qt::TopToolBarArea, m_tlb1);
  for (QAction* action : m_tlb1->actions()) {
    if (QWidget* widget = m_tlb1->widgetForAction(action); widget != nullptr) {
      widget->setObjectName(action->objectName());
      // Reachable by Tab from the report view; a click leaves the focus where it was.
      if (!action->isSeparator()) widget->setFocusPolicy(Qt::TabFocus);
      if (action->property("noToolTip").toBool()) widget->installEventFilter(this);
    }
  }
  connect(m_tlb1, &QToolBar::actionTriggered, this, &MainWindow::runToolbarButton);
}

void MainWindow::createMenus() {
  const auto menu = [this](const char* name, const char* caption) {
    QMenu* m = menuBar()->addMenu(tr(caption));
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name));
    return m;
  };
  // An entry; helpContext < 0 for none.
  const auto entry = [this](QMenu* m, const char* name, const char* caption, int helpContext,
                            auto slot) {
    QAction* action = m->addAction(tr(caption));
    action->setObjectName(QLatin1String(name));
    if (helpContext >= 0) action->setProperty("helpContext", helpContext);
    connect(action, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
    return action;
  };

  m_mnuReports = menu("mnuReports", QT_TR_NOOP("&Reports"));
  m_mnuCreate = entry(m_mnuReports, "mnuCreate", QT_TR_NOOP("&Create (Find Changes)"), 3,
                      &MainWindow::findChanges);
  m_mnuOpen =
      entry(m_mnuReports, "mnuOpen", QT_TR_NOOP("&Open Existing Report"), -1, &MainWindow::open);
  m_mnuCompare = entry(m_mnuReports, "mnuCompare", QT_TR_NOOP("Compare With an Earlier Run..."), 15,
                       &MainWindow::compareWithEarlierRun);
  m_mnuSave = entry(m_mnuReports, "mnuSave", QT_TR_NOOP("&Save Report"), -1, &MainWindow::save);
  m_mnuSaveAs = entry(m_mnuReports, "mnuSaveAs", QT_TR_NOOP("Save &As"), -1, &MainWindow::saveAs);
  m_mnuPrint = entry(m_mnuReports, "mnuPrint", QT_TR_NOOP("&Print"), -1, &MainWindow::print);
  m_mnuPrintSel = entry(m_mnuReports, "mnuPrintSel", QT_TR_NOOP("P&rinting Options"), 9,
                        &MainWindow::printingOptions);

  m_mnuOptions = menu("mnuOptions", QT_TR_NOOP("&Options"));
  m_mnuOptions->menuAction()->setProperty("helpContext", 4);
  m_mnuOptions->setProperty("helpContext", 4);
  m_mnuIgnore = entry(m_mnuOptions, "mnuIgnore", QT_TR_NOOP("Set Folders to &Ignore"), 6,
                      &MainWindow::editIgnoreList);
  m_mnuFolderDrives =
      entry(m_mnuOptions, "mnuFolderDrives", QT_TR_NOOP("&Folders Watched as Drives..."), 14,
            &MainWindow::editFolderDrives);
  // The caption is replaced at start-up by the sound detection.
  m_mnuSound =
      entry(m_mnuOptions, "mnuSound", QT_TR_NOOP("&Sound Off"), 4, &MainWindow::toggleSound);
  m_mnuRecycled = entry(m_mnuOptions, "mnuRecycled", QT_TR_NOOP("&Include Recycle Bins"), 13,
                        &MainWindow::toggleRecycled);
  m_mnuRecycled->setCheckable(true);
  m_mnuHidden = entry(m_mnuOptions, "mnuHidden", QT_TR_NOOP("Include &Hidden Files and Folders"), 4,
                      &MainWindow::toggleHidden);
  m_mnuHidden->setCheckable(true);
  m_mnuInfoOnly = entry(m_mnuOptions, "mnuInfoOnly", QT_TR_NOOP("&Next Run is Info Only"), 7,
                        &MainWindow::toggleInfoOnly);
  m_mnuInfoOnly->setCheckable(true);
  m_mnuPrintOptions2 = entry(m_mnuOptions, "mnuPrintOptions2", QT_TR_NOOP("P&rinting Options"), 9,
                             &MainWindow::printingOptions);

  m_mnuHelp = menu("mnuHelp", QT_TR_NOOP("&Help"));
  m_mnuHelpContents =
      entry(m_mnuHelp, "mnuHelpContents", QT_TR_NOOP("&Contents"), -1, &MainWindow::helpContents);
  m_mnuHelpIndex =
      entry(m_mnuHelp, "mnuHelpIndex", QT_TR_NOOP("&Index"), -1, &MainWindow::helpIndex);
  m_mnuAbout = entry(m_mnuHelp, "mnuAbout", QT_TR_NOOP("&About"), 1, &MainWindow::about);
  m_mnuOnline =
      entry(m_mnuHelp, "mnuOnline", QT_TR_NOOP("Orlo Online (&Go)"), -1, &MainWindow::openWebPage);

  createKeys();
}

void MainWindow::createKeys() {
  // Shown beside the entries; a key follows its entry, so it does nothing while the entry
  // is greyed out or its menu is disabled by a run.
  m_mnuCreate->setShortcut(QKeySequence(Qt::Key_F5));
  m_mnuOpen->setShortcuts(KeysFor(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)));
  m_mnuSave->setShortcuts(KeysFor(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)));
  m_mnuSaveAs->setShortcuts(
      KeysFor(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
  m_mnuPrint->setShortcuts(KeysFor(QKeySequence::Print, QKeySequence(Qt::CTRL | Qt::Key_P)));

  // Quit has no menu entry: the key belongs to the window and does what the toolbar's
  // third button does at the moment, Cancel during a run.
  m_keyQuit = new QAction(tr("Quit or Cancel"), this);
  m_keyQuit->setObjectName(QStringLiteral("keyQuit"));
  m_keyQuit->setShortcuts(KeysFor(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
  m_keyQuit->setShortcutContext(Qt::WindowShortcut);
  addAction(m_keyQuit);
  connect(m_keyQuit, &QAction::triggered, this, &MainWindow::quitOrCancel);
}

void MainWindow::createReportArea() {
  // No layout: the view follows the window by the resize rule in placeReportView, and the
  // progress controls keep their places above it.
  m_reportArea = new QWidget(this);
  m_reportArea->setObjectName(QStringLiteral("reportArea"));
  setCentralWidget(m_reportArea);

  m_rtf1 = new ReportView(m_reportArea);
  m_rtf1->setObjectName(QStringLiteral("rtf1"));
  m_rtf1->setAccessibleName(tr("Report"));
  // Tab and Shift+Tab leave the view for the toolbar; a report has no use for tab stops.
  m_rtf1->setTabChangesFocus(true);
  m_loader = new reports::ReportLoader(this);

  m_lblProgress = new QLabel(m_reportArea);
  m_lblProgress->setObjectName(QStringLiteral("lblProgress"));
  m_lblProgress->setGeometry(12, 12, 520, 22);
  m_lblProgress->hide();

  m_pbr1 = new QProgressBar(m_reportArea);
  m_pbr1->setObjectName(QStringLiteral("Pbr1"));
  m_pbr1->setAccessibleName(tr("Progress"));
  m_pbr1->setGeometry(12, 40, 520, 22);
  m_pbr1->setTextVisible(false);
  m_pbr1->hide();

  m_reportArea->installEventFilter(this);
  connect(m_rtf1->document(), &QTextDocument::contentsChange, this, &MainWindow::reportEdited);
}

void MainWindow::createStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("sbrStatus"));
  m_lblStatus = new QLabel(bar);
  m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
  m_lblStatus->setAccessibleName(tr("Status"));
  m_lblStatus->setTextFormat(Qt::PlainText);
  m_lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);  // a path can be copied
  // A long path must not widen the window: the label takes the room there is, and its tool
  // tip holds the whole message.
  m_lblStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  // Permanent: the empty status tips that menus send on hovering, which clear a temporary
  // message, never touch it.
  bar->addPermanentWidget(m_lblStatus, 1);
}

void MainWindow::showStatus(const QString& message) {
  m_lblStatus->setText(message);
  m_lblStatus->setToolTip(message);
}

QString MainWindow::statusMessage() const { return m_lblStatus->text(); }

void MainWindow::setCommands(MainWindowCommands commands) {
  m_deps.commands = std::move(commands);
  refreshCommandStates();
}

void MainWindow::refreshCommandStates() {
  const MainWindowCommands& c = m_deps.commands;
  const bool idle = m_tlbQuit->text() == tr(kQuitCaption);
  m_tlbFind->setEnabled(idle && bool(c.findChanges));
  m_tlbOptions->setEnabled(idle && bool(c.showOptions));
  m_tlbQuit->setEnabled(true);
  m_tlbOpen->setEnabled(idle && bool(c.openReport));
  // Nothing saves or prints a report that is still loading.
  const bool complete = !loading();
  m_tlbSave->setEnabled(idle && complete);
  m_tlbPrint->setEnabled(idle && complete);
  m_tlbHelp->setEnabled(idle && bool(c.helpContents));

  m_mnuCreate->setEnabled(bool(c.findChanges));
  m_mnuOpen->setEnabled(bool(c.openReport));
  m_mnuCompare->setEnabled(bool(c.compareWithEarlierRun));
  m_mnuSave->setEnabled(m_reportCommandsEnabled && complete);
  m_mnuSaveAs->setEnabled(m_reportCommandsEnabled && complete);
  m_mnuPrint->setEnabled(m_reportCommandsEnabled && complete);
  m_mnuPrintSel->setEnabled(bool(c.printingOptions));
  m_mnuIgnore->setEnabled(bool(c.editIgnoreList));
  m_mnuFolderDrives->setEnabled(bool(c.editFolderDrives));
  m_mnuPrintOptions2->setEnabled(bool(c.printingOptions));
  m_mnuHelpContents->setEnabled(bool(c.helpContents));
  m_mnuHelpIndex->setEnabled(bool(c.helpIndex));
  m_mnuAbout->setEnabled(bool(c.showAbout));
  m_mnuOnline->setEnabled(bool(c.openWebPage));
}

// --- Paths ---

QString MainWindow::programFolder() const {
  return platform::FromNativeBytes(m_deps.programFolder);
}
QString MainWindow::reportsPath() const {
  return programFolder() + QLatin1String(engine::kReportsFolderName) +
         QLatin1Char(m_deps.fileSystem->pathStyle().separator);
}

base::Result<std::unique_ptr<platform::GuardedFolder>> MainWindow::openReportsFolder() const {
  return m_deps.fileSystem->openGuardedFolder(m_deps.programFolder, engine::kReportsFolderName);
}
QString MainWindow::settingsPath() const {
  return programFolder() + QLatin1String(engine::kSettingsFileName.data(),
                                         qsizetype(engine::kSettingsFileName.size()));
}
QString MainWindow::confPath() const {
  return programFolder() +
         QLatin1String(engine::kConfFileName.data(), qsizetype(engine::kConfFileName.size()));
}
QString MainWindow::composedReportPath() const {
  return programFolder() + QLatin1String(kWorkFileName);
}

// --- Start-up ---

bool MainWindow::load() {
  platform::FileSystem& fs = *m_deps.fileSystem;

  // Two windows on one program folder would share temp.rtf. A lock that cannot even be
  // made (a read-only folder) protects nothing there, as no work file can be written either.
  m_windowLock = std::make_unique<QLockFile>(programFolder() + QLatin1String(kWindowLockName));
  // Only a dead holder makes the lock stale, however long a window stays open.
  m_windowLock->setStaleLockTime(0);
  if (!m_windowLock->tryLock(0) && m_windowLock->error() == QLockFile::LockFailedError) {
    dialogs::ShowMessage(this, tr("Brinvale is already open for this program folder."));
    return false;
  }

  // Without a Reports folder no run could keep its report, so the program does not start.
  // It is made as runs open it: never through another user's link in its place.
  if (auto reports = openReportsFolder(); !reports.isOk()) {
    dialogs::ShowCritical(this, tr("Brinvale cannot start: it cannot create the folder for its "
                                   "reports,\n%1\n\n%2")
                                    .arg(QDir::toNativeSeparators(reportsPath()),
                                         QString::fromStdString(reports.status().message())));
    return false;
  }

  // A bad line leaves the defaults in force; the user is told once, without a box to close.
  engine::ProgramConf conf;
  if (base::Status s = engine::LoadProgramConf(
          fs, m_deps.programFolder + std::string(engine::kConfFileName), &conf);
      !s.isOk()) {
    showStatus(tr("%1; the default settings are used.").arg(QString::fromStdString(s.message())));
  }
  m_includeHidden = conf.includeHidden;
  m_mnuHidden->setChecked(m_includeHidden);

  // From here on a failure is reported and the window opens with what was done.
  if (base::Status s = engine::LoadSettings(
          fs, m_deps.programFolder + std::string(engine::kSettingsFileName), &m_settings);
      !s.isOk()) {
    showLoadFailure(s);
    return true;
  }

  m_sound.detect(m_settings.SoundOn);
  m_mnuSound->setText(m_sound.caption());
  m_mnuSound->setEnabled(m_sound.soundCardPresent());

  // Checked exactly when the scan includes the bins: any value but 0 (a file may hold 1).
  m_mnuRecycled->setChecked(m_settings.includeRecycled());

  QFile resource(QStringLiteral(":/startup.rtf"));
  QByteArray startUp = resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
  startUp.append("\r\n");
  const std::string workFile = m_deps.programFolder + kWorkFileName;
  if (base::Status s = platform::WriteFileAtomically(
          fs, workFile, std::string_view(startUp.constData(), std::size_t(startUp.size())));
      !s.isOk()) {
    showLoadFailure(s);
    return true;
  }
  if (base::Status s = loadReport(platform::FromNativeBytes(workFile)); !s.isOk()) {
    showLoadFailure(s);
    return true;
  }
  m_showsStartUpDocument = true;

  play(QStringLiteral("intro"));
  return true;
}

void MainWindow::showLoadFailure(const base::Status& status) {
  dialogs::ShowWarning(this, tr("Error #%1 %2 called from load")
                                 .arg(ErrorNumber(status))
                                 .arg(QString::fromStdString(status.message())));
}

// --- Layout ---

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_reportArea && event->type() == QEvent::Resize) {
    placeReportView();
  } else if (watched != m_reportArea && event->type() == QEvent::ToolTip) {
    return true;  // a toolbar button that has no tool tip of its own
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::placeReportView() {
  // The view takes the space below the toolbar, and while a report loads the space below
  // the progress display. A window made smaller than its menu and toolbar leaves the view at
  // its last size rather than collapsing it.
  QSize free = m_reportArea->size();
  const int top = loading() ? m_pbr1->geometry().bottom() + 8 : 0;
  free.rheight() -= top;
  QRect view = m_rtf1->geometry();
  view.moveTopLeft(QPoint(0, top));
  if (free.height() > 0) view.setHeight(free.height());
  if (free.width() > 0) view.setWidth(free.width());
  m_rtf1->setGeometry(view);
}

// --- The report view ---

void MainWindow::reportEdited(int /*position*/, int removed, int added) {
  if (m_filling || loading() || (removed == 0 && added == 0)) return;
  m_reportChanged = true;
  enableReportCommands();
}

base::Status MainWindow::loadReport(const QString& path) { return loadInto(path, path, true); }

base::Result<reports::ReportFileKind> MainWindow::openReport(const QString& path) {
  auto head = reports::ReadReportFileHead(*m_deps.fileSystem, path);
  if (!head.isOk()) return head.status();
  const reports::ReportFileKind kind = reports::KindOfReportBytes(head.value().bytes);
  if (kind == reports::ReportFileKind::kNotText) return kind;
  const bool isReport = kind == reports::ReportFileKind::kReport;
  if (base::Status s = loadInto(path, path, isReport); !s.isOk()) return s;
  // What the status bar said (a run's reports, a print) was about what was shown before.
  if (isReport) {
    showStatus({});
  } else {
    m_notAReportMessage = tr("%1 is not a Brinvale report: Save will ask for a new name.")
                              .arg(QDir::toNativeSeparators(path));
    showStatus(m_notAReportMessage);
  }
  return kind;
}

bool MainWindow::showRunReport(const QString& source, const QString& path) {
  if (base::Status s = loadInto(source, path, true); !s.isOk()) {
    dialogs::ShowWarning(
        this, tr("The report cannot be shown.\n%1").arg(QString::fromStdString(s.message())));
    return false;
  }
  m_reportChanged = false;  // the user was asked about the previous document before the run
  return true;
}

bool MainWindow::loading() const { return m_loader != nullptr && m_loader->running(); }

base::Status MainWindow::loadInto(const QString& source, const QString& currentFile,
                                  bool isReport) {
  auto head = reports::ReadReportFileHead(*m_deps.fileSystem, source);
  if (!head.isOk()) return head.status();
  stopLoading();  // the report loading so far gives way
  QTextDocument* document = m_rtf1->document();
  const qint64 size = head.value().size;
  // A change of wrapping lays out what the view holds: let it hold nothing then.
  const auto wrap =
      size < ReportView::kUnwrappedFromBytes ? ReportView::WidgetWidth : ReportView::NoWrap;
  m_filling = true;
  if (m_rtf1->lineWrapMode() != wrap) {
    document->clear();
    m_rtf1->fitWrappingTo(size);
  }
  // Undo starts from the loaded document, and loading records nothing to undo.
  document->setUndoRedoEnabled(false);
  if (size <= kLoadAtOnceBytes) {
    const base::Status status = reports::LoadReportFile(*m_deps.fileSystem, source, document);
    document->setUndoRedoEnabled(true);
    m_filling = false;
    if (!status.isOk()) return status;
    setCurrentFile(currentFile, isReport);
    m_rtf1->moveCursor(QTextCursor::Start);  // a report is read from its top
    return status;
  }

  document->clear();
  m_filling = false;
  setCurrentFile(currentFile, isReport);
  m_rtf1->setFilling(true);
  m_loader->start(*m_deps.fileSystem, source, document,
                  {[this](qint64 done, qint64 total) { showLoadingProgress(done, total); },
                   [this](const base::Status& status) { loadingFinished(status); }});
  showLoadingProgress(0, size);
  refreshCommandStates();
  placeReportView();
  return base::Status::ok();
}

void MainWindow::showLoadingProgress(qint64 done, qint64 total) {
  m_rtf1->filledMore();
  // During a run the progress display is the run's.
  if (m_tlbQuit->text() != tr(kQuitCaption)) return;
  m_lblProgress->setText(
      tr("Loading %1").arg(QDir::toNativeSeparators(QFileInfo(m_currentFile).fileName())));
  m_pbr1->setRange(0, 1000);
  m_pbr1->setValue(total > 0 ? int(done * 1000 / total) : 0);
  m_lblProgress->show();
  m_pbr1->show();
}

void MainWindow::loadingFinished(const base::Status& status) {
  QTextDocument* document = m_rtf1->document();
  document->setUndoRedoEnabled(true);
  m_rtf1->setFilling(false);
  if (m_tlbQuit->text() == tr(kQuitCaption)) {
    m_lblProgress->hide();
    m_pbr1->hide();
  }
  refreshCommandStates();
  placeReportView();
  if (!status.isOk()) {
    m_filling = true;
    document->clear();
    m_filling = false;
    setCurrentFile(QString(), true);
    dialogs::ShowWarning(this, tr("The report could not be read to its end, so it is not "
                                  "shown.\n%1")
                                   .arg(QString::fromStdString(status.message())));
  }
  emit reportLoaded();
}

void MainWindow::stopLoading() {
  if (!loading()) return;
  m_loader->stop();
  // What came so far stays in view and can be read; it is the start of the file.
  loadingFinished(base::Status::ok());
}

void MainWindow::setCurrentFile(const QString& path, bool isReport) {
  m_currentFile = path;
  m_currentFileIsReport = isReport;
  m_showsStartUpDocument = false;
  if (!m_notAReportMessage.isEmpty() && statusMessage() == m_notAReportMessage) showStatus({});
  m_notAReportMessage.clear();
}

base::Status MainWindow::saveReport(const QString& path, reports::ReportFormat format) {
  // A report saved into the Reports folder is written into the folder opened as runs open
  // it, never through another user's link in its place.
  std::unique_ptr<platform::GuardedFolder> reportsFolder;
  if (path.left(path.lastIndexOf(QLatin1Char(m_deps.fileSystem->pathStyle().separator)) + 1) ==
      reportsPath()) {
    auto opened = openReportsFolder();
    if (!opened.isOk()) return opened.status();
    reportsFolder = std::move(opened).value();
  }
  // A report of a million lines takes a second or two to write.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  base::Status status =
      reports::SaveReportFile(*m_deps.fileSystem, *m_rtf1->document(), path, format);
  QApplication::restoreOverrideCursor();
  if (status.isOk()) {
    setCurrentFile(path, true);  // written in the view's own form
    m_reportChanged = false;
  }
  return status;
}

bool MainWindow::isWorkFile(const QString& path) const {
  // By the path alone, never by what the real disk holds there: the window's files are on
  // its file system, and two files that are missing from the disk are not one. The program
  // folder comes canonical and the file dialogs name files below the folders they show, so
  // the work file has one spelling.
  return QDir::cleanPath(path) == QDir::cleanPath(composedReportPath());
}

void MainWindow::showSaveFailure(const base::Status& status) {
  dialogs::ShowWarning(this, tr("%1 Error Called from mnuOpen\n%2")
                                 .arg(ErrorNumber(status))
                                 .arg(QString::fromStdString(status.message())));
}

bool MainWindow::save() {
  if (loading()) return false;  // never a report read in part
  if (m_currentFile.isEmpty() && m_rtf1->document()->isEmpty()) {
    dialogs::ShowMessage(this, tr("There does not apear to be anything to save yet"));
    return false;
  }
  // The work file is rewritten by every run and deleted on closing: what the user keeps
  // needs a name of its own.
  // A file that is not a report of this program would lose what the view cannot hold.
  if (m_currentFile.isEmpty() || isWorkFile(m_currentFile) || !m_currentFileIsReport) {
    return saveAs();
  }
  const auto format = m_currentFile.contains(QLatin1String(".rtf"), Qt::CaseInsensitive)
                          ? reports::ReportFormat::kRichText
                          : reports::ReportFormat::kPlainText;
  if (base::Status s = saveReport(m_currentFile, format); !s.isOk()) {
    showSaveFailure(s);
    return false;
  }
  return true;
}

bool MainWindow::saveAs() {
  if (loading()) return false;
  QFileDialog dialog(this, tr("Select Name for Report File"), reportsPath());
  dialog.setObjectName(QStringLiteral("dlgSaveAs"));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({tr(kRichFilter), tr(kPlainFilter), tr(kOtherFilter)});
  // The default extension is the current file's: a name typed without one gets it. A
  // current file without a three-letter extension offers none, rather than three letters
  // of its name.
  const QString extension = m_currentFile.right(3);
  const bool hasExtension = m_currentFile.size() > 4 &&
                            m_currentFile.at(m_currentFile.size() - 4) == QLatin1Char('.') &&
                            !extension.contains(QLatin1Char('/'));
  dialog.setDefaultSuffix(hasExtension ? extension : QString());
  dialog.selectNameFilter(extension.compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0
                              ? tr(kRichFilter)
                              : tr(kPlainFilter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const QString path = dialog.selectedFiles().constFirst();

  const auto format =
      QFileInfo(path).fileName().contains(QLatin1String(".rtf"), Qt::CaseInsensitive)
          ? reports::ReportFormat::kRichText
          : reports::ReportFormat::kPlainText;
  base::Status s = saveReport(path, format);
  // The view shows what the file now holds: plain text loses its colours here, not later.
  if (s.isOk()) {
    s = loadReport(path);
  }
  if (!s.isOk()) {
    showSaveFailure(s);
    return false;
  }
  m_reportChanged = false;
  return true;
}

// --- Closing ---

bool MainWindow::maybeSave() {
  if (m_rtf1->document()->isEmpty() || !m_reportChanged) return true;
  switch (dialogs::Ask(this, tr("Save Report?"), tr("Save Changes to this Report?"),
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                       QMessageBox::Yes)) {
    case QMessageBox::Yes:
      // A save that failed or was cancelled keeps the window open, so nothing is lost.
      return save();
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing during a run cancels the run; the window closes once the run has wound down,
  // so no file is left half-written and the drive in progress keeps its profile.
  if (m_tlbQuit->text() != tr(kQuitCaption)) {
    event->ignore();
    if (!m_closeAfterRun) {
      m_closeAfterRun = true;
      quitOrCancel();
    }
    return;
  }
  if (!maybeSave()) {
    event->ignore();
    return;
  }
  m_loader->stop();  // nothing goes on reading for a window that is gone
  (void)m_deps.fileSystem->remove(m_deps.programFolder + kWorkFileName);  // may be missing
  event->accept();
}

void MainWindow::quitOrCancel() {
  if (m_tlbQuit->text().compare(tr(kQuitCaption), Qt::CaseInsensitive) != 0) {
    play(QStringLiteral("cxl"));
    hideProgress();
    dispatch(m_deps.commands.cancelRun);
    return;
  }
  close();
}

void MainWindow::runFinished() {
  if (!m_closeAfterRun) return;
  m_closeAfterRun = false;
  close();
}

// --- Run state ---

void MainWindow::enterCancelMode() {
  for (QAction* action : m_tlb1->actions()) action->setEnabled(false);
  m_tlbQuit->setText(tr(kCancelCaption));
  m_tlbQuit->setIcon(Picture("process-stop", "cancel"));
  m_tlbQuit->setEnabled(true);
  m_mnuReports->menuAction()->setEnabled(false);
  m_mnuOptions->menuAction()->setEnabled(false);
}

void MainWindow::leaveCancelMode() {
  m_tlbQuit->setText(tr(kQuitCaption));
  m_tlbQuit->setIcon(Picture("application-exit", "quit"));
  for (QAction* action : m_tlb1->actions()) action->setEnabled(true);
  refreshCommandStates();  // commands not wired yet stay disabled
  m_mnuReports->menuAction()->setEnabled(true);
  m_mnuOptions->menuAction()->setEnabled(true);
}

void MainWindow::enterRunMode() {
  enterCancelMode();
  setCursor(Qt::BusyCursor);
  m_rtf1->hide();
}

void MainWindow::leaveRunMode() {
  m_rtf1->show();
  leaveCancelMode();
  enableReportCommands();
  unsetCursor();
}

void MainWindow::showProgress(const ProgressDisplay& display) {
  if (m_lblProgress->text() != display.caption) m_lblProgress->setText(display.caption);
  m_lblProgress->setVisible(display.captionVisible);
  // The bar counts in int; a drive with more steps than that shows them scaled.
  const std::int64_t scale = display.barMaximum > INT_MAX ? display.barMaximum / INT_MAX + 1 : 1;
  const int maximum = int(display.barMaximum / scale);
  const int value = int(std::min(display.barValue, display.barMaximum) / scale);
  if (m_pbr1->maximum() != maximum || m_pbr1->minimum() != 0) m_pbr1->setRange(0, maximum);
  if (m_pbr1->value() != value) m_pbr1->setValue(value);
  m_pbr1->setVisible(display.barVisible);
}

void MainWindow::hideProgress() {
  m_lblProgress->hide();
  m_pbr1->hide();
}

bool MainWindow::showsEarlierReport() const {
  return !m_showsStartUpDocument && !m_rtf1->document()->isEmpty();
}

void MainWindow::clearInfoOnly() {
  m_infoOnly = false;
  m_mnuInfoOnly->setChecked(false);
}

void MainWindow::enableReportCommands() {
  m_reportCommandsEnabled = true;
  refreshCommandStates();
}

// --- Settings and sound ---

std::optional<bool> MainWindow::play(const QString& waveName) { return m_sound.play(waveName); }

base::Status MainWindow::saveOptions() {
  return engine::SaveOptions(*m_deps.fileSystem,
                             m_deps.programFolder + std::string(engine::kSettingsFileName),
                             m_settings);
}

base::Status MainWindow::resetOptions() {
  return engine::ResetOptions(*m_deps.fileSystem,
                              m_deps.programFolder + std::string(engine::kSettingsFileName),
                              &m_settings);
}

void MainWindow::storeSettings() {
  (void)dialogs::StoreSettings(
      this, [this](const engine::SettingsRecord&) { return saveOptions(); }, m_settings);
}

void MainWindow::toggleSound() {
  if (!m_sound.soundCardPresent()) {
    dialogs::ShowWarning(this, QCoreApplication::translate("app::SoundCues", kNoSoundCardMessage));
    return;
  }
  m_settings.SoundOn = m_sound.toggle();
  m_mnuSound->setText(m_sound.caption());
  storeSettings();
}

void MainWindow::toggleRecycled() {
  // The record, not the check mark, says what is on: a click has already flipped the mark.
  const bool on = !m_settings.includeRecycled();
  m_settings.setIncludeRecycled(on);
  m_mnuRecycled->setChecked(on);
  storeSettings();
}

void MainWindow::toggleInfoOnly() {
  m_infoOnly = !m_infoOnly;
  m_mnuInfoOnly->setChecked(m_infoOnly);
}

void MainWindow::toggleHidden() {
  m_includeHidden = !m_includeHidden;
  m_mnuHidden->setChecked(m_includeHidden);
  if (base::Status s = engine::StoreIncludeHidden(
          *m_deps.fileSystem, m_deps.programFolder + std::string(engine::kConfFileName),
          m_includeHidden);
      !s.isOk()) {
    dialogs::ShowNotStored(this, s);
  }
}

// --- dispatch ---

void MainWindow::dispatch(const std::function<void()>& command) {
  if (command) command();
}

void MainWindow::runToolbarButton(QAction* button) {
  if (button == nullptr) return;
  const QString key = button->property("key").toString();
  const auto is = [&key](const char* name) {
    return key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
  };
  if (is("find")) {
    findChanges();
  } else if (is("options")) {
    dispatch(m_deps.commands.showOptions);
  } else if (is("quit")) {
    quitOrCancel();
  } else if (is("open")) {
    open();
  } else if (is("save")) {
    save();
  } else if (is("print")) {
    print();
  } else if (is("help")) {
    helpContents();
  }
}

void MainWindow::findChanges() {
  if (!m_deps.commands.findChanges) return;
  // A run that reports puts its report in place of the view's document: what the user
  // typed gets the question that closing and opening ask, before anything starts.
  if (!maybeSave()) return;
  dispatch(m_deps.commands.findChanges);
}
void MainWindow::open() { dispatch(m_deps.commands.openReport); }
void MainWindow::compareWithEarlierRun() { dispatch(m_deps.commands.compareWithEarlierRun); }
void MainWindow::print() { dispatch(m_deps.commands.printReport); }
void MainWindow::printingOptions() { dispatch(m_deps.commands.printingOptions); }
void MainWindow::editIgnoreList() { dispatch(m_deps.commands.editIgnoreList); }
void MainWindow::editFolderDrives() { dispatch(m_deps.commands.editFolderDrives); }
void MainWindow::helpContents() { dispatch(m_deps.commands.helpContents); }
void MainWindow::helpIndex() { dispatch(m_deps.commands.helpIndex); }
void MainWindow::about() { dispatch(m_deps.commands.showAbout); }
void MainWindow::openWebPage() { dispatch(m_deps.commands.openWebPage); }

}  // namespace app
