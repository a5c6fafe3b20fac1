// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/history.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>

#include "base/saturating.h"
#include "platform/civil_time.h"
#include "platform/thread_priority.h"
#include "platform/zstd/zstd_file.h"

namespace engine {
namespace {

// Far above any index a depth of 1000 makes; a file beyond it is not an index.
constexpr std::size_t kMaxIndexBytes = 16 * 1024 * 1024;
// How much of the stored profile is read and compressed at a time.
constexpr std::size_t kChunkBytes = 1024 * 1024;
constexpr std::size_t kColumns = 14;

std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

bool ParseCount(std::string_view text, std::int64_t* value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::string GenerationName(std::string_view stamp, int number) {
  return std::string(stamp) + (number > 1 ? "_" + std::to_string(number) : "") +
         std::string(kGenerationExtension);
}

}  // namespace

std::int64_t Generation::netBytes() const {
  return base::SaturatingSubtract(base::SaturatingAdd(addedBytes, changedBytes), deletedBytes);
}

std::string UtcStamp(platform::UnixSeconds utc) {
  const platform::LocalDateTime t = platform::CivilFromSeconds(utc);
  return std::to_string(t.year) + TwoDigits(t.month) + TwoDigits(t.day) + "T" + TwoDigits(t.hour) +
         TwoDigits(t.minute) + TwoDigits(t.second) + "Z";
}

std::string UtcIsoTime(platform::UnixSeconds utc) {
  const platform::LocalDateTime t = platform::CivilFromSeconds(utc);
  return std::to_string(t.year) + "-" + TwoDigits(t.month) + "-" + TwoDigits(t.day) + "T" +
         TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second) + "Z";
}

std::optional<platform::UnixSeconds> ParseUtcIsoTime(std::string_view text) {
  // yyyy-mm-ddThh:mm:ssZ
  if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':' || text[19] != 'Z') {
    return std::nullopt;
  }
  const auto field = [&](std::size_t at, std::size_t length, int low, int high) -> int {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + at + length, value);
    if (error != std::errc() || end != text.data() + at + length || value < low || value > high) {
      return -1;
    }
    return value;
  };
  platform::LocalDateTime t;
  t.year = field(0, 4, 0, 9999);
  t.month = field(5, 2, 1, 12);
  t.day = field(8, 2, 1, 31);
  t.hour = field(11, 2, 0, 23);
  t.minute = field(14, 2, 0, 59);
  t.second = field(17, 2, 0, 59);
  if (std::min({t.year, t.month, t.day, t.hour, t.minute, t.second}) < 0) return std::nullopt;
  const platform::UnixSeconds seconds = platform::SecondsFromCivil(t);
  // 31 February is no date.
  if (platform::CivilFromSeconds(seconds) != t) return std::nullopt;
  return seconds;
}

std::string HistoryFolderOf(std::string_view programFolder, char letter, char separator) {
  return std::string(programFolder) + std::string(kHistoryFolderName) + separator + letter +
         separator;
}

std::string FormatHistoryIndex(const std::vector<Generation>& generations) {
  std::string text(kHistoryIndexHeader);
  text += '\n';
  for (const Generation& g : generations) {
    for (const std::string& field :
         {UtcIsoTime(g.made), UtcIsoTime(g.replaced), std::to_string(g.files),
          std::to_string(g.bytes), std::string(g.hidden ? "true" : "false"),
          std::to_string(g.added), std::to_string(g.deleted), std::to_string(g.grew),
          std::to_string(g.shrunk), std::to_string(g.timeChanged), std::to_string(g.addedBytes),
          std::to_string(g.deletedBytes), std::to_string(g.changedBytes)}) {
      text += field;
      text += '\t';
    }
    text += g.file;
    text += '\n';
  }
  return text;
}

