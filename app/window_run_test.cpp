// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Whole runs through the main window on folder drives in a temporary folder: the drive
// selection and its questions answered by a script, the run on its worker thread, cancel
// mode, cancelling and closing mid-drive at a folder the test holds the run at.
#include "app/window_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <condition_variable>
#include <map>
#include <mutex>

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>

#include "app/translations_test_support.h"
#include "app/window_test_support.h"
#include "dialogs/history/history_dialog.h"
#include "engine/history.h"
#include "engine/settings_record.h"
#include "platform/qt/qt_locale_format.h"
#include "platform/qt/qt_volumes.h"
#include "platform/run_lock.h"
#include "platform/testing/other_process.h"
#include "reports/plain_text.h"
#include "reports/report_file.h"

namespace app::testing {
namespace {

// The POSIX file system with a gate: the listing of a folder below the chosen one, or a
// file the run replaces (a report, a profile) at a chosen stage of its writing, waits until
// the test opens the gate, so the run is held in the middle of that drive or of that save.
class GateFileSystem final : public platform::FileSystem {
 public:
  enum class Stage {
    kNone,
    kWritten,  // the file's bytes are being written, it is not yet renamed into place
    kRenamed,  // the file is in place
  };

  void holdAt(const std::string& folder) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_prefix = folder;
    m_open = false;
    m_reached = false;
  }
  // Holds the replacement of the first file whose path contains `name` at `stage`.
  void holdReplacing(const std::string& name, Stage stage) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_replacing = name;
    m_stage = stage;
    m_open = false;
    m_reached = false;
  }
  [[nodiscard]] bool reached() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_reached;
  }
  void open() {
    {
      const std::lock_guard<std::mutex> lock(m_mutex);
      m_open = true;
    }
    m_opened.notify_all();
  }

  platform::PathStyle pathStyle() const override { return m_fs.pathStyle(); }
  base::Status listFolder(const std::string& folder, platform::ListWhat what,
                          platform::FolderListing* out) override {
    pass(folder);
    return m_fs.listFolder(folder, what, out);
  }
  base::Result<std::unique_ptr<platform::FolderTree>> openTree(const std::string& root) override {
    auto tree = m_fs.openTree(root);
    if (!tree.isOk()) return tree.status();
    return std::unique_ptr<platform::FolderTree>(
        std::make_unique<GatedTree>(*this, std::move(tree).value()));
  }
  base::Result<platform::FileId> folderId(const std::string& path) override {
    return m_fs.folderId(path);
  }
  base::Result<std::unique_ptr<platform::GuardedFolder>> openGuardedFolder(
      const std::string& programFolder, std::string_view name) override {
    return m_fs.openGuardedFolder(programFolder, name);
  }
  bool isOrdinaryFile(const std::string& path) override { return m_fs.isOrdinaryFile(path); }
  bool isFolder(const std::string& path) override { return m_fs.isFolder(path); }
  bool exists(const std::string& path) override { return m_fs.exists(path); }
  base::Result<platform::UnixSeconds> modificationTime(const std::string& path) override {
    return m_fs.modificationTime(path);
  }
  base::Result<std::unique_ptr<platform::SequentialFile>> openForReading(
      const std::string& path) override {
    return m_fs.openForReading(path);
  }
  base::Result<std::unique_ptr<platform::ReplacementFile>> openForReplacing(
      const std::string& path, platform::Durability durability) override {
    auto file = m_fs.openForReplacing(path, durability);
    {
      const std::lock_guard<std::mutex> lock(m_mutex);
      if (!file.isOk() || m_replacing.empty() || path.find(m_replacing) == std::string::npos) {
        return file;
      }
    }
    return std::unique_ptr<platform::ReplacementFile>(
        std::make_unique<GatedFile>(*this, std::move(file).value()));
  }
  base::Status rename(const std::string& from, const std::string& to) override {
    return m_fs.rename(from, to);
  }
  base::Status remove(const std::string& path) override { return m_fs.remove(path); }
  base::Status createFolders(const std::string& path) override { return m_fs.createFolders(path); }
  void removeStaleTemporaries(const std::string& folder) override {
    m_fs.removeStaleTemporaries(folder);
  }
  base::Result<std::string> realFolderPath(const std::string& folder) override {
    return m_fs.realFolderPath(folder);
  }
  base::Result<std::unique_ptr<platform::FileLock>> tryLockFile(
      const std::string& path, std::string_view holder, std::string* currentHolder) override {
    return m_fs.tryLockFile(path, holder, currentHolder);
  }
  std::vector<std::string> recycleBinFolders(const std::string& driveRoot) override {
    return m_fs.recycleBinFolders(driveRoot);
  }
  std::vector<std::string> trashFolders(const std::string& driveRoot) override {
    return m_fs.trashFolders(driveRoot);
  }

 private:
  // A replaced file that stops at the gate at the stage the test chose.
  class GatedFile final : public platform::ReplacementFile {
   public:
    GatedFile(GateFileSystem& gate, std::unique_ptr<platform::ReplacementFile> file)
        : m_gate(gate), m_file(std::move(file)) {}
    base::Status append(std::string_view data) override {
      base::Status s = m_file->append(data);
      m_gate.Reach(Stage::kWritten);
      return s;
    }
    base::Status close() override { return m_file->close(); }
    base::Status commit() override {
      base::Status s = m_file->commit();
      m_gate.Reach(Stage::kRenamed);
      return s;
    }
    void abandon() override { m_file->abandon(); }
    const std::string& targetPath() const override { return m_file->targetPath(); }
    const std::string& temporaryPath() const override { return m_file->temporaryPath(); }

   private:
    GateFileSystem& m_gate;
    std::unique_ptr<platform::ReplacementFile> m_file;
  };

  // The walk's tree, whose listings pass the gate too.
  class GatedTree final : public platform::FolderTree {
   public:
    GatedTree(GateFileSystem& gate, std::unique_ptr<platform::FolderTree> tree)
        : m_gate(gate), m_tree(std::move(tree)) {}
    const std::string& root() const override { return m_tree->root(); }
    platform::FileId rootId() const override { return m_tree->rootId(); }
    base::Status list(const std::string& folder, platform::FileId expected, platform::ListWhat what,
                      platform::FolderListing* out) override {
      m_gate.pass(folder);
      return m_tree->list(folder, expected, what, out);
    }

   private:
    GateFileSystem& m_gate;
    std::unique_ptr<platform::FolderTree> m_tree;
  };

  void Wait(std::unique_lock<std::mutex>& lock) {
    m_reached = true;
    m_opened.wait(lock, [this] { return m_open; });
  }
  void Reach(Stage stage) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (stage == m_stage) Wait(lock);
  }

  // Waits at the gate while it is closed for `folder`.
  void pass(const std::string& folder) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_prefix.empty() && folder.starts_with(m_prefix)) Wait(lock);
  }

  platform::PosixFileSystem m_fs;
  std::mutex m_mutex;
  std::condition_variable m_opened;
  std::string m_prefix;
  std::string m_replacing;
  Stage m_stage = Stage::kNone;
  bool m_open = true;
  bool m_reached = false;
};

void Type(MainWindow& window, const QString& text) {
  window.reportView()->setFocus();
  QTest::keyClicks(window.reportView(), text);
}

