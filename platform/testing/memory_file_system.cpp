// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/memory_file_system.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace platform {

// A file's bytes live apart from its name, so an open file keeps writing to the same
// file after a rename or a remove, as it would on POSIX.
struct MemoryFileSystem::FileData {
  std::string contents;
  std::int64_t size = 0;
  UnixSeconds modified = 0;
};

struct MemoryFileSystem::Node {
  std::string name;
  std::uint64_t serial = 0;  // the inode: stays with the node through renames
  bool folder = false;
  bool hidden = false;
  bool system = false;
  UnixSeconds folderModified = 0;
  std::shared_ptr<FileData> data;     // files only
  std::vector<std::string> children;  // folders only: keys in creation order
};

namespace {

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "MemoryFileSystem: %s\n", why.c_str());
  std::abort();
}

// A path split the way the tree stores it. `key` is `trimmed` with ASCII letters folded
// to lower case, so both have the same length and their separators line up.
struct ParsedPath {
  std::string key;
  std::string trimmed;  // the path without trailing backslashes ("C:" for the root)

  [[nodiscard]] std::size_t lastSeparator() const { return key.rfind('\\'); }
  [[nodiscard]] bool isRoot() const { return lastSeparator() == std::string::npos; }
  [[nodiscard]] std::string parentKey() const { return key.substr(0, lastSeparator()); }
  [[nodiscard]] std::string name() const {
    return isRoot() ? trimmed : trimmed.substr(lastSeparator() + 1);
  }
};

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::optional<ParsedPath> Parse(const std::string& path) {
  const bool hasDrive = path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                        path[1] == ':' && (path.size() == 2 || path[2] == '\\');
  if (!hasDrive) return std::nullopt;
  ParsedPath parsed;
  parsed.trimmed = path;
  while (parsed.trimmed.size() > 2 && parsed.trimmed.back() == '\\') parsed.trimmed.pop_back();
  if (parsed.trimmed.find('/') != std::string::npos ||
      parsed.trimmed.find("\\\\") != std::string::npos) {
    return std::nullopt;
  }
  for (std::size_t start = 3; start < parsed.trimmed.size();) {
    std::size_t end = parsed.trimmed.find('\\', start);
    if (end == std::string::npos) end = parsed.trimmed.size();
    const std::string_view component(parsed.trimmed.data() + start, end - start);
    if (component == "." || component == "..") return std::nullopt;
    start = end + 1;
  }
  parsed.key = parsed.trimmed;
  std::transform(parsed.key.begin(), parsed.key.end(), parsed.key.begin(), Fold);
  return parsed;
}

base::Status BadPath(const std::string& path) {
  return base::Status::invalidArgument(path + ": not a path of the form C:\\folder\\name");
}

// The drive of a path's key stands for the device.
std::uint64_t DeviceOf(const std::string& key) { return static_cast<unsigned char>(key[0]); }

bool IsBelow(const std::string& key, const std::string& folderKey) {
  return key.size() > folderKey.size() && key.compare(0, folderKey.size(), folderKey) == 0 &&
         key[folderKey.size()] == '\\';
}

}  // namespace

class MemoryFileSystem::Reader final : public SequentialFile {
 public:
  Reader(std::string contents, std::uint64_t size)
      : m_contents(std::move(contents)), m_size(size) {}

  base::Status read(std::size_t n, char* scratch, std::size_t* got) override {
    *got = std::min(n, m_contents.size() - m_position);
    std::memcpy(scratch, m_contents.data() + m_position, *got);
    m_position += *got;
    return base::Status::ok();
  }
  // The size given to the file, which a big synthetic file's contents fall short of.
  std::optional<std::uint64_t> size() const override { return m_size; }

 private:
  std::string m_contents;
  std::uint64_t m_size;
  std::size_t m_position = 0;
};

class MemoryFileSystem::Replacement final : public ReplacementFile {
 public:
  Replacement(MemoryFileSystem* fs, std::shared_ptr<FileData> data, std::string target,
              std::string temporary, std::optional<std::uint64_t> limit, bool failSync)
      : m_fs(fs),
        m_data(std::move(data)),
        m_target(std::move(target)),
        m_temporary(std::move(temporary)),
        m_limit(limit),
        m_failSync(failSync) {}
  ~Replacement() override { abandon(); }

