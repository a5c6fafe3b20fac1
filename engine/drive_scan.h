// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Scanning a drive into a profile: LoadStructure walks the folder tree breadth-first into
// the sorted folder list, ProfileFiles lists every folder's files into the temporary profile.
// When the walk is given a WalkedFiles, it reads each folder's files as it goes and keeps
// them for ProfileFiles, so every folder is read once. The walk never leaves the drive's
// folder tree (platform::FolderTree), whatever changes in it meanwhile.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "engine/ignore_matcher.h"
#include "engine/record_source.h"
#include "engine/walked_files.h"
#include "platform/file_system.h"
#include "platform/locale_format.h"
#include "platform/progress.h"

namespace engine {

struct ScanSettings {
  std::string driveRoot;         // the drive's root folder, ending in the separator
  std::string driveDisplayText;  // the drive as the drive list shows it, e.g. "c: [/]"
  bool includeRecycled = false;  // also profile the volume's recycle-bin folders
  // Also walk and profile hidden folders and files (names starting with '.' on POSIX).
  // The volume's trash folders stay out all the same: only includeRecycled brings in
  // their recycle-bin folders.
  bool includeHidden = false;
  IgnoreMatcher ignore;  // folders whose own files are left out, and whole trees
  // Folders left out with everything below them, each ending in the separator: the
  // program folder, whose files are the program's own record, not changes on the drive.
  // The walk knows them by what they are (FileSystem::folderId), not by their paths, so no
  // other path that leads to them brings them in.
  std::vector<std::string> excludedFolders;
  // Threads that list folders ahead of the walk; 0 lists on the calling thread only.
  unsigned listingThreads = 0;
};

// Places of a drive that could not be read. The scan goes on without them; the run
// reports them once per drive.
class ScanProblems {
 public:
  // A file or another entry that could not be examined: it is left out of the new profile.
  void add(const base::Status& problem);
  // A folder that could not be read (opened, listed or searched, replaced during the scan,
  // or too deep): where the drive has a stored profile, what it held there is carried into
  // the new one; otherwise it is left out.
  void addFolder(const base::Status& problem);
  [[nodiscard]] bool empty() const { return m_problems.empty(); }
  [[nodiscard]] const std::vector<base::Status>& all() const { return m_problems; }
  // One message listing the places (at most `maxListed` of them, then a count of the rest).
  [[nodiscard]] std::string summary(std::size_t maxListed = 10) const;
  // The one message of a run about the drive `driveDisplayText`. With `kept` (the drive was
  // compared with its stored profile, which gave what the folders held) it says that the
  // folders' contents of the last run were kept; places that were left out all the same
  // (files, or every place without `kept`) are said to be left out.
  [[nodiscard]] std::string message(std::string_view driveDisplayText, bool kept) const;

 private:
  void addPlace(const base::Status& problem, bool folder);