QListWidget* DriveRows(QWidget* dialog) {
  return dialog->findChild<QListWidget*>(QStringLiteral("lstDrives"));
}

// The letters of the folder drives D, E and F that the dialog shows marked.
QString MarkedLetters(QWidget* dialog) {
  QString letters;
  QListWidget* rows = DriveRows(dialog);
  for (int i = 0; i < rows->count(); ++i) {
    const QString text = rows->item(i)->text();
    if (rows->item(i)->checkState() == Qt::Checked) letters += text.at(0).toUpper();
  }
  return letters;
}

// A drive selection action: records the marks it was shown with in `*shown`, marks exactly
// the drives of `letters` by clicking their rows and presses Ok (or Cancel).
DialogScript::Action Select(const QString& letters, QString* shown = nullptr, bool accept = true) {
  return [=](QWidget* dialog) {
    if (shown != nullptr) *shown = MarkedLetters(dialog);
    QListWidget* rows = DriveRows(dialog);
    for (int i = 0; i < rows->count(); ++i) {
      const bool marked = rows->item(i)->checkState() == Qt::Checked;
      if (marked != letters.contains(rows->item(i)->text().at(0).toUpper())) {
        const QRect rect = rows->visualItemRect(rows->item(i));
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
      }
    }
    EXPECT_EQ(MarkedLetters(dialog), letters);
    dialog
        ->findChild<QPushButton*>(accept ? QStringLiteral("OkSelBut") : QStringLiteral("CxlSelBut"))
        ->click();
  };
}

// A frmMulti action: clicks `choice` ("optSingle", "optMany" or nothing) and then "&OK", or
// the close box when `ok` is false. `*startedSingle` gets the choice it opened with.
DialogScript::Action Choose(const char* choice, bool ok, bool* startedSingle = nullptr) {
  return [=](QWidget* dialog) {
    if (startedSingle != nullptr) {
      *startedSingle = dialog->findChild<QRadioButton*>(QStringLiteral("optSingle"))->isChecked();
    }
    if (choice != nullptr) {
      dialog->findChild<QRadioButton*>(QLatin1String(choice))->click();
    }
    if (ok) {
      dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    } else {
      dialog->close();
    }
  };
}

// Another process that tries to take the run lock of `folder` and holds it when it could.
std::unique_ptr<platform::OtherProcess> LockFromAnotherProcess(const std::string& folder) {
  return std::make_unique<platform::OtherProcess>([folder]() -> std::shared_ptr<void> {
    platform::PosixFileSystem fs;
    auto lock = platform::RunLock::TryTake(fs, folder);
    return lock.isOk() ? std::make_shared<platform::RunLock>(std::move(lock).value()) : nullptr;
  });
}

// Whether another program could take the run lock of the program folder `folder` now: asks
// util-linux's flock(1), a process of its own.
bool LockIsFreeForAnotherProgram(const QString& folder) {
  constexpr int kHeld = 75;
  const int exitCode =
      QProcess::execute(QStringLiteral("flock"),
                        {QStringLiteral("-n"), QStringLiteral("-E"), QString::number(kHeld),
                         folder + QLatin1String(platform::kRunLockName), QStringLiteral("true")});
  EXPECT_TRUE(exitCode == 0 || exitCode == kHeld) << "flock failed: " << exitCode;
  return exitCode == 0;
}

const QString kCreateOne = QStringLiteral(
    "I do not yet have a profile for 1 of the drives you selected.\nDo you want to create it "
    "now?");

class RunTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(m_drives.isValid());
    QByteArray lines;
    for (const char* letter : {"D", "E", "F"}) {
      ASSERT_TRUE(QDir().mkpath(drive(letter) + "sub"));
      Put(letter, "sub/kept.txt", "same");
      Put(letter, "old.txt", "first");
      lines += QByteArray(letter) + '\t' + drive(letter).toUtf8() + '\n';
    }
    ASSERT_TRUE(WriteBytes(folder() + "drives.txt", lines));
    // Sounds on, rich-text reports named by drive only: each report's name is known.
    engine::SettingsRecord settings;
    settings.SoundOn = 1;
    settings.ReportFormat = 'R';
    settings.ReportNaming = 'D';
    ASSERT_TRUE(engine::SaveOptions(m_fs, folder().toStdString() + "BV3.Def", settings).isOk());

    m_volumes = std::make_unique<platform::QtVolumes>(m_fs, folder().toStdString());
    m_window = Start();
    m_run = std::make_unique<WindowRun>(
        WindowRunDependencies{m_window.get(), &m_gate, m_volumes.get(), &m_locale});
    MainWindowCommands commands;
    m_run->connectTo(&commands);
    m_window->setCommands(commands);
    QObject::connect(m_run.get(), &WindowRun::finished, [this] { ++m_finishedRuns; });
    m_sound.played.clear();
  }

  void TearDown() override {
    m_gate.open();  // a failed test must not leave the worker waiting
    m_run.reset();
    m_script.reset();
    m_window.reset();
  }

  // The folder of a drive, ending in '/'.
  QString drive(const char* letter) const {
    return m_drives.path() + QLatin1Char('/') + QString::fromLatin1(letter).toLower() +
           QLatin1Char('/');
  }
  // The drive as the drive list shows it: "d: [/tmp/.../d]".
  QString Shown(const char* letter) const {
    return QString::fromLatin1(letter).toLower() + ": [" + drive(letter).chopped(1) + "]";
  }
  void Put(const char* letter, const char* name, const QByteArray& bytes) {
    ASSERT_TRUE(WriteBytes(drive(letter) + QLatin1String(name), bytes));
  }
  QByteArray Profile(const char* letter) const {
    return FileBytes(folder() + QStringLiteral("Prof_%1_.bvp").arg(QLatin1String(letter)));
  }
  QStringList Reports() const { return QDir(reports()).entryList(QDir::Files, QDir::Name); }
  engine::SettingsRecord StoredSettings() {
    engine::SettingsRecord stored;
    EXPECT_TRUE(engine::LoadSettings(m_fs, folder().toStdString() + "BV3.Def", &stored).isOk());
    return stored;
  }

  // Starts a run with "&Find 'em" and waits until it has ended.
  [[nodiscard]] bool RunToEnd() {
    Click(*m_window, "find");
    return WaitForRunEnd();
  }
  [[nodiscard]] bool WaitForRunEnd() {
    const int before = m_finishedRuns;
    return QTest::qWaitFor([&] { return m_finishedRuns > before || !m_run->running(); }, 20000) &&
           !m_run->running();
  }
  // Profiles of D, E and F and a change on each (the profiles as they were in m_stored),
  // then a run of all three, `choice` clicked in frmMulti, held where drive E begins.
  void HoldTheSecondOfThreeDrives(const char* choice) {
    CreateProfiles("DEF");
    for (const char* letter : {"D", "E", "F"}) {
      m_stored[letter] = Profile(letter);
      Put(letter, "old.txt", "changed");
    }
    m_gate.holdAt(drive("E").toStdString());
    m_script = std::make_unique<DialogScript>();
    m_script->then("dialogs::DriveSelectionDialog", Select("DEF"))
        .then("dialogs::MultiReportDialog", Choose(choice, true));
    Click(*m_window, "find");
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_gate.reached(); }, 20000));
  }
  // A run of drive D, cancelled while the file whose path holds `name` (its report, its
  // profile) is held at `stage` of its saving.
  void CancelWhileReplacing(const std::string& name, GateFileSystem::Stage stage) {
    m_gate.holdReplacing(name, stage);
    DialogScript script;
    script.then("dialogs::DriveSelectionDialog", Select("D"));
    Click(*m_window, "find");
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_gate.reached(); }, 20000));
    Click(*m_window, "quit");
    m_gate.open();
    ASSERT_TRUE(WaitForRunEnd());
  }
  // A run that makes the profiles of `letters`, which have none.
  void CreateProfiles(const QString& letters) {
    DialogScript script;
    script.then("dialogs::DriveSelectionDialog", Select(letters))
        .then("QMessageBox", Press(QMessageBox::Yes));
    ASSERT_TRUE(RunToEnd());
    m_sound.played.clear();
  }

  QTemporaryDir m_drives;
  GateFileSystem m_gate;
  platform::QtLocaleFormat m_locale{QLocale(QLocale::English, QLocale::UnitedStates)};
  std::unique_ptr<platform::QtVolumes> m_volumes;
  std::unique_ptr<MainWindow> m_window;
  std::unique_ptr<WindowRun> m_run;
  int m_finishedRuns = 0;
  std::map<std::string, QByteArray> m_stored;
  std::unique_ptr<DialogScript> m_script;
};