  base::Status append(std::string_view bytes) override {
    std::lock_guard<std::mutex> lock(m_fs->m_mutex);
    if (m_closed) return base::Status::ioError(m_target + ": the file is closed");
    if (!m_status.isOk()) return m_status;
    if (base::Status s = m_fs->writeStep(m_target + ": append"); !s.isOk()) {
      m_status = s;
      return s;
    }
    const auto size = static_cast<std::uint64_t>(m_data->size);
    if (m_limit && size + bytes.size() > *m_limit) {
      // Like a real disk that fills up: what fits is written, the rest is lost.
      bytes = bytes.substr(0, *m_limit > size ? *m_limit - size : 0);
      m_status = base::Status::ioError(m_target + ": disk full");
    }
    m_data->contents.append(bytes);
    m_data->size += static_cast<std::int64_t>(bytes.size());
    m_data->modified = m_fs->m_now;
    return m_status;
  }

  base::Status close() override {
    std::lock_guard<std::mutex> lock(m_fs->m_mutex);
    return closeLocked();
  }

  base::Status commit() override {
    base::Status s;
    {
      std::lock_guard<std::mutex> lock(m_fs->m_mutex);
      if (m_done) return base::Status::ioError(m_target + ": the replacement is finished already");
      s = m_closed ? m_status : closeLocked();
      // The bytes are forced to the disk here, before the rename, as on a real disk.
      if (s.isOk() && m_failSync) s = base::Status::fromErrno(EIO, m_target);
      if (s.isOk()) s = m_fs->writeStep(m_target + ": rename");
      if (s.isOk()) s = m_fs->renameLocked(m_temporary, m_target);
      if (s.isOk()) {
        m_fs->m_liveTemporaries.erase(Parse(m_temporary)->key);
        m_done = true;
      }
    }
    if (!s.isOk()) abandon();
    return s;
  }

  void abandon() override {
    std::lock_guard<std::mutex> lock(m_fs->m_mutex);
    if (m_done) return;
    m_closed = true;
    m_done = true;
    const std::string key = Parse(m_temporary)->key;
    m_fs->m_liveTemporaries.erase(key);
    m_fs->erase(key);
  }

  const std::string& targetPath() const override { return m_target; }
  const std::string& temporaryPath() const override { return m_temporary; }

 private:
  base::Status closeLocked() {
    if (m_closed)
      return m_done ? base::Status::ioError(m_target + ": the file is closed") : m_status;
    m_closed = true;
    if (m_status.isOk()) m_status = m_fs->writeStep(m_target + ": sync");
    return m_status;
  }

  MemoryFileSystem* m_fs;
  std::shared_ptr<FileData> m_data;
  std::string m_target;
  std::string m_temporary;
  std::optional<std::uint64_t> m_limit;
  bool m_failSync;
  base::Status m_status;
  bool m_closed = false;
  bool m_done = false;
};

class MemoryFileSystem::Lock final : public FileLock {
 public:
  Lock(MemoryFileSystem* fs, std::string key) : m_fs(fs), m_key(std::move(key)) {}
  ~Lock() override {
    std::lock_guard<std::mutex> lock(m_fs->m_mutex);
    auto it = m_fs->m_heldLocks.find(m_key);
    if (it != m_fs->m_heldLocks.end() && --it->second == 0) m_fs->m_heldLocks.erase(it);
  }

 private:
  MemoryFileSystem* m_fs;
  std::string m_key;
};

MemoryFileSystem::MemoryFileSystem() = default;
MemoryFileSystem::~MemoryFileSystem() = default;

MemoryFileSystem::Node* MemoryFileSystem::find(const std::string& key) {
  auto it = m_nodes.find(key);
  return it == m_nodes.end() ? nullptr : it->second.get();
}

const MemoryFileSystem::Node* MemoryFileSystem::find(const std::string& key) const {
  auto it = m_nodes.find(key);
  return it == m_nodes.end() ? nullptr : it->second.get();
}

MemoryFileSystem::Node& MemoryFileSystem::insert(const std::string& key, std::string name,
                                                 bool folder) {
  auto node = std::make_unique<Node>();
  node->name = std::move(name);
  node->serial = ++m_lastSerial;
  node->folder = folder;
  if (folder) {
    node->folderModified = m_now;
  } else {
    node->data = std::make_shared<FileData>();
    node->data->modified = m_now;
  }
  const std::size_t separator = key.rfind('\\');
  if (separator != std::string::npos) find(key.substr(0, separator))->children.push_back(key);
  Node& result = *node;
  m_nodes[key] = std::move(node);
  return result;
}

