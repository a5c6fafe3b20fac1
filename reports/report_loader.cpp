// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_loader.h"

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <QElapsedTimer>
#include <QTimer>

#include "platform/file_system.h"
#include "platform/qt/native_path.h"
#include "reports/paragraph_batch.h"
#include "reports/report_file.h"
#include "reports/report_text.h"
#include "reports/rtf_parser.h"

namespace reports {
namespace {

// A batch takes about a millisecond to read and a few to put in: the first screen of a
// report shows as soon as its first batch is in.
constexpr int kParagraphsPerBatch = 1000;
// Batches read ahead of the document; beyond this the reading thread waits.
constexpr std::size_t kMaxWaitingBatches = 16;
// How long one slice may hold the document's thread. The event loop runs between slices,
// so this is about the longest the window can take to react.
constexpr qint64 kSliceMs = 12;
// The slice's clock is looked at after this many paragraphs.
constexpr int kParagraphsBetweenClockChecks = 64;
constexpr qint64 kReadSize = 256 * 1024;
// Rich text is told from plain text by this many bytes at the start ("{\rtf").
constexpr std::size_t kRichTextSignatureSize = 5;

// Reads from `file` until `bytes` holds `count` bytes or the file ends.
base::Status ReadAhead(platform::SequentialFile& file, std::size_t count, std::string* bytes) {
  while (bytes->size() < count) {
    const std::size_t at = bytes->size();
    bytes->resize(count);
    std::size_t got = 0;
    const base::Status status = file.read(count - at, bytes->data() + at, &got);
    bytes->resize(at + got);
    if (!status.isOk()) return status;
    if (got == 0) break;
  }
  return base::Status::ok();
}

}  // namespace

struct ReportLoader::Load {
  Load(platform::FileSystem& fs, const QString& path, QTextDocument* document, Observer observer)
      : fs(fs),
        path(platform::NativeBytes(path)),
        appender(document),
        observer(std::move(observer)) {}

  // Reads the file into batches; runs on the reading thread.
  void Read(const std::function<void()>& wake);
  // Hands a batch over; waits while too many wait. False once the load is stopped.
  bool Push(ParagraphBatch&& batch, const std::function<void()>& wake);

  platform::FileSystem& fs;
  const std::string path;
  ParagraphAppender appender;
  Observer observer;
  qint64 total = 0;
  // Opened by start(), read by the reading thread.
  std::unique_ptr<platform::SequentialFile> file;
  base::Status opened;
  // A thread of the standard library rather than a QThread: joining it is an order that the
  // thread sanitizer sees, so what the thread did is known to be over when it is joined.
  std::thread reader;
  std::atomic<bool> stopping{false};

  std::mutex mutex;  // guards what follows, up to the document's side
  std::condition_variable room;
  std::deque<ParagraphBatch> waiting;
  bool drainPosted = false;
  bool readerDone = false;
  base::Status status;

