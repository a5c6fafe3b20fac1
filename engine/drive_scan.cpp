// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/drive_scan.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "base/ascii.h"
#include "engine/folder_prefetcher.h"
#include "engine/ordered_pipeline.h"
#include "engine/path_order.h"
#include "engine/profile_reader.h"
#include "engine/profile_writer.h"
#include "engine/text_buffer.h"
#include "engine/walked_files.h"

namespace engine {
namespace {

// Folders of one level walked between two counts on the "Loading Structure" caption.
constexpr std::size_t kFoldersPerCount = 1000;

bool IsListed(const platform::DirEntry& entry, platform::EntryKind kind, bool includeHidden) {
  return entry.kind == kind && !entry.system && (includeHidden || !entry.hidden);
}

// True when `folder` is `excluded` or lies below it; both end in the separator.
bool IsAtOrBelow(std::string_view folder, std::string_view excluded, platform::PathStyle style) {
  if (excluded.empty() || folder.size() < excluded.size()) return false;
  const std::string_view head = folder.substr(0, excluded.size());
  return style.caseSensitive ? head == excluded : base::EqualIgnoringCase(head, excluded);
}

bool IsExcluded(std::string_view folder, const ScanSettings& settings, platform::PathStyle style) {
  for (const std::string& excluded : settings.excludedFolders) {
    if (IsAtOrBelow(folder, excluded, style)) return true;
  }
  return false;
}

bool IsInTrash(std::string_view folder, const std::vector<std::string>& trash,
               platform::PathStyle style) {
  for (const std::string& folderOfTrash : trash) {
    if (IsAtOrBelow(folder, folderOfTrash, style)) return true;
  }
  return false;
}

// True when a folder between the drive's root (exclusive) and `folder` (inclusive) has a
// hidden name. Only paths show that where names starting with '.' are hidden.
bool HasHiddenFolder(std::string_view folder, std::string_view root, platform::PathStyle style) {
  if (!style.dotNamesHidden || folder.size() <= root.size()) return false;
  std::string_view below = folder.substr(root.size());
  while (!below.empty()) {
    if (below.front() == '.') return true;
    const std::size_t end = below.find(style.separator);
    if (end == std::string_view::npos) break;
    below.remove_prefix(end + 1);
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

void ScanProblems::add(const base::Status& problem) { addPlace(problem, false); }

void ScanProblems::addFolder(const base::Status& problem) { addPlace(problem, true); }

void ScanProblems::addPlace(const base::Status& problem, bool folder) {
  if (!m_seen.insert(problem.message()).second) return;
  m_problems.push_back(problem);
  m_isFolder.push_back(folder);
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

std::string ScanProblems::message(std::string_view driveDisplayText, bool kept) const {
  const std::string drive(driveDisplayText);
  ScanProblems carried;
  ScanProblems leftOut;
  for (std::size_t i = 0; i < m_problems.size(); ++i) {
    (kept && m_isFolder[i] ? carried : leftOut).m_problems.push_back(m_problems[i]);
  }
  std::string text;
  if (!carried.empty()) {
    text = "Some places of drive " + drive +
           " could not be read; what they held at the last run is kept in its profile:\n" +
           carried.summary();
  }
  if (!leftOut.empty()) {
    text += "Some places of drive " + drive + " could not be read and were left out:\n" +
            leftOut.summary();
  }
  if (!text.empty()) text.pop_back();  // the last line's end
  return text;
}

namespace {

// The longest folder field, escapes included, that leaves room in a profile line for the
// longest name (255 bytes, each perhaps escaped) within the bound the profile reader keeps.
constexpr std::size_t kMaxEscapedFolder = 64000;
static_assert(MaxProfileLineSize(kMaxEscapedFolder, 255) <= kMaxProfileLine + 2);

// A path in a message: very deep paths are cut after their first few hundred bytes.
std::string Shortened(const std::string& path) {
  constexpr std::size_t kShown = 300;
  return path.size() <= kShown ? path : path.substr(0, kShown) + "...";
}

// Why `folder` cannot go into a profile, or OK. Every part of the program handles folder
// paths of up to platform::kMaxFolderPath bytes, and a profile line must stay within the
// reader's bound once the folder's special bytes are escaped.
base::Status CheckRecordable(const std::string& folder) {
  if (folder.size() > platform::kMaxFolderPath) {
    return base::Status::invalidArgument(Shortened(folder) + ": path longer than 32,000 bytes");
  }
  if (3 * folder.size() > kMaxEscapedFolder && EscapedFieldSize(folder) > kMaxEscapedFolder) {
    return base::Status::invalidArgument(Shortened(folder) +
                                         ": path too long for a profile line once its special "
                                         "characters are escaped");
  }
  return base::Status::ok();
}

}  // namespace

base::Result<DriveFolders> LoadStructure(platform::FileSystem& fs, const ScanSettings& settings,
                                         platform::Progress& progress, ScanProblems* problems,
                                         WalkedFiles* walked) {
  const platform::PathStyle style = fs.pathStyle();
  const std::string caption = "Loading Structure:  " + settings.driveDisplayText;
  progress.setCaption(caption);
  progress.setLabelVisible(true);

  std::vector<std::size_t> walkIndexOf;
  if (IsExcluded(settings.driveRoot, settings, style) ||
      settings.ignore.leavesOutTree(settings.driveRoot)) {
    if (walked != nullptr) walked->finish(walkIndexOf);
    return DriveFolders{};
  }
  auto opened = fs.openTree(settings.driveRoot);
  if (!opened.isOk()) return opened.status();
  DriveFolders result;
  result.tree = std::move(opened).value();
  platform::FolderTree& tree = *result.tree;
  // The excluded folders as what they are: a path that leads to one another way (a bind
  // mount, a second name) does not bring it into the walk.
  std::vector<platform::FileId> excludedIds;
  for (const std::string& excluded : settings.excludedFolders) {
    if (auto id = fs.folderId(excluded); id.isOk()) excludedIds.push_back(id.value());
  }
  const auto isExcludedId = [&excludedIds](platform::FileId id) {
    return std::find(excludedIds.begin(), excludedIds.end(), id) != excludedIds.end();
  };
  if (isExcludedId(tree.rootId())) {
    if (walked != nullptr) walked->finish(walkIndexOf);
    return DriveFolders{};
  }
  // The trash is the recycle-bin option's alone, whatever the walk takes otherwise. A
  // trash folder that is the drive's root itself (a user who watches it as a drive) is
  // walked as any root is.
  for (std::string& folder : fs.trashFolders(settings.driveRoot)) {
    if (folder.size() > settings.driveRoot.size()) result.trash.push_back(std::move(folder));
  }

  const bool keepFiles = walked != nullptr && walked->keeping();
  // The queue is the folder list itself: entries [first, end) are the current level. The
  // sub-folders of folder i join it together, as paths[children[i] .. children[i + 1]).
  std::vector<std::string> paths{settings.driveRoot};
  std::vector<platform::FileId> ids{tree.rootId()};
  std::vector<bool> unread{false};
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
    const std::vector<platform::FileId> levelIds(ids.begin() + static_cast<std::ptrdiff_t>(first),
                                                 ids.end());
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
    FolderPrefetcher prefetcher(tree, level, levelIds, what, settings.listingThreads);
    for (std::size_t i = first; i < end; ++i) {
      children.push_back(paths.size());
      base::Status s = prefetcher.take(i - first, &listing);
      if (!s.isOk()) {
        // Without its root there is no drive to profile; below the root, a folder that
        // vanished is simply gone and one that cannot be read is reported once.
        if (i == 0) return s;
        if (!s.isNotFound()) {
          problems->addFolder(s);
          unread[i] = true;
        }
      } else if (what[i - first] == platform::ListWhat::kFilesAndFolders) {
        walked->keep(i, listing);
      }
      for (const base::Status& p : listing.problems) problems->add(p);
      for (const platform::DirEntry& entry : listing.entries) {
        if (!IsListed(entry, platform::EntryKind::kFolder, settings.includeHidden) ||
            isExcludedId(entry.id)) {
          continue;
        }
        std::string child = paths[i];
        child += entry.name;
        child += style.separator;
        // A whole tree on the Ignore list is not even entered.
        if (settings.ignore.leavesOutTree(child) || IsInTrash(child, result.trash, style)) continue;
        if (base::Status recordable = CheckRecordable(child); !recordable.isOk()) {
          problems->addFolder(recordable);
          continue;
        }
        paths.push_back(std::move(child));
        ids.push_back(entry.id);
        unread.push_back(false);
        leaves.push_back(entry.noSubfolders);
      }
      if (i % 50 == 0 && !progress.shouldContinue()) return base::Status::cancelled();
      // The walk reads every file's size and time, so a level of a big drive takes a while:
      // the count also moves within it.
      if ((i + 1 - first) % kFoldersPerCount == 0 && i + 1 < end) showCount();
    }
    first = end;
    showCount();
    if (paths.size() == end) break;
  }
  children.push_back(paths.size());

  result.paths = InTheOneOrder(paths, children, style, &walkIndexOf);
  result.ids.reserve(walkIndexOf.size());
  result.unread.reserve(walkIndexOf.size());
  for (std::size_t walkIndex : walkIndexOf) {
    result.ids.push_back(ids[walkIndex]);
    result.unread.push_back(unread[walkIndex]);
  }
  if (settings.includeRecycled) {
    std::vector<std::string>& sorted = result.paths;
    for (std::string& bin : fs.recycleBinFolders(settings.driveRoot)) {
      if (IsExcluded(bin, settings, style) || settings.ignore.leavesOutTree(bin)) continue;
      // A recycle-bin folder may also have been reached by the walk; profile it once.
      const auto at = std::lower_bound(sorted.begin(), sorted.end(), bin,
                                       [style](const std::string& a, const std::string& b) {
                                         return CompareFolderPaths(a, b, style) < 0;
                                       });
      if (at == sorted.end() || CompareFolderPaths(*at, bin, style) != 0) {
        const auto offset = at - sorted.begin();
        walkIndexOf.insert(walkIndexOf.begin() + offset, WalkedFiles::kNotWalked);
        result.ids.insert(result.ids.begin() + offset, platform::FileId());
        result.unread.insert(result.unread.begin() + offset, false);
        sorted.insert(at, std::move(bin));
      }
    }
  }
  if (walked != nullptr) walked->finish(walkIndexOf);
  return result;
}

namespace {

// Folders profiled ahead of the writer, and the bytes of lines they may hold together
// before the workers wait: a few huge folders in a row must not pile up in memory.
constexpr std::size_t kProfileWindow = 128;
constexpr std::size_t kMaxHeldBytes = 16 * 1024 * 1024;

// One folder's part of the profile, made on a worker thread.
struct FolderFiles {
  base::Status status;
  platform::FolderListing listing;
  // The listed files in the one order: each file's NameOrderKey and place in the listing.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> order;
  TextBuffer lines;                 // their profile lines
  std::vector<RecordView> records;  // their records: folder and name point into the listing
  std::string escapedFolder;
};

// The records of a drive's stored profile that a scan carries into its new profile for
// the places it could not read. The profile is read forward only, a block at a time, on the
// scan's writing thread: the places come in the one order, and so do the records.
class CarriedRecords {
 public:
  CarriedRecords(platform::FileSystem& fs, std::string path, const ScanSettings& settings,
                 const std::vector<std::string>& trash, platform::PathStyle style)
      : m_fs(fs), m_path(std::move(path)), m_settings(settings), m_trash(trash), m_style(style) {}

  // From here on the stored records of `folder` and of every folder below it are carried
  // (takeBefore), except those of folders that are listed themselves (passOver). The
  // records before `folder` that no earlier root covers are passed by.
  void addRoot(const std::string& folder) {
    std::span<const RecordView> none;
    (void)take(Mode::kPassBefore, &folder, &none);
    m_roots.push_back(folder);
  }
  [[nodiscard]] bool hasRoots() const { return !m_roots.empty(); }
  // `folder` was listed: its stored records are not carried.
  void passOver(const std::string& folder) { m_listed = folder; }

  // The next run of stored records, in one block, that come before `limit` (to the end of
  // the profile when null) and lie at or below a root, passing by those that do not. False
  // when there are no more before `limit`, or on a failure (status()).
  bool takeBefore(const std::string* limit, std::span<const RecordView>* run) {
    return take(Mode::kBelowRoots, limit, run);
  }
  // The next run of the stored records of `folder` itself, passing by those before it.
  bool takeFolder(const std::string& folder, std::span<const RecordView>* run) {
    return take(Mode::kFolder, &folder, run);
  }

  [[nodiscard]] const base::Status& status() const { return m_status; }

 private:
  enum class Mode { kBelowRoots, kFolder, kPassBefore };
  enum class Decision { kTake, kPass, kStop };

  bool take(Mode mode, const std::string* limit, std::span<const RecordView>* run) {
    *run = {};
    if (!m_status.isOk() || !open()) return false;
    m_decided = {};  // the mode and the limit may be new
    const std::vector<RecordView>& records = m_block.records;
    for (;;) {
      if (m_next == records.size()) {
        if (!m_block.status.isOk()) m_status = m_block.status;
        if (m_block.last) return false;
        m_parser->fill(&m_block);
        m_next = 0;
        m_decided = {};
        continue;
      }
      for (; m_next < records.size(); ++m_next) {
        const Decision decision = decide(mode, limit, records[m_next].folder);
        if (decision == Decision::kStop) return false;
        if (decision == Decision::kTake && takesName(records[m_next].name)) break;
      }
      if (m_next == records.size()) continue;
      const std::size_t begin = m_next;
      while (m_next < records.size() &&
             decide(mode, limit, records[m_next].folder) == Decision::kTake &&
             takesName(records[m_next].name)) {
        ++m_next;
      }
      *run = std::span<const RecordView>(records).subspan(begin, m_next - begin);
      return true;
    }
  }

  // False for a file the scan leaves out by its name: a hidden one, unless hidden files are
  // included.
  [[nodiscard]] bool takesName(std::string_view name) const {
    return m_settings.includeHidden || !m_style.dotNamesHidden || !name.starts_with('.');
  }

  // What becomes of a record in `folder`. Records of one folder come one after another and
  // mostly share the folder's bytes, so a folder is decided once.
  Decision decide(Mode mode, const std::string* limit, std::string_view folder) {
    if (folder.data() == m_decided.data() && folder.size() == m_decided.size()) {
      return m_decision;
    }
    m_decided = folder;
    const int order = limit == nullptr ? -1 : CompareFolderPaths(folder, *limit, m_style);
    if (mode == Mode::kFolder) {
      m_decision = order < 0 ? Decision::kPass : order == 0 ? Decision::kTake : Decision::kStop;
    } else if (order >= 0) {
      m_decision = Decision::kStop;
    } else if (mode == Mode::kPassBefore) {
      m_decision = Decision::kPass;
    } else {
      // Roots whose trees lie behind are done with: the records come in the one order, and
      // none of a root's tree comes before the root.
      while (!m_roots.empty() && !IsAtOrBelow(folder, m_roots.back(), m_style)) {
        m_roots.pop_back();
      }
      const bool listed = !m_listed.empty() && CompareFolderPaths(folder, m_listed, m_style) == 0;
      // What the scan itself leaves out is not carried either.
      const bool leftOut =
          m_settings.ignore.isIgnored(folder) || IsExcluded(folder, m_settings, m_style) ||
          IsInTrash(folder, m_trash, m_style) ||
          (!m_settings.includeHidden && HasHiddenFolder(folder, m_settings.driveRoot, m_style));
      m_decision = m_roots.empty() || listed || leftOut ? Decision::kPass : Decision::kTake;
    }
    return m_decision;
  }

  // Opens the stored profile at the first need. False on a failure (status()).
  bool open() {
    if (m_parser) return true;
    auto file = m_fs.openForReading(m_path);
    if (!file.isOk()) {
      m_status = file.status();
      return false;
    }
    m_parser = std::make_unique<ProfileBlockParser>(std::move(file).value(), m_path);
    return true;
  }

  platform::FileSystem& m_fs;
  const std::string m_path;
  const ScanSettings& m_settings;
  const std::vector<std::string>& m_trash;
  const platform::PathStyle m_style;
  std::unique_ptr<ProfileBlockParser> m_parser;
  ProfileBlock m_block;
  std::size_t m_next = 0;  // the first record of m_block not yet taken or skipped
  std::vector<std::string> m_roots;
  std::string m_listed;
  std::string_view m_decided;  // the folder last decided, as m_block holds it
  Decision m_decision = Decision::kPass;
  base::Status m_status;
};

}  // namespace

class FileProfiler::Work {
 public:
  Work(platform::FileSystem& fs, const DriveFolders& folders, const ScanSettings& settings,
       const platform::LocaleFormat& locale, platform::WritableFile* out, std::string outName,
       platform::Progress& progress, ScanProblems* problems, const WalkedFiles* walked,
       std::string storedProfile)
      : m_folders(folders),
        m_walked(walked),
        m_ignored(IgnoredFolders(folders.paths, settings)),
        m_includeHidden(settings.includeHidden),
        m_style(fs.pathStyle()),
        m_writer(out),
        m_outName(std::move(outName)),
        m_progress(progress),
        m_problems(problems),
        m_carry(storedProfile.empty()
                    ? nullptr
                    : std::make_unique<CarriedRecords>(fs, std::move(storedProfile), settings,
                                                       folders.trash, m_style)),
        m_pipeline(
            folders.paths.size(), settings.listingThreads, kProfileWindow, kMaxHeldBytes,
            [this, &locale](std::size_t index, FolderFiles* files) { make(locale, index, files); },
            [](const FolderFiles& files) {
              return files.lines.size() +
                     files.listing.entries.size() * sizeof(platform::DirEntry) +
                     files.records.size() * sizeof(RecordView);
            }) {
    const auto last =
        std::max<std::int64_t>(static_cast<std::int64_t>(folders.paths.size()) - 1, 0);
    m_progress.setBarMaximum(last);
    m_progress.setBarValue(0);
    m_progress.setCaption("Loading " + std::to_string(last) + " Folders");
    m_progress.setBarVisible(true);
  }

  // Gives the next records written to the profile: carried ones, or those of the next
  // folder (possibly none). False once every folder is done and the file closed, or on a
  // failure or cancel (m_status).
  bool step(std::span<const RecordView>* records) {
    *records = {};
    if (m_done) return false;
    const std::vector<std::string>& paths = m_folders.paths;
    // The last folder's own records, when it could not be listed, come from the stored
    // profile; so do the stored records of unread trees that come before the next folder.
    if (m_carryingFolder) {
      if (m_carry->takeFolder(paths[m_next - 1], records)) return writeCarried(records);
      m_carryingFolder = false;
    }
    const std::string* next = m_next < paths.size() ? &paths[m_next] : nullptr;
    if (m_carry && m_carry->hasRoots() && m_carry->takeBefore(next, records)) {
      return writeCarried(records);
    }
    if (m_carry && !m_carry->status().isOk()) return fail(m_carry->status());
    if (next == nullptr) return finish();
    const std::size_t i = m_next++;
    m_pipeline.take(i, &m_current);
    if (m_folders.unread[i]) {
      // The walk told already why. Its whole tree comes from the stored profile, but for
      // the folders below it that were listed after all (a recycle bin).
      if (m_carry) m_carry->addRoot(*next);
    } else if (!m_ignored[i] && !profileFolder(i, records)) {
      return false;
    }
    if (i % 50 == 0) m_progress.setBarValue(static_cast<std::int64_t>(i));
    return true;
  }

  [[nodiscard]] const base::Status& status() const { return m_status; }
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

  // Writes the records of folder `i` (taken as m_current) and gives them in `*records`; a
  // folder that could not be read is carried over instead. False on a failure or cancel.
  bool profileFolder(std::size_t i, std::span<const RecordView>* records) {
    const std::string& folder = m_folders.paths[i];
    const base::Status& s = m_current.status;
    if (!s.isOk() && !s.isNotFound()) {
      m_problems->addFolder(s);
      m_carryingFolder = m_carry != nullptr;
      return true;
    }
    if (m_carry) m_carry->passOver(folder);
    for (const base::Status& p : m_current.listing.problems) m_problems->add(p);

    const std::size_t count = m_current.order.size();
    const bool bigFolder = count > 301;
    if (count > 51) {
      m_progress.setCaption("Profiling " + std::to_string(count) + " Files in " + folder);
    }
    for (std::size_t j = 0; j < count; j += 100) {
      if (!m_progress.shouldContinue()) return fail(base::Status::cancelled());
      if (bigFolder) {
        m_progress.setCaption("Profiling " + std::to_string(j) + " of " + std::to_string(count) +
                              " in " + folder);
      }
    }
    m_firstLine = m_writer.recordCount() + 1;
    if (base::Status w =
            m_writer.addLines(m_current.lines.view(), static_cast<std::int64_t>(count));
        !w.isOk()) {
      return fail(w);
    }
    *records = m_current.records;
    return true;
  }

  // Writes the carried records `*records` to the new profile as they were stored.
  bool writeCarried(std::span<const RecordView>* records) {
    if (!m_progress.shouldContinue()) return fail(base::Status::cancelled());
    m_carriedLines.clear();
    std::string_view escapedFor;
    for (const RecordView& record : *records) {
      if (record.folder.data() != escapedFor.data() || record.folder.size() != escapedFor.size()) {
        escapedFor = record.folder;
        m_escapedFolder.clear();
        AppendEscapedField(record.folder, &m_escapedFolder);
      }
      char* at = m_carriedLines.reserveMore(
          MaxProfileLineSize(m_escapedFolder.size(), record.name.size()));
      m_carriedLines.commitTo(
          WriteProfileLine(at, record.size, record.time, m_escapedFolder, record.name));
    }
    m_firstLine = m_writer.recordCount() + 1;
    if (base::Status w =
            m_writer.addLines(m_carriedLines.view(), static_cast<std::int64_t>(records->size()));
        !w.isOk()) {
      return fail(w);
    }
    return true;
  }

  // Lists folder `index` and makes its lines and records. On the workers' threads.
  void make(const platform::LocaleFormat& locale, std::size_t index, FolderFiles* files) const {
    files->listing.entries.clear();
    files->listing.problems.clear();
    files->order.clear();
    files->lines.clear();
    files->records.clear();
    files->status = base::Status::ok();
    if (m_ignored[index] || m_folders.unread[index]) return;
    const std::string& folder = m_folders.paths[index];
    if (m_walked == nullptr || !m_walked->read(index, &files->listing)) {
      files->status = m_folders.tree->list(folder, m_folders.ids[index], platform::ListWhat::kFiles,
                                           &files->listing);
    }

    const std::vector<platform::DirEntry>& entries = files->listing.entries;
    std::size_t room = 0;
    files->escapedFolder.clear();
    AppendEscapedField(folder, &files->escapedFolder);
    for (std::size_t k = 0; k < entries.size(); ++k) {
      if (!IsListed(entries[k], platform::EntryKind::kFile, m_includeHidden)) continue;
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
    if (base::Status s = m_writer.finish(); !s.isOk()) {
      m_status = s;
      return false;
    }
    m_progress.setBarVisible(false);
    m_progress.setBarMaximum(m_writer.recordCount());
    return false;
  }

  bool fail(base::Status status) {
    m_status = std::move(status);
    m_done = true;
    return false;
  }

  const DriveFolders& m_folders;
  const WalkedFiles* const m_walked;
  const std::vector<bool> m_ignored;
  const bool m_includeHidden;
  const platform::PathStyle m_style;
  ProfileWriter m_writer;
  const std::string m_outName;
  platform::Progress& m_progress;
  ScanProblems* m_problems;
  std::size_t m_next = 0;
  bool m_done = false;
  base::Status m_status;
  FolderFiles m_current;
  std::int64_t m_firstLine = 1;  // the line of the first record last given
  // The stored profile, for the places that could not be read; null when there is none.
  const std::unique_ptr<CarriedRecords> m_carry;
  bool m_carryingFolder = false;  // the last folder's own records are being carried
  TextBuffer m_carriedLines;
  std::string m_escapedFolder;
  // Last: its workers use everything above and stop before it goes.
  OrderedPipeline<FolderFiles> m_pipeline;
};

FileProfiler::FileProfiler(platform::FileSystem& fs, const DriveFolders& folders,
                           const ScanSettings& settings, const platform::LocaleFormat& locale,
                           platform::WritableFile* out, std::string outName,
                           platform::Progress& progress, ScanProblems* problems,
                           const WalkedFiles* walked, std::string storedProfile)
    : m_work(std::make_unique<Work>(fs, folders, settings, locale, out, std::move(outName),
                                    progress, problems, walked, std::move(storedProfile))) {}

FileProfiler::~FileProfiler() = default;

base::Status FileProfiler::run() {
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

const base::Status& FileProfiler::status() const { return m_work->status(); }

std::string FileProfiler::placeOf(std::size_t index) const { return m_work->placeOf(index); }

std::int64_t FileProfiler::totalFiles() const { return m_work->totalFiles(); }

base::Status ProfileFiles(platform::FileSystem& fs, const DriveFolders& folders,
                          const ScanSettings& settings, const platform::LocaleFormat& locale,
                          platform::WritableFile* out, platform::Progress& progress,
                          ScanProblems* problems, std::int64_t* totalFiles,
                          const WalkedFiles* walked) {
  FileProfiler profiler(fs, folders, settings, locale, out, "the new profile", progress, problems,
                        walked);
  base::Status s = profiler.run();
  *totalFiles = profiler.totalFiles();
  return s;
}

base::Status ScanToProfile(platform::FileSystem& fs, const ScanSettings& settings,
                           const platform::LocaleFormat& locale, platform::WritableFile* out,
                           platform::Progress& progress, ScanProblems* problems,
                           std::int64_t* totalFiles, std::int64_t* totalFolders) {
  *totalFiles = 0;
  if (totalFolders != nullptr) *totalFolders = 0;
  WalkedFiles walked(fs);
  auto folders = LoadStructure(fs, settings, progress, problems, &walked);
  if (!folders.isOk()) return folders.status();
  if (totalFolders != nullptr)
    *totalFolders = static_cast<std::int64_t>(folders.value().paths.size());
  return ProfileFiles(fs, folders.value(), settings, locale, out, progress, problems, totalFiles,
                      &walked);
}

}  // namespace engine