void MemoryFileSystem::erase(const std::string& key) {
  Node* node = find(key);
  if (node == nullptr) return;
  for (const std::string& child : std::vector<std::string>(node->children)) erase(child);
  const std::size_t separator = key.rfind('\\');
  if (separator != std::string::npos) {
    std::vector<std::string>& siblings = find(key.substr(0, separator))->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), key));
  }
  m_nodes.erase(key);
}

base::Status MemoryFileSystem::writeStep(const std::string& what) {
  ++m_writeSteps;
  if (m_failingStep != 0 && m_writeSteps == m_failingStep) {
    return base::Status::ioError(what + ": injected failure");
  }
  return base::Status::ok();
}

base::Status MemoryFileSystem::createFolders(const std::string& path) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (base::Status s = writeStep(path + ": create folder"); !s.isOk()) return s;
  }
  return createFoldersQuietly(path);
}

// Creates the missing folders with the letter case that `path` gives them.
base::Status MemoryFileSystem::createFoldersQuietly(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(path);
  if (!parsed) return BadPath(path);
  for (std::size_t end = 2;; end = parsed->key.find('\\', end + 1)) {
    const std::string key = parsed->key.substr(0, end);
    const Node* node = find(key);
    if (node == nullptr) {
      const std::size_t start = key.rfind('\\') == std::string::npos ? 0 : key.rfind('\\') + 1;
      insert(key, parsed->trimmed.substr(start, key.size() - start), true);
    } else if (!node->folder) {
      return base::Status::notAFolder(parsed->trimmed.substr(0, end) + ": is a file");
    }
    if (end == std::string::npos || end >= parsed->key.size()) break;
  }
  return base::Status::ok();
}

base::Result<std::string> MemoryFileSystem::parentFolderKey(const std::string& path,
                                                            const std::string& key) {
  const std::size_t separator = key.rfind('\\');
  if (separator == std::string::npos) return base::Status::fromErrno(EISDIR, path);
  std::string parentKey = key.substr(0, separator);
  const Node* parent = find(parentKey);
  if (parent == nullptr) return base::Status::fromErrno(ENOENT, path);
  if (!parent->folder) return base::Status::fromErrno(ENOTDIR, path);
  return parentKey;
}

base::Status MemoryFileSystem::listFolder(const std::string& folder, ListWhat what,
                                          FolderListing* out) {
  std::lock_guard<std::mutex> lock(m_mutex);
  return listLocked(folder, what, out, /*opening=*/false, FileId());
}

base::Status MemoryFileSystem::listLocked(const std::string& folder, ListWhat what,
                                          FolderListing* out, bool opening, FileId expected) {
  out->entries.clear();
  out->problems.clear();
  const auto parsed = Parse(folder);
  if (!parsed) return BadPath(folder);
  ++m_listings[parsed->key];
  if (auto fault = m_failListing.find(parsed->key); fault != m_failListing.end()) {
    return fault->second;
  }
  if (auto fault = m_failFileListing.find(parsed->key);
      fault != m_failFileListing.end() && what != ListWhat::kFolders) {
    return fault->second;
  }
  Node* node = find(parsed->key);
  if (node == nullptr) return base::Status::fromErrno(ENOENT, folder);
  if (!node->folder) return base::Status::fromErrno(ENOTDIR, folder);
  if (opening) {
    if (m_replaceBeforeOpening.erase(parsed->key) != 0) node->serial = ++m_lastSerial;
    if (expected.known() && FileId{DeviceOf(parsed->key), node->serial} != expected) {
      return base::Status::notAFolder(folder + ": not the folder that was listed there");
    }
  }

  std::vector<std::string> vanished;
  for (const std::string& childKey : node->children) {
    const Node& child = *find(childKey);
    if (child.folder ? what == ListWhat::kFiles : what == ListWhat::kFolders) continue;
    if (m_vanishOnStat.erase(childKey) != 0) {
      vanished.push_back(childKey);
      continue;
    }
    if (auto fault = m_failStat.find(childKey); fault != m_failStat.end()) {
      out->problems.push_back(fault->second);
      continue;
    }
    DirEntry entry;
    entry.name = child.name;
    entry.kind = child.folder ? EntryKind::kFolder : EntryKind::kFile;
    entry.hidden = child.hidden;
    entry.system = child.system;
    if (child.folder) {
      entry.id = {DeviceOf(childKey), child.serial};
    } else {
      entry.size = child.data->size;
      entry.modified = child.data->modified;
    }
    out->entries.push_back(std::move(entry));
  }
  for (const std::string& key : vanished) erase(key);
  return base::Status::ok();
}