  // The document's side.
  ParagraphBatch current;
  std::size_t next = 0;  // the first paragraph of `current` not yet in the document
  bool hasCurrent = false;
  qint64 inDocument = 0;
};

bool ReportLoader::Load::Push(ParagraphBatch&& batch, const std::function<void()>& wake) {
  std::unique_lock<std::mutex> lock(mutex);
  room.wait(lock, [this] { return stopping || waiting.size() < kMaxWaitingBatches; });
  if (stopping) return false;
  waiting.push_back(std::move(batch));
  if (!drainPosted) {
    drainPosted = true;
    wake();
  }
  return true;
}

void ReportLoader::Load::Read(const std::function<void()>& wake) {
  base::Status outcome = opened;
  ParagraphBatchBuilder builder(kParagraphsPerBatch, [this, &wake](ParagraphBatch&& batch) {
    if (!Push(std::move(batch), wake)) stopping = true;
  });
  qint64 read = 0;
  std::string ahead;  // read to tell rich text from plain; given out before the rest
  // The file is read no further than the size that may be opened, even if it grows.
  const auto input = [&](char* buffer, qsizetype capacity) -> qsizetype {
    if (stopping || !outcome.isOk()) return 0;
    std::size_t got = 0;
    if (!ahead.empty()) {
      got = std::min(std::size_t(capacity), ahead.size());
      std::memcpy(buffer, ahead.data(), got);
      ahead.erase(0, got);
    } else {
      const auto wanted = std::size_t(std::min<qint64>(capacity, kMaxReportFileSize + 1 - read));
      outcome = file->read(wanted, buffer, &got);
      if (!outcome.isOk()) return 0;
    }
    read += qint64(got);
    if (read > kMaxReportFileSize) {
      outcome = base::Status::invalidArgument(path + ": too large to open");
      return 0;
    }
    builder.setBytesRead(read);
    return qsizetype(got);
  };

  if (outcome.isOk()) outcome = ReadAhead(*file, kRichTextSignatureSize, &ahead);
  if (!outcome.isOk()) {
    // Nothing was read: the document stays empty.
  } else if (IsRichText(QByteArrayView(ahead.data(), qsizetype(ahead.size())))) {
    ParseRtf(input, &builder, /*withStyles=*/true);
  } else {
    // Plain text is decoded as UTF-8 only when all of it is UTF-8: a first pass decides,
    // and the second reads the file again from its start.
    Utf8Check check;
    std::vector<char> buffer(kReadSize);
    for (qsizetype got = input(buffer.data(), kReadSize); got > 0 && check.valid();
         got = input(buffer.data(), kReadSize)) {
      check.add(QByteArrayView(buffer.data(), got));
    }
    read = 0;
    ahead.clear();
    if (outcome.isOk() && !stopping) {
      auto again = fs.openForReading(path);
      if (again.isOk()) {
        file = std::move(again).value();
      } else {
        outcome = again.status();
      }
    }
    PlainTextSplitter splitter(
        check.valid(), [&builder](QStringView paragraph) { builder.addPlainParagraph(paragraph); });
    for (qsizetype got = input(buffer.data(), kReadSize); got > 0;
         got = input(buffer.data(), kReadSize)) {
      splitter.add(QByteArrayView(buffer.data(), got));
    }
    splitter.finish();
  }
  file.reset();
  if (!stopping) builder.finish();

  const std::lock_guard<std::mutex> lock(mutex);
  status = outcome;
  readerDone = true;
  if (!drainPosted) {
    drainPosted = true;
    wake();
  }
}

ReportLoader::ReportLoader(QObject* parent) : QObject(parent) {
  m_nextSlice.setSingleShot(true);
  m_nextSlice.setInterval(0);
  connect(&m_nextSlice, &QTimer::timeout, this, &ReportLoader::Drain);
}

ReportLoader::~ReportLoader() { stop(); }

bool ReportLoader::running() const { return m_load != nullptr; }

void ReportLoader::start(platform::FileSystem& fs, const QString& path, QTextDocument* document,
                         Observer observer) {
  stop();
  m_load = std::make_unique<Load>(fs, path, document, std::move(observer));
  Load* load = m_load.get();
  if (auto file = fs.openForReading(load->path); file.isOk()) {
    load->file = std::move(file).value();
    load->total = qint64(load->file->size().value_or(0));
  } else {
    load->opened = file.status();
  }
  // A wake-up posted for a load that has since been stopped finds another one, or none:
  // it only drains what is there. By name, so that nothing is made on the reading thread
  // for Qt to destroy on this one: what crosses goes through the load's mutex.
  const auto wake = [this] { QMetaObject::invokeMethod(this, "Drain", Qt::QueuedConnection); };
  load->reader = std::thread([load, wake] {
    pthread_setname_np(pthread_self(), kReaderThreadName);
    load->Read(wake);
  });
}

void ReportLoader::stop() {
  if (m_load == nullptr) return;
  {
    const std::lock_guard<std::mutex> lock(m_load->mutex);
    m_load->stopping = true;
  }
  m_load->room.notify_all();
  m_load->reader.join();
  m_load.reset();
  m_nextSlice.stop();
}

void ReportLoader::Drain() {
  if (m_load == nullptr) return;
  Load& load = *m_load;
  // drainPosted stays set while slices follow one another: the reading thread wakes this
  // side only once it has found it idle, or every slice would bring one more posted call.
  QElapsedTimer clock;
  clock.start();
  int paragraphs = 0;
  const auto more = [&] {
    return ++paragraphs % kParagraphsBetweenClockChecks != 0 || clock.elapsed() < kSliceMs;
  };
  while (clock.elapsed() < kSliceMs) {
    if (!load.hasCurrent) {
      const std::lock_guard<std::mutex> lock(load.mutex);
      if (load.waiting.empty()) break;
      load.current = std::move(load.waiting.front());
      load.waiting.pop_front();
      load.next = 0;
      load.hasCurrent = true;
      load.room.notify_one();
    }
    load.appender.append(load.current, &load.next, more);
    if (load.next >= load.current.paragraphs.size()) {
      load.inDocument = load.current.bytesRead;
      load.current = {};
      load.hasCurrent = false;
    }
  }
  if (load.observer.progress) load.observer.progress(load.inDocument, load.total);

  bool finished = false;
  {
    const std::lock_guard<std::mutex> lock(load.mutex);
    if (load.hasCurrent || !load.waiting.empty()) {
      // More is there: the next slice comes once the event loop has had its turn.
      m_nextSlice.start();
    } else {
      finished = load.readerDone;
      load.drainPosted = false;  // idle until the reading thread has more
    }
  }
  if (!finished) return;
  load.reader.join();
  const base::Status status = load.status;
  auto done = std::move(load.observer.finished);
  m_load.reset();  // before the observer, which may start another load
  if (done) done(status);
}

}  // namespace reports