base::Status ReadHistoryIndex(platform::FileSystem& fs, const std::string& folder,
                              std::vector<Generation>* generations) {
  generations->clear();
  const std::string path = folder + std::string(kHistoryIndexName);
  if (!fs.exists(path)) return base::Status::ok();
  auto text = platform::ReadWholeFile(fs, path, kMaxIndexBytes);
  if (!text.isOk()) return text.status();
  std::string_view rest = text.value();
  std::int64_t lineNumber = 0;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    ++lineNumber;
    if (line.ends_with('\r')) line.remove_suffix(1);
    const auto bad = [&](const std::string& why) {
      return base::Status::corrupt(path + ", line " + std::to_string(lineNumber) + ": " + why);
    };
    if (lineNumber == 1) {
      if (line != kHistoryIndexHeader) return bad("not the header of a history index");
      continue;
    }
    std::vector<std::string_view> fields;
    for (std::size_t at = 0;;) {
      const std::size_t tab = line.find('\t', at);
      fields.push_back(line.substr(at, tab == std::string_view::npos ? tab : tab - at));
      if (tab == std::string_view::npos) break;
      at = tab + 1;
    }
    if (fields.size() != kColumns) {
      return bad("expected " + std::to_string(kColumns) + " fields separated by tabs");
    }
    Generation g;
    const auto made = ParseUtcIsoTime(fields[0]);
    const auto replaced = ParseUtcIsoTime(fields[1]);
    if (!made || !replaced) return bad("a time is not of the form 2026-03-14T02:30:05Z");
    g.made = *made;
    g.replaced = *replaced;
    if (fields[4] != "true" && fields[4] != "false") return bad("hidden is not true or false");
    g.hidden = fields[4] == "true";
    std::int64_t* counts[] = {&g.files,        &g.bytes,       &g.added,       &g.deleted,
                              &g.grew,         &g.shrunk,      &g.timeChanged, &g.addedBytes,
                              &g.deletedBytes, &g.changedBytes};
    const std::size_t countFields[] = {2, 3, 5, 6, 7, 8, 9, 10, 11, 12};
    for (std::size_t i = 0; i < std::size(counts); ++i) {
      if (!ParseCount(fields[countFields[i]], counts[i])) {
        return bad("'" + std::string(fields[countFields[i]]) + "' is not a number");
      }
    }
    g.file = fields[13];
    // Only a name of the folder's own: never a path that leads elsewhere.
    if (!g.file.ends_with(kGenerationExtension) ||
        g.file.find_first_of("/\\") != std::string::npos || g.file.starts_with(".")) {
      return bad("'" + g.file + "' is not the name of a kept profile");
    }
    generations->push_back(std::move(g));
  }
  if (lineNumber == 0) return base::Status::corrupt(path + ": empty, not a history index");
  return base::Status::ok();
}

struct PendingGeneration::Compression {
  std::unique_ptr<platform::SequentialFile> profile;
  std::unique_ptr<platform::CompressingFile> writer;
  std::string chunk = std::string(kChunkBytes, '\0');
};

PendingGeneration::PendingGeneration() = default;
PendingGeneration::~PendingGeneration() = default;

base::Result<std::unique_ptr<PendingGeneration>> PendingGeneration::Prepare(
    platform::FileSystem& fs, const std::string& programFolder, char letter,
    const std::string& profilePath, bool hidden) {
  auto pending = Start(fs, programFolder, letter, profilePath, hidden);
  if (!pending.isOk()) return pending;
  for (bool done = false; !done;) {
    if (base::Status s = pending.value()->compressMore(&done); !s.isOk()) return s;
  }
  return pending;
}

base::Result<std::unique_ptr<PendingGeneration>> PendingGeneration::Start(
    platform::FileSystem& fs, const std::string& programFolder, char letter,
    const std::string& profilePath, bool hidden) {
  std::unique_ptr<PendingGeneration> pending(new PendingGeneration());
  pending->m_fs = &fs;
  auto history = fs.openGuardedFolder(programFolder, kHistoryFolderName);
  if (!history.isOk()) return history.status();
  pending->m_historyFolder = std::move(history).value();
  auto drive = fs.openGuardedFolder(pending->m_historyFolder->path(), std::string(1, letter));
  if (!drive.isOk()) return drive.status();
  pending->m_driveFolder = std::move(drive).value();
  const std::string& folder = pending->m_driveFolder->path();
  if (base::Status s = ReadHistoryIndex(fs, folder, &pending->m_index); !s.isOk()) return s;

  auto made = fs.modificationTime(profilePath);
  if (!made.isOk()) return made.status();
  Generation& g = pending->m_generation;
  g.made = made.value();
  g.hidden = hidden;
  // Two profiles made within one second (or a clock set back) share a stamp: number it.
  const std::string stamp = UtcStamp(g.made);
  for (int number = 1;; ++number) {
    g.file = GenerationName(stamp, number);
    const bool indexed = std::any_of(pending->m_index.begin(), pending->m_index.end(),
                                     [&](const Generation& kept) { return kept.file == g.file; });
    if (!indexed && !fs.exists(folder + g.file)) break;
  }

  auto out = fs.openForReplacing(folder + g.file, platform::Durability::kSynced);
  if (!out.isOk()) return out.status();
  pending->m_file = std::move(out).value();
  auto in = fs.openForReading(profilePath);
  if (!in.isOk()) return in.status();
  // One thread compresses: the pieces go to whichever thread has time for them, and worker
  // threads of the compressor's own would compete with the scan for the cores.
  auto writer =
      platform::CompressingFile::Open(pending->m_file.get(), platform::kFastCompressionLevel, 0);
  if (!writer.isOk()) return writer.status();
  pending->m_compression = std::make_unique<Compression>();
  pending->m_compression->profile = std::move(in).value();
  pending->m_compression->writer = std::move(writer).value();
  return pending;
}

