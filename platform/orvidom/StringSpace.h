// The names and values of a document, each a zero-terminated string reached by a 32-bit number.
// Internal to the DOM layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace orvidom {

// A string of a document's StringSpace; 0 is the empty string.
using TextRef = std::uint32_t;

// One space of 2^32 bytes numbered from 0, laid over the document's own copy of its parsed
// input and over blocks of the strings set later. The space is cut into pages of 64 KiB; a
// string's number is its place in the space, so that a record holds four bytes instead of a
// pointer, and the page table turns it into an address with one load and one add. Strings are
// never changed nor freed before the space: a new value is a new string, so that records may
// share a string and a removed node keeps reading its own.
class StringSpace {
 public:
  static constexpr int kPageBits = 16;
  // The zero bytes after the end of a parsed input, so that scans may read sixteen bytes at a
  // time and a word at a time past a string's end without testing for the end of the buffer.
  static constexpr std::size_t kPadding = 32;
  // The longest input a document holds: its copy, with the bytes around it, must leave room in
  // the space for the strings set later.
  static constexpr std::size_t kMaxInput = 0xFFF00000u;

  // A space with no input: string 0 is the empty string of a first small block.
  StringSpace();

  // The address of string `ref`.
  const char* at(TextRef ref) const noexcept {
    return reinterpret_cast<const char*>(m_bias[ref >> kPageBits] + ref);
  }
  // The number of a copy of `text`, which must hold no zero byte.
  TextRef add(std::string_view text);

  // Room for a copy of an input of `size` bytes (at most kMaxInput) as the first strings of the
  // space: byte 0 is the empty string, the input goes at 1, and kPadding zero bytes follow it.
  // Returns the address of byte 0; the number of a string in it is its distance from there.
  char* adoptInput(std::size_t size);

 private:
  // Maps the pages from the space's end on to `block`, of `size` bytes; returns the number of
  // its first byte.
  TextRef mapBlock(char* block, std::size_t size);
  // Starts a block of room for at least `size` bytes.
  void newBlock(std::size_t size);

  // Per page, the address of the page's first byte less the page's own number: an address is
  // this plus the string's number. Unsigned, so that the subtraction wraps as it may.
  std::vector<std::uintptr_t> m_bias;
  std::vector<std::unique_ptr<char[]>> m_blocks;
  // Where the next string goes in the last block, its number, and the room left there.
  char* m_next = nullptr;
  TextRef m_nextRef = 0;
  std::size_t m_left = 0;
};

}  // namespace orvidom