TEST_F(RunTest, InGermanTheMissingProfileQuestionAndTheStatusBarAreGerman) {
  const testing::ScopedLanguage german(testing::German());
  ASSERT_TRUE(german.loaded());
  MessageSeen asked;
  {
    DialogScript script;
    script.then("dialogs::DriveSelectionDialog", Select("D"))
        .then("QMessageBox", Press(QMessageBox::Yes, &asked));
    ASSERT_TRUE(RunToEnd());
  }
  EXPECT_EQ(asked.title, "Neue(s) Profil(e) anlegen?");
  EXPECT_EQ(asked.text,
            "Für 1 der ausgewählten Laufwerke gibt es noch kein Profil.\n"
            "Soll es jetzt angelegt werden?");
  EXPECT_FALSE(Profile("D").isEmpty());
  EXPECT_EQ(m_window->statusMessage(),
            "Profil angelegt für " + Shown("D") + ": 2 Dateien in 2 Ordnern.");
}

TEST_F(RunTest, MissingProfilesAreOfferedAndMadeWithoutAReport) {
  // One drive without a profile: the singular question. No goes back to the drive selection
  // with its marks; Yes creates the profile.
  MessageSeen first;
  MessageSeen second;
  QString shownAgain;
  {
    DialogScript script;
    script.then("dialogs::DriveSelectionDialog", Select("D"))
        .then("QMessageBox", Press(QMessageBox::No, &first))
        .then("dialogs::DriveSelectionDialog", Select("D", &shownAgain))
        .then("QMessageBox", Press(QMessageBox::Yes, &second));
    ASSERT_TRUE(RunToEnd());
  }
  EXPECT_EQ(first.title, "Create New Profile(s)?");
  EXPECT_EQ(first.text, kCreateOne);
  EXPECT_EQ(first.icon, QMessageBox::Question);
  EXPECT_EQ(first.buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(second.text, kCreateOne);
  EXPECT_EQ(shownAgain, "D");
  EXPECT_FALSE(Profile("D").isEmpty());
  EXPECT_TRUE(Profile("D").contains("kept.txt"));
  EXPECT_EQ(m_sound.played, QStringList({"start", "done"}));
  // Nothing was compared: no report, and the view keeps what it showed.
  EXPECT_TRUE(Reports().isEmpty());
  EXPECT_EQ(m_window->currentFile(), m_window->composedReportPath());
  EXPECT_EQ(m_window->statusMessage(),
            "Profile created for " + Shown("D") + ": 2 files in 2 folders.");

  // All marked drives without a profile: the plural question, and still no report.
  MessageSeen plural;
  DialogScript again;
  again.then("dialogs::DriveSelectionDialog", Select("EF"))
      .then("QMessageBox", Press(QMessageBox::Yes, &plural));
  ASSERT_TRUE(RunToEnd());
  EXPECT_EQ(plural.text,
            "I do not yet have profiles for 2 of the drives you selected.\nDo you want to create "
            "them now?");
  EXPECT_FALSE(Profile("E").isEmpty());
  EXPECT_FALSE(Profile("F").isEmpty());
  EXPECT_TRUE(Reports().isEmpty());
  EXPECT_EQ(m_run->lastOutcome().comparedDrives, 0);
  EXPECT_EQ(m_window->statusMessage(), "Profiles created for " + Shown("E") +
                                           ": 2 files in 2 folders; " + Shown("F") +
                                           ": 2 files in 2 folders.");
}

TEST_F(RunTest, ReportsPerDriveOrOneCombinedReport) {
  CreateProfiles("DEF");
  ASSERT_TRUE(QFile::remove(folder() + "Prof_F_.bvp"));

  // One compared drive and one new: no single/many question, the drive's report is saved
  // and shown.
  Put("D", "grown.txt", "new on d");
  {
    DialogScript script;
    script.then("dialogs::DriveSelectionDialog", Select("DF"))
        .then("QMessageBox", Press(QMessageBox::Yes));
    ASSERT_TRUE(RunToEnd());
  }
  EXPECT_EQ(Reports(), QStringList{"Drive_D.rtf"});
  EXPECT_EQ(m_window->currentFile(), reports() + "Drive_D.rtf");
  EXPECT_TRUE(m_window->reportView()->toPlainText().contains("grown.txt"));
  // The saved report is the composer's own bytes.
  EXPECT_EQ(FileBytes(reports() + "Drive_D.rtf"), FileBytes(m_window->composedReportPath()));
  EXPECT_FALSE(Profile("F").isEmpty());
  EXPECT_EQ(m_sound.played, QStringList({"start", "done"}));
  EXPECT_EQ(m_window->statusMessage(), "Profile created for " + Shown("F") +
                                           ": 2 files in 2 folders. Report saved: Drive_D.rtf.");

  // Two compared drives: frmMulti, starting from the stored choice (a report for each).
  // Each drive's report is saved; the view shows the last one.
  Put("D", "grown.txt", "changed on d");
  Put("E", "added-on-e.txt", "e");
  bool startedSingle = true;
  {
    DialogScript script;
    script.then("dialogs::DriveSelectionDialog", Select("DE"))
        .then("dialogs::MultiReportDialog", Choose(nullptr, true, &startedSingle));
    ASSERT_TRUE(RunToEnd());
  }
  EXPECT_FALSE(startedSingle);
  EXPECT_EQ(Reports(), QStringList({"Drive_D.rtf", "Drive_E.rtf"}));
  EXPECT_EQ(m_window->currentFile(), reports() + "Drive_E.rtf");
  EXPECT_TRUE(m_window->reportView()->toPlainText().contains("added-on-e.txt"));
  EXPECT_FALSE(m_window->reportView()->toPlainText().contains("grown.txt"));
  EXPECT_TRUE(FileBytes(reports() + "Drive_D.rtf").contains("grown.txt"));
  EXPECT_EQ(m_window->statusMessage(),
            "Reports saved: Drive_D.rtf, Drive_E.rtf. Showing Drive_E.rtf.");
  // The user's note goes into that report with a plain Save.
  m_window->reportView()->setFocus();
  QTest::keyClicks(m_window->reportView(), "my note ");
  EXPECT_TRUE(m_window->reportChanged());
  EXPECT_TRUE(m_window->save());
  EXPECT_TRUE(FileBytes(reports() + "Drive_E.rtf").contains("my note"));

  // "One Large Report" and the close box: one report of both drives under the tag of the
  // marked drives, for this run only; the settings file keeps its choice.
  Put("D", "third.txt", "d");
  Put("E", "third-e.txt", "e");
  {
    DialogScript script;
    script.then("dialogs::DriveSelectionDialog", Select("DEF"))
        .then("dialogs::MultiReportDialog", Choose("optSingle", false));
    ASSERT_TRUE(RunToEnd());
  }
  EXPECT_EQ(Reports(), QStringList({"Drive_D.rtf", "Drive_D_E_F_.rtf", "Drive_E.rtf"}));
  EXPECT_EQ(m_window->currentFile(), reports() + "Drive_D_E_F_.rtf");
  const QString combined = m_window->reportView()->toPlainText();
  EXPECT_TRUE(combined.contains("third.txt"));
  EXPECT_TRUE(combined.contains("third-e.txt"));
  EXPECT_EQ(FileBytes(reports() + "Drive_D_E_F_.rtf"), FileBytes(m_window->composedReportPath()));
  EXPECT_EQ(m_window->statusMessage(), "Report saved: Drive_D_E_F_.rtf.");
  EXPECT_EQ(StoredSettings().OneReport, 0);
  EXPECT_EQ(m_window->settings().OneReport, 1);

  // "&OK" stores the choice.
  {
    DialogScript script;
    script.then("dialogs::DriveSelectionDialog", Select("DE"))
        .then("dialogs::MultiReportDialog", Choose(nullptr, true, &startedSingle));
    ASSERT_TRUE(RunToEnd());
  }
  EXPECT_TRUE(startedSingle);
  EXPECT_EQ(StoredSettings().OneReport, 1);
  EXPECT_TRUE(Reports().contains("Drive_D_E_.rtf"));
  EXPECT_EQ(m_window->currentFile(), reports() + "Drive_D_E_.rtf");
}

// A settings file that holds no naming letter names each report by drive, date and time,
// and the drive selection shows so: no run replaces an earlier report unasked.
TEST_F(RunTest, ANewSettingsFileNamesReportsByTimeAndDate) {
  CreateProfiles("D");
  ASSERT_TRUE(WriteBytes(folder() + "BV3.Def", QByteArray(33, '\0')));
  ASSERT_TRUE(m_window->resetOptions().isOk());
  bool timeShown = false;
  for (const char* change : {"one", "two"}) {
    Put("D", change, change);
    DialogScript script;
    script.then("dialogs::DriveSelectionDialog", [&](QWidget* dialog) {
      timeShown = dialog->findChild<QRadioButton*>(QStringLiteral("optTime"))->isChecked();
      Select("D")(dialog);
    });
    ASSERT_TRUE(RunToEnd());
    EXPECT_TRUE(timeShown);
  }
  const QStringList saved = Reports();
  ASSERT_EQ(saved.size(), 2) << saved.join(' ').toStdString();
  const QRegularExpression stamped(
      QStringLiteral("^Drive_D_\\d{1,2}-\\d{1,2}-\\d\\d_\\d{4}(_2)?\\.txt$"));
  for (const QString& name : saved)
    EXPECT_TRUE(stamped.match(name).hasMatch()) << name.toStdString();
  EXPECT_TRUE(saved.contains(QFileInfo(m_window->currentFile()).fileName()));
  EXPECT_EQ(StoredSettings().ReportNaming, 0);  // showing the choice stored nothing
  // The plain-text report is the composed report's plain-text form; the view shows the
  // composed report, colours and all, under the plain-text file's name.
  QTextDocument composed;
  ASSERT_TRUE(reports::LoadReportFile(m_fs, m_window->composedReportPath(), &composed).isOk());
  EXPECT_EQ(FileBytes(m_window->currentFile()), reports::PlainTextOf(composed));
  const QTextDocument* shown = m_window->reportView()->document();
  EXPECT_EQ(reports::PlainTextOf(*shown), reports::PlainTextOf(composed));
  const QTextBlock added = shown->find(QStringLiteral("Added two")).block();
  ASSERT_TRUE(added.isValid());
  EXPECT_EQ(QTextCursor(added).charFormat().foreground().color(), QColor(0, 0, 128));
}

// A report too large to read at once is shown as it loads, once the run has ended; the
// saved file is the composer's own bytes, and the view holds all of it in the end.
TEST_F(RunTest, ALargeReportIsShownInTheBackgroundAfterTheRun) {
  CreateProfiles("D");
  ASSERT_TRUE(QDir().mkpath(drive("D") + "many"));
  for (int i = 0; i < 9000; ++i) {
    Put("D", qPrintable(QStringLiteral("many/added-file-number-%1.dat").arg(i)), "x");
  }
  QSignalSpy loaded(m_window.get(), &MainWindow::reportLoaded);
  DialogScript script;
  script.then("dialogs::DriveSelectionDialog", Select("D"));
  ASSERT_TRUE(RunToEnd());
  const QString saved = reports() + "Drive_D.rtf";
  ASSERT_GT(QFileInfo(saved).size(), MainWindow::kLoadAtOnceBytes);
  EXPECT_EQ(FileBytes(saved), FileBytes(m_window->composedReportPath()));
  EXPECT_EQ(m_window->currentFile(), saved);
  ASSERT_TRUE(QTest::qWaitFor([&] { return loaded.count() > 0; }, 30000));
  QTextDocument expected;
  ASSERT_TRUE(reports::LoadReportFile(m_fs, saved, &expected).isOk());
  EXPECT_EQ(m_window->reportView()->document()->blockCount(), expected.blockCount());
  EXPECT_EQ(reports::PlainTextOf(*m_window->reportView()->document()),
            reports::PlainTextOf(expected));
  EXPECT_TRUE(m_window->findChild<QAction*>(QStringLiteral("mnuSave"))->isEnabled());
  EXPECT_FALSE(m_window->reportChanged());
  // The status bar tells of the report that is now shown whole, as for a short one.
  EXPECT_EQ(m_window->statusMessage(), "Report saved: Drive_D.rtf.");
}

TEST_F(RunTest, InfoOnlyRunReportsButWritesNoProfileAndSwitchesItselfOff) {
  CreateProfiles("D");
  const QByteArray storedD = Profile("D");
  Put("D", "old.txt", "grew a little");
  m_window->reportView()->setFocus();
  QTest::keyClicks(m_window->reportView(), "typed");
  ASSERT_TRUE(m_window->reportChanged());

  m_window->toggleInfoOnly();
  ASSERT_TRUE(m_window->infoOnly());
  DialogScript script;
  script
      .then("QMessageBox", Press(QMessageBox::No))  // Save Changes to this Report?
      .then("dialogs::DriveSelectionDialog", Select("DE"))
      .then("QMessageBox", Press(QMessageBox::Yes));
  ASSERT_TRUE(RunToEnd());
  EXPECT_EQ(Reports(), QStringList{"Drive_D.rtf"});
  EXPECT_TRUE(m_window->reportView()->toPlainText().contains("old.txt"));
  EXPECT_EQ(Profile("D"), storedD);
  EXPECT_TRUE(Profile("E").isNull());
  EXPECT_FALSE(m_window->infoOnly());
  EXPECT_FALSE(m_window->findChild<QAction*>(QStringLiteral("mnuInfoOnly"))->isChecked());
  // E was scanned, but no profile was made for it.
  EXPECT_EQ(m_window->statusMessage(),
            "Report saved: Drive_D.rtf. Info only: the stored profiles were not replaced.");
  // The view shows the run's report now: nothing in it is the user's unsaved work.
  EXPECT_FALSE(m_window->reportChanged());
}

// A settings file may hold 1 for the recycle bins: the menu shows it checked and the scan
// takes the drive's trash in.
TEST_F(RunTest, ARecycleBinSettingOfOneIncludesTheTrash) {
  const QString trash = drive("D") + QStringLiteral(".Trash-%1/files/").arg(::getuid());
  ASSERT_TRUE(QDir().mkpath(trash));
  ASSERT_TRUE(WriteBytes(trash + "thrown-away.txt", "gone"));
  m_window->settings().IncludeRecycled = 1;  // as read from such a file
  CreateProfiles("D");
  EXPECT_TRUE(Profile("D").contains("thrown-away.txt"));

  m_window->settings().IncludeRecycled = 0;
  ASSERT_TRUE(QFile::remove(folder() + "Prof_D_.bvp"));
  CreateProfiles("D");
  EXPECT_FALSE(Profile("D").contains("thrown-away.txt"));
}

TEST_F(RunTest, HiddenFilesFollowTheMenuAndAChangeIsToldInTheStatusBarForOneRun) {
  Put("D", ".rc", "r");
  CreateProfiles("D");
  EXPECT_FALSE(Profile("D").contains(".rc"));

  m_window->findChild<QAction*>(QStringLiteral("mnuHidden"))->trigger();
  ASSERT_TRUE(m_window->includeHidden());
  const auto runD = [&] {
    DialogScript script;
    script.then("dialogs::DriveSelectionDialog", Select("D"));
    return RunToEnd();
  };
  ASSERT_TRUE(runD());
  EXPECT_TRUE(Profile("D").contains(".rc"));
  EXPECT_TRUE(m_window->reportView()->toPlainText().contains(QStringLiteral("Added .rc")));
  // The notice first, then what the run saved.
  EXPECT_EQ(m_window->statusMessage(), "Hidden files are now included for " + Shown("D") +
                                           ": their files show as added this once. Report "
                                           "saved: Drive_D.rtf.");

  // The next run's profile was made with the setting: the notice is not said again.
  ASSERT_TRUE(runD());
  EXPECT_EQ(m_window->statusMessage(), "Report saved: Drive_D.rtf.");

  // Turned off again: the files go as deleted, and that is said once too.
  m_window->findChild<QAction*>(QStringLiteral("mnuHidden"))->trigger();
  ASSERT_FALSE(m_window->includeHidden());
  ASSERT_TRUE(runD());
  EXPECT_FALSE(Profile("D").contains(".rc"));
  EXPECT_TRUE(m_window->reportView()->toPlainText().contains(QStringLiteral("Deleted .rc")));
  EXPECT_EQ(m_window->statusMessage(), "Hidden files are now left out for " + Shown("D") +
                                           ": their files show as deleted this once. Report "
                                           "saved: Drive_D.rtf.");
}

// A watched folder that is gone is listed so that the user sees it, but it cannot be marked
// and is never scanned: its profile is not replaced by one of an empty folder.
TEST_F(RunTest, AWatchedFolderThatIsGoneIsListedGreyedAndCannotBeMarked) {
  CreateProfiles("DF");
  const QByteArray storedF = Profile("F");
  ASSERT_TRUE(QDir().rename(drive("F"), m_drives.path() + "/f-moved"));
  QString shownF;
  bool markableF = true;
  {
    DialogScript script;
    script.then("dialogs::DriveSelectionDialog", [&](QWidget* dialog) {
      QListWidget* rows = DriveRows(dialog);
      const QList<QListWidgetItem*> f = rows->findItems("f: [", Qt::MatchStartsWith);
      ASSERT_EQ(f.size(), 1);
      shownF = f[0]->text();
      markableF = f[0]->flags() & Qt::ItemIsUserCheckable;
      const QRect rect = rows->visualItemRect(f[0]);
      QTest::mouseClick(rows->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
      EXPECT_EQ(MarkedLetters(dialog), "");
      Select("D")(dialog);
    });
    ASSERT_TRUE(RunToEnd());
  }
  EXPECT_EQ(shownF, Shown("F") + "  (not available)");
  EXPECT_FALSE(markableF);
  EXPECT_EQ(m_run->lastOutcome().markedDrives, std::vector<std::string>{Shown("D").toStdString()});
  EXPECT_EQ(Profile("F"), storedF);
}

TEST_F(RunTest, NothingMarkedOffersRetryOrCancelAndScansNothing) {
  MessageSeen abort;
  {
    DialogScript script;
    script.then("dialogs::DriveSelectionDialog", Select(""))
        .then("QMessageBox", Press(QMessageBox::Retry, &abort))
        .then("dialogs::DriveSelectionDialog", Select(""))
        .then("QMessageBox", Press(QMessageBox::Cancel));
    ASSERT_TRUE(RunToEnd());
  }
  EXPECT_EQ(abort.title, "Brinvale");
  EXPECT_EQ(abort.text, "Abort?: No Drive(s) Selected");
  EXPECT_EQ(abort.icon, QMessageBox::Question);
  EXPECT_EQ(abort.buttons, QMessageBox::Retry | QMessageBox::Cancel);
  EXPECT_FALSE(m_run->lastOutcome().driveLoopStarted);
  EXPECT_TRUE(m_sound.played.isEmpty());
  EXPECT_TRUE(Profile("D").isNull());

  // The drive selection's Cancel ends the run before anything else, too.
  DialogScript cancelled;
  cancelled.then("dialogs::DriveSelectionDialog", Select("D", nullptr, false));
  ASSERT_TRUE(RunToEnd());
  EXPECT_TRUE(m_sound.played.isEmpty());
  EXPECT_TRUE(Profile("D").isNull());
  EXPECT_EQ(ToolbarButton(*m_window, "quit")->text(), "&Quit");
}

TEST_F(RunTest, CancelDuringTheSecondOfThreeDrivesWithAReportEach) {
  ASSERT_NO_FATAL_FAILURE(HoldTheSecondOfThreeDrives("optMany"));
  const QByteArray& storedD = m_stored["D"];
  const QByteArray& storedE = m_stored["E"];
  const QByteArray& storedF = m_stored["F"];

  // Cancel mode while the run is held in drive E.
  QAction* quit = ToolbarButton(*m_window, "quit");
  EXPECT_EQ(quit->text(), "Cancel");
  EXPECT_TRUE(quit->isEnabled());
  for (QAction* a : m_window->findChild<QToolBar*>(QStringLiteral("tlb1"))->actions()) {
    if (a != quit && !a->isSeparator()) {
      EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    }
  }
  const QList<QAction*> menus = m_window->menuBar()->actions();
  EXPECT_FALSE(menus.at(0)->isEnabled());  // &Reports
  EXPECT_FALSE(menus.at(1)->isEnabled());  // &Options
  EXPECT_TRUE(menus.at(2)->isEnabled());   // &Help
  EXPECT_EQ(m_window->cursor().shape(), Qt::BusyCursor);
  EXPECT_FALSE(m_window->reportView()->isVisible());
  // What the run showed last reaches the label within a few timer ticks.
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return ProgressLabel(*m_window)->text().startsWith("Loading Structure:  e: ["); },
      5000));
  EXPECT_TRUE(ProgressLabel(*m_window)->isVisible());
  // Drive D is done: its report is saved and its profile replaced.
  EXPECT_TRUE(QFile::exists(reports() + "Drive_D.rtf"));
  EXPECT_NE(Profile("D"), storedD);

  Click(*m_window, "quit");
  EXPECT_FALSE(ProgressLabel(*m_window)->isVisible());
  EXPECT_FALSE(ProgressBar(*m_window)->isVisible());
  m_gate.open();
  ASSERT_TRUE(WaitForRunEnd());

  EXPECT_TRUE(m_run->lastOutcome().cancelled);
  EXPECT_EQ(Profile("E"), storedE);
  EXPECT_EQ(Profile("F"), storedF);
  EXPECT_EQ(Reports(), QStringList{"Drive_D.rtf"});
  EXPECT_EQ(m_sound.played, QStringList({"start", "cxl"}));
  EXPECT_EQ(quit->text(), "&Quit");
  EXPECT_TRUE(ToolbarButton(*m_window, "find")->isEnabled());
  EXPECT_TRUE(menus.at(0)->isEnabled());
  EXPECT_TRUE(m_window->findChild<QAction*>(QStringLiteral("mnuSave"))->isEnabled());
  EXPECT_NE(m_window->cursor().shape(), Qt::BusyCursor);
  EXPECT_TRUE(m_window->reportView()->isVisible());
  EXPECT_FALSE(ProgressLabel(*m_window)->isVisible());
  EXPECT_EQ(m_window->currentFile(), reports() + "Drive_D.rtf");
  EXPECT_EQ(m_window->statusMessage(),
            "Run cancelled. Not checked: e, f; their profiles are unchanged. Report saved: "
            "Drive_D.rtf.");
}

