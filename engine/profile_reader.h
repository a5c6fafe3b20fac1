// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Reading a profile file a block of whole lines at a time, with one set of rules:
// ProfileReader gives one record at a time on its caller's thread; ProfileBlockReader reads
// and parses on a thread of its own, a block ahead of its caller. Memory is independent of
// the file's size.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/status.h"
#include "engine/profile_record.h"
#include "engine/record_source.h"
#include "engine/text_buffer.h"
#include "platform/file_system.h"

namespace engine {

// No line of a profile comes near this: a name is at most 255 bytes, a path a few KiB, and
// escapes triple them. A file of other bytes (all zeros, say) is refused at this length.
inline constexpr std::size_t kMaxProfileLine = 64 * 1024;

// The name ending of a profile kept compressed (zstd): the generations of History/.
inline constexpr std::string_view kCompressedProfileExtension = ".zst";

// Opens the profile `path` for reading: as it is, or, when its name ends in
// kCompressedProfileExtension, through zstd, so a damaged or cut compressed file is corrupt
// naming it.
[[nodiscard]] base::Result<std::unique_ptr<platform::SequentialFile>> OpenProfileFile(
    platform::FileSystem& fs, const std::string& path);

// Whole lines of a profile and their records, which point into the block's own text.
struct ProfileBlock {
  std::vector<RecordView> records;
  std::vector<std::int64_t> lineNumbers;  // the line of each record, 1-based
  // After the records: OK, or the failure at which reading stopped.
  base::Status status;
  bool last = false;  // no records follow (set also after a failure)

  TextBuffer text;
  TextBuffer unescaped;  // fields that held escapes, unescaped
};

// Reads a profile's lines block by block and parses them. A last line without a line end
// that is a whole record is read as such; one that is not (a profile cut short) is corrupt
// with "the profile is damaged at its end" and how to recover. Any other malformed line,
// and a line longer than kMaxProfileLine bytes, is corrupt, naming the file and the line
// number. Empty lines are skipped; an empty file is a profile without records. Not
// thread-safe: one thread at a time.
class ProfileBlockParser {
 public:
  // Reads from `file`; `path` names the file in messages.
  ProfileBlockParser(std::unique_ptr<platform::SequentialFile> file, std::string path);
  ProfileBlockParser(const ProfileBlockParser&) = delete;
  ProfileBlockParser& operator=(const ProfileBlockParser&) = delete;

  // Fills `*block` with the records of the next lines (possibly none: a block of empty
  // lines). After a block that is last, every fill gives an empty last block.
  void fill(ProfileBlock* block);

  [[nodiscard]] const std::string& path() const { return m_path; }
  // Lines read so far.
  [[nodiscard]] std::int64_t lineNumber() const { return m_lineNumber; }

 private:
  // Parses one line (without '\n') into `*block`; false when reading must stop there.
  bool parseLine(std::string_view line, bool lastLine, ProfileBlock* block,
                 FolderField* previousFolder);

  std::unique_ptr<platform::SequentialFile> m_file;
  std::string m_path;
  TextBuffer m_carry;  // the start of a line that the next block completes
  bool m_eof = false;
  bool m_done = false;
  std::int64_t m_lineNumber = 0;
};

class ProfileReader {
 public:
  // Reads from `file`; `path` names the file in messages.
  ProfileReader(std::unique_ptr<platform::SequentialFile> file, std::string path);
  ProfileReader(const ProfileReader&) = delete;
  ProfileReader& operator=(const ProfileReader&) = delete;

  // Opens `path` on `fs` (OpenProfileFile).
  [[nodiscard]] static base::Result<std::unique_ptr<ProfileReader>> Open(platform::FileSystem& fs,
                                                                         const std::string& path);

  // Reads the next record into `*record` and returns true; returns false at the end of the
  // file or on a failure, which status() then tells. Lines are read as ProfileBlockParser
  // says. Memory stays bounded by the line limit whatever the file holds.
  [[nodiscard]] bool next(ProfileRecord* record);

  // OK while and after reading without failure. Sticky: the first failure stays.
  [[nodiscard]] const base::Status& status() const { return m_status; }
  // Number of the line last read (1-based).
  [[nodiscard]] std::int64_t lineNumber() const { return m_lineNumber; }

 private:
  ProfileBlockParser m_parser;
  ProfileBlock m_block;
  std::size_t m_next = 0;  // the record of m_block that next() gives next
  bool m_started = false;
  std::int64_t m_lineNumber = 0;
  base::Status m_status;
};

// A profile read and parsed on a thread of its own, while its caller works on the block
// before: the comparison reads both its profiles this way, each on its own core.
class ProfileBlockReader final : public RecordSource {
 public:
  // Opens `path` on `fs` (OpenProfileFile) and starts reading.
  [[nodiscard]] static base::Result<std::unique_ptr<ProfileBlockReader>> Open(
      platform::FileSystem& fs, const std::string& path);
  ProfileBlockReader(std::unique_ptr<platform::SequentialFile> file, std::string path);
  ProfileBlockReader(const ProfileBlockReader&) = delete;
  ProfileBlockReader& operator=(const ProfileBlockReader&) = delete;
  // Stops the thread once it has finished the block it is reading.
  ~ProfileBlockReader() override;

  // The records of the next block, as ProfileBlockParser reads them.
  [[nodiscard]] bool nextBatch(std::span<const RecordView>* batch) override;
  [[nodiscard]] const base::Status& status() const override { return m_status; }
  [[nodiscard]] std::string placeOf(std::size_t index) const override;

 private:
  // Three blocks: one read by the thread, one ready, one with the caller.
  static constexpr std::size_t kBlocks = 3;
  struct Slot {
    ProfileBlock block;
    bool ready = false;  // filled and not yet given back by the caller
  };

  void read();

  ProfileBlockParser m_parser;
  std::string m_path;
  Slot m_slots[kBlocks];
  std::mutex m_mutex;
  std::condition_variable m_readerWake;
  std::condition_variable m_callerWake;
  bool m_readerWaits = false;
  bool m_callerWaits = false;
  bool m_stop = false;
  std::size_t m_taken = 0;  // blocks the caller has taken
  bool m_holding = false;   // the caller holds block m_taken - 1
  bool m_finished = false;  // the caller has taken the last block
  base::Status m_failure;   // the last block's status, told once its records are decided
  base::Status m_status;
  std::thread m_thread;
};

}  // namespace engine
