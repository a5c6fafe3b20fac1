// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/replace_file.h"

#include <QIODevice>

#include "platform/file_system.h"
#include "platform/qt/native_path.h"

namespace reports {
namespace {

// A write-only stream into a file being replaced, for Qt writers that want a QIODevice (the
// PDF writer). The first failed append sticks: later writes fail too, and the status says
// why.
class ReplacementDevice final : public QIODevice {
 public:
  explicit ReplacementDevice(platform::ReplacementFile& file) : m_file(file) {
    open(QIODevice::WriteOnly);
  }

  [[nodiscard]] const base::Status& status() const { return m_status; }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (m_status.isOk()) {
      m_status = m_file.append(std::string_view(data, static_cast<std::size_t>(size)));
    }
    if (!m_status.isOk()) {
      setErrorString(QString::fromStdString(m_status.message()));
      return -1;
    }
    return size;
  }

 private:
  platform::ReplacementFile& m_file;
  base::Status m_status;
};

}  // namespace

base::Status ReplaceFileWith(platform::FileSystem& fs, const QString& target,
                             const std::function<base::Status(QIODevice&)>& write) {
  auto opened = fs.openForReplacing(platform::NativeBytes(target));
  if (!opened.isOk()) return opened.status();
  platform::ReplacementFile& file = *opened.value();
  base::Status status;
  {
    ReplacementDevice device(file);
    status = write(device);
    // A writer may ignore a failed write (QPdfWriter does); the device remembers it.
    if (status.isOk()) status = device.status();
  }
  if (status.isOk()) status = file.commit();
  if (!status.isOk()) file.abandon();
  return status;
}

}  // namespace reports