TEST_F(RunTest, CancelDuringTheSecondOfThreeDrivesOfOneReportKeepsEveryProfile) {
  ASSERT_NO_FATAL_FAILURE(HoldTheSecondOfThreeDrives("optSingle"));
  const QByteArray& storedD = m_stored["D"];
  const QByteArray& storedE = m_stored["E"];
  const QByteArray& storedF = m_stored["F"];
  // D's changes are in no saved report yet, so its profile is still the old one. The run
  // holds the program folder: a scheduled run cannot start now.
  EXPECT_EQ(Profile("D"), storedD);
  EXPECT_FALSE(LockIsFreeForAnotherProgram(folder()));

  Click(*m_window, "quit");
  m_gate.open();
  ASSERT_TRUE(WaitForRunEnd());
  EXPECT_TRUE(m_run->lastOutcome().cancelled);
  EXPECT_EQ(Profile("D"), storedD);
  EXPECT_EQ(Profile("E"), storedE);
  EXPECT_EQ(Profile("F"), storedF);
  EXPECT_TRUE(Reports().isEmpty());
  EXPECT_EQ(m_sound.played, QStringList({"start", "cxl"}));
  EXPECT_EQ(ToolbarButton(*m_window, "quit")->text(), "&Quit");
  EXPECT_EQ(m_window->statusMessage(),
            "Run cancelled. Not checked: d, e, f; their profiles are unchanged.");
  // The lock went with the run.
  EXPECT_TRUE(LockIsFreeForAnotherProgram(folder()));
}

