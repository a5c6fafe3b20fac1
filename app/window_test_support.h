// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Helpers for the window's tests: a QApplication, a sound output that records, a script
// that answers modal dialogs, and a fixture that starts the window on a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "app/main_window.h"
#include "app/report_view.h"
#include "app/sound_output.h"
#include "dialogs/dialog_test_support.h"
#include "platform/posix/posix_file_system.h"
#include "platform/testing/qt_application.h"

namespace app::testing {

// Records the cues it is asked to play; `device` says whether a device exists.
class RecordingSound final : public SoundOutput {
 public:
  explicit RecordingSound(bool device = true) : m_device(device) {}
  bool hasOutputDevice() override { return m_device; }
  bool play(const QString& name) override {
    played.append(name);
    return true;
  }
  QStringList played;

 private:
  bool m_device;
};

using dialogs::testing::MessageSeen;

// What the Save As dialog showed.
struct FileDialogSeen {
  QString title;
  QString directory;
  QStringList filterCaptions;  // as the file type box shows them
  QString selectedFilter;      // the caption shown when the dialog opened
  QString defaultSuffix;
};

// Answers the modal dialogs that the code under test shows, in order. Each step names the
// class the dialog must have and what to do with it. A dialog that does not come within
// five seconds, or one that is not expected, fails the test; an unexpected dialog is
// closed so that the test never hangs. The action runs from the event loop, after the
// dialog has shown, so it may open further dialogs.
class DialogScript {
 public:
  using Action = std::function<void(QWidget*)>;

  DialogScript() {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start(10);
    m_clock.start();
  }
  ~DialogScript() {
    m_timer.stop();
    for (const Step& step : m_steps) ADD_FAILURE() << "no " << step.className << " came";
  }

  DialogScript& then(const char* className, Action action) {
    m_steps.push_back({className, std::move(action)});
    return *this;
  }
  [[nodiscard]] bool done() const { return m_steps.empty(); }

 private:
  struct Step {
    const char* className;
    Action action;
  };

  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || m_handled.contains(modal) || !modal->isVisible()) {
      if (!m_steps.empty() && m_clock.elapsed() > 5000) {
        ADD_FAILURE() << "no " << m_steps.front().className << " came";
        m_steps.pop_front();
        m_clock.restart();
      }
      return;
    }
    m_handled.append(modal);
    m_clock.restart();
    if (m_steps.empty() || !modal->inherits(m_steps.front().className)) {
      const auto* box = qobject_cast<QMessageBox*>(modal);
      ADD_FAILURE() << "unexpected " << modal->metaObject()->className() << ": "
                    << (box != nullptr ? box->text().toStdString() : std::string());
      QTimer::singleShot(0, modal, [modal] { modal->close(); });
      return;
    }
    Action action = std::move(m_steps.front().action);
    m_steps.pop_front();
    QTimer::singleShot(0, modal, [modal, action] { action(modal); });
  }

  QTimer m_timer;
  QElapsedTimer m_clock;
  std::deque<Step> m_steps;
  // Dialogs already answered: a file dialog shows again for a moment after its overwrite
  // question is answered.
  QList<QPointer<QWidget>> m_handled;
};

// A message box action: records what the box showed in `*seen` (when given) and presses
// `button`.
inline DialogScript::Action Press(QMessageBox::StandardButton button, MessageSeen* seen = nullptr) {
  return [button, seen](QWidget* widget) { dialogs::testing::PressButton(widget, button, seen); };
}

// A Save As action: records the dialog in `*seen` (when given), chooses the filter whose
// caption starts with `filter` (when not empty), types `name` and confirms; an empty
// `name` cancels the dialog.
inline DialogScript::Action ChooseName(const QString& name, const QString& filter = {},
                                       FileDialogSeen* seen = nullptr) {
  return [name, filter, seen](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    if (seen != nullptr) {
      seen->title = dialog->windowTitle();
      seen->directory = dialog->directory().absolutePath();
      seen->filterCaptions.clear();
      for (int i = 0; types != nullptr && i < types->count(); ++i) {
        seen->filterCaptions.append(types->itemText(i));
      }
      seen->selectedFilter = types != nullptr ? types->currentText() : QString();
      seen->defaultSuffix = dialog->defaultSuffix();
    }
    if (name.isEmpty()) {
      dialog->reject();
      return;
    }
    if (!filter.isEmpty() && types != nullptr) {
      for (int i = 0; i < types->count(); ++i) {
        if (types->itemText(i).startsWith(filter)) types->setCurrentIndex(i);
      }
    }
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own accept, which checks the name
  };
}

// The toolbar button with the key `key` ("find", "quit", ...).
inline QAction* ToolbarButton(MainWindow& window, const char* key) {
  for (QAction* action : window.findChild<QToolBar*>(QStringLiteral("tlb1"))->actions()) {
    if (action->property("key").toString() == QLatin1String(key)) return action;
  }
  return nullptr;
}

// Clicks the toolbar button with the key `key`.
inline void Click(MainWindow& window, const char* key) {
  auto* tlb1 = window.findChild<QToolBar*>(QStringLiteral("tlb1"));
  QTest::mouseClick(tlb1->widgetForAction(ToolbarButton(window, key)), Qt::LeftButton);
}

// The bytes of a file, or a null array when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Starts windows on a fresh temporary program folder.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

  // The program folder, ending in '/'.
  QString folder() const { return m_dir.path() + QLatin1Char('/'); }
  QString reports() const { return folder() + QStringLiteral("Reports/"); }

  // A window on the program folder, not yet loaded. `sound` defaults to m_sound.
  std::unique_ptr<MainWindow> MakeWindow(SoundOutput* sound = nullptr) {
    MainWindowDependencies deps;
    deps.fileSystem = &m_fs;
    deps.programFolder = folder().toStdString();
    deps.sound = sound != nullptr ? sound : &m_sound;
    return std::make_unique<MainWindow>(std::move(deps));
  }

  // A window that has loaded and shows.
  std::unique_ptr<MainWindow> Start(SoundOutput* sound = nullptr) {
    auto window = MakeWindow(sound);
    EXPECT_TRUE(window->Form_Load());
    window->show();
    return window;
  }

  QTemporaryDir m_dir;
  platform::PosixFileSystem m_fs;
  RecordingSound m_sound;
};

}  // namespace app::testing
