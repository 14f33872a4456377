// A short name of the input as two words and a length, for comparing names a few loads at a time.
// Internal to the DOM layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "orvidom/XmlChars.h"

namespace orvidom {

// A name of 1 to kLongest bytes: up to eight bytes give the head, the last eight of a longer one
// the tail; the bytes past the name are left out. Size 0 stands for no name.
struct NameKey {
  static constexpr std::size_t kLongest = 16;

  std::uint64_t head = 0;
  std::uint64_t tail = 0;
  std::size_t size = 0;

  // The key of the `size` bytes at `name`, which may be read eight bytes past their end.
  static NameKey of(const char* name, std::size_t size) noexcept {
    if (size >= 8) return {loadWord(name), loadWord(name + size - 8), size};
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    return {loadWord(name) & ((std::uint64_t{1} << (8 * size)) - 1), 0, size};
#else
    std::uint64_t head = 0;
    std::memcpy(&head, name, size);
    return {head, 0, size};
#endif
  }

  bool operator==(const NameKey& other) const noexcept {
    return head == other.head && tail == other.tail && size == other.size;
  }
};

}  // namespace orvidom
