// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the benchmark programs share: memory figures from the kernel and, for those that open
// the window, a silent sound output and pictures of the window.
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QWidget>

#include "app/sound_output.h"

namespace bench {

// Resident memory now, in MiB.
inline double ResidentMiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024 * 1024);
}

// The process's peak resident memory so far, in MiB.
inline double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;  // KiB on Linux
}

// The processor time the process has had so far, user and system, in seconds: steadier than
// the clock on a machine that other work shares.
inline double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Processor time (user and system) of the calling thread alone, in seconds.
inline double ThreadCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class NoSound final : public app::SoundOutput {
 public:
  bool hasOutputDevice() override { return false; }
  bool play(const QString&) override { return false; }
};

// The window as the display shows it; the widgets' own rendering where no display can.
inline void Grab(QWidget* window, const QString& path) {
  QPixmap shot = window->screen()->grabWindow(window->winId());
  if (shot.isNull()) shot = window->grab();
  if (!shot.save(path)) std::fprintf(stderr, "could not save %s\n", qPrintable(path));
}

}  // namespace bench
