// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/profile_reader.h"

#include <cstring>
#include <string_view>

#include "platform/zstd/zstd_file.h"

namespace engine {
namespace {

// Large enough for the longest line with its line end, small enough that two readers of a
// comparison hold a few hundred KiB between them. A profile line is 50 to 200 bytes, so a
// block holds about a thousand of them, and the reading thread hands over a few hundred
// blocks per 100 MB.
constexpr std::size_t kBlockSize = 128 * 1024;
static_assert(kBlockSize > kMaxProfileLine + 2);

std::string LinePlace(const std::string& path, std::int64_t line) {
  return path + ", line " + std::to_string(line);
}

}  // namespace

ProfileBlockParser::ProfileBlockParser(std::unique_ptr<platform::SequentialFile> file,
                                       std::string path)
    : m_file(std::move(file)), m_path(std::move(path)) {}

bool ProfileBlockParser::parseLine(std::string_view line, bool lastLine, ProfileBlock* block,
                                   FolderField* previousFolder) {
  ++m_lineNumber;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > kMaxProfileLine) {
    block->status =
        base::Status::corrupt(LinePlace(m_path, m_lineNumber) + ": longer than " +
                              std::to_string(kMaxProfileLine) + " bytes, not a profile line");
    return false;
  }
  // A file may end with an empty line; an empty line elsewhere is not a record either.
  if (line.empty()) return true;
  RecordView& record = block->records.emplace_back();
  base::Status s = ParseProfileLine(line, &record, &block->unescaped, previousFolder);
  if (s.isOk()) {
    block->lineNumbers.push_back(m_lineNumber);
    return true;
  }
  block->records.pop_back();
  // Profiles are only ever replaced whole, so a last line cut short is damage from outside
  // (a disk, a copy, an editor), not an interrupted write: the records it held are gone, and
  // reading on would report them deleted.
  block->status = base::Status::corrupt(
      LinePlace(m_path, m_lineNumber) + ": " +
      (lastLine ? "the profile is damaged at its end. Rename or delete it to make a new one "
                  "on the next run."
                : s.message()));
  return false;
}

void ProfileBlockParser::fill(ProfileBlock* block) {
  block->records.clear();
  block->lineNumbers.clear();
  block->status = base::Status::ok();
  block->last = m_done;
  block->text.clear();
  block->unescaped.clear();
  if (m_done) return;

  // The line the last block left unfinished comes first, then as much of the file as fits.
  block->text.append(m_carry.view());
  m_carry.clear();
  base::Status readFailure;
  while (!m_eof && block->text.size() < kBlockSize) {
    const std::size_t room = kBlockSize - block->text.size();
    char* at = block->text.reserveMore(room);
    std::size_t got = 0;
    readFailure = m_file->read(room, at, &got);
    if (!readFailure.isOk()) break;
    block->text.commitTo(at + got);
    if (got == 0) m_eof = true;
  }
  // Unescaped fields are never longer than their lines: this room never has to grow, so
  // views into it stay valid.
  block->unescaped.reserveMore(block->text.size());

  const char* at = block->text.data();
  const char* end = at + block->text.size();
  FolderField previousFolder;
  while (const void* nl = std::memchr(at, '\n', static_cast<std::size_t>(end - at))) {
    const auto* lineEnd = static_cast<const char*>(nl);
    if (!parseLine(std::string_view(at, static_cast<std::size_t>(lineEnd - at)), false, block,
                   &previousFolder)) {
      m_done = block->last = true;
      return;
    }
    at = lineEnd + 1;
  }
  const std::string_view rest(at, static_cast<std::size_t>(end - at));
  if (!readFailure.isOk()) {
    // The lines before the failure stand; the one it cut off is not taken for a whole one.
    block->status = readFailure;
    m_done = block->last = true;
  } else if (m_eof) {
    if (!rest.empty()) (void)parseLine(rest, true, block, &previousFolder);
    m_done = block->last = true;
  } else if (rest.size() > kMaxProfileLine + 1) {
    (void)parseLine(rest, false, block, &previousFolder);  // too long: corrupt
    m_done = block->last = true;
  } else {
    m_carry.append(rest);
  }
}

