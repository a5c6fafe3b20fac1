// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/drive_letters.h"

#include <algorithm>
#include <optional>
#include <set>

#include "base/ascii.h"
#include "platform/run_lock.h"

namespace platform {
namespace {

constexpr std::string_view kVolumeMark = "volume";
// A file of drive letters holds a line per drive; anything larger is something else.
constexpr std::size_t kMaxDrivesFileSize = 1024 * 1024;

struct Line {
  std::string text;            // as read, for lines kept unchanged
  std::optional<char> letter;  // set for the lines that name a drive
  std::string path;            // as written in the file
  bool volume = false;
  // Where the line lies in the file, its line end included.
  std::size_t begin = 0;
  std::size_t end = 0;
};

// A path without trailing slashes, except the root folder itself.
std::string Trimmed(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

base::Status LineProblem(const std::string& file, int number, const std::string& why) {
  return base::Status::corrupt(file + " line " + std::to_string(number) + ": " + why);
}

// Splits the file into lines and reads the drive lines; `problems` names the others.
std::vector<Line> ParseLines(const std::string& text, const std::string& file,
                             std::vector<base::Status>* problems) {
  std::vector<Line> lines;
  std::set<char> letters;
  std::set<std::string> paths;
  std::size_t start = 0;
  for (int number = 1; start < text.size(); ++number) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    Line line;
    line.text = text.substr(start, end - start);
    line.begin = start;
    line.end = std::min(end + 1, text.size());
    start = end + 1;
    if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
    if (line.text.find_first_not_of(" \t") == std::string::npos) continue;

    const std::string& t = line.text;
    const char letter = base::AsciiUpper(t[0]);
    if (t.size() < 3 || t[1] != '\t' || letter < 'A' || letter > 'Z') {
      problems->push_back(LineProblem(file, number, "not a letter, a tab and a path"));
      lines.push_back(std::move(line));
      continue;
    }
    const std::size_t secondTab = t.find('\t', 2);
    const std::string path =
        t.substr(2, secondTab == std::string::npos ? secondTab : secondTab - 2);
    const std::string mark = secondTab == std::string::npos ? "" : t.substr(secondTab + 1);
    if (path.empty() || path.front() != '/') {
      problems->push_back(LineProblem(file, number, "the path is not absolute"));
    } else if (!mark.empty() && mark != kVolumeMark) {
      problems->push_back(LineProblem(file, number, "unknown mark \"" + mark + "\""));
    } else if (letters.contains(letter)) {
      problems->push_back(LineProblem(file, number, std::string("letter ") + letter + " is taken"));
    } else if (!paths.insert(Trimmed(path)).second) {
      problems->push_back(LineProblem(file, number, path + " has a letter already"));
    } else {
      letters.insert(letter);
      line.letter = letter;
      line.path = path;
      line.volume = !mark.empty();
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string LineText(const Line& line) {
  if (!line.letter) return line.text;
  std::string text = std::string(1, *line.letter) + '\t' + line.path;
  if (line.volume) text += '\t' + std::string(kVolumeMark);
  return text;
}

Drive MakeDrive(char letter, const std::string& path, bool available, bool isFolder) {
  Drive drive;
  drive.letter = letter;
  const std::string shown = Trimmed(path);
  drive.root = shown == "/" ? shown : shown + '/';
  drive.displayText = std::string(1, base::AsciiLower(letter)) + ": [" + shown + "]";
  drive.available = available;
  drive.isFolder = isFolder;
  return drive;
}

// The drives of drives.txt and of the mount points, before anything is written.
struct Lettering {
  DriveListing listing;      // the drives the file names, and the problems
  std::vector<Drive> added;  // volumes seen for the first time, lettered here
  bool changed = false;      // the file must be rewritten as newText
  std::string newText;
};

// Reads the file and letters the volumes. False (with the problem in the listing) when
// the file exists but cannot be read.
bool Letter(FileSystem& fs, const std::string& programFolder, const std::string& file,
            const std::vector<std::string>& mountPoints, Lettering* out) {
  *out = Lettering();
  DriveListing& listing = out->listing;
  std::string text;
  if (auto read = ReadWholeFile(fs, file, kMaxDrivesFileSize); read.isOk()) {
    text = std::move(read.value());
  } else if (!read.status().isNotFound()) {
    listing.problems.push_back(read.status());
    return false;
  }
  std::vector<Line> lines = ParseLines(text, file, &listing.problems);

  // Paths that cannot be written on one line of the file can never keep a letter.
  std::set<std::string> mounted;
  for (const std::string& mountPoint : mountPoints) {
    if (mountPoint.find_first_of("\t\r\n") == std::string::npos && !mountPoint.empty()) {
      mounted.insert(Trimmed(mountPoint));
    }
  }

  std::set<char> used;
  std::set<std::string> known;
  for (Line& line : lines) {
    if (!line.letter) continue;
    const std::string path = Trimmed(line.path);
    used.insert(*line.letter);
    known.insert(path);
    const bool isMounted = mounted.contains(path);
    if (isMounted && !line.volume) {
      line.volume = true;
      out->changed = true;
    }
    const bool available = line.volume ? isMounted : fs.isFolder(path);
    listing.drives.push_back(MakeDrive(*line.letter, path, available, !line.volume));
  }

  for (const std::string& path : mounted) {  // std::set: in the order of the paths
    if (known.contains(path)) continue;
    char letter = 0;
    if (path == "/" && !used.contains('C')) {
      letter = 'C';
    } else {
      for (char candidate = 'D'; candidate <= 'Z' && letter == 0; ++candidate) {
        if (!used.contains(candidate) && !LetterHasRecords(fs, programFolder, candidate)) {
          letter = candidate;
        }
      }
    }
    if (letter == 0) {
      listing.problems.push_back(base::Status::invalidArgument(path + ": no drive letter is free"));
      continue;
    }
    used.insert(letter);
    Line line;
    line.letter = letter;
    line.path = path;
    line.volume = true;
    lines.push_back(std::move(line));
    out->added.push_back(MakeDrive(letter, path, true, false));
    out->changed = true;
  }
  if (out->changed) {
    for (const Line& line : lines) out->newText += LineText(line) + '\n';
  }
  return true;
}

DriveListing Finished(Lettering lettering) {
  DriveListing listing = std::move(lettering.listing);
  listing.drives.insert(listing.drives.end(), lettering.added.begin(), lettering.added.end());
  std::sort(listing.drives.begin(), listing.drives.end(),
            [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
  return listing;
}

}  // namespace

DriveListing ListDrives(FileSystem& fs, const std::string& programFolder,
                        const std::vector<std::string>& mountPoints) {
  const std::string file = programFolder + kDrivesFileName;
  Lettering lettering;
  if (!Letter(fs, programFolder, file, mountPoints, &lettering) || !lettering.changed) {
    return Finished(std::move(lettering));
  }
  // New letters are stored under the run lock, read afresh: another process may have
  // lettered the same volume meanwhile, and its letter must win.
  auto lock = RunLock::TakeBriefly(fs, programFolder);
  if (!lock.isOk()) {
    lettering.listing.problems.push_back(lock.status());
    lettering.added.clear();
    return Finished(std::move(lettering));
  }
  if (!Letter(fs, programFolder, file, mountPoints, &lettering)) {
    return Finished(std::move(lettering));
  }
  if (lettering.changed) {
    if (base::Status s = WriteFileAtomically(fs, file, lettering.newText); !s.isOk()) {
      lettering.listing.problems.push_back(s);
      lettering.added.clear();
    }
  }
  return Finished(std::move(lettering));
}

bool LetterHasRecords(FileSystem& fs, const std::string& programFolder, char letter) {
  const std::string name(1, letter);
  return fs.exists(programFolder + "Prof_" + name + "_.bvp") ||
         fs.exists(programFolder + "History" + fs.pathStyle().separator + name);
}

namespace {

// drives.txt as it is now, read under the run lock held by the caller; a missing file is
// an empty one.
struct DrivesFile {
  std::string path;
  std::string text;
  std::vector<Line> lines;
};

base::Result<DrivesFile> ReadDrivesFile(FileSystem& fs, const std::string& programFolder) {
  DrivesFile file;
  file.path = programFolder + kDrivesFileName;
  if (auto read = ReadWholeFile(fs, file.path, kMaxDrivesFileSize); read.isOk()) {
    file.text = std::move(read.value());
  } else if (!read.status().isNotFound()) {
    return read.status();
  }
  std::vector<base::Status> ignored;  // lines it cannot read are kept, not reported here
  file.lines = ParseLines(file.text, file.path, &ignored);
  return file;
}

// The letter a line begins with when it begins like a drive line, read or not.
std::optional<char> LetterOfLine(const std::string& text) {
  if (text.size() < 2 || text[1] != '\t') return std::nullopt;
  const char letter = base::AsciiUpper(text[0]);
  if (letter < 'A' || letter > 'Z') return std::nullopt;
  return letter;
}

}  // namespace

base::Result<char> AddWatchedFolder(FileSystem& fs, const std::string& programFolder,
                                    const std::string& folder) {
  if (folder.find_first_of("\t\r\n") != std::string::npos) {
    return base::Status::invalidArgument(
        folder +
        ": a folder whose name holds a tab or a line break cannot be "
        "watched as a drive");
  }
  const std::string path = Trimmed(folder);
  if (path.empty() || path.front() != '/') {
    return base::Status::invalidArgument(folder + ": not an absolute path");
  }
  auto lock = RunLock::TakeBriefly(fs, programFolder);
  if (!lock.isOk()) return lock.status();
  if (!fs.isFolder(path)) return base::Status::notFound(path + ": not a folder");
  auto file = ReadDrivesFile(fs, programFolder);
  if (!file.isOk()) return file.status();

  std::set<char> used;
  bool rootNamed = false;
  for (const Line& line : file.value().lines) {
    if (line.letter && Trimmed(line.path) == path) {
      return base::Status::invalidArgument(path + " is drive " + std::string(1, *line.letter) +
                                           " already");
    }
    if (line.letter && Trimmed(line.path) == "/") rootNamed = true;
    if (const std::optional<char> letter = LetterOfLine(line.text)) used.insert(*letter);
  }
  char letter = 0;
  for (char candidate = 'A'; candidate <= 'Z' && letter == 0; ++candidate) {
    if (used.contains(candidate) || (candidate == 'C' && !rootNamed)) continue;
    if (!LetterHasRecords(fs, programFolder, candidate)) letter = candidate;
  }
  if (letter == 0) return base::Status::invalidArgument(path + ": no drive letter is free");

  std::string text = file.value().text;
  const std::size_t firstEnd = text.find('\n');
  const std::string lineEnd =
      firstEnd != std::string::npos && firstEnd > 0 && text[firstEnd - 1] == '\r' ? "\r\n" : "\n";
  if (!text.empty() && text.back() != '\n') text += lineEnd;
  text += std::string(1, letter) + '\t' + path + lineEnd;
  if (base::Status s = WriteFileAtomically(fs, file.value().path, text); !s.isOk()) return s;
  return letter;
}

base::Status RemoveWatchedFolder(FileSystem& fs, const std::string& programFolder, char letter,
                                 const std::string& folder) {
  auto lock = RunLock::TakeBriefly(fs, programFolder);
  if (!lock.isOk()) return lock.status();
  auto file = ReadDrivesFile(fs, programFolder);
  if (!file.isOk()) return file.status();
  const std::string path = Trimmed(folder);
  for (const Line& line : file.value().lines) {
    if (line.letter == letter && !line.volume && Trimmed(line.path) == path) {
      std::string text = file.value().text;
      text.erase(line.begin, line.end - line.begin);
      return WriteFileAtomically(fs, file.value().path, text);
    }
  }
  return base::Status::notFound(file.value().path + " no longer names " + path + " as drive " +
                                std::string(1, letter));
}

}  // namespace platform
