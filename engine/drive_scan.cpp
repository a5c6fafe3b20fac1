// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/drive_scan.h"

#include <algorithm>
#include <string_view>

#include "engine/folder_prefetcher.h"
#include "engine/path_order.h"
#include "engine/profile_writer.h"

namespace engine {
namespace {

bool IsListed(const platform::DirEntry& entry, platform::EntryKind kind) {
  return entry.kind == kind && !entry.hidden && !entry.system;
}

// True when `folder` is `excluded` or lies below it; both end in the separator.
bool IsAtOrBelow(std::string_view folder, std::string_view excluded, platform::PathStyle style) {
  if (excluded.empty() || folder.size() < excluded.size()) return false;
  const std::string_view head = folder.substr(0, excluded.size());
  return style.caseSensitive ? head == excluded : EqualIgnoringCase(head, excluded);
}

bool IsExcluded(std::string_view folder, const ScanSettings& settings, platform::PathStyle style) {
  for (const std::string& excluded : settings.excludedFolders) {
    if (IsAtOrBelow(folder, excluded, style)) return true;
  }
  return false;
}

// The folders of a walk in the one order of engine/path_order.h. Folder paths are
// compared component by component with a folder before everything below it, so that order
// is the walk's tree visited parent first, each folder's sub-folders by their names: no
// two whole paths need comparing. `children` gives, for folder i, its sub-folders as
// paths[children[i] .. children[i + 1]); it has one entry more than `paths`.
std::vector<std::string> InTheOneOrder(std::vector<std::string>& paths,
                                       const std::vector<std::size_t>& children,
                                       platform::PathStyle style) {
  std::vector<std::size_t> byName(paths.size());
  for (std::size_t i = 0; i < byName.size(); ++i) byName[i] = i;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::size_t begin = children[i];
    const std::size_t end = children[i + 1];
    const std::size_t parentLength = paths[i].size();
    const auto nameOf = [&](std::size_t k) {
      return std::string_view(paths[k]).substr(parentLength, paths[k].size() - parentLength - 1);
    };
    std::sort(byName.begin() + static_cast<std::ptrdiff_t>(begin),
              byName.begin() + static_cast<std::ptrdiff_t>(end), [&](std::size_t a, std::size_t b) {
                return CompareNames(nameOf(a), nameOf(b), style.caseSensitive) < 0;
              });
  }
  std::vector<std::string> sorted;
  sorted.reserve(paths.size());
  std::vector<std::size_t> stack{0};
  while (!stack.empty()) {
    const std::size_t i = stack.back();
    stack.pop_back();
    sorted.push_back(std::move(paths[i]));
    for (std::size_t k = children[i + 1]; k > children[i]; --k) stack.push_back(byName[k - 1]);
  }
  return sorted;
}

}  // namespace

void ScanProblems::add(const Status& problem) {
  if (m_seen.insert(problem.message()).second) m_problems.push_back(problem);
}

std::string ScanProblems::summary(std::size_t maxListed) const {
  std::string text;
  for (std::size_t i = 0; i < m_problems.size() && i < maxListed; ++i) {
    text += m_problems[i].message();
    text += '\n';
  }
  if (m_problems.size() > maxListed) {
    text += "... and " + std::to_string(m_problems.size() - maxListed) + " more\n";
  }
  return text;
}

Result<std::vector<std::string>> LoadStructure(platform::FileSystem& fs,
                                               const ScanSettings& settings,
                                               platform::Progress& progress,
                                               ScanProblems* problems) {
  const platform::PathStyle style = fs.pathStyle();
  const std::string caption = "Loading Structure:  " + settings.driveDisplayText;
  progress.setCaption(caption);
  progress.setLabelVisible(true);

  if (IsExcluded(settings.driveRoot, settings, style)) return std::vector<std::string>{};
  // The queue is the folder list itself: entries [first, end) are the current level. The
  // sub-folders of folder i join it together, as paths[children[i] .. children[i + 1]).
  std::vector<std::string> paths{settings.driveRoot};
  std::vector<std::size_t> children;
  // Folders the file system vouches have no sub-folders need not be listed here: on most
  // drives that spares reading most folders twice.
  std::vector<bool> leaves{false};
  platform::FolderListing listing;
  std::size_t first = 0;
  for (;;) {
    const std::size_t end = paths.size();
    // The workers read their own copy of the level while new folders join `paths`.
    const std::vector<std::string> level(paths.begin() + static_cast<std::ptrdiff_t>(first),
                                         paths.end());
    const std::vector<bool> levelLeaves(leaves.begin() + static_cast<std::ptrdiff_t>(first),
                                        leaves.end());
    FolderPrefetcher prefetcher(fs, level, levelLeaves, platform::ListWhat::kFolders,
                                settings.listingThreads);
    for (std::size_t i = first; i < end; ++i) {
      children.push_back(paths.size());
      Status s = prefetcher.take(i - first, &listing);
      if (!s.isOk()) {
        // Without its root there is no drive to profile; below the root, a folder that
        // vanished is simply gone and one that cannot be read is reported once.
        if (i == 0) return s;
        if (!s.isNotFound()) problems->add(s);
      }
      for (const Status& p : listing.problems) problems->add(p);
      for (const platform::DirEntry& entry : listing.entries) {
        if (!IsListed(entry, platform::EntryKind::kFolder)) continue;
        std::string child = paths[i];
        child += entry.name;
        child += style.separator;
        if (IsExcluded(child, settings, style)) continue;
        paths.push_back(std::move(child));
        leaves.push_back(entry.noSubfolders);
      }
      if (i % 50 == 0 && !progress.shouldContinue()) return Status::cancelled();
    }
    first = end;
    progress.setCaption(caption + "  :  " + std::to_string(paths.size() - 1) + " Directories");
    if (paths.size() == end) break;
  }
  children.push_back(paths.size());

  std::vector<std::string> sorted = InTheOneOrder(paths, children, style);
  if (settings.includeRecycled) {
    for (std::string& bin : fs.recycleBinFolders(settings.driveRoot)) {
      if (IsExcluded(bin, settings, style)) continue;
      // A recycle-bin folder may also have been reached by the walk; profile it once.
      const auto at = std::lower_bound(sorted.begin(), sorted.end(), bin,
                                       [style](const std::string& a, const std::string& b) {
                                         return CompareFolderPaths(a, b, style) < 0;
                                       });
      if (at == sorted.end() || CompareFolderPaths(*at, bin, style) != 0) {
        sorted.insert(at, std::move(bin));
      }
    }
  }
  return sorted;
}