  std::vector<base::Status> m_problems;
  std::vector<bool> m_isFolder;  // for each of m_problems
  std::set<std::string> m_seen;
};

// The folders of a drive as LoadStructure found them, in the one order of
// engine/path_order.h, the root first.
struct DriveFolders {
  std::vector<std::string> paths;  // each ending in the separator
  // For each folder what it is, as the listing of its parent saw it (unknown for the
  // recycle-bin folders, which are added by their paths): it is listed again only when it
  // is still that folder.
  std::vector<platform::FileId> ids;
  // For each folder: true when the walk could not read it, so that its sub-folders are
  // unknown. It is not listed again, and what it held is carried over where it can be.
  std::vector<bool> unread;
  // The drive's folder tree, which every listing goes through.
  std::shared_ptr<platform::FolderTree> tree;
  // The volume's trash folders below the root (FileSystem::trashFolders), which the walk
  // left out: what lies there is never carried over from a stored profile either, but for
  // the recycle-bin folders that are listed.
  std::vector<std::string> trash;
};

// Walks the drive's folder tree level by level and returns every folder in the one order of
// engine/path_order.h, the root first. System folders are not walked, nor hidden ones
// unless `includeHidden`, nor folders on other volumes, the volume's trash folders, the
// excluded folders and the whole trees the Ignore list leaves out; with `includeRecycled`
// the recycle-bin folders are added (not their sub-folders). A root that is excluded
// itself, or lies in a tree the Ignore list leaves out, gives no folders at all. Shows the "Loading
// Structure" captions and asks `progress` whether to go on every 50 folders. Fails when the root
// folder cannot be listed, and with cancelled when the user stopped. A folder below the root that
// cannot be read, or that is no longer the folder its parent's listing saw, is added to `*problems`
// and marked unread; a folder whose path would be longer than platform::kMaxFolderPath bytes is
// added to `*problems` ("path longer than 32,000 bytes") and left out. With `walked`, the files of
// the folders that are not ignored are read in the same pass and kept there, numbered as the
// returned folders, along with the problems of reading them.
[[nodiscard]] base::Result<DriveFolders> LoadStructure(platform::FileSystem& fs,
                                                       const ScanSettings& settings,
                                                       platform::Progress& progress,
                                                       ScanProblems* problems,
                                                       WalkedFiles* walked = nullptr);

// Writes one profile record for every listed file of every folder of `folders` (from
// LoadStructure) that is not ignored, to `out`, closes `out` once every record is in it,
// and sets `*totalFiles` to the number of records. `out` must remain live during the call. Shows
// the "Loading"/"Profiling" captions and the progress bar, and asks `progress` whether to go on at
// the first and every hundredth file of a folder. Folders that vanished are skipped quietly;
// folders and files that cannot be read are added to `*problems` and left out. Fails when `out`
// cannot be written, and with cancelled when the user stopped; `out` is then partial and the caller
// abandons it. Files kept in `walked` (from LoadStructure) are taken from there, and only the
// other folders are listed.
[[nodiscard]] base::Status ProfileFiles(platform::FileSystem& fs, const DriveFolders& folders,
                                        const ScanSettings& settings,
                                        const platform::LocaleFormat& locale,
                                        platform::WritableFile* out, platform::Progress& progress,
                                        ScanProblems* problems, std::int64_t* totalFiles,
                                        const WalkedFiles* walked = nullptr);

// The work of ProfileFiles, one folder at a time: worker threads list the folders (or read
// what the walk kept of them) ahead and
// make their profile lines (sorting, local times, escapes); the caller's thread keeps the
// one order, shows the progress and writes the lines in large blocks. As a RecordSource it
// also hands each folder's records to a comparison as they are written, so a rescan is
// compared without reading its profile back.
//
// Given the drive's stored profile, it carries the records of the places it could not read
// from there into the new profile, unchanged, so a folder that cannot be read for a while
// is not reported as deleted now and as added later: for a folder the walk could not read,
// the stored records of the folder and of every folder below it; for a folder whose files
// alone could not be listed, its own. Only records the scan itself would have taken are
// carried: none that the Ignore list or the excluded folders leave out, none in the
// trash folders, and, without `includeHidden`, no hidden file and nothing in a hidden
// folder, so the new profile is made with one setting throughout. The stored profile is read a
// block at a time on the caller's thread, only up to the places it is needed for, and only when one
// turns up.
class FileProfiler final : public RecordSource {
 public:
  // The arguments are those of ProfileFiles; all must remain live while this object is used.
  // `outName` names the profile being written in messages. A non-empty `storedProfile` is
  // the profile that places which could not be read are carried over from.
  FileProfiler(platform::FileSystem& fs, const DriveFolders& folders, const ScanSettings& settings,
               const platform::LocaleFormat& locale, platform::WritableFile* out,
               std::string outName, platform::Progress& progress, ScanProblems* problems,
               const WalkedFiles* walked = nullptr, std::string storedProfile = {});
  FileProfiler(const FileProfiler&) = delete;
  FileProfiler& operator=(const FileProfiler&) = delete;
  ~FileProfiler() override;

  // Profiles every folder and closes `out`: ProfileFiles.
  [[nodiscard]] base::Status run();

  // Profiles folders up to the next one with files and gives its records, written to `out`
  // by then. After the last folder, closes `out` and ends the progress as ProfileFiles does;
  // false then, or on a failure or cancel (status()): `out` is partial and abandoned.
  [[nodiscard]] bool nextBatch(std::span<const RecordView>* batch) override;
  [[nodiscard]] const base::Status& status() const override;
  [[nodiscard]] std::string placeOf(std::size_t index) const override;

  // Records written so far; all of them once the last folder is done.
  [[nodiscard]] std::int64_t totalFiles() const;

 private:
  class Work;
  std::unique_ptr<Work> m_work;
};

// LoadStructure followed by ProfileFiles. With `totalFolders`, sets it to the number of
// folders LoadStructure walked, the root included.
[[nodiscard]] base::Status ScanToProfile(platform::FileSystem& fs, const ScanSettings& settings,
                                         const platform::LocaleFormat& locale,
                                         platform::WritableFile* out, platform::Progress& progress,
                                         ScanProblems* problems, std::int64_t* totalFiles,
                                         std::int64_t* totalFolders = nullptr);

}  // namespace engine
