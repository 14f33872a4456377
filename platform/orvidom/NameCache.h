// The names a parser has met, by their bytes. Internal to the DOM layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "orvidom/ORVIDOM_Store.h"

namespace orvidom {

// Most names of a document are a few names written again and again: the parser asks this cache
// for each, which answers from the name's bytes with a few loads and a compare, and asks the
// document's pool only on a miss.
class NameCache {
 public:
  static constexpr std::size_t kLongest = 16;

  // The document's string for the `size` bytes at `name` (1 to kLongest), which may be read
  // eight bytes past their end.
  [[gnu::always_inline]] TextRef find(const char* name, std::size_t size, ORVIDOM_Store& store) {
    const Key key = keyOf(name, size);
    Slot& slot = m_slots[key.slot()];
    if (slot.key == key) return slot.ref;
    return miss(slot, key, std::string_view(name, size), store);
  }

 private:
  static constexpr int kBits = 8;

  struct Slot;

  struct Key {
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    std::size_t size = 0;  // 0: an empty slot

    bool operator==(const Key& other) const noexcept {
      return head == other.head && tail == other.tail && size == other.size;
    }
    std::size_t slot() const noexcept {
      const std::uint64_t mixed = (head ^ (tail * 0x9E3779B97F4A7C15u)) + size;
      return static_cast<std::size_t>((mixed * 0xC2B2AE3D27D4EB4Fu) >> (64 - kBits));
    }
  };
  // Up to eight bytes give the head, the rest the tail; the bytes past the name are left out.
  static Key keyOf(const char* name, std::size_t size) noexcept {
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    if (size < 8) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
      std::memcpy(&head, name, 8);
      head &= (std::uint64_t{1} << (8 * size)) - 1;
#else
      std::memcpy(&head, name, size);
#endif
    } else {
      std::memcpy(&head, name, 8);
      std::memcpy(&tail, name + size - 8, 8);
    }
    return {head, tail, size};
  }

  [[gnu::noinline]] static TextRef miss(Slot& slot, const Key& key, std::string_view name,
                                        ORVIDOM_Store& store) {
    slot.key = key;
    slot.ref = store.poolName(name);
    return slot.ref;
  }

  struct Slot {
    Key key;
    TextRef ref = 0;
  };
  Slot m_slots[std::size_t{1} << kBits];
};

}  // namespace orvidom
