// The names a parser has met, by their bytes. Internal to the DOM layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "orvidom/NameKey.h"
#include "orvidom/StringSpace.h"

namespace orvidom {

// Most names of a document are a few names written again and again: the parser asks this cache
// for each, which answers from the name's bytes with a few loads and a compare, and asks the
// document's pool only on a miss.
class NameCache {
 public:
  static constexpr std::size_t kLongest = NameKey::kLongest;

  // The document's string for the `size` bytes at `name` (1 to kLongest), which may be read
  // eight bytes past their end; `pool(std::string_view)` gives it where the cache has none.
  template <class Pool>
  [[gnu::always_inline]] TextRef find(const char* name, std::size_t size, Pool pool) {
    const NameKey key = NameKey::of(name, size);
    Slot& slot = m_slots[slotOf(key)];
    if (slot.key == key) return slot.ref;
    slot.key = key;
    slot.ref = pool(std::string_view(name, size));
    return slot.ref;
  }

 private:
  static constexpr int kBits = 8;

  struct Slot;

  // The slot of `key` in the table.
  static std::size_t slotOf(const NameKey& key) noexcept {
    const std::uint64_t mixed = (key.head ^ (key.tail * 0x9E3779B97F4A7C15u)) + key.size;
    return static_cast<std::size_t>((mixed * 0xC2B2AE3D27D4EB4Fu) >> (64 - kBits));
  }

  struct Slot {
    NameKey key;
    TextRef ref = 0;
  };
  Slot m_slots[std::size_t{1} << kBits];
};

}  // namespace orvidom
