// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The history of a drive's profile: when a run replaces a stored profile, the profile it
// replaces is kept as a generation, History/K/YYYYMMDDTHHMMSSZ.bvp.zst (zstd, named by the
// UTC time the kept profile was made), and History/K/index.tsv gets a line for it. Any two
// of a drive's profiles, kept or stored, can then be compared (engine/history_compare.h).
//
// index.tsv is text, one line per generation, oldest first, after a header line that names
// the columns; fields are separated by one tab:
//
//   made  replaced  files  bytes  hidden  added  deleted  grew  shrunk  time
//   addedBytes  deletedBytes  changedBytes  file
//
// `made` and `replaced` are UTC times in ISO 8601 with seconds ("2026-03-14T02:30:05Z"):
// when the kept profile was made, and when the profile that replaced it was. `files` and
// `bytes` are its records and the sum of their sizes, `hidden` ("true" or "false") the
// hidden-files setting it was made with. The next eight are the totals of the run that
// replaced it, as its report has them. `file` is the generation's file name.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/status.h"
#include "engine/compare_profiles.h"
#include "platform/date_time.h"
#include "platform/file_system.h"

namespace engine {

inline constexpr std::string_view kHistoryFolderName = "History";
inline constexpr std::string_view kHistoryIndexName = "index.tsv";
inline constexpr std::string_view kGenerationExtension = ".bvp.zst";
// The index's first line.
inline constexpr std::string_view kHistoryIndexHeader =
    "made\treplaced\tfiles\tbytes\thidden\tadded\tdeleted\tgrew\tshrunk\ttime\taddedBytes\t"
    "deletedBytes\tchangedBytes\tfile";

// One kept profile, as its line of index.tsv tells it.
struct Generation {
  platform::UnixSeconds made = 0;
  platform::UnixSeconds replaced = 0;
  std::int64_t files = 0;
  std::int64_t bytes = 0;
  bool hidden = false;
  std::int64_t added = 0;
  std::int64_t deleted = 0;
  std::int64_t grew = 0;
  std::int64_t shrunk = 0;
  std::int64_t timeChanged = 0;
  std::int64_t addedBytes = 0;
  std::int64_t deletedBytes = 0;
  std::int64_t changedBytes = 0;
  std::string file;  // its name in the drive's history folder

  // What the run that replaced it changed, in bytes: added + changed - deleted, saturated.
  [[nodiscard]] std::int64_t netBytes() const;
  friend bool operator==(const Generation&, const Generation&) = default;
};

// "20260314T023005Z": the name of a generation made at `utc`, without its extension.
[[nodiscard]] std::string UtcStamp(platform::UnixSeconds utc);
// "2026-03-14T02:30:05Z", and back. Nothing when `text` is not exactly of that form.
[[nodiscard]] std::string UtcIsoTime(platform::UnixSeconds utc);
[[nodiscard]] std::optional<platform::UnixSeconds> ParseUtcIsoTime(std::string_view text);

// The history folder of drive `letter` (upper case): `programFolder` (ending in `separator`)
// & "History" & separator & letter & separator.
[[nodiscard]] std::string HistoryFolderOf(std::string_view programFolder, char letter,
                                          char separator);

// The index in its file form: the header line, then one line per generation, each ended
// by LF.
[[nodiscard]] std::string FormatHistoryIndex(const std::vector<Generation>& generations);
// Reads the index of the history folder `folder` (ending in the separator). A missing index
// is a history without generations. A line that is not of the index's form, a missing or
// wrong header, or a file that is not a regular file is corrupt, naming the file and line.
[[nodiscard]] base::Status ReadHistoryIndex(platform::FileSystem& fs, const std::string& folder,
                                            std::vector<Generation>* generations);

// A stored profile on its way into the history: compressed into a temporary of its history
// folder while it is still the stored profile, then stored once the profile that replaces
// it is in place. Destroyed without store(), it leaves the history as it was.
class PendingGeneration {
 public:
  // Compresses the stored profile `profilePath` of drive `letter` (upper case) into a
  // temporary in History/K of `programFolder`; `hidden` is the setting it was made with.
  // The history folders are opened as FileSystem::openGuardedFolder opens them and held
  // until this object is destroyed.
  // Fails, naming what failed, when a folder cannot be had, the index cannot be read, or the
  // profile cannot be read or compressed; the history is then as it was.
  [[nodiscard]] static base::Result<std::unique_ptr<PendingGeneration>> Prepare(
      platform::FileSystem& fs, const std::string& programFolder, char letter,
      const std::string& profilePath, bool hidden);

