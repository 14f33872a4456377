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
    if (m_table) {
      // The first slot looked at is the name's own in all but a few cases.
      const Slot& slot = m_table->slots[key.slot()];
      if (slot.key == key) return slot.copy;
    }
    return search(key, name, strings);
  }

 private:
  static constexpr std::size_t kLongest = 16;
  // Room for the few dozen names a document is made with, in one table made at the first name:
  // a table grown from a few slots as a document's elements are made cleared and filled each
  // size in turn, a tenth of the time of making a small command.
  static constexpr int kBits = 7;
  static constexpr std::size_t kSlots = std::size_t{1} << kBits;

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
    // The first slot of the key.
    std::size_t slot() const noexcept {
      const std::uint64_t mixed = (head * 0x9E3779B97F4A7C15u) ^ tail ^ length;
      return static_cast<std::size_t>((mixed * 0xC2B2AE3D27D4EB4Fu) >> (64 - kBits));
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

  struct Table {
    Slot slots[kSlots];
    std::size_t used = 0;
  };

  // What find() gives when the name is not in the first slot it looks at.
  TextRef search(const Key& key, std::string_view name, StringSpace& strings) {
    if (!m_table) m_table = std::make_unique<Table>();
    for (std::size_t i = key.slot();; i = (i + 1) % kSlots) {
      Slot& slot = m_table->slots[i];
      if (slot.key == key) return slot.copy;
      if (slot.key.length != 0) continue;
      // Half full at most, so that a free slot ends every search soon.
      if (m_table->used == kSlots / 2) return 0;
      slot.copy = strings.add(name);
      slot.key = key;
      ++m_table->used;
      return slot.copy;
    }
  }

  std::unique_ptr<Table> m_table;
};

}  // namespace orvidom
