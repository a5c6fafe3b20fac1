// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/program_conf.h"

#include <charconv>

#include "base/ascii.h"
#include "engine/ini_file.h"

namespace engine {
namespace {

constexpr std::string_view kScan = "scan";
constexpr std::string_view kHidden = "hidden";
constexpr std::string_view kHistory = "history";
constexpr std::string_view kDepth = "depth";
constexpr std::string_view kProfiles = "profiles";
constexpr std::string_view kProfileHiddenSuffix = ".hidden";

base::Status BadValue(const std::string& path, const IniEntry& entry, std::string_view expected) {
  return base::Status::corrupt(path + ", line " + std::to_string(entry.line) + ": " + entry.key +
                               " must be " + std::string(expected) + ", not \"" + entry.value +
                               "\"");
}

// "true" or "false", in any letter case.
bool ReadFlag(const IniEntry& entry, bool* flag) {
  const std::string value = base::AsciiLowercased(entry.value);
  if (value != "true" && value != "false") return false;
  *flag = value == "true";
  return true;
}

const char* FlagText(bool on) { return on ? "true" : "false"; }

// The drive letter of a [profiles] key "K.hidden", or 0 for any other key.
char ProfileLetterOf(std::string_view key) {
  if (key.size() != 1 + kProfileHiddenSuffix.size()) return 0;
  const char letter = base::AsciiUpper(key.front());
  if (letter < 'A' || letter > 'Z') return 0;
  return base::AsciiLowercased(key.substr(1)) == kProfileHiddenSuffix ? letter : 0;
}

base::Status Read(const IniFile& file, const std::string& path, ProgramConf* conf) {
  if (const auto hidden = file.find(kScan, kHidden)) {
    if (!ReadFlag(*hidden, &conf->includeHidden)) return BadValue(path, *hidden, "true or false");
  }
  if (const auto depth = file.find(kHistory, kDepth)) {
    const std::string& text = depth->value;
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > kMaxHistoryDepth) {
      return BadValue(path, *depth, "a whole number from 0 to " + std::to_string(kMaxHistoryDepth));
    }
    conf->historyDepth = value;
  }
  for (const IniEntry& entry : file.entries(kProfiles)) {
    const char letter = ProfileLetterOf(entry.key);
    if (letter == 0) continue;  // a key of another version: kept, not used
    bool on = false;
    if (!ReadFlag(entry, &on)) return BadValue(path, entry, "true or false");
    conf->profileMadeWithHidden[letter] = on;
  }
  return base::Status::ok();
}

}  // namespace

bool ProgramConf::profileHidden(char letter) const {
  const auto found = profileMadeWithHidden.find(base::AsciiUpper(letter));
  return found != profileMadeWithHidden.end() && found->second;
}

base::Status LoadProgramConf(platform::FileSystem& fs, const std::string& path, ProgramConf* conf) {
  *conf = ProgramConf();
  auto file = ReadIniFile(fs, path);
  base::Status s = file.isOk() ? file.value().problem() : file.status();
  if (s.isOk()) {
    ProgramConf read;
    s = Read(file.value(), path, &read);
    if (s.isOk()) *conf = std::move(read);
  }
  return s;
}

base::Status StoreIncludeHidden(platform::FileSystem& fs, const std::string& path, bool on) {
  return UpdateIniFile(fs, path,
                       [on](IniFile* file) { return file->set(kScan, kHidden, FlagText(on)); });
}

base::Status StoreProfileHidden(platform::FileSystem& fs, const std::string& path, char letter,
                                bool on) {
  const char upper = base::AsciiUpper(letter);
  if (upper < 'A' || upper > 'Z') {
    return base::Status::invalidArgument(path + ": no drive letter " + std::string(1, letter));
  }
  return UpdateIniFile(fs, path, [&](IniFile* file) {
    return file->set(kProfiles, std::string(1, upper) + std::string(kProfileHiddenSuffix),
                     FlagText(on));
  });
}

}  // namespace engine