class MemoryFileSystem::Tree final : public FolderTree {
 public:
  Tree(MemoryFileSystem* fs, std::string root, FileId id)
      : m_fs(fs), m_root(std::move(root)), m_id(id) {}
  const std::string& root() const override { return m_root; }
  FileId rootId() const override { return m_id; }
  base::Status list(const std::string& folder, FileId expected, ListWhat what,
                    FolderListing* out) override {
    if (folder.size() > kMaxFolderPath) {
      out->entries.clear();
      out->problems.clear();
      return base::Status::invalidArgument(folder + ": path longer than 32,000 bytes");
    }
    std::lock_guard<std::mutex> lock(m_fs->m_mutex);
    return m_fs->listLocked(folder, what, out, /*opening=*/true, expected);
  }

 private:
  MemoryFileSystem* m_fs;
  std::string m_root;
  FileId m_id;
};

base::Result<std::unique_ptr<FolderTree>> MemoryFileSystem::openTree(const std::string& root) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(root);
  if (!parsed) return BadPath(root);
  if (auto fault = m_failListing.find(parsed->key); fault != m_failListing.end()) {
    return fault->second;
  }
  const Node* node = find(parsed->key);
  if (node == nullptr) return base::Status::fromErrno(ENOENT, root);
  if (!node->folder) return base::Status::fromErrno(ENOTDIR, root);
  std::string path = root;
  if (path.back() != '\\') path += '\\';
  return std::unique_ptr<FolderTree>(
      std::make_unique<Tree>(this, std::move(path), FileId{DeviceOf(parsed->key), node->serial}));
}

base::Result<FileId> MemoryFileSystem::folderId(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(path);
  if (!parsed) return BadPath(path);
  const Node* node = find(parsed->key);
  if (node == nullptr) return base::Status::fromErrno(ENOENT, path);
  if (!node->folder) return base::Status::notAFolder(path + ": not a folder");
  return FileId{DeviceOf(parsed->key), node->serial};
}

bool MemoryFileSystem::isOrdinaryFile(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(path);
  const Node* node = parsed ? find(parsed->key) : nullptr;
  return node != nullptr && !node->folder && !node->hidden && !node->system;
}

bool MemoryFileSystem::isFolder(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(path);
  const Node* node = parsed ? find(parsed->key) : nullptr;
  return node != nullptr && node->folder;
}

bool MemoryFileSystem::exists(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(path);
  return parsed && find(parsed->key) != nullptr;
}

base::Result<UnixSeconds> MemoryFileSystem::modificationTime(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(path);
  if (!parsed) return BadPath(path);
  if (auto fault = m_failStat.find(parsed->key); fault != m_failStat.end()) return fault->second;
  const Node* node = find(parsed->key);
  if (node == nullptr) return base::Status::fromErrno(ENOENT, path);
  return node->folder ? node->folderModified : node->data->modified;
}

base::Result<std::unique_ptr<SequentialFile>> MemoryFileSystem::openForReading(
    const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(path);
  if (!parsed) return BadPath(path);
  if (auto fault = m_failOpen.find(parsed->key); fault != m_failOpen.end()) return fault->second;
  const Node* node = find(parsed->key);
  if (node == nullptr) return base::Status::fromErrno(ENOENT, path);
  if (node->folder) return base::Status::fromErrno(EISDIR, path);  // as the POSIX file system
  return std::unique_ptr<SequentialFile>(
      std::make_unique<Reader>(node->data->contents, static_cast<std::uint64_t>(node->data->size)));
}