Status ProfileFiles(platform::FileSystem& fs, const std::vector<std::string>& folders,
                    const ScanSettings& settings, const platform::LocaleFormat& locale,
                    platform::WritableFile* out, platform::Progress& progress,
                    ScanProblems* problems, std::int64_t* totalFiles) {
  *totalFiles = 0;
  ProfileWriter writer(out);

  const platform::PathStyle style = fs.pathStyle();
  const auto last = std::max<std::int64_t>(static_cast<std::int64_t>(folders.size()) - 1, 0);
  progress.setBarMaximum(last);
  progress.setBarValue(0);
  progress.setCaption("Loading " + std::to_string(last) + " Folders");
  progress.setBarVisible(true);

  // Testing the Ignore list first spares the listing of folders that are passed over.
  std::vector<bool> ignored(folders.size(), false);
  for (std::size_t i = 0; i < folders.size(); ++i)
    ignored[i] = settings.ignore.isIgnored(folders[i]);
  FolderPrefetcher prefetcher(fs, folders, ignored, platform::ListWhat::kFiles,
                              settings.listingThreads);
  platform::FolderListing listing;
  std::vector<const platform::DirEntry*> files;
  ProfileRecord record;
  for (std::size_t i = 0; i < folders.size(); ++i) {
    const std::string& folder = folders[i];
    Status s = prefetcher.take(i, &listing);
    if (!ignored[i]) {
      if (!s.isOk() && !s.isNotFound()) problems->add(s);
      for (const Status& p : listing.problems) problems->add(p);

      files.clear();
      for (const platform::DirEntry& entry : listing.entries) {
        if (IsListed(entry, platform::EntryKind::kFile)) files.push_back(&entry);
      }
      std::sort(files.begin(), files.end(),
                [style](const platform::DirEntry* a, const platform::DirEntry* b) {
                  return CompareNames(a->name, b->name, style.caseSensitive) < 0;
                });

      const std::size_t count = files.size();
      *totalFiles += static_cast<std::int64_t>(count);
      const bool bigFolder = count > 301;
      if (count > 51) {
        progress.setCaption("Profiling " + std::to_string(count) + " Files in " + folder);
      }
      record.folder = folder;
      for (std::size_t j = 0; j < count; ++j) {
        const platform::DirEntry& file = *files[j];
        record.name = file.name;
        record.size = file.size;
        record.time = locale.toLocal(file.modified);
        if (Status w = writer.add(record); !w.isOk()) return w;
        if (j % 100 == 0) {
          if (!progress.shouldContinue()) return Status::cancelled();
          if (bigFolder) {
            progress.setCaption("Profiling " + std::to_string(j) + " of " + std::to_string(count) +
                                " in " + folder);
          }
        }
      }
    }
    if (i % 50 == 0) progress.setBarValue(static_cast<std::int64_t>(i));
  }

  if (Status s = writer.finish(); !s.isOk()) return s;
  progress.setBarVisible(false);
  progress.setBarMaximum(*totalFiles);
  return Status::ok();
}

Status ScanToProfile(platform::FileSystem& fs, const ScanSettings& settings,
                     const platform::LocaleFormat& locale, platform::WritableFile* out,
                     platform::Progress& progress, ScanProblems* problems,
                     std::int64_t* totalFiles) {
  *totalFiles = 0;
  auto folders = LoadStructure(fs, settings, progress, problems);
  if (!folders.isOk()) return folders.status();
  return ProfileFiles(fs, folders.value(), settings, locale, out, progress, problems, totalFiles);
}

}  // namespace engine
