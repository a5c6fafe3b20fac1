// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Reads a report file into a document without holding up the document's thread, for a report
// of a million lines as for one of ten.
#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QString>
#include <QTimer>

#include "base/status.h"

QT_BEGIN_NAMESPACE
class QTextDocument;
QT_END_NAMESPACE

namespace platform {
class FileSystem;
}  // namespace platform

namespace reports {

// The file is read and parsed on a thread of its own (rich text when it begins with "{\rtf",
// plain text otherwise, as LoadReportFile reads it) into batches of paragraphs with their
// formats; the batches go into the document on the document's thread, in slices of a few
// milliseconds with the event loop going on between them, so a window stays answering and
// shows the first lines at once. At most a few batches wait between the two threads, so
// memory is the document's own and little more. Used on one thread, the document's.
class ReportLoader final : public QObject {
  Q_OBJECT

 public:
  struct Observer {
    // After each slice: how many bytes of the file are in the document, of how many.
    std::function<void(qint64 done, qint64 total)> progress;
    // Once, when the load has ended: every paragraph is in the document (ok), or reading
    // failed (the status names the file) and the document holds what came before.
    std::function<void(const base::Status& status)> finished;
  };

  // The name of the thread that reads the file, as the system lists it.
  static constexpr char kReaderThreadName[] = "report reader";

  explicit ReportLoader(QObject* parent = nullptr);
  // Stops a load that is still going.
  ~ReportLoader() override;
  ReportLoader(const ReportLoader&) = delete;
  ReportLoader& operator=(const ReportLoader&) = delete;

  // Starts loading the file at `path` on `fs` into `document`, which must be empty (cleared)
  // and have its undo switched off for the load; both must outlive the load. Stops a load
  // still going first. The file is opened here, and read on the reading thread (plain text
  // is opened a second time there, as it is read twice); a file that cannot be opened ends
  // the load with that failure. The observer is called on this thread, never from within
  // start().
  void start(platform::FileSystem& fs, const QString& path, QTextDocument* document,
             Observer observer);
  // Stops the load: returns once the reading thread has ended. Nothing more goes into the
  // document and the observer is not called again. Harmless when nothing is loading.
  void stop();
  // From start() until the observer's finished() has been called or stop().
  [[nodiscard]] bool running() const;

 private:
  struct Load;
  // Puts what has been read into the document for a slice; posted by the reading thread.
  Q_INVOKABLE void Drain();

  std::unique_ptr<Load> m_load;
  // Starts the next slice. A timer, not a posted call: posted calls that post the next one
  // run back to back before the event loop looks at its timers again.
  QTimer m_nextSlice;
};

}  // namespace reports