base::Result<std::unique_ptr<ReplacementFile>> MemoryFileSystem::openForReplacing(
    const std::string& path, Durability durability) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(path);
  if (!parsed) return BadPath(path);
  if (auto fault = m_failOpen.find(parsed->key); fault != m_failOpen.end()) return fault->second;
  const Node* node = find(parsed->key);
  if (node != nullptr && node->folder) return base::Status::fromErrno(EISDIR, path);
  auto parent = parentFolderKey(path, parsed->key);
  if (!parent.isOk()) return parent.status();
  if (base::Status s = writeStep(path + ": create temporary"); !s.isOk()) return s;

  std::string temporary =
      parsed->trimmed.substr(0, parsed->lastSeparator() + 1) +
      TemporaryName(parsed->name(), kProcessId, std::to_string(++m_temporaryCounter));
  const auto temporaryParsed = Parse(temporary);
  Node& created = insert(temporaryParsed->key, temporaryParsed->name(), false);
  m_liveTemporaries.insert(temporaryParsed->key);
  std::optional<std::uint64_t> limit;
  if (auto it = m_writeLimits.find(parsed->key); it != m_writeLimits.end()) limit = it->second;
  const bool failSync = durability == Durability::kSynced && m_failSync.contains(parsed->key);
  return std::unique_ptr<ReplacementFile>(std::make_unique<Replacement>(
      this, created.data, path, std::move(temporary), limit, failSync));
}

base::Status MemoryFileSystem::rename(const std::string& from, const std::string& to) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (base::Status s = writeStep(from + " -> " + to); !s.isOk()) return s;
  return renameLocked(from, to);
}

base::Status MemoryFileSystem::renameLocked(const std::string& from, const std::string& to) {
  const auto source = Parse(from);
  const auto target = Parse(to);
  if (!source) return BadPath(from);
  if (!target) return BadPath(to);
  if (m_failRename.contains(source->key) || m_failRename.contains(target->key)) {
    return base::Status::ioError(from + " -> " + to + ": rename failed");
  }
  Node* node = find(source->key);
  if (node == nullptr) return base::Status::fromErrno(ENOENT, from);
  if (source->key == target->key) {  // only the letter case changes
    node->name = target->name();
    return base::Status::ok();
  }
  if (source->isRoot() || IsBelow(target->key, source->key)) {
    return base::Status::invalidArgument(from + " -> " + to + ": cannot move a folder into itself");
  }
  auto parent = parentFolderKey(to, target->key);
  if (!parent.isOk()) return parent.status();
  if (const Node* existing = find(target->key); existing != nullptr) {
    if (existing->folder) return base::Status::fromErrno(EISDIR, to);
    if (node->folder) return base::Status::fromErrno(ENOTDIR, to);
    erase(target->key);
  }

  // Take the node and everything below it out of the tree, re-key it under `to`, and
  // hang it into its new parent.
  std::vector<std::pair<std::string, std::unique_ptr<Node>>> moved;
  for (auto it = m_nodes.begin(); it != m_nodes.end();) {
    if (it->first == source->key || IsBelow(it->first, source->key)) {
      moved.emplace_back(target->key + it->first.substr(source->key.size()), std::move(it->second));
      it = m_nodes.erase(it);
    } else {
      ++it;
    }
  }
  std::vector<std::string>& oldSiblings = find(source->parentKey())->children;
  oldSiblings.erase(std::find(oldSiblings.begin(), oldSiblings.end(), source->key));
  for (auto& [key, movedNode] : moved) {
    for (std::string& child : movedNode->children) {
      child = target->key + child.substr(source->key.size());
    }
    if (key == target->key) movedNode->name = target->name();
    m_nodes[key] = std::move(movedNode);
  }
  find(parent.value())->children.push_back(target->key);
  return base::Status::ok();
}

base::Status MemoryFileSystem::remove(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(path);
  if (!parsed) return BadPath(path);
  const Node* node = find(parsed->key);
  if (node == nullptr) return base::Status::fromErrno(ENOENT, path);
  if (node->folder) return base::Status::fromErrno(EISDIR, path);
  erase(parsed->key);
  return base::Status::ok();
}

void MemoryFileSystem::removeStaleTemporaries(const std::string& folder) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(folder);
  const Node* node = parsed ? find(parsed->key) : nullptr;
  if (node == nullptr || !node->folder) return;
  std::vector<std::string> stale;
  for (const std::string& key : node->children) {
    const Node& child = *find(key);
    if (!child.folder && IsTemporaryName(child.name) && !m_liveTemporaries.contains(key)) {
      stale.push_back(key);
    }
  }
  for (const std::string& key : stale) erase(key);
}

namespace {

class MemoryGuardedFolder final : public GuardedFolder {
 public:
  explicit MemoryGuardedFolder(std::string path) : m_path(std::move(path)) {}
  const std::string& path() const override { return m_path; }

 private:
  std::string m_path;
};

}  // namespace

