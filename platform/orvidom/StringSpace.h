// The names and values of a document, each a zero-terminated string reached by a 32-bit number.
// Internal to the DOM layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace orvidom {

// A string of a document's StringSpace; 0 is the empty string.
using TextRef = std::uint32_t;

// One space of 2^32 bytes numbered from 0, laid over blocks of strings. The space is cut into pages
// of 64 KiB; a string's number is its place in the space, so that a record holds four bytes instead
// of a pointer, and the page table turns it into an address with one load and one add. Strings are
// never changed nor freed before the space: a new value is a new string, so that records may
// share a string and a removed node keeps reading its own.
class StringSpace {
 public:
  static constexpr int kPageBits = 16;
  // A space with no input: string 0 is the empty string of a first small block.
  StringSpace();
  // A space whose strings start in `block` of `size` bytes, aligned to eight, which the space's
  // owner allocated with other things of its own and frees after the space.
  StringSpace(char* block, std::size_t size) : StringSpace() { useBlock(block, size); }
  ~StringSpace();
  StringSpace(const StringSpace&) = delete;
  StringSpace& operator=(const StringSpace&) = delete;

  // `size` rounded up to a multiple of eight: room that keeps what follows it aligned as a block's
  // strings are, whose writer reads whole aligned words.
  static constexpr std::size_t aligned(std::size_t size) noexcept {
    return (size + 7) & ~std::size_t{7};
  }

  // The address of string `ref`.
  const char* at(TextRef ref) const noexcept {
    return reinterpret_cast<const char*>(m_bias[ref >> kPageBits] + ref);
  }
  // The number of a copy of `text`, which must hold no zero byte.
  TextRef add(std::string_view text);

  // A string written in place: room() gives where it starts, with at least `size` bytes of
  // room up to `limit`; grow() moves the `used` bytes written so far to a block with room for
  // `size` more when the room runs out; commit() ends the string at `end` (it writes the zero)
  // and gives its number. Nothing else is added between room() and commit().
  char* room(std::size_t size, char*& limit) {
    if (size > static_cast<std::size_t>(m_limit - m_next)) newBlock(size);
    limit = m_limit;
    return m_next;
  }
  char* grow(const char* start, std::size_t used, std::size_t size, char*& limit);
  // For a writer of many strings in a row, which keeps the room's ends in fields of its own,
  // where the compiler need not load them again after each byte written: the room after the
  // last string, from `next` to `limit`, where a string is numbered by its address less `bias`.
  // The writer ends each string with a zero, and gives back where it stopped (release) before
  // anything else adds to the space, taking the room again (claim) after.
  struct Room {
    char* next;
    char* limit;
    std::uintptr_t bias;

    TextRef number(const char* string) const noexcept {
      return static_cast<TextRef>(reinterpret_cast<std::uintptr_t>(string) - bias);
    }
  };
  Room claim() const noexcept { return {m_next, m_limit, m_blockBias}; }
  void release(char* next) noexcept { m_next = next; }

  TextRef commit(char* end) {
    *end = '\0';
    const auto ref = static_cast<TextRef>(reinterpret_cast<std::uintptr_t>(m_next) - m_blockBias);
    m_next = end + 1;
    return ref;
  }

 private:
  // Maps the pages from the space's end on to `block`, of `size` bytes; returns the number of
  // its first byte.
  TextRef mapBlock(char* block, std::size_t size);
  // Starts a block of room for at least `size` bytes.
  void newBlock(std::size_t size);
  // Adds strings from now on to `block`, of `size` bytes.
  void useBlock(char* block, std::size_t size);

  // The pages of the first few blocks, kept in the space itself, which so allocates nothing but
  // its blocks for a small document.
  static constexpr std::size_t kHeldPages = 8;

  // Per page, the address of the page's first byte less the page's own number: an address is
  // this plus the string's number. Unsigned, so that the subtraction wraps as it may. In
  // m_heldBias up to kHeldPages pages, then in m_moreBias.
  std::uintptr_t* m_bias = m_heldBias;
  std::size_t m_pages = 1;
  std::uintptr_t m_heldBias[kHeldPages];
  std::vector<std::uintptr_t> m_moreBias;
  // The last block the space allocated, whose first bytes hold the address of the one before it,
  // and the number of blocks, a block lent included.
  char* m_lastBlock = nullptr;
  std::size_t m_blockCount = 0;
  // Where the next string goes in the last block, where the block ends, and the block's entry of
  // m_bias: a string's number is its address less this.
  char* m_next = nullptr;
  char* m_limit = nullptr;
  std::uintptr_t m_blockBias = 0;
};

}  // namespace orvidom
