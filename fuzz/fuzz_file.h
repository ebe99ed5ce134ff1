#pragma once
// The readers take paths, so every fuzz target hands its input over as an in-memory file that
// lives as long as the process and is rewritten for each input.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <string>

namespace sx::fuzz {

class MemoryFile {
 public:
  explicit MemoryFile(const char* name) : fd_(memfd_create(name, 0)) {
    if (fd_ >= 0) path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  bool ok() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }
  // Replaces the file's content; false when that failed (the input is then skipped).
  bool Put(const void* data, std::size_t size) const {
    if (data == nullptr) data = "";
    return fd_ >= 0 && ftruncate(fd_, 0) == 0 &&
           pwrite(fd_, data, size, 0) == static_cast<ssize_t>(size);
  }

 private:
  int fd_;
  std::string path_;
};

}  // namespace sx::fuzz
