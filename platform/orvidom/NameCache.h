// The names a parser has met, by their bytes. Internal to the DOM layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
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

  // A cache for an input of `inputSize` bytes. A small input holds few names: its cache clears
  // only as many slots as it may fill, a large part of what a parse of a few hundred bytes costs.
  explicit NameCache(std::size_t inputSize) {
    int bits = kMinBits;
    while (bits < kMaxBits && (std::size_t{64} << bits) < inputSize) ++bits;
    m_shift = 64 - bits;
    std::memset(static_cast<void*>(m_slots), 0, sizeof(Slot) << bits);
  }

  // The document's string for the `size` bytes at `name` (1 to kLongest), which may be read
  // eight bytes past their end. Where the cache has none, `copy()` gives it when the name's slot
  // is free, as no name of the parse has taken it, so that this is the name's first; and
  // `pool(std::string_view)` when another name holds the slot, so that a name met again after
  // it is shares its first copy.
  template <class Copy, class Pool>
  [[gnu::always_inline]] TextRef find(const char* name, std::size_t size, Copy copy, Pool pool) {
    const NameKey key = NameKey::of(name, size);
    const std::uint64_t mixed = (key.head ^ (key.tail * 0x9E3779B97F4A7C15u)) + key.size;
    Slot& slot = m_slots[(mixed * 0xC2B2AE3D27D4EB4Fu) >> m_shift];
    if (slot.head == key.head && slot.tail == key.tail && slot.size == key.size) return slot.ref;
    const TextRef ref = slot.size == 0 ? copy() : pool(std::string_view(name, size));
    slot = {key.head, key.tail, key.size, ref};
    return ref;
  }

 private:
  static constexpr int kMinBits = 4;
  static constexpr int kMaxBits = 8;

  // A name's key and string; size 0, which no name has, for none. Left uncleared where unused.
  struct Slot {
    std::uint64_t head;
    std::uint64_t tail;
    std::size_t size;
    TextRef ref;
  };
  int m_shift;
  Slot m_slots[std::size_t{1} << kMaxBits];
};

}  // namespace orvidom
