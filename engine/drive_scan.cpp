// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/drive_scan.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "engine/folder_prefetcher.h"
#include "engine/ordered_pipeline.h"
#include "engine/path_order.h"
#include "engine/profile_writer.h"
#include "engine/text_buffer.h"
#include "engine/walked_files.h"

namespace engine {
namespace {

// Folders of one level walked between two counts on the "Loading Structure" caption.
constexpr std::size_t kFoldersPerCount = 1000;

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
// paths[children[i] .. children[i + 1]); it has one entry more than `paths`. Sets
// `(*walkIndexOf)[k]` to the index in `paths` of the folder that comes k-th.
std::vector<std::string> InTheOneOrder(std::vector<std::string>& paths,
                                       const std::vector<std::size_t>& children,
                                       platform::PathStyle style,
                                       std::vector<std::size_t>* walkIndexOf) {
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
  walkIndexOf->clear();
  walkIndexOf->reserve(paths.size());
  std::vector<std::size_t> stack{0};
  while (!stack.empty()) {
    const std::size_t i = stack.back();
    stack.pop_back();
    sorted.push_back(std::move(paths[i]));
    walkIndexOf->push_back(i);
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
                                               platform::Progress& progress, ScanProblems* problems,
                                               WalkedFiles* walked) {
  const platform::PathStyle style = fs.pathStyle();
  const std::string caption = "Loading Structure:  " + settings.driveDisplayText;
  progress.setCaption(caption);
  progress.setLabelVisible(true);

  std::vector<std::size_t> walkIndexOf;
  if (IsExcluded(settings.driveRoot, settings, style)) {
    if (walked != nullptr) walked->finish(walkIndexOf);
    return std::vector<std::string>{};
  }
  const bool keepFiles = walked != nullptr && walked->keeping();
  // The queue is the folder list itself: entries [first, end) are the current level. The
  // sub-folders of folder i join it together, as paths[children[i] .. children[i + 1]).
  std::vector<std::string> paths{settings.driveRoot};
  std::vector<std::size_t> children;
  // Folders the file system vouches have no sub-folders need not be listed for them: on
  // most drives that spares reading most folders twice when the files are not kept.
  std::vector<bool> leaves{false};
  std::vector<std::optional<platform::ListWhat>> what;
  platform::FolderListing listing;
  const auto showCount = [&] {
    progress.setCaption(caption + "  :  " + std::to_string(paths.size() - 1) + " Directories");
  };
  std::size_t first = 0;
  for (;;) {
    const std::size_t end = paths.size();
    // The workers read their own copy of the level while new folders join `paths`.
    const std::vector<std::string> level(paths.begin() + static_cast<std::ptrdiff_t>(first),
                                         paths.end());
    what.assign(level.size(), std::nullopt);
    for (std::size_t k = 0; k < level.size(); ++k) {
      // A folder's files are read here when they can be kept for profiling, except in
      // ignored folders, whose files are never profiled.
      if (keepFiles && !settings.ignore.isIgnored(level[k])) {
        what[k] = platform::ListWhat::kFilesAndFolders;
      } else if (!leaves[first + k]) {
        what[k] = platform::ListWhat::kFolders;
      }
    }
    FolderPrefetcher prefetcher(fs, level, what, settings.listingThreads);
    for (std::size_t i = first; i < end; ++i) {
      children.push_back(paths.size());
      Status s = prefetcher.take(i - first, &listing);
      if (!s.isOk()) {
        // Without its root there is no drive to profile; below the root, a folder that
        // vanished is simply gone and one that cannot be read is reported once.
        if (i == 0) return s;
        if (!s.isNotFound()) problems->add(s);
      } else if (what[i - first] == platform::ListWhat::kFilesAndFolders) {
        walked->keep(i, listing);
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
      // The walk reads every file's size and time, so a level of a big drive takes a while:
      // the count also moves within it.
      if ((i + 1 - first) % kFoldersPerCount == 0 && i + 1 < end) showCount();
    }
    first = end;
    showCount();
    if (paths.size() == end) break;
  }
  children.push_back(paths.size());

  std::vector<std::string> sorted = InTheOneOrder(paths, children, style, &walkIndexOf);
  if (settings.includeRecycled) {
    for (std::string& bin : fs.recycleBinFolders(settings.driveRoot)) {
      if (IsExcluded(bin, settings, style)) continue;
      // A recycle-bin folder may also have been reached by the walk; profile it once.
      const auto at = std::lower_bound(sorted.begin(), sorted.end(), bin,
                                       [style](const std::string& a, const std::string& b) {
                                         return CompareFolderPaths(a, b, style) < 0;
                                       });
      if (at == sorted.end() || CompareFolderPaths(*at, bin, style) != 0) {
        walkIndexOf.insert(walkIndexOf.begin() + (at - sorted.begin()), WalkedFiles::kNotWalked);
        sorted.insert(at, std::move(bin));
      }
    }
  }
  if (walked != nullptr) walked->finish(walkIndexOf);
  return sorted;
}

namespace {

// Folders profiled ahead of the writer, and the bytes of lines they may hold together
// before the workers wait: a few huge folders in a row must not pile up in memory.
constexpr std::size_t kProfileWindow = 128;
constexpr std::size_t kMaxHeldBytes = 16 * 1024 * 1024;

// One folder's part of the profile, made on a worker thread.
struct FolderFiles {
  Status status;
  platform::FolderListing listing;
  // The listed files in the one order: each file's NameOrderKey and place in the listing.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> order;
  TextBuffer lines;                 // their profile lines
  std::vector<RecordView> records;  // their records: folder and name point into the listing
  std::string escapedFolder;
};

}  // namespace

class FileProfiler::Work {
 public:
  Work(platform::FileSystem& fs, const std::vector<std::string>& folders,
       const ScanSettings& settings, const platform::LocaleFormat& locale,
       platform::WritableFile* out, std::string outName, platform::Progress& progress,
       ScanProblems* problems, const WalkedFiles* walked)
      : m_folders(folders),
        m_walked(walked),
        m_ignored(IgnoredFolders(folders, settings)),
        m_style(fs.pathStyle()),
        m_writer(out),
        m_outName(std::move(outName)),
        m_progress(progress),
        m_problems(problems),
        m_pipeline(
            folders.size(), settings.listingThreads, kProfileWindow, kMaxHeldBytes,
            [this, &fs, &locale](std::size_t index, FolderFiles* files) {
              make(fs, locale, index, files);
            },
            [](const FolderFiles& files) {
              return files.lines.size() +
                     files.listing.entries.size() * sizeof(platform::DirEntry) +
                     files.records.size() * sizeof(RecordView);
            }) {
    const auto last = std::max<std::int64_t>(static_cast<std::int64_t>(folders.size()) - 1, 0);
    m_progress.setBarMaximum(last);
    m_progress.setBarValue(0);
    m_progress.setCaption("Loading " + std::to_string(last) + " Folders");
    m_progress.setBarVisible(true);
  }

  // Profiles the next folder. False once every folder is done and the file closed, or on a
  // failure or cancel (m_status).
  bool step(std::span<const RecordView>* records) {
    if (m_done) return false;
    if (m_next == m_folders.size()) return finish();
    const std::size_t i = m_next++;
    m_pipeline.take(i, &m_current);
    *records = {};
    if (!m_ignored[i]) {
      const std::string& folder = m_folders[i];
      const Status& s = m_current.status;
      if (!s.isOk() && !s.isNotFound()) m_problems->add(s);
      for (const Status& p : m_current.listing.problems) m_problems->add(p);

      const std::size_t count = m_current.order.size();
      const bool bigFolder = count > 301;
      if (count > 51) {
        m_progress.setCaption("Profiling " + std::to_string(count) + " Files in " + folder);
      }
      for (std::size_t j = 0; j < count; j += 100) {
        if (!m_progress.shouldContinue()) return fail(Status::cancelled());
        if (bigFolder) {
          m_progress.setCaption("Profiling " + std::to_string(j) + " of " + std::to_string(count) +
                                " in " + folder);
        }
      }
      m_firstLine = m_writer.recordCount() + 1;
      if (Status w = m_writer.addLines(m_current.lines.view(), static_cast<std::int64_t>(count));
          !w.isOk()) {
        return fail(w);
      }
      *records = m_current.records;
    }
    if (i % 50 == 0) m_progress.setBarValue(static_cast<std::int64_t>(i));
    return true;
  }

  [[nodiscard]] const Status& status() const { return m_status; }
  [[nodiscard]] std::int64_t totalFiles() const { return m_writer.recordCount(); }
  [[nodiscard]] std::string placeOf(std::size_t index) const {
    return m_outName + ", line " + std::to_string(m_firstLine + static_cast<std::int64_t>(index));
  }

 private:
  static std::vector<bool> IgnoredFolders(const std::vector<std::string>& folders,
                                          const ScanSettings& settings) {
    // Testing the Ignore list first spares the listing of folders that are passed over.
    std::vector<bool> ignored(folders.size(), false);
    for (std::size_t i = 0; i < folders.size(); ++i)
      ignored[i] = settings.ignore.isIgnored(folders[i]);
    return ignored;
  }

  // Lists folder `index` and makes its lines and records. On the workers' threads.
  void make(platform::FileSystem& fs, const platform::LocaleFormat& locale, std::size_t index,
            FolderFiles* files) const {
    files->listing.entries.clear();
    files->listing.problems.clear();
    files->order.clear();
    files->lines.clear();
    files->records.clear();
    files->status = Status::ok();
    if (m_ignored[index]) return;
    const std::string& folder = m_folders[index];
    if (m_walked == nullptr || !m_walked->read(index, &files->listing)) {
      files->status = fs.listFolder(folder, platform::ListWhat::kFiles, &files->listing);
    }

    const std::vector<platform::DirEntry>& entries = files->listing.entries;
    std::size_t room = 0;
    files->escapedFolder.clear();
    AppendEscapedField(folder, &files->escapedFolder);
    for (std::size_t k = 0; k < entries.size(); ++k) {
      if (!IsListed(entries[k], platform::EntryKind::kFile)) continue;
      files->order.emplace_back(NameOrderKey(entries[k].name), static_cast<std::uint32_t>(k));
      room += MaxProfileLineSize(files->escapedFolder.size(), entries[k].name.size());
    }
    const bool caseSensitive = m_style.caseSensitive;
    std::sort(files->order.begin(), files->order.end(), [&](const auto& a, const auto& b) {
      if (a.first != b.first) return a.first < b.first;
      return CompareNames(entries[a.second].name, entries[b.second].name, caseSensitive) < 0;
    });

    char* at = files->lines.reserveMore(room);
    for (const auto& [key, k] : files->order) {
      const platform::DirEntry& file = entries[k];
      const platform::LocalDateTime time = locale.toLocal(file.modified);
      at = WriteProfileLine(at, file.size, time, files->escapedFolder, file.name);
      files->records.push_back({folder, file.name, file.size, time});
    }
    files->lines.commitTo(at);
  }

  bool finish() {
    m_done = true;
    if (Status s = m_writer.finish(); !s.isOk()) {
      m_status = s;
      return false;
    }
    m_progress.setBarVisible(false);
    m_progress.setBarMaximum(m_writer.recordCount());
    return false;
  }

  bool fail(Status status) {
    m_status = std::move(status);
    m_done = true;
    return false;
  }

  const std::vector<std::string>& m_folders;
  const WalkedFiles* const m_walked;
  const std::vector<bool> m_ignored;
  const platform::PathStyle m_style;
  ProfileWriter m_writer;
  const std::string m_outName;
  platform::Progress& m_progress;
  ScanProblems* m_problems;
  std::size_t m_next = 0;
  bool m_done = false;
  Status m_status;
  FolderFiles m_current;
  std::int64_t m_firstLine = 1;  // the line of m_current's first record
  // Last: its workers use everything above and stop before it goes.
  OrderedPipeline<FolderFiles> m_pipeline;
};

FileProfiler::FileProfiler(platform::FileSystem& fs, const std::vector<std::string>& folders,
                           const ScanSettings& settings, const platform::LocaleFormat& locale,
                           platform::WritableFile* out, std::string outName,
                           platform::Progress& progress, ScanProblems* problems,
                           const WalkedFiles* walked)
    : m_work(std::make_unique<Work>(fs, folders, settings, locale, out, std::move(outName),
                                    progress, problems, walked)) {}

FileProfiler::~FileProfiler() = default;

Status FileProfiler::run() {
  std::span<const RecordView> records;
  while (m_work->step(&records)) {
  }
  return m_work->status();
}

bool FileProfiler::nextBatch(std::span<const RecordView>* batch) {
  while (m_work->step(batch)) {
    if (!batch->empty()) return true;
  }
  return false;
}

const Status& FileProfiler::status() const { return m_work->status(); }

std::string FileProfiler::placeOf(std::size_t index) const { return m_work->placeOf(index); }

std::int64_t FileProfiler::totalFiles() const { return m_work->totalFiles(); }

Status ProfileFiles(platform::FileSystem& fs, const std::vector<std::string>& folders,
                    const ScanSettings& settings, const platform::LocaleFormat& locale,
                    platform::WritableFile* out, platform::Progress& progress,
                    ScanProblems* problems, std::int64_t* totalFiles, const WalkedFiles* walked) {
  FileProfiler profiler(fs, folders, settings, locale, out, "the new profile", progress, problems,
                        walked);
  Status s = profiler.run();
  *totalFiles = profiler.totalFiles();
  return s;
}

Status ScanToProfile(platform::FileSystem& fs, const ScanSettings& settings,
                     const platform::LocaleFormat& locale, platform::WritableFile* out,
                     platform::Progress& progress, ScanProblems* problems, std::int64_t* totalFiles,
                     std::int64_t* totalFolders) {
  *totalFiles = 0;
  if (totalFolders != nullptr) *totalFolders = 0;
  WalkedFiles walked(fs);
  auto folders = LoadStructure(fs, settings, progress, problems, &walked);
  if (!folders.isOk()) return folders.status();
  if (totalFolders != nullptr) *totalFolders = static_cast<std::int64_t>(folders.value().size());
  return ProfileFiles(fs, folders.value(), settings, locale, out, progress, problems, totalFiles,
                      &walked);
}

}  // namespace engine