// After a cancel the view keeps what it showed; when that is a report, the status bar
// says it is not this run's.
TEST_F(RunTest, ACancelledRunSaysTheReportShownIsFromAnEarlierRun) {
  CreateProfiles("D");
  Put("D", "first.txt", "1");
  {
    DialogScript script;
    script.then("dialogs::DriveSelectionDialog", Select("D"));
    ASSERT_TRUE(RunToEnd());
  }
  ASSERT_EQ(m_window->currentFile(), reports() + "Drive_D.rtf");
  EXPECT_EQ(m_window->statusMessage(), "Report saved: Drive_D.rtf.");

  Put("D", "second.txt", "2");
  ASSERT_NO_FATAL_FAILURE(CancelWhileReplacing("/Reports/", GateFileSystem::Stage::kWritten));
  EXPECT_TRUE(m_run->lastOutcome().cancelled);
  EXPECT_TRUE(m_window->reportView()->toPlainText().contains("first.txt"));
  EXPECT_FALSE(m_window->reportView()->toPlainText().contains("second.txt"));
  EXPECT_EQ(m_window->statusMessage(),
            "Run cancelled. Not checked: d; its profile is unchanged. The report shown is from "
            "an earlier run.");
}

// A cancel while the last drive's report is being written, before it is renamed into
// place, stops the run: no report, the stored profile kept, "cxl" and no "done", and the
// view keeps what it showed.
TEST_F(RunTest, CancelWhileTheReportIsWrittenKeepsTheProfileAndShowsNoReport) {
  CreateProfiles("D");
  const QByteArray storedD = Profile("D");
  Put("D", "changed.txt", "new");
  const QString shown = m_window->reportView()->toPlainText();
  ASSERT_NO_FATAL_FAILURE(CancelWhileReplacing("/Reports/", GateFileSystem::Stage::kWritten));

  EXPECT_TRUE(m_run->lastOutcome().cancelled);
  EXPECT_EQ(Profile("D"), storedD);
  EXPECT_TRUE(Reports().isEmpty());
  EXPECT_EQ(m_sound.played, QStringList({"start", "cxl"}));
  EXPECT_EQ(m_window->reportView()->toPlainText(), shown);
  EXPECT_EQ(m_window->currentFile(), m_window->composedReportPath());
  // The view shows the welcome page, not a report of an earlier run.
  EXPECT_EQ(m_window->statusMessage(), "Run cancelled. Not checked: d; its profile is unchanged.");
  EXPECT_EQ(ToolbarButton(*m_window, "quit")->text(), "&Quit");
}

