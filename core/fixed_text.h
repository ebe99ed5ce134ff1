#pragma once
// Fixed-capacity text field of a table record. The capacity counts characters, not bytes:
// internal text is UTF-8, so a field of N characters keeps room for 4 * N bytes. Records that
// hold such fields stay trivially copyable and are valid when zero-filled (empty text), so the
// big tables can be allocated zeroed once and never touch the heap again.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/utf8.h"

namespace sx {

template <std::size_t N>
struct FixedText {
  static constexpr std::size_t kCharacters = N;
  static constexpr std::size_t kBytes = 4 * N;

  char bytes[kBytes + 1];
  std::uint16_t length;

  // Keeps at most N characters of text, cut at a character boundary.
  void assign(std::string_view text) {
    const std::size_t n = Utf8PrefixBytes(text, N);
    std::memcpy(bytes, text.data(), n);
    length = static_cast<std::uint16_t>(n);
    bytes[n] = '\0';
  }
  // Appends as much of text as still fits in N characters.
  void append(std::string_view text) {
    const std::size_t used = Utf8Length(view());
    if (used >= N) return;
    const std::size_t n = Utf8PrefixBytes(text, N - used);
    std::memcpy(bytes + length, text.data(), n);
    length = static_cast<std::uint16_t>(length + n);
    bytes[length] = '\0';
  }
  // Ends the text at a byte offset that lies on a character boundary.
  void truncate(std::size_t byteOffset) {
    if (byteOffset >= length) return;
    length = static_cast<std::uint16_t>(byteOffset);
    bytes[length] = '\0';
  }
  void clear() {
    length = 0;
    bytes[0] = '\0';
  }

  std::string_view view() const { return std::string_view(bytes, length); }
  std::string str() const { return std::string(view()); }
  const char* c_str() const { return bytes; }
  bool empty() const { return length == 0; }
  std::size_t size() const { return length; }
  bool operator==(std::string_view other) const { return view() == other; }
};

}  // namespace sx