base::Status PendingGeneration::compressMore(bool* done) {
  *done = false;
  if (!m_compression) return base::Status::invalidArgument("a kept profile compressed twice");
  Compression& c = *m_compression;
  std::size_t got = 0;
  if (base::Status s = c.profile->read(c.chunk.size(), c.chunk.data(), &got); !s.isOk()) return s;
  if (got > 0) return c.writer->append({c.chunk.data(), got});
  if (base::Status s = c.writer->close(); !s.isOk()) return s;
  m_compression.reset();
  if (base::Status s = m_file->close(); !s.isOk()) return s;
  *done = true;
  return base::Status::ok();
}

base::Status PendingGeneration::store(platform::UnixSeconds replaced, const CompareOutcome& totals,
                                      int depth) {
  if (!m_file) return base::Status::invalidArgument("a kept profile stored twice");
  if (m_compression) return base::Status::invalidArgument("a kept profile stored unfinished");
  Generation& g = m_generation;
  g.replaced = replaced;
  g.files = totals.storedFiles;
  g.bytes = totals.storedBytes;
  g.added = totals.added;
  g.deleted = totals.deleted;
  g.grew = totals.grew;
  g.shrunk = totals.shrunk;
  g.timeChanged = totals.timeChanged;
  g.addedBytes = totals.addedBytes;
  g.deletedBytes = totals.deletedBytes;
  g.changedBytes = totals.changedBytes;

  const std::string& folder = m_driveFolder->path();
  const std::string path = folder + g.file;
  base::Status s = m_file->commit();
  m_file.reset();
  if (!s.isOk()) return s;
  std::vector<Generation> index = m_index;
  index.push_back(g);
  const std::size_t keep = static_cast<std::size_t>(std::max(depth, 1));
  const std::size_t drop = index.size() > keep ? index.size() - keep : 0;
  std::vector<std::string> dropped;
  for (std::size_t i = 0; i < drop; ++i) dropped.push_back(index[i].file);
  index.erase(index.begin(), index.begin() + static_cast<std::ptrdiff_t>(drop));
  if (s = platform::WriteFileAtomically(*m_fs, folder + std::string(kHistoryIndexName),
                                        FormatHistoryIndex(index));
      !s.isOk()) {
    // A generation the index does not name would never be pruned.
    (void)m_fs->remove(path);
    return s;
  }
  // A generation that cannot be removed only takes room: the index no longer names it.
  for (const std::string& name : dropped) (void)m_fs->remove(folder + name);
  return base::Status::ok();
}

GenerationInBackground::GenerationInBackground(platform::FileSystem& fs, std::string programFolder,
                                               char letter, std::string profilePath, bool hidden)
    : m_fs(fs),
      m_programFolder(std::move(programFolder)),
      m_letter(letter),
      m_profilePath(std::move(profilePath)),
      m_hidden(hidden),
      m_thread([this] {
        (void)platform::LowerThisThreadsPriority();
        while (!m_handedOver.load(std::memory_order_relaxed)) {
          std::lock_guard lock(m_mutex);
          if (m_done) return;
          step();
        }
      }) {}

GenerationInBackground::~GenerationInBackground() {
  m_handedOver = true;
  if (m_thread.joinable()) m_thread.join();
}

void GenerationInBackground::step() {
  if (!m_pending) {
    auto started =
        PendingGeneration::Start(m_fs, m_programFolder, m_letter, m_profilePath, m_hidden);
    if (started.isOk()) {
      m_pending = std::move(started).value();
    } else {
      m_status = started.status();
      m_done = true;
    }
    return;
  }
  bool finished = false;
  m_status = m_pending->compressMore(&finished);
  if (!m_status.isOk()) m_pending.reset();
  m_done = finished || !m_status.isOk();
}

base::Result<std::unique_ptr<PendingGeneration>> GenerationInBackground::take() {
  if (m_taken) return base::Status::invalidArgument("a kept profile taken twice");
  m_taken = true;
  m_handedOver = true;
  {
    std::lock_guard lock(m_mutex);
    while (!m_done) step();
  }
  if (m_thread.joinable()) m_thread.join();
  if (!m_status.isOk()) return m_status;
  return std::move(m_pending);
}

}  // namespace engine