base::Result<std::unique_ptr<GuardedFolder>> MemoryFileSystem::openGuardedFolder(
    const std::string& programFolder, std::string_view name) {
  std::string path = programFolder;
  if (path.empty() || path.back() != '\\') path += '\\';
  path.append(name);
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto parsed = Parse(path);
    if (!parsed) return BadPath(path);
    if (auto fault = m_failOpen.find(parsed->key); fault != m_failOpen.end()) return fault->second;
  }
  if (base::Status s = createFolders(path); !s.isOk()) return s;
  return std::unique_ptr<GuardedFolder>(std::make_unique<MemoryGuardedFolder>(path + "\\"));
}

base::Result<std::string> MemoryFileSystem::realFolderPath(const std::string& folder) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(folder);
  if (!parsed) return BadPath(folder);
  const Node* node = find(parsed->key);
  if (node == nullptr || !node->folder) return base::Status::notAFolder(folder + ": not a folder");
  return parsed->trimmed + "\\";
}

base::Result<std::unique_ptr<FileLock>> MemoryFileSystem::tryLockFile(const std::string& path,
                                                                      std::string_view holder,
                                                                      std::string* currentHolder) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(path);
  if (!parsed) return BadPath(path);
  if (base::Status s = writeStep(path + ": lock"); !s.isOk()) return s;
  if (auto other = m_otherLocks.find(parsed->key); other != m_otherLocks.end()) {
    if (currentHolder != nullptr) *currentHolder = other->second;
    return base::Status::busy(path + ": locked by another process");
  }
  Node* node = find(parsed->key);
  if (node != nullptr && node->folder)
    return base::Status::invalidArgument(path + ": not a lock file");
  if (node == nullptr) {
    auto parent = parentFolderKey(path, parsed->key);
    if (!parent.isOk()) return parent.status();
    node = &insert(parsed->key, parsed->name(), false);
  }
  if (m_heldLocks[parsed->key]++ == 0) {
    node->data->contents.assign(holder);
    node->data->size = static_cast<std::int64_t>(holder.size());
    node->data->modified = m_now;
  }
  return std::unique_ptr<FileLock>(std::make_unique<Lock>(this, parsed->key));
}

std::vector<std::string> MemoryFileSystem::recycleBinFolders(const std::string& driveRoot) {
  std::string root = driveRoot;
  if (root.empty() || root.back() != '\\') root += '\\';
  return {root + "RECYCLED\\"};
}

std::vector<std::string> MemoryFileSystem::trashFolders(const std::string& driveRoot) {
  return recycleBinFolders(driveRoot);
}

std::string MemoryFileSystem::mustBeKey(const std::string& path) const {
  const auto parsed = Parse(path);
  if (!parsed) Fail(path + ": not a path of the form C:\\folder\\name");
  return parsed->key;
}

void MemoryFileSystem::addFolder(const std::string& path) {
  if (base::Status s = createFoldersQuietly(path); !s.isOk()) Fail(s.toString());
}

void MemoryFileSystem::addFile(const std::string& path, std::int64_t size, UnixSeconds modified,
                               std::string contents) {
  const auto parsed = Parse(path);
  if (!parsed || parsed->isRoot()) Fail(path + ": not a path of the form C:\\folder\\name");
  if (static_cast<std::int64_t>(contents.size()) > size) Fail(path + ": contents beyond size");
  addFolder(parsed->trimmed.substr(0, parsed->lastSeparator()));
  std::lock_guard<std::mutex> lock(m_mutex);
  Node* node = find(parsed->key);
  if (node != nullptr && node->folder) Fail(path + ": is a folder");
  if (node == nullptr) node = &insert(parsed->key, parsed->name(), false);
  node->data = std::make_shared<FileData>(FileData{std::move(contents), size, modified});
}

void MemoryFileSystem::addTextFile(const std::string& path, std::string contents) {
  UnixSeconds now = 0;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    now = m_now;
  }
  const auto size = static_cast<std::int64_t>(contents.size());
  addFile(path, size, now, std::move(contents));
}

void MemoryFileSystem::setHidden(const std::string& path, bool hidden) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Node* node = find(mustBeKey(path));
  if (node == nullptr) Fail(path + ": no such entry");
  node->hidden = hidden;
}

void MemoryFileSystem::setSystem(const std::string& path, bool system) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Node* node = find(mustBeKey(path));
  if (node == nullptr) Fail(path + ": no such entry");
  node->system = system;
}

