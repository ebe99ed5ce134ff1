#pragma once
// A table allocated once, zero-filled, with a fixed number of records. The storage comes from
// calloc so that a large budget costs address space, not start-up time: the system hands out
// zeroed pages only as they are touched. Records must be valid when all bytes are zero.

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <type_traits>

namespace sx {

template <typename T>
class Table {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                "table records must be plain data");

 public:
  Table() = default;

  // Allocates count zeroed records; returns false (and holds nothing) when that fails.
  bool Allocate(std::size_t count) {
    storage_.reset();
    count_ = 0;
    if (count == 0) return false;
    void* p = std::calloc(count, sizeof(T));
    if (p == nullptr) return false;
    storage_.reset(static_cast<T*>(p));
    count_ = count;
    return true;
  }

  std::size_t size() const { return count_; }
  bool allocated() const { return storage_ != nullptr; }
  T* data() { return storage_.get(); }
  const T* data() const { return storage_.get(); }
  T& operator[](std::size_t i) { return storage_.get()[i]; }
  const T& operator[](std::size_t i) const { return storage_.get()[i]; }

 private:
  struct Free {
    void operator()(T* p) const { std::free(p); }
  };
  std::unique_ptr<T, Free> storage_;
  std::size_t count_ = 0;
};

}  // namespace sx
