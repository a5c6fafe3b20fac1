// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A whole run through the main window (offscreen), answered by a timer, with a probe on the
// user-interface thread: a 5 ms timer whose longest gap between two ticks is the longest
// time the window could not react. Run by bench/run_window_bench.py, which also times
// brinvale-cli run on the same tree.
//
//   run_window_bench --program-folder DIR --letter D [--linger-ms N]
//                    [--grab-during PNG] [--grab-after PNG]
//
// --linger-ms keeps the probe going for N ms after the run, while the window lays out the
// report it shows, and adds after_max_gap_ms to the figures.
// --grab-during saves a picture of the window half a second into a drive's progress,
// --grab-after one of the window once the run has ended (from the display server when
// there is one, as under Xvfb with QT_QPA_PLATFORM=xcb).
//
// Prints: seconds=<run time> max_gap_ms=<longest gap> p99_gap_ms=<99th percentile gap>
//         ticks=<ticks> compared=<compared drives>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "app/main_window.h"
#include "app/window_run.h"
#include "bench/bench_support.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/qt_locale_format.h"
#include "platform/qt/qt_volumes.h"

namespace {

// Marks the drive `letter` and accepts every question with Yes or OK.
void Answer(QWidget* modal, QChar letter) {
  if (modal->inherits("dialogs::DriveSelectionDialog")) {
    auto* rows = modal->findChild<QListWidget*>(QStringLiteral("lstDrives"));
    for (int i = 0; i < rows->count(); ++i) {
      if (rows->item(i)->text().startsWith(letter.toLower())) {
        rows->item(i)->setCheckState(Qt::Checked);
      }
    }
    modal->findChild<QPushButton*>(QStringLiteral("OkSelBut"))->click();
  } else if (modal->inherits("dialogs::MultiReportDialog")) {
    modal->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
  } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    std::fprintf(stderr, "message: %s\n", qPrintable(box->text()));
    QAbstractButton* yes = box->button(QMessageBox::Yes);
    if (yes == nullptr) yes = box->button(QMessageBox::Ok);
    if (yes != nullptr) {
      yes->click();
    } else {
      box->close();
    }
  } else {
    modal->close();
  }
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  std::string folder;
  QChar letter('D');
  QString grabDuring;
  QString grabAfter;
  int lingerMs = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--program-folder") {
      folder = argv[i + 1];
      if (folder.back() != '/') folder += '/';
    } else if (flag == "--letter") {
      letter = QChar::fromLatin1(argv[i + 1][0]);
    } else if (flag == "--linger-ms") {
      lingerMs = std::atoi(argv[i + 1]);
    } else if (flag == "--grab-during") {
      grabDuring = QString::fromLocal8Bit(argv[i + 1]);
    } else if (flag == "--grab-after") {
      grabAfter = QString::fromLocal8Bit(argv[i + 1]);
    }
  }
  if (folder.empty()) {
    std::fprintf(stderr, "usage: run_window_bench --program-folder DIR --letter D\n");
    return 2;
  }

  platform::PosixFileSystem fs;
  platform::QtLocaleFormat locale;
  platform::QtVolumes volumes(fs, folder);
  bench::NoSound sound;
  app::MainWindow window({&fs, folder, &sound, {}});
  if (!window.load()) return 2;
  window.show();
  app::WindowRun run({&window, &fs, &volumes, &locale});
  app::MainWindowCommands commands;
  run.connectTo(&commands);
  window.setCommands(commands);

  QList<QPointer<QWidget>> answered;
  QTimer answering;
  QObject::connect(&answering, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || answered.contains(modal)) return;
    answered.append(modal);
    QTimer::singleShot(0, modal, [modal, letter] { Answer(modal, letter); });
  });
  answering.start(5);

  // The probe: ticks every 5 ms for as long as the run goes on.
  std::vector<double> gaps;
  QElapsedTimer sinceTick;
  QTimer probe;
  probe.setTimerType(Qt::PreciseTimer);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    gaps.push_back(double(sinceTick.nsecsElapsed()) / 1e6);
    sinceTick.restart();
  });

  QTimer watcher;
  QElapsedTimer progressShown;
  if (!grabDuring.isEmpty()) {
    QObject::connect(&watcher, &QTimer::timeout, [&] {
      if (!window.findChild<QProgressBar*>(QStringLiteral("Pbr1"))->isVisible()) return;
      if (!progressShown.isValid()) {
        progressShown.start();
      } else if (progressShown.elapsed() > 500) {
        watcher.stop();
        bench::Grab(&window, grabDuring);
      }
    });
    watcher.start(20);
  }

  QElapsedTimer clock;
  double seconds = 0;
  std::size_t runTicks = 0;
  const auto end = [&] {
    probe.stop();
    if (grabAfter.isEmpty()) {
      QApplication::quit();
      return;
    }
    QTimer::singleShot(300, [&] {
      bench::Grab(&window, grabAfter);
      QApplication::quit();
    });
  };
  QObject::connect(&run, &app::WindowRun::finished, [&] {
    seconds = double(clock.nsecsElapsed()) / 1e9;
    runTicks = gaps.size();
    if (lingerMs > 0) {
      QTimer::singleShot(lingerMs, end);
    } else {
      end();
    }
  });
  QTimer::singleShot(0, [&] {
    clock.start();
    sinceTick.start();
    probe.start(5);
    run.findChanges();
  });
  QApplication::exec();

  const double afterMaxGap =
      gaps.size() > runTicks ? *std::max_element(gaps.begin() + long(runTicks), gaps.end()) : 0;
  gaps.resize(runTicks);
  std::sort(gaps.begin(), gaps.end());
  const double maxGap = gaps.empty() ? 0 : gaps.back();
  const double p99 = gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100];
  std::printf("seconds=%.3f max_gap_ms=%.1f p99_gap_ms=%.1f ticks=%zu compared=%d", seconds, maxGap,
              p99, gaps.size(), run.lastOutcome().comparedDrives);
  if (lingerMs > 0) std::printf(" after_max_gap_ms=%.1f", afterMaxGap);
  std::printf("\n");
  return run.lastOutcome().failedDrives > 0 ? 1 : 0;
}