// Once the last report is in place, a cancel comes too late: the run completes and the
// status bar says why.
TEST_F(RunTest, CancelAfterTheReportIsInPlaceCompletesTheRunAndSaysSo) {
  CreateProfiles("D");
  const QByteArray storedD = Profile("D");
  Put("D", "changed.txt", "new");
  ASSERT_NO_FATAL_FAILURE(CancelWhileReplacing("/Reports/", GateFileSystem::Stage::kRenamed));

  EXPECT_FALSE(m_run->lastOutcome().cancelled);
  EXPECT_EQ(Reports(), QStringList{"Drive_D.rtf"});
  EXPECT_NE(Profile("D"), storedD);
  EXPECT_TRUE(Profile("D").contains("changed.txt"));
  EXPECT_EQ(m_sound.played, QStringList({"start", "cxl", "done"}));
  EXPECT_EQ(m_window->statusMessage(),
            "The run had already saved its report when Cancel was pressed. Report saved: "
            "Drive_D.rtf.");
  EXPECT_EQ(m_window->currentFile(), reports() + "Drive_D.rtf");
  EXPECT_TRUE(m_window->reportView()->toPlainText().contains("changed.txt"));
  EXPECT_EQ(ToolbarButton(*m_window, "quit")->text(), "&Quit");
}

