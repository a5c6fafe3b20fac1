// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Helpers for the window's tests: a QApplication, a sound output that records, actions for
// the file dialog (modal dialogs are answered by platform::testing::DialogScript), and a
// fixture that starts the window on a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "app/main_window.h"
#include "app/report_view.h"
#include "app/sound_output.h"
#include "platform/posix/posix_file_system.h"
#include "platform/testing/modal_dialogs.h"
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

using platform::testing::DialogScript;
using platform::testing::MessageSeen;
using platform::testing::Press;

// What the Save As dialog showed.
struct FileDialogSeen {
  QString title;
  QString directory;
  QStringList filterCaptions;  // as the file type box shows them
  QString selectedFilter;      // the caption shown when the dialog opened
  QString defaultSuffix;
};

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

// The progress label and bar above the report view, found by their object names.
inline QLabel* ProgressLabel(const MainWindow& window) {
  return window.findChild<QLabel*>(QStringLiteral("lblProgress"));
}
inline QProgressBar* ProgressBar(const MainWindow& window) {
  return window.findChild<QProgressBar*>(QStringLiteral("Pbr1"));
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
    EXPECT_TRUE(window->load());
    window->show();
    return window;
  }

  QTemporaryDir m_dir;
  platform::PosixFileSystem m_fs;
  RecordingSound m_sound;
};

}  // namespace app::testing
