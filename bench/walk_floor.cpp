// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The floor of a scan: the least a program must do to learn every file's size and time.
// Exactly two threads take folders from one shared stack, read each folder once with
// getdents64 and fstatat every entry; folders found go back on the stack. No sorting, no
// formatting, no output but a count. bench/profile_bench.py times it beside the profile.
//
//   walk_floor ROOT
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kBufferSize = 128 * 1024;

class Walk {
 public:
  explicit Walk(std::string root) { m_stack.push_back(std::move(root)); }

  void run() {
    std::thread other([this] { work(); });
    work();
    other.join();
  }

  std::uint64_t entries() const { return m_entries.load(); }
  std::uint64_t folders() const { return m_folders.load(); }

 private:
  void work() {
    std::unique_ptr<char[]> buffer(new char[kBufferSize]);
    std::vector<std::string> found;
    std::uint64_t entries = 0;
    std::uint64_t folders = 0;
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
      m_wake.wait(lock, [this] { return !m_stack.empty() || m_busy == 0; });
      if (m_stack.empty()) break;
      std::string folder = std::move(m_stack.back());
      m_stack.pop_back();
      ++m_busy;
      lock.unlock();

      found.clear();
      ++folders;
      const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (fd >= 0) {
        for (;;) {
          const long got = ::getdents64(fd, buffer.get(), kBufferSize);
          if (got <= 0) break;
          for (long pos = 0; pos < got;) {
            const auto* ent = reinterpret_cast<const dirent64*>(buffer.get() + pos);
            pos += ent->d_reclen;
            const char* name = ent->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
              continue;
            }
            struct stat st {};
            if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
            ++entries;
            if (S_ISDIR(st.st_mode)) found.push_back(folder + name + "/");
          }
        }
        ::close(fd);
      }

      lock.lock();
      --m_busy;
      for (std::string& child : found) m_stack.push_back(std::move(child));
      if (!found.empty() || m_busy == 0) m_wake.notify_all();
    }
    m_entries += entries;
    m_folders += folders;
  }

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::vector<std::string> m_stack;
  int m_busy = 0;
  std::atomic<std::uint64_t> m_entries{0};
  std::atomic<std::uint64_t> m_folders{0};
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: walk_floor ROOT\n");
    return 2;
  }
  std::string root = argv[1];
  if (root.empty() || root.back() != '/') root += '/';
  Walk walk(root);
  walk.run();
  std::fprintf(stderr, "%llu entries in %llu folders\n",
               static_cast<unsigned long long>(walk.entries()),
               static_cast<unsigned long long>(walk.folders()));
  return 0;
}