// A run without a report ends once the drive's first profile is in place: a cancel after
// that comes too late, and the status bar says so.
TEST_F(RunTest, CancelAfterTheLastProfileIsInPlaceCompletesTheRunAndSaysSo) {
  m_gate.holdReplacing("Prof_D_.bvp", GateFileSystem::Stage::kRenamed);
  DialogScript script;
  script.then("dialogs::DriveSelectionDialog", Select("D"))
      .then("QMessageBox", Press(QMessageBox::Yes));
  Click(*m_window, "find");
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_gate.reached(); }, 20000));
  Click(*m_window, "quit");
  m_gate.open();
  ASSERT_TRUE(WaitForRunEnd());
  EXPECT_FALSE(m_run->lastOutcome().cancelled);
  EXPECT_TRUE(Profile("D").contains("kept.txt"));
  EXPECT_EQ(m_sound.played, QStringList({"start", "cxl", "done"}));
  EXPECT_EQ(m_window->statusMessage(),
            "The run had already finished when Cancel was pressed. Profile created for " +
                Shown("D") + ": 2 files in 2 folders.");
}

// What the user typed is never lost to a run without a question: Find 'em asks as closing
// does. Cancel, or a Save As that is cancelled, starts nothing; No goes on; Yes saves first.
// A run that puts its report in the view leaves nothing unsaved, so Quit then asks nothing.
TEST_F(RunTest, FindEmAsksBeforeARunReplacesWhatWasTyped) {
  CreateProfiles("D");
  Type(*m_window, "my note ");
  const QString typed = m_window->reportView()->toPlainText();
  MessageSeen question;
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Cancel, &question));
    Click(*m_window, "find");
    EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, 5000));
    QTest::qWait(100);  // no drive selection follows
  }
  EXPECT_EQ(question.title, QStringLiteral("Save Report?"));
  EXPECT_EQ(question.text, QStringLiteral("Save Changes to this Report?"));
  EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_FALSE(m_run->running());
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Yes)).then("QFileDialog", ChooseName({}));
    Click(*m_window, "find");
    EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, 5000));
    QTest::qWait(100);
  }
  EXPECT_FALSE(m_run->running());
  EXPECT_TRUE(m_sound.played.isEmpty());

  // No, and a run cancelled in its drive selection: the text is still there, still unsaved.
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::No))
        .then("dialogs::DriveSelectionDialog", Select("D", nullptr, false));
    ASSERT_TRUE(RunToEnd());
  }
  EXPECT_EQ(m_window->reportView()->toPlainText(), typed);
  EXPECT_TRUE(m_window->reportChanged());

  // Yes: the typing is saved under a chosen name, then the run shows its report.
  Put("D", "first.txt", "1");
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Yes))
        .then("QFileDialog", ChooseName("Kept.rtf"))
        .then("dialogs::DriveSelectionDialog", Select("D"));
    ASSERT_TRUE(RunToEnd());
  }
  EXPECT_TRUE(FileBytes(reports() + "Kept.rtf").contains("my note"));
  EXPECT_TRUE(m_window->reportView()->toPlainText().contains("first.txt"));
  EXPECT_FALSE(m_window->reportChanged());

  // No: the run replaces the typing, as the user chose, and nothing is left unsaved.
  Type(*m_window, "scratch ");
  Put("D", "second.txt", "2");
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::No))
        .then("dialogs::DriveSelectionDialog", Select("D"));
    ASSERT_TRUE(RunToEnd());
  }
  EXPECT_TRUE(m_window->reportView()->toPlainText().contains("second.txt"));
  EXPECT_FALSE(m_window->reportView()->toPlainText().contains("scratch"));
  EXPECT_FALSE(m_window->reportChanged());
  {
    DialogScript none;  // asks nothing
    Click(*m_window, "quit");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_window->isVisible(); }, 5000));
  }
}

TEST_F(RunTest, ARunIsRefusedWhileAnotherProcessHoldsTheProgramFolder) {
  auto scheduled = LockFromAnotherProcess(folder().toStdString());
  ASSERT_TRUE(scheduled->took());
  MessageSeen refusal;
  {
    DialogScript script;
    script.then("QMessageBox", Press(QMessageBox::Ok, &refusal));
    Click(*m_window, "find");
    EXPECT_TRUE(QTest::qWaitFor([&] { return script.done(); }, 5000));
  }
  EXPECT_EQ(
      refusal.text,
      QStringLiteral("Another run is using this program folder (pid %1).").arg(scheduled->pid()));
  EXPECT_FALSE(m_run->running());
  EXPECT_TRUE(m_sound.played.isEmpty());
  EXPECT_EQ(ToolbarButton(*m_window, "quit")->text(), "&Quit");

  // Once the other run has ended, the drive selection comes.
  scheduled->release();
  DialogScript script;
  script.then("dialogs::DriveSelectionDialog", Select("D", nullptr, false));
  ASSERT_TRUE(RunToEnd());
}

TEST_F(RunTest, ClosingTheWindowMidRunCancelsItAndClosesOnceItHasWoundDown) {
  CreateProfiles("D");
  const QByteArray storedD = Profile("D");
  Put("D", "old.txt", "changed");

  m_gate.holdAt(drive("D").toStdString());
  DialogScript script;
  script.then("dialogs::DriveSelectionDialog", Select("D"));
  Click(*m_window, "find");
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_gate.reached(); }, 20000));

  EXPECT_FALSE(m_window->close());
  EXPECT_TRUE(m_window->isVisible()) << "closed before the run wound down";
  EXPECT_EQ(m_sound.played, QStringList({"start", "cxl"}));
  m_gate.open();
  ASSERT_TRUE(WaitForRunEnd());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !m_window->isVisible(); }, 5000));
  EXPECT_EQ(Profile("D"), storedD);
  EXPECT_TRUE(Reports().isEmpty());
  EXPECT_FALSE(QFile::exists(m_window->composedReportPath())) << "closing step skipped";
}

