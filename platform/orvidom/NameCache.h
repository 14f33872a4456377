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
// document's pool only on a miss. Slots go in pairs, the name added last first: two frequent names
// that fall on one place (one document of ten names in two, in a cache of 64 places) then both
// stay, where each took the other's place and went to the pool on every element.
class NameCache {
 public:
  static constexpr std::size_t kLongest = NameKey::kLongest;

  // A cache for an input of `inputSize` bytes. A small input holds few names: its cache clears
  // a pair for every 256 bytes (a few tags), a large part of what a parse of a few kilobytes
  // costs where it cleared them all, but never fewer than 32 pairs: with 16, the dozen names of
  // a response of a few kilobytes put three in one pair in most documents, and each of those
  // then made the pool's table (two kilobytes, cleared) for that one name.
  explicit NameCache(std::size_t inputSize) {
    int bits = kMinBits;
    while (bits < kMaxBits && (std::size_t{256} << bits) < inputSize) ++bits;
    m_shift = 64 - bits;
    std::memset(static_cast<void*>(m_pairs), 0, sizeof(Pair) << bits);
  }

  // The document's string for the `size` bytes at `name` (1 to kLongest), which may be read
  // eight bytes past their end. Where the cache has none, `copy()` gives it while no name has
  // left the name's pair, as this is then the name's first element; `pool(std::string_view)`
  // once one may have, so that a name met again after it left shares its first copy.
  template <class Copy, class Pool>
  [[gnu::always_inline]] TextRef find(const char* name, std::size_t size, Copy copy, Pool pool) {
    const NameKey key = NameKey::of(name, size);
    const std::uint64_t mixed = (key.head ^ (key.tail * 0x9E3779B97F4A7C15u)) + key.size;
    Pair& pair = m_pairs[(mixed * 0xC2B2AE3D27D4EB4Fu) >> m_shift];
    if (pair.last.holds(key)) return pair.last.ref;
    if (pair.before.holds(key)) return pair.before.ref;
    // The slot before is free until the pair is full, and a name leaves the pair after that.
    const TextRef ref = pair.before.size == 0 ? copy() : pool(std::string_view(name, size));
    pair.before = pair.last;
    pair.last = {key.head, key.tail, key.size, ref};
    return ref;
  }

 private:
  static constexpr int kMinBits = 5;
  static constexpr int kMaxBits = 8;

  // A name's key and string; size 0, which no name has, for none. Left uncleared where unused.
  struct Slot {
    std::uint64_t head;
    std::uint64_t tail;
    std::size_t size;
    TextRef ref;

    bool holds(const NameKey& key) const noexcept {
      return head == key.head && tail == key.tail && size == key.size;
    }
  };
  // The name added last to the pair, and the one before it.
  struct Pair {
    Slot last;
    Slot before;
  };
  int m_shift;
  Pair m_pairs[std::size_t{1} << kMaxBits];
};

}  // namespace orvidom