void MemoryFileSystem::setNow(UnixSeconds now) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_now = now;
}

std::optional<std::string> MemoryFileSystem::contents(const std::string& path) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto parsed = Parse(path);
  const Node* node = parsed ? find(parsed->key) : nullptr;
  if (node == nullptr || node->folder) return std::nullopt;
  return node->data->contents;
}

int MemoryFileSystem::listings(const std::string& folder) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto found = m_listings.find(mustBeKey(folder));
  return found == m_listings.end() ? 0 : found->second;
}

namespace {

// Scratch space that fails, like a full disk, once it would hold more than its limit.
class LimitedScratch final : public ScratchFile {
 public:
  LimitedScratch(std::unique_ptr<ScratchFile> inner, std::uint64_t limit)
      : m_inner(std::move(inner)), m_limit(limit) {}
  base::Status append(std::string_view data) override {
    if (m_status.isOk() && data.size() > m_limit - m_held) {
      m_status = base::Status::ioError("scratch space: disk full");
    }
    if (m_status.isOk()) m_status = m_inner->append(data);
    m_held += data.size();
    return m_status;
  }
  base::Status readAt(std::uint64_t offset, std::size_t n, char* out) const override {
    return m_inner->readAt(offset, n, out);
  }

 private:
  const std::unique_ptr<ScratchFile> m_inner;
  const std::uint64_t m_limit;
  std::uint64_t m_held = 0;
  base::Status m_status;
};

}  // namespace

std::unique_ptr<ScratchFile> MemoryFileSystem::openScratch() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_denyScratch) return nullptr;
  if (m_scratchLimit) {
    return std::make_unique<LimitedScratch>(FileSystem::openScratch(), *m_scratchLimit);
  }
  return FileSystem::openScratch();
}

void MemoryFileSystem::denyScratch() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_denyScratch = true;
}

void MemoryFileSystem::failScratchAfter(std::uint64_t byteCount) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_scratchLimit = byteCount;
}

std::vector<std::string> MemoryFileSystem::namesIn(const std::string& folder) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<std::string> names;
  const auto parsed = Parse(folder);
  const Node* node = parsed ? find(parsed->key) : nullptr;
  if (node == nullptr) return names;
  for (const std::string& key : node->children) names.push_back(find(key)->name);
  return names;
}

void MemoryFileSystem::failListing(const std::string& folder, base::Status status) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_failListing[mustBeKey(folder)] = std::move(status);
}

void MemoryFileSystem::failFileListing(const std::string& folder, base::Status status) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_failFileListing[mustBeKey(folder)] = std::move(status);
}

void MemoryFileSystem::replaceFolderBeforeOpening(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_replaceBeforeOpening.insert(mustBeKey(path));
}

void MemoryFileSystem::vanishOnStat(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_vanishOnStat.insert(mustBeKey(path));
}

void MemoryFileSystem::failStat(const std::string& path, base::Status status) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_failStat[mustBeKey(path)] = std::move(status);
}

void MemoryFileSystem::failWritesAfter(const std::string& path, std::uint64_t byteCount) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_writeLimits[mustBeKey(path)] = byteCount;
}

void MemoryFileSystem::failSync(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_failSync.insert(mustBeKey(path));
}

void MemoryFileSystem::failRename(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_failRename.insert(mustBeKey(path));
}

void MemoryFileSystem::failOpen(const std::string& path, base::Status status) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_failOpen[mustBeKey(path)] = std::move(status);
}

void MemoryFileSystem::holdLockElsewhere(const std::string& path, std::string holder) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_otherLocks[mustBeKey(path)] = std::move(holder);
}

std::uint64_t MemoryFileSystem::writeSteps() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_writeSteps;
}

void MemoryFileSystem::failWriteStep(std::uint64_t stepsFromNow) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_failingStep = stepsFromNow == 0 ? 0 : m_writeSteps + stepsFromNow;
}

void MemoryFileSystem::clearFaults() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_failListing.clear();
  m_failFileListing.clear();
  m_replaceBeforeOpening.clear();
  m_denyScratch = false;
  m_scratchLimit.reset();
  m_vanishOnStat.clear();
  m_failStat.clear();
  m_writeLimits.clear();
  m_failSync.clear();
  m_failRename.clear();
  m_failOpen.clear();
  m_otherLocks.clear();
  m_failingStep = 0;
}

}  // namespace platform
