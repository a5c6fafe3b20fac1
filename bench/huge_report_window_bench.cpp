// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Opens a large report in the main window (offscreen) as the Open command does and measures
// what its user waits for, with a probe on the user-interface thread: a 5 ms timer whose
// longest gap between two ticks is the longest time the window could not react. Run by
// bench/huge_report_bench.py.
//
//   huge_report_window_bench --program-folder DIR --report FILE --paragraphs N
//                            [--timeout-s S] [--grab-during PNG] [--grab-after PNG]
//
// N is the report's paragraph count (its plain-text form's line count): the report is shown
// once the view holds N paragraphs and takes typing. --timeout-s ends a load that takes
// longer, printing what was measured so far with incomplete=1.
//
// Prints: first_screen_s=<until the view first painted the report's title>
//         shown_s=<until the whole report was in the view and editable>
//         max_gap_ms=<longest gap while loading> p99_gap_ms=<99th percentile gap>
//         scroll_end_s=<moving to the end and painting it>
//         save_s=<saving the view as rich text> start_mib=<resident after start>
//         peak_mib=<peak resident> paragraphs=<paragraphs in the view>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>

#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include <QTimer>

#include "app/main_window.h"
#include "app/report_view.h"
#include "bench/bench_support.h"
#include "platform/posix/posix_file_system.h"
#include "reports/report_file.h"

namespace {

// Paint events of the view's viewport: the first one that shows the report's title.
class PaintWatch final : public QObject {
 public:
  explicit PaintWatch(std::function<QTextDocument*()> document) : m_document(std::move(document)) {}
  std::atomic<double> firstScreen{-1};
  QElapsedTimer* clock = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && firstScreen < 0 && clock != nullptr && clock->isValid() &&
        m_document()->firstBlock().text().startsWith(QLatin1String("Disk Activity on "))) {
      firstScreen = double(clock->nsecsElapsed()) / 1e9;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<QTextDocument*()> m_document;
};

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  std::string folder;
  QString report;
  int paragraphs = 0;
  int timeoutSeconds = 600;
  QString grabDuring;
  QString grabAfter;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--program-folder") {
      folder = argv[i + 1];
      if (folder.back() != '/') folder += '/';
    } else if (flag == "--report") {
      report = QString::fromLocal8Bit(argv[i + 1]);
    } else if (flag == "--paragraphs") {
      paragraphs = std::atoi(argv[i + 1]);
    } else if (flag == "--timeout-s") {
      timeoutSeconds = std::atoi(argv[i + 1]);
    } else if (flag == "--grab-during") {
      grabDuring = QString::fromLocal8Bit(argv[i + 1]);
    } else if (flag == "--grab-after") {
      grabAfter = QString::fromLocal8Bit(argv[i + 1]);
    }
  }
  if (folder.empty() || report.isEmpty() || paragraphs <= 0) {
    std::fprintf(stderr,
                 "usage: huge_report_window_bench --program-folder DIR --report FILE "
                 "--paragraphs N\n");
    return 2;
  }

  platform::PosixFileSystem fs;
  bench::NoSound sound;
  app::MainWindow window({&fs, folder, &sound, {}});
  if (!window.load()) return 2;
  window.resize(1000, 760);
  window.show();
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 300) QApplication::processEvents();
  const double startMiB = bench::ResidentMiB();

  auto* view = window.reportView();
  const auto document = [view] { return view->document(); };
  PaintWatch watch(document);
  view->viewport()->installEventFilter(&watch);

  QElapsedTimer clock;
  watch.clock = &clock;
  std::vector<double> gaps;
  QElapsedTimer sinceTick;
  double shown = -1;
  double scrollEnd = -1;
  double saveSeconds = -1;
  bool grabbedDuring = false;

  // A load that never ends still reports what it cost until then.
  std::atomic<bool> finished{false};
  std::thread alarm([&] {
    for (int waited = 0; waited < timeoutSeconds * 10 && !finished; ++waited) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (finished) return;
    std::printf(
        "first_screen_s=%.3f shown_s=%.3f max_gap_ms=%.1f p99_gap_ms=%.1f scroll_end_s=-1 "
        "save_s=-1 "
        "start_mib=%.1f peak_mib=%.1f paragraphs=-1 incomplete=1\n",
        watch.firstScreen.load(), double(timeoutSeconds), double(timeoutSeconds) * 1000,
        double(timeoutSeconds) * 1000, startMiB, bench::PeakMiB());
    std::fflush(stdout);
    _exit(3);
  });

  const auto loaded = [&] { return document()->blockCount() >= paragraphs && !view->isReadOnly(); };
  QTimer probe;
  probe.setTimerType(Qt::PreciseTimer);
  const auto finish = [&] {
    probe.stop();
    shown = double(clock.nsecsElapsed()) / 1e9;
    // Scrolling to the end: the bar moves there and the last screen is painted.
    QElapsedTimer scroll;
    scroll.start();
    view->setFocus();
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    QApplication::processEvents();
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    view->viewport()->repaint();
    scrollEnd = double(scroll.nsecsElapsed()) / 1e9;
    // Saving what the view holds as rich text, as Save As does before it loads the file back.
    QElapsedTimer save;
    save.start();
    const base::Status saved =
        window.saveReport(QString::fromStdString(folder) + QStringLiteral("Reports/saved.rtf"),
                          reports::ReportFormat::kRichText);
    saveSeconds = saved.isOk() ? double(save.nsecsElapsed()) / 1e9 : -1;
    if (!grabAfter.isEmpty()) {
      // The top of the report, as the user sees it when it is loaded.
      view->verticalScrollBar()->setValue(0);
      QTimer::singleShot(300, [&] {
        bench::Grab(&window, grabAfter);
        QApplication::quit();
      });
    } else {
      QApplication::quit();
    }
  };
  QObject::connect(&probe, &QTimer::timeout, [&] {
    gaps.push_back(double(sinceTick.nsecsElapsed()) / 1e6);
    sinceTick.restart();
    if (!grabDuring.isEmpty() && !grabbedDuring) {
      const int count = document()->blockCount();
      if (count >= paragraphs / 4 && count < paragraphs) {
        grabbedDuring = true;
        bench::Grab(&window, grabDuring);
      }
    }
    if (loaded()) finish();
  });
  QTimer::singleShot(0, [&] {
    clock.start();
    sinceTick.start();
    probe.start(5);
    auto opened = window.openReport(report);
    if (!opened.isOk()) {
      std::fprintf(stderr, "%s\n", opened.status().message().c_str());
      QApplication::exit(1);
    }
  });
  const int code = QApplication::exec();
  finished = true;
  alarm.join();
  if (code != 0) return code;

  std::sort(gaps.begin(), gaps.end());
  const double maxGap = gaps.empty() ? 0 : gaps.back();
  const double p99 = gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100];
  std::printf(
      "first_screen_s=%.3f shown_s=%.3f max_gap_ms=%.1f p99_gap_ms=%.1f scroll_end_s=%.3f "
      "save_s=%.3f start_mib=%.1f peak_mib=%.1f paragraphs=%d\n",
      watch.firstScreen.load(), shown, maxGap, p99, scrollEnd, saveSeconds, startMiB,
      bench::PeakMiB(), document()->blockCount());
  return 0;
}
