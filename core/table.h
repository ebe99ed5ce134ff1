#pragma once
// A table allocated once, zero-filled, with a fixed number of records. The storage comes from
// the system as fresh zeroed pages, so that a large budget costs address space, not start-up
// time: pages are handed out only as they are touched. The page size is left to the system:
// asking for huge pages made the first fill slower whenever the system had to gather them
// anew, and small pages are faulted in by the two reader threads side by side. Records must be
// valid when all bytes are zero.

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <type_traits>
#include <utility>

namespace sx {

template <typename T>
class Table {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                "table records must be plain data");

 public:
  Table() = default;
  ~Table() { Release(); }
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;
  Table(Table&& other) noexcept { *this = std::move(other); }
  Table& operator=(Table&& other) noexcept {
    if (this != &other) {
      Release();
      std::swap(storage_, other.storage_);
      std::swap(count_, other.count_);
      std::swap(bytes_, other.bytes_);
      std::swap(mapped_, other.mapped_);
    }
    return *this;
  }

  // Allocates count zeroed records; returns false (and holds nothing) when that fails.
  bool Allocate(std::size_t count) {
    Release();
    if (count == 0 || count > static_cast<std::size_t>(-1) / sizeof(T)) return false;
    const std::size_t bytes = count * sizeof(T);
    if (bytes >= kMapThreshold) {
      void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (p == MAP_FAILED) return false;
      mapped_ = true;
      storage_ = static_cast<T*>(p);
    } else {
      storage_ = static_cast<T*>(std::calloc(count, sizeof(T)));
      if (storage_ == nullptr) return false;
      mapped_ = false;
    }
    count_ = count;
    bytes_ = bytes;
    return true;
  }

  std::size_t size() const { return count_; }
  bool allocated() const { return storage_ != nullptr; }
  T* data() { return storage_; }
  const T* data() const { return storage_; }
  T& operator[](std::size_t i) { return storage_[i]; }
  const T& operator[](std::size_t i) const { return storage_[i]; }

 private:
  static constexpr std::size_t kMapThreshold = std::size_t{4} << 20;

  void Release() {
    if (storage_ != nullptr) {
      if (mapped_) {
        munmap(storage_, bytes_);
      } else {
        std::free(storage_);
      }
    }
    storage_ = nullptr;
    count_ = bytes_ = 0;
    mapped_ = false;
  }

  T* storage_ = nullptr;
  std::size_t count_ = 0;
  std::size_t bytes_ = 0;
  bool mapped_ = false;
};

}  // namespace sx
