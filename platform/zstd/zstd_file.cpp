// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/zstd/zstd_file.h"

#include <zstd.h>

#include <vector>

namespace platform {
namespace {

// 2^23 bytes: more than any level this program writes asks for, far less than a file
// made to exhaust memory would.
constexpr int kMaxWindowLog = 23;

std::string ZstdError(std::size_t code) { return ZSTD_getErrorName(code); }

}  // namespace

struct CompressingFile::Context {
  ~Context() { ZSTD_freeCCtx(cctx); }
  ZSTD_CCtx* cctx = nullptr;
  std::vector<char> buffer;
};

CompressingFile::CompressingFile(WritableFile* out, std::unique_ptr<Context> context)
    : m_out(out), m_context(std::move(context)) {}

CompressingFile::~CompressingFile() = default;

base::Result<std::unique_ptr<CompressingFile>> CompressingFile::Open(WritableFile* out, int level,
                                                                     int workerThreads) {
  auto context = std::make_unique<Context>();
  context->cctx = ZSTD_createCCtx();
  if (context->cctx == nullptr) return base::Status::ioError("zstd: no memory for compressing");
  if (std::size_t r = ZSTD_CCtx_setParameter(context->cctx, ZSTD_c_compressionLevel, level);
      ZSTD_isError(r)) {
    return base::Status::invalidArgument("zstd: level " + std::to_string(level) + ": " +
                                         ZstdError(r));
  }
  (void)ZSTD_CCtx_setParameter(context->cctx, ZSTD_c_checksumFlag, 1);
  // Without thread support in the library this fails, and the caller's thread compresses.
  if (workerThreads > 0) {
    (void)ZSTD_CCtx_setParameter(context->cctx, ZSTD_c_nbWorkers, workerThreads);
  }
  context->buffer.resize(ZSTD_CStreamOutSize());
  return std::unique_ptr<CompressingFile>(new CompressingFile(out, std::move(context)));
}

base::Status CompressingFile::pump(std::string_view data, bool end) {
  ZSTD_inBuffer in{data.data(), data.size(), 0};
  const ZSTD_EndDirective mode = end ? ZSTD_e_end : ZSTD_e_continue;
  for (;;) {
    ZSTD_outBuffer out{m_context->buffer.data(), m_context->buffer.size(), 0};
    const std::size_t left = ZSTD_compressStream2(m_context->cctx, &out, &in, mode);
    if (ZSTD_isError(left)) return base::Status::ioError("zstd: " + ZstdError(left));
    if (out.pos > 0) {
      if (base::Status s = m_out->append({m_context->buffer.data(), out.pos}); !s.isOk()) return s;
    }
    // Continuing: done once the input is taken. Ending: done once nothing is left to flush.
    if (end ? left == 0 : in.pos == in.size) return base::Status::ok();
  }
}

base::Status CompressingFile::append(std::string_view data) {
  if (m_closed) return base::Status::ioError("zstd: append after close");
  if (!m_status.isOk() || data.empty()) return m_status;
  m_status = pump(data, false);
  return m_status;
}

base::Status CompressingFile::close() {
  if (m_closed) return base::Status::ioError("zstd: closed twice");
  m_closed = true;
  if (m_status.isOk()) m_status = pump({}, true);
  return m_status;
}

namespace {

class DecompressingFile final : public SequentialFile {
 public:
  DecompressingFile(std::unique_ptr<SequentialFile> compressed, std::string path)
      : m_file(std::move(compressed)),
        m_path(std::move(path)),
        m_dctx(ZSTD_createDCtx()),
        m_input(ZSTD_DStreamInSize()) {
    if (m_dctx == nullptr) {
      m_status = base::Status::ioError(m_path + ": zstd: no memory for decompressing");
    } else {
      (void)ZSTD_DCtx_setParameter(m_dctx, ZSTD_d_windowLogMax, kMaxWindowLog);
    }
  }
  ~DecompressingFile() override { ZSTD_freeDCtx(m_dctx); }

  base::Status read(std::size_t n, char* scratch, std::size_t* got) override {
    *got = 0;
    if (!m_status.isOk()) return m_status;
    ZSTD_outBuffer out{scratch, n, 0};
    while (out.pos == 0 && n > 0) {
      if (m_in.pos == m_in.size && !m_eof) {
        std::size_t read = 0;
        if (base::Status s = m_file->read(m_input.size(), m_input.data(), &read); !s.isOk()) {
          m_status = s;
          return m_status;
        }
        m_in = {m_input.data(), read, 0};
        m_eof = read == 0;
      }
      const bool inputDone = m_eof && m_in.pos == m_in.size;
      // The end of the file must fall between two frames, after at least one.
      if (inputDone && !m_frameOpen) {
        if (!m_sawFrame) return fail("empty, not compressed data");
        return base::Status::ok();
      }
      const std::size_t hint = ZSTD_decompressStream(m_dctx, &out, &m_in);
      if (ZSTD_isError(hint)) {
        return fail("the compressed data is damaged (" + ZstdError(hint) + ")");
      }
      m_sawFrame = true;
      m_frameOpen = hint != 0;
      // Nothing more to read and nothing more came out: the frame will never end.
      if (inputDone && out.pos == 0 && m_frameOpen) {
        return fail("the compressed data is cut short");
      }
    }
    *got = out.pos;
    return base::Status::ok();
  }

 private:
  base::Status fail(const std::string& what) {
    m_status = base::Status::corrupt(m_path + ": " + what);
    return m_status;
  }

  std::unique_ptr<SequentialFile> m_file;
  std::string m_path;
  ZSTD_DCtx* m_dctx;
  std::vector<char> m_input;
  ZSTD_inBuffer m_in{nullptr, 0, 0};
  bool m_eof = false;
  bool m_sawFrame = false;
  bool m_frameOpen = false;
  base::Status m_status;
};

}  // namespace

std::unique_ptr<SequentialFile> NewDecompressingFile(std::unique_ptr<SequentialFile> compressed,
                                                     std::string path) {
  return std::make_unique<DecompressingFile>(std::move(compressed), std::move(path));
}

}  // namespace platform
