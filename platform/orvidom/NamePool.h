// One copy of each short name a document's elements are made with. Internal to the DOM layer.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "orvidom/StringSpace.h"

namespace orvidom {

// Copying a name costs as much as the rest of making an element, and the names the library makes
// elements with come from its vocabulary, a few per document: each is copied once, and its
// elements share the copy.
class NamePool {
 public:
  // The pool's copy of `name` in `strings`, made at its first use; 0 for a name longer than the
  // pool keeps, or once the pool holds as many names as it takes (the caller then copies the
  // name itself), which keeps every search short.
  TextRef find(std::string_view name, StringSpace& strings) {
    // Unsigned, so that an empty name wraps around to a long one.
    if (name.size() - 1 >= kLongest) return 0;
    const Key key = keyOf(name.data(), name.size());
    if (m_slots) {
      // The first slot looked at is the name's own in all but a few cases.
      const Slot& slot = m_slots[key.slot(m_bits)];
      if (slot.key == key) return slot.copy;
    }
    return search(key, name, strings);
  }

 private:
  static constexpr std::size_t kLongest = 16;
  // The table starts with room for a dozen names or so, as most documents have, and doubles up
  // to kMostBits: a search stays short, and a document of few names clears few slots.
  static constexpr int kFirstBits = 5;
  static constexpr int kMostBits = 7;

  // A name of one to kLongest bytes as words that tell it from every other such name: its length
  // and its first and last eight bytes, or four, or its first, middle and last byte (which
  // overlap when the name is shorter than both).
  struct Key {
    std::uint64_t head;
    std::uint64_t tail;
    std::size_t length;

    bool operator==(const Key& other) const noexcept {
      return head == other.head && tail == other.tail && length == other.length;
    }
    // The first slot of the key in a table of 2^bits slots.
    std::size_t slot(int bits) const noexcept {
      const std::uint64_t mixed = (head * 0x9E3779B97F4A7C15u) ^ tail ^ length;
      return static_cast<std::size_t>((mixed * 0xC2B2AE3D27D4EB4Fu) >> (64 - bits));
    }
  };
  template <std::size_t bytes>
  static std::uint64_t load(const char* at) noexcept {
    std::uint64_t word = 0;
    std::memcpy(&word, at, bytes);
    return word;
  }
  static Key keyOf(const char* s, std::size_t n) noexcept {
    if (n >= 8) return {load<8>(s), load<8>(s + n - 8), n};
    if (n >= 4) return {load<4>(s), load<4>(s + n - 4), n};
    return {load<1>(s) | load<1>(s + n / 2) << 8, load<1>(s + n - 1), n};
  }

  struct Slot {
    Key key{};  // length 0: a free slot
    TextRef copy = 0;
  };

  // What find() gives when the name is not in the first slot it looks at.
  TextRef search(const Key& key, std::string_view name, StringSpace& strings) {
    if (!m_slots) resize(kFirstBits);
    const std::size_t mask = (std::size_t{1} << m_bits) - 1;
    for (std::size_t i = key.slot(m_bits);; i = (i + 1) & mask) {
      Slot& slot = m_slots[i];
      if (slot.key == key) return slot.copy;
      if (slot.key.length != 0) continue;
      // Half full at most, so that a free slot ends every search soon.
      if (2 * m_used == mask + 1) {
        if (m_bits == kMostBits) return 0;
        resize(m_bits + 1);
        return search(key, name, strings);
      }
      slot.copy = strings.add(name);
      slot.key = key;
      ++m_used;
      return slot.copy;
    }
  }

  // Makes the table 2^bits slots, placing each name anew.
  void resize(int bits) {
    const std::unique_ptr<Slot[]> old = std::move(m_slots);
    const std::size_t oldCount = old ? std::size_t{1} << m_bits : 0;
    m_bits = bits;
    m_slots.reset(new Slot[std::size_t{1} << bits]);
    const std::size_t mask = (std::size_t{1} << bits) - 1;
    for (std::size_t from = 0; from < oldCount; ++from) {
      if (old[from].key.length == 0) continue;
      std::size_t i = old[from].key.slot(bits);
      while (m_slots[i].key.length != 0) i = (i + 1) & mask;
      m_slots[i] = old[from];
    }
  }

  std::unique_ptr<Slot[]> m_slots;
  int m_bits = 0;
  std::size_t m_used = 0;
};

}  // namespace orvidom
