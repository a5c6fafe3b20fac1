// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Printing speed and memory: prints a made-up change report of --lines lines to the PDF file
// printer on one route and prints the figures (seconds, processor seconds of the process and
// of the calling thread, pages, resident memory). Run by
// bench/print_bench.py, one process per measurement, so that the peak is this print's own.
//
//   print_bench --route colour|plain --lines 100000 [--top-margin 0.5] [--keep DIR] [--qt-pdf 1]
//   print_bench --route colour|plain --report FILE [--top-margin 0.5] [--keep DIR] [--qt-pdf 1]
//
// --report prints a report file (a run's) in place of the made-up one; lines= is then -1.
// --qt-pdf 1 has Qt's PDF engine write the black-and-white route's file too.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>

#include "bench/bench_support.h"
#include "engine/settings_record.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/qt_locale_format.h"
#include "reports/print_test_support.h"
#include "reports/printers.h"
#include "reports/report_file.h"
#include "reports/report_printer.h"
#include "reports/rtf_reader.h"

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::string route = "colour";
  int lines = 100000;
  double topMargin = 0.5;
  QString keep;
  QString source;
  bool qtPdf = false;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--route") route = argv[i + 1];
    if (flag == "--lines") lines = std::atoi(argv[i + 1]);
    if (flag == "--top-margin") topMargin = std::atof(argv[i + 1]);
    if (flag == "--keep") keep = QString::fromLocal8Bit(argv[i + 1]);
    if (flag == "--report") source = QString::fromLocal8Bit(argv[i + 1]);
    if (flag == "--qt-pdf") qtPdf = std::atoi(argv[i + 1]) != 0;
  }
  QGuiApplication application(argc, argv);
  const double startMiB = bench::ResidentMiB();

  platform::PosixFileSystem disk;
  QTemporaryDir folder;
  QDir(folder.path()).mkpath("Reports");
  const QString report = folder.filePath("Reports/Drive_C.rtf");
  QTextDocument view;
  if (!source.isEmpty()) {
    lines = -1;
    if (!QFile::copy(source, report)) return 2;
    if (!reports::LoadReportFile(disk, report, &view).isOk()) return 2;
  } else {
    const QByteArray rtf = reports::testing::LongReportRtf(lines);
    QFile file(report);
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size()) return 2;
    file.close();
    reports::ReadRtf(rtf, &view);
  }
  const double documentMiB = bench::ResidentMiB();

  engine::SettingsRecord settings;
  settings.PrintColor = route == "colour" ? 1 : 0;
  settings.TopMargin = engine::InchesToStored(topMargin);
  settings.LeftMargin = engine::InchesToStored(0.5);
  const reports::testing::ListedPrinters printers({{reports::kPdfPrinterName, true}}, "");
  reports::PrinterChoice choice(printers);
  const platform::QtLocaleFormat locale;
  reports::PrintRequest request;
  request.fileSystem = &disk;
  request.view = &view;
  request.currentFile = report;
  request.programFolder = folder.path();
  request.reportsFolder = folder.filePath("Reports");
  request.qtPdfEngine = qtPdf;

  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = bench::CpuSeconds();
  const double threadCpuStart = bench::ThreadCpuSeconds();
  const reports::PrintResult result = reports::PrintReport(request, settings, locale, &choice);
  const double seconds = SecondsSince(start);
  const double cpuSeconds = bench::CpuSeconds() - cpuStart;
  const double threadCpuSeconds = bench::ThreadCpuSeconds() - threadCpuStart;
  if (result.outcome != reports::PrintResult::Outcome::kPrinted) {
    std::fprintf(stderr, "%s\n", result.message.toLocal8Bit().constData());
    return 1;
  }
  if (!keep.isEmpty()) {
    QFile::remove(keep + "/bench.pdf");
    QFile::copy(result.pdfPath, keep + "/bench.pdf");
  }
  std::printf(
      "route=%s lines=%d top_margin=%.2f pages=%d seconds=%.2f cpu_s=%.2f thread_cpu_s=%.2f "
      "pdf_mib=%.1f "
      "start_mib=%.1f "
      "document_mib=%.1f peak_mib=%.1f\n",
      route.c_str(), lines, topMargin, result.pages, seconds, cpuSeconds, threadCpuSeconds,
      static_cast<double>(QFile(result.pdfPath).size()) / (1024 * 1024), startMiB, documentMiB,
      bench::PeakMiB());
  return 0;
}
