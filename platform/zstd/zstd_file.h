// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// zstd compression as files: a writer that compresses what it is given into another file,
// and a reader that gives back what a compressed file holds. Both stream: memory stays the
// same whatever the size of the data.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace platform {

// A level that compresses a profile to a fraction of its size at several hundred MB a second.
inline constexpr int kFastCompressionLevel = 1;

// Compresses everything appended into one zstd frame, with a checksum of its content, and
// appends the compressed bytes to `out` (which must remain live; it is never closed here).
// With `workerThreads` > 0, compression runs on that many threads of zstd's own while the
// caller goes on appending; 0 compresses on the caller's thread. A library built without
// threads compresses on the caller's thread.
class CompressingFile final : public WritableFile {
 public:
  // Fails when the compressor cannot be set up (out of memory, a bad level).
  [[nodiscard]] static base::Result<std::unique_ptr<CompressingFile>> Open(WritableFile* out,
                                                                           int level,
                                                                           int workerThreads);
  ~CompressingFile() override;

  // The first failure, of the compressor or of `out`, is repeated by every later call.
  [[nodiscard]] base::Status append(std::string_view data) override;
  // Ends the frame and appends its last bytes to `out`; `out` stays open. Further calls fail.
  [[nodiscard]] base::Status close() override;

 private:
  struct Context;
  explicit CompressingFile(WritableFile* out, std::unique_ptr<Context> context);
  base::Status pump(std::string_view data, bool end);

  WritableFile* m_out;
  std::unique_ptr<Context> m_context;
  base::Status m_status;
  bool m_closed = false;
};

// Reads the content of the zstd-compressed `compressed` (one or more frames); `path` names
// it in messages. Data that is not zstd, fails its checksum, or ends inside a frame (a file
// cut short, an empty file) is corrupt, naming `path`. A frame that would need more than
// 8 MiB of window to decode is refused rather than let memory grow with it.
[[nodiscard]] std::unique_ptr<SequentialFile> NewDecompressingFile(
    std::unique_ptr<SequentialFile> compressed, std::string path);

}  // namespace platform
