// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/settings_record.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "platform/file_system.h"
#include "platform/run_lock.h"

namespace engine {
namespace {

// Offsets of the fields in the file; the record is packed, so they are not those of the
// struct in memory.
constexpr std::size_t kSoundOnAt = 0;
constexpr std::size_t kTopMarginAt = 1;
constexpr std::size_t kLeftMarginAt = 9;
constexpr std::size_t kReservedAt = 17;
constexpr std::size_t kReportFormatAt = 28;
constexpr std::size_t kReportNamingAt = 29;
constexpr std::size_t kPrintColorAt = 30;
constexpr std::size_t kOneReportAt = 31;
constexpr std::size_t kIncludeRecycledAt = 32;

void PutInt64(std::int64_t value, char* out) {
  const auto bits = static_cast<std::uint64_t>(value);
  for (int i = 0; i < 8; ++i) out[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

std::int64_t GetInt64(const char* in) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(in[i]);
  return static_cast<std::int64_t>(bits);
}

// Nothing but the record and a tail that other versions may have added belongs in the
// settings file; a larger file is something else.
constexpr std::size_t kMaxSettingsFileSize = 1024 * 1024;

base::Status ReadRecord(platform::FileSystem& fs, const std::string& path, SettingsRecord* record) {
  auto bytes = platform::ReadWholeFile(fs, path, kMaxSettingsFileSize);
  if (bytes.status().isNotFound()) {
    // First start: the file is created so that the next save finds it. Another process
    // may be creating it too; under the lock, a file that appeared meanwhile is kept.
    *record = SettingsRecord{};
    auto lock =
        platform::RunLock::TakeBriefly(fs, platform::FolderOf(path, fs.pathStyle().separator));
    if (!lock.isOk()) return lock.status().isBusy() ? base::Status::ok() : lock.status();
    if (fs.exists(path)) return ReadRecord(fs, path, record);
    return platform::WriteFileAtomically(fs, path, "");
  }
  if (!bytes.isOk()) return bytes.status();
  *record = DecodeSettings(bytes.value());
  return base::Status::ok();
}

}  // namespace

bool SettingsRecord::isRichTextReports() const {
  return ReportFormat == 'R' || ReportFormat == 'r';
}

bool SettingsRecord::isTimeStampedNames() const {
  return ReportNaming != 'D' && ReportNaming != 'd';
}

std::int64_t SettingsRecord::effectiveTopMargin() const {
  return TopMargin > 0 ? TopMargin : kDefaultTopMargin;
}

std::int64_t SettingsRecord::effectiveLeftMargin() const {
  return LeftMargin > 0 ? LeftMargin : kDefaultLeftMargin;
}

std::int64_t InchesToStored(double inches) {
  const double stored = std::round(inches * 10000.0);
  if (std::isnan(stored)) return 0;
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  constexpr double kLimit = 9223372036854775808.0;
  if (stored >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (stored < -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(stored);
}

double StoredToInches(std::int64_t stored) { return static_cast<double>(stored) / 10000.0; }

std::int64_t StoredToTwips(std::int64_t stored) {
  // twips = stored * 1440 / 10000 = stored * 18 / 125, split so that the product cannot
  // overflow: stored = q * 125 + r.
  const std::int64_t q = stored / 125;
  const std::int64_t r = stored % 125;
  const std::int64_t rest = r * 18;  // |rest| < 2250; round its share of a twip
  const std::int64_t roundedRest = rest >= 0 ? (rest + 62) / 125 : (rest - 62) / 125;
  return q * 18 + roundedRest;
}

std::array<char, kSettingsRecordSize> EncodeSettings(const SettingsRecord& record) {
  std::array<char, kSettingsRecordSize> out{};
  out[kSoundOnAt] = static_cast<char>(record.SoundOn);
  PutInt64(record.TopMargin, &out[kTopMarginAt]);
  PutInt64(record.LeftMargin, &out[kLeftMarginAt]);
  for (std::size_t i = 0; i < record.Reserved.size(); ++i)
    out[kReservedAt + i] = record.Reserved[i];
  out[kReportFormatAt] = record.ReportFormat;
  out[kReportNamingAt] = record.ReportNaming;
  out[kPrintColorAt] = static_cast<char>(record.PrintColor);
  out[kOneReportAt] = static_cast<char>(record.OneReport);
  out[kIncludeRecycledAt] = static_cast<char>(record.IncludeRecycled);
  return out;
}

SettingsRecord DecodeSettings(std::string_view bytes) {
  // Reading from a zero-padded copy gives every field the file does not hold in full its
  // zero default, including a margin cut off in the middle.
  std::array<char, kSettingsRecordSize> in{};
  const std::size_t have = std::min(bytes.size(), in.size());
  bytes.copy(in.data(), have);
  const auto held = [have](std::size_t at, std::size_t size) { return at + size <= have; };

  SettingsRecord record;
  record.SoundOn = static_cast<std::uint8_t>(in[kSoundOnAt]);
  if (held(kTopMarginAt, 8)) record.TopMargin = GetInt64(&in[kTopMarginAt]);
  if (held(kLeftMarginAt, 8)) record.LeftMargin = GetInt64(&in[kLeftMarginAt]);
  if (held(kReservedAt, record.Reserved.size())) {
    for (std::size_t i = 0; i < record.Reserved.size(); ++i)
      record.Reserved[i] = in[kReservedAt + i];
  }
  record.ReportFormat = in[kReportFormatAt];
  record.ReportNaming = in[kReportNamingAt];
  record.PrintColor = static_cast<std::uint8_t>(in[kPrintColorAt]);
  record.OneReport = static_cast<std::uint8_t>(in[kOneReportAt]);
  record.IncludeRecycled = static_cast<std::uint8_t>(in[kIncludeRecycledAt]);
  return record;
}

base::Status LoadSettings(platform::FileSystem& fs, const std::string& path,
                          SettingsRecord* record) {
  SettingsRecord read;
  base::Status s = ReadRecord(fs, path, &read);
  if (s.isOk()) *record = read;
  return s;
}

base::Status SaveOptions(platform::FileSystem& fs, const std::string& path,
                         const SettingsRecord& record) {
  // The lock keeps a run from reading the file half-way through another process's
  // read-modify-write, and two writers from losing each other's tail.
  auto lock =
      platform::RunLock::TakeBriefly(fs, platform::FolderOf(path, fs.pathStyle().separator));
  if (!lock.isOk()) return lock.status();
  std::string bytes;
  if (auto old = platform::ReadWholeFile(fs, path, kMaxSettingsFileSize); old.isOk()) {
    bytes = std::move(old.value());
  } else if (!old.status().isNotFound()) {
    return old.status();
  }
  const auto encoded = EncodeSettings(record);
  if (bytes.size() < encoded.size()) bytes.resize(encoded.size(), '\0');
  bytes.replace(0, encoded.size(), encoded.data(), encoded.size());
  return platform::WriteFileAtomically(fs, path, bytes);
}

base::Status ResetOptions(platform::FileSystem& fs, const std::string& path,
                          SettingsRecord* record) {
  return LoadSettings(fs, path, record);
}

}  // namespace engine