  // Prepare a piece at a time: Start opens the folders, the index, the profile and the
  // temporary and fails as Prepare does; each compressMore() then compresses the next piece
  // of the profile, and sets `*done` once all of it is in the closed temporary. A failure
  // leaves the object good only for destruction. Pieces may be taken on different threads,
  // one at a time.
  [[nodiscard]] static base::Result<std::unique_ptr<PendingGeneration>> Start(
      platform::FileSystem& fs, const std::string& programFolder, char letter,
      const std::string& profilePath, bool hidden);
  [[nodiscard]] base::Status compressMore(bool* done);

  ~PendingGeneration();
  PendingGeneration(const PendingGeneration&) = delete;
  PendingGeneration& operator=(const PendingGeneration&) = delete;

  // The generation as its index line will tell it; its records, bytes and the run's totals
  // are set by store().
  [[nodiscard]] const Generation& generation() const { return m_generation; }

  // The profile it was has been replaced, at `replaced` (the new profile's time), by a run
  // with `totals`, whose storedFiles and storedBytes are the kept profile's records and
  // bytes as the run's comparison read them (so the profile is not read twice for them):
  // makes the generation a file of the history, adds its line to the index, and only then
  // removes the oldest generations beyond `depth` (files and lines). Fails,
  // naming the file, when the generation or the index cannot be written; the history then
  // holds no part of this generation and no generation was removed. Call once, after all
  // of the profile is compressed.
  [[nodiscard]] base::Status store(platform::UnixSeconds replaced, const CompareOutcome& totals,
                                   int depth);

 private:
  struct Compression;  // the profile being read and the compressor, until all is in

  PendingGeneration();

  platform::FileSystem* m_fs = nullptr;
  std::unique_ptr<platform::GuardedFolder> m_historyFolder;
  std::unique_ptr<platform::GuardedFolder> m_driveFolder;
  std::vector<Generation> m_index;  // the index as it was read
  std::unique_ptr<platform::ReplacementFile> m_file;
  std::unique_ptr<Compression> m_compression;
  Generation m_generation;
};

// A PendingGeneration prepared on a thread of its own, started at once, while the drive is
// scanned and compared. The thread runs at the lowest priority: the scan keeps the cores
// busy, and the compression should take only the time the scan leaves idle rather than
// slow the scan down. Whatever is left when the run needs the generation, take() does on
// the caller's thread at its own priority, so a busy machine never leaves the run waiting
// for a thread the scheduler passes over. Destroying this object without take() stops the
// thread after the piece it is on and drops what it prepared.
class GenerationInBackground {
 public:
  GenerationInBackground(platform::FileSystem& fs, std::string programFolder, char letter,
                         std::string profilePath, bool hidden);
  ~GenerationInBackground();
  GenerationInBackground(const GenerationInBackground&) = delete;
  GenerationInBackground& operator=(const GenerationInBackground&) = delete;

  // Finishes the preparation on the calling thread and hands over its result. Call once.
  [[nodiscard]] base::Result<std::unique_ptr<PendingGeneration>> take();

 private:
  // One piece of the work: starting, or compressing the next piece. With m_mutex held.
  void step();

  platform::FileSystem& m_fs;
  const std::string m_programFolder;
  const char m_letter;
  const std::string m_profilePath;
  const bool m_hidden;

  std::mutex m_mutex;                            // held for each piece, by the thread or by take()
  std::unique_ptr<PendingGeneration> m_pending;  // guarded by m_mutex
  base::Status m_status;                         // guarded by m_mutex
  bool m_done = false;                           // guarded by m_mutex
  bool m_taken = false;                          // take()'s own
  std::atomic<bool> m_handedOver{false};         // set once the thread is to stop
  std::thread m_thread;                          // last: it starts with all above set
};

}  // namespace engine