// Comparisons with earlier runs of drive D.
class CompareTest : public RunTest {
 protected:
  // Two runs of D after its profile was made, then a change the stored profile does not
  // have: two kept profiles. Returns the index, oldest first.
  std::vector<engine::Generation> KeepTwoRunsOfD() {
    CreateProfiles("D");
    // An hour apart, so that each change is a size and a time change whatever the clock.
    int hour = 0;
    for (const char* text : {"second", "third and longer"}) {
      Put("D", "old.txt", text);
      QFile file(drive("D") + "old.txt");
      EXPECT_TRUE(file.open(QIODevice::ReadWrite) &&
                  file.setFileTime(QDateTime::currentDateTime().addSecs(3600 * --hour - 600),
                                   QFileDevice::FileModificationTime));
      DialogScript script;
      script.then("dialogs::DriveSelectionDialog", Select("D"));
      EXPECT_TRUE(RunToEnd());
    }
    Put("D", "new.txt", "added after the last run");
    std::vector<engine::Generation> index;
    EXPECT_TRUE(engine::ReadHistoryIndex(
                    m_fs, engine::HistoryFolderOf(folder().toStdString(), 'D', '/'), &index)
                    .isOk());
    m_sound.played.clear();
    return index;
  }
  QString Since(const engine::Generation& g) const {
    const platform::LocalDateTime t = m_locale.toLocal(g.made);
    return QStringLiteral("Drive_D_since_%1-%2-%3_%4%5.rtf")
        .arg(t.month)
        .arg(t.day)
        .arg(t.year % 100, 2, 10, QLatin1Char('0'))
        .arg(t.hour, 2, 10, QLatin1Char('0'))
        .arg(t.minute, 2, 10, QLatin1Char('0'));
  }
};

TEST_F(CompareTest, TheMenuEntryComparesARunWithTheStoredProfileAsTheCommandLineDoes) {
  const std::vector<engine::Generation> kept = KeepTwoRunsOfD();
  ASSERT_EQ(kept.size(), 2u);
  // The kept profile of one run back (old.txt read "second") against the stored one: old.txt
  // grew and has another time.
  QAction* entry = m_window->findChild<QAction*>(QStringLiteral("mnuCompare"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->text(), "Compare With an Earlier Run...");
  EXPECT_TRUE(entry->isEnabled());
  int listed = -1;
  {
    DialogScript script;
    script.then("dialogs::HistoryDialog", [&](QWidget* dialog) {
      auto* rows = dialog->findChild<QTreeWidget*>(QStringLiteral("lstGenerations"));
      listed = rows->topLevelItemCount();
      rows->topLevelItem(1)->setSelected(true);
      dialog->findChild<QPushButton*>(QStringLiteral("cmdCompare"))->click();
    });
    entry->trigger();
    ASSERT_TRUE(WaitForRunEnd());
  }
  EXPECT_EQ(listed, 2);
  const QString name = Since(kept[1]);
  EXPECT_EQ(m_window->currentFile(), reports() + name);
  EXPECT_TRUE(m_window->reportView()->toPlainText().contains("old.txt"));
  EXPECT_EQ(m_window->statusMessage(),
            "Compared " + Shown("D") + " as of " +
                QString::fromStdString(m_locale.generalDate(m_locale.toLocal(kept[1].made))) +
                " with the stored profile: 2 changes. Report saved: " + name + ".");
  EXPECT_EQ(ToolbarButton(*m_window, "quit")->text(), "&Quit");

  // The command line's comparison of one run back is the same report, byte for byte; it
  // gets a name of its own as the window's has taken the first.
  QProcess cli;
  cli.start(QStringLiteral(BRINVALE_CLI),
            {"history", "D", "--compare", "-1", "--program-folder", folder()});
  ASSERT_TRUE(cli.waitForFinished(20000));
  EXPECT_EQ(cli.exitCode(), 1) << cli.readAllStandardError().toStdString();
  const QString cliReport = QString::fromLocal8Bit(cli.readAllStandardOutput()).trimmed();
  EXPECT_EQ(cliReport, reports() + name.chopped(4) + "_2.rtf");
  EXPECT_FALSE(FileBytes(cliReport).isEmpty());
  EXPECT_EQ(FileBytes(cliReport), FileBytes(reports() + name));
}

TEST_F(CompareTest, TwoKeptProfilesCompareTheOlderWithTheNewer) {
  const std::vector<engine::Generation> kept = KeepTwoRunsOfD();
  ASSERT_EQ(kept.size(), 2u);
  m_run->compare({'D', kept[0].file, kept[1].file});
  ASSERT_TRUE(WaitForRunEnd());
  const QString report = QFileInfo(m_window->currentFile()).fileName();
  EXPECT_TRUE(report.startsWith("Drive_D_") && report.contains("_to_")) << report.toStdString();
  // What the first of the two runs changed, again: old.txt grew; new.txt came later.
  const QString text = m_window->reportView()->toPlainText();
  EXPECT_TRUE(text.contains("old.txt"));
  EXPECT_FALSE(text.contains("new.txt"));
  EXPECT_TRUE(m_window->statusMessage().contains("with the profile of "))
      << m_window->statusMessage().toStdString();
}

TEST_F(CompareTest, CancelDuringACompareLeavesTheViewAsItWasAndSavesNothing) {
  const std::vector<engine::Generation> kept = KeepTwoRunsOfD();
  ASSERT_EQ(kept.size(), 2u);
  const QString shownFile = m_window->currentFile();
  const QString shownText = m_window->reportView()->toPlainText();
  const QStringList reportsBefore = Reports();

  // Held while the report is being written, in cancel mode.
  m_gate.holdReplacing("Drive_D_since", GateFileSystem::Stage::kWritten);
  m_run->compare({'D', kept[0].file, ""});
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_gate.reached(); }, 20000));
  EXPECT_EQ(ToolbarButton(*m_window, "quit")->text(), "Cancel");
  EXPECT_FALSE(m_window->reportView()->isVisible());
  EXPECT_FALSE(m_window->menuBar()->actions().at(0)->isEnabled());  // &Reports
  Click(*m_window, "quit");
  m_gate.open();
  ASSERT_TRUE(WaitForRunEnd());

  EXPECT_EQ(Reports(), reportsBefore);
  EXPECT_EQ(m_window->currentFile(), shownFile);
  EXPECT_EQ(m_window->reportView()->toPlainText(), shownText);
  EXPECT_TRUE(m_window->reportView()->isVisible());
  EXPECT_EQ(m_window->statusMessage(), "Comparison cancelled: nothing was saved.");
  EXPECT_EQ(m_sound.played, QStringList{"cxl"});
  EXPECT_EQ(ToolbarButton(*m_window, "quit")->text(), "&Quit");
  // The lock is free again: the next comparison goes through.
  m_run->compare({'D', kept[0].file, ""});
  ASSERT_TRUE(WaitForRunEnd());
  EXPECT_EQ(m_window->currentFile(), reports() + Since(kept[0]));
}

TEST_F(CompareTest, AKeptProfileGoneSinceItWasListedIsToldAndNothingStarts) {
  const std::vector<engine::Generation> kept = KeepTwoRunsOfD();
  MessageSeen seen;
  DialogScript script;
  script.then("QMessageBox", Press(QMessageBox::Ok, &seen));
  m_run->compare({'D', "20000101T000000Z.bvp.zst", ""});
  EXPECT_TRUE(script.done());
  EXPECT_FALSE(m_run->running());
  EXPECT_TRUE(seen.text.contains("no longer all there")) << seen.text.toStdString();
  EXPECT_EQ(ToolbarButton(*m_window, "quit")->text(), "&Quit");
}

}  // namespace
}  // namespace app::testing
