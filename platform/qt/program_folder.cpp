// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/program_folder.h"
#include "platform/qt/native_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {

std::string WithSlash(const QString& folder) {
  std::string path = NativeBytes(QDir::cleanPath(folder));
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

QStringList ProfilesIn(const QDir& folder) {
  return folder.entryList({QStringLiteral("Prof_?_.bvp")}, QDir::Files, QDir::Name);
}

// True when a file named "portable" beside the executable makes its folder the program
// folder.
bool IsPortable(const QString& executableFolder) {
  return !executableFolder.isEmpty() &&
         QFileInfo(QDir(executableFolder).filePath(kPortableMarkerName)).isFile();
}

// A word the shell takes as it is.
std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

base::Result<std::string> ProgramFolderFor(const QString& executableFolder,
                                           const QString& overrideFolder) {
  if (!overrideFolder.isEmpty()) {
    const QFileInfo given(overrideFolder);
    if (!given.isDir()) {
      return base::Status::notAFolder(NativeBytes(overrideFolder) + ": no such folder");
    }
    return WithSlash(given.canonicalFilePath());
  }
  if (IsPortable(executableFolder))
    return WithSlash(QFileInfo(executableFolder).absoluteFilePath());
  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  if (data.isEmpty()) {
    return base::Status::notFound(
        "no folder for the program's files: there is no user data folder (is HOME set?)");
  }
  if (!QDir().mkpath(data)) {
    return base::Status::permissionDenied(NativeBytes(data) +
                                          ": cannot create the program's folder");
  }
  return WithSlash(data);
}

std::string DefaultProgramFolderFor(const QString& executableFolder) {
  if (IsPortable(executableFolder))
    return WithSlash(QFileInfo(executableFolder).absoluteFilePath());
  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  return data.isEmpty() ? std::string() : WithSlash(data);
}

base::Result<std::string> ProgramFolder() { return ProgramFolder(QString()); }

base::Result<std::string> ProgramFolder(const QString& overrideFolder) {
  return ProgramFolderFor(QCoreApplication::applicationDirPath(), overrideFolder);
}

std::optional<std::string> EarlierProfilesNotice(const QString& executableFolder,
                                                 const std::string& programFolder) {
  const QDir earlier(executableFolder);
  const QDir current(FromNativeBytes(programFolder));
  if (executableFolder.isEmpty() || !earlier.exists() ||
      QFileInfo(earlier.absolutePath()).canonicalFilePath() ==
          QFileInfo(current.absolutePath()).canonicalFilePath()) {
    return std::nullopt;
  }
  const QStringList profiles = ProfilesIn(earlier);
  if (profiles.isEmpty() || !ProfilesIn(current).isEmpty()) return std::nullopt;

  const std::string from = WithSlash(earlier.absolutePath());
  std::string command = "mv";
  QStringList files = profiles;
  for (const char* name : {"BV3.Def", "ignore.txt", "drives.txt", "Reports"}) {
    if (earlier.exists(QString::fromLatin1(name))) files.append(QString::fromLatin1(name));
  }
  for (const QString& file : files) command += " " + ShellQuoted(from + NativeBytes(file));
  command += " " + ShellQuoted(programFolder);
  return "Brinvale now keeps its profiles, settings and reports in " + programFolder +
         ", which holds no profile yet. The profiles of an earlier version are in " + from + " (" +
         std::to_string(profiles.size()) + (profiles.size() == 1 ? " profile" : " profiles") +
         "). To go on with them, move them there:\n  " + command +
         "\nor put a file named \"portable\" in " + from + " to keep using that folder.";
}

}  // namespace platform