base::Result<std::unique_ptr<platform::SequentialFile>> OpenProfileFile(platform::FileSystem& fs,
                                                                        const std::string& path) {
  auto file = fs.openForReading(path);
  if (!file.isOk() || !std::string_view(path).ends_with(kCompressedProfileExtension)) return file;
  return platform::NewDecompressingFile(std::move(file).value(), path);
}

ProfileReader::ProfileReader(std::unique_ptr<platform::SequentialFile> file, std::string path)
    : m_parser(std::move(file), std::move(path)) {}

base::Result<std::unique_ptr<ProfileReader>> ProfileReader::Open(platform::FileSystem& fs,
                                                                 const std::string& path) {
  auto file = OpenProfileFile(fs, path);
  if (!file.isOk()) return file.status();
  return std::make_unique<ProfileReader>(std::move(file).value(), path);
}

bool ProfileReader::next(ProfileRecord* record) {
  while (!m_started || m_next >= m_block.records.size()) {
    if (m_started && (!m_block.status.isOk() || m_block.last)) {
      if (m_status.isOk()) m_status = m_block.status;
      m_lineNumber = m_parser.lineNumber();
      return false;
    }
    m_parser.fill(&m_block);
    m_started = true;
    m_next = 0;
  }
  const RecordView& view = m_block.records[m_next];
  m_lineNumber = m_block.lineNumbers[m_next];
  ++m_next;
  record->size = view.size;
  record->time = view.time;
  // Assigning keeps the fields' buffers, so reading a profile allocates almost nothing.
  record->folder.assign(view.folder);
  record->name.assign(view.name);
  return true;
}

base::Result<std::unique_ptr<ProfileBlockReader>> ProfileBlockReader::Open(
    platform::FileSystem& fs, const std::string& path) {
  auto file = OpenProfileFile(fs, path);
  if (!file.isOk()) return file.status();
  return std::make_unique<ProfileBlockReader>(std::move(file).value(), path);
}

ProfileBlockReader::ProfileBlockReader(std::unique_ptr<platform::SequentialFile> file,
                                       std::string path)
    : m_parser(std::move(file), path), m_path(std::move(path)) {
  m_thread = std::thread([this] { read(); });
}

ProfileBlockReader::~ProfileBlockReader() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stop = true;
  }
  m_readerWake.notify_one();
  m_thread.join();
}

void ProfileBlockReader::read() {
  for (std::size_t next = 0;; ++next) {
    Slot& slot = m_slots[next % kBlocks];
    {
      // A slot is free once the caller has given back the block it held there.
      std::unique_lock<std::mutex> lock(m_mutex);
      auto free = [&] { return m_stop || !slot.ready; };
      if (!free()) {
        m_readerWaits = true;
        m_readerWake.wait(lock, free);
        m_readerWaits = false;
      }
      if (m_stop) return;
    }
    m_parser.fill(&slot.block);
    std::lock_guard<std::mutex> lock(m_mutex);
    slot.ready = true;
    if (m_callerWaits) m_callerWake.notify_one();
    if (slot.block.last) return;
  }
}

bool ProfileBlockReader::nextBatch(std::span<const RecordView>* batch) {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    if (m_holding) {
      m_slots[(m_taken - 1) % kBlocks].ready = false;
      m_holding = false;
      if (m_readerWaits) m_readerWake.notify_one();
    }
    if (m_finished) {
      // A failure is told only now, once the records before it are decided.
      if (m_status.isOk()) m_status = m_failure;
      return false;
    }
    Slot& slot = m_slots[m_taken % kBlocks];
    if (!slot.ready) {
      m_callerWaits = true;
      m_callerWake.wait(lock, [&slot] { return slot.ready; });
      m_callerWaits = false;
    }
    ++m_taken;
    m_holding = true;
    if (slot.block.last) {
      m_finished = true;
      m_failure = slot.block.status;
    }
    if (!slot.block.records.empty()) {
      *batch = slot.block.records;
      return true;
    }
  }
}

std::string ProfileBlockReader::placeOf(std::size_t index) const {
  const ProfileBlock& block = m_slots[(m_taken - 1) % kBlocks].block;
  return LinePlace(m_path, block.lineNumbers[index]);
}

}  // namespace engine
