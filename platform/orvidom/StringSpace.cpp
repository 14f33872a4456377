#include "orvidom/StringSpace.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace orvidom {
namespace {

constexpr std::size_t kPageSize = std::size_t{1} << StringSpace::kPageBits;
constexpr std::size_t kPages = std::size_t{1} << (32 - StringSpace::kPageBits);

// String 0 of a space without input. Aligned, as the writer reads whole aligned words.
alignas(8) const char kEmpty[8] = {};

std::size_t roundUp8(std::size_t size) { return (size + 7) & ~std::size_t{7}; }

}  // namespace

StringSpace::StringSpace() {
  // Room for the pages of the first few blocks, which then need no copy of the table.
  m_bias.reserve(8);
  m_bias.push_back(reinterpret_cast<std::uintptr_t>(kEmpty));
}

TextRef StringSpace::add(std::string_view text) {
  char* limit;
  char* at = room(text.size() + 1, limit);
  std::memcpy(at, text.data(), text.size());
  return commit(at + text.size());
}

char* StringSpace::grow(const char* start, std::size_t used, std::size_t size, char*& limit) {
  // Twice the room, so that a string written on and on is copied a few times at most.
  newBlock(2 * used + size);
  std::memcpy(m_next, start, used);
  limit = m_limit;
  return m_next;
}

TextRef StringSpace::mapBlock(char* block, std::size_t size) {
  const std::size_t pages = (size + kPageSize - 1) / kPageSize;
  if (pages > kPages - m_bias.size()) throw std::bad_alloc();
  const auto first = static_cast<TextRef>(m_bias.size() * kPageSize);
  m_bias.insert(m_bias.end(), pages, reinterpret_cast<std::uintptr_t>(block) - first);
  return first;
}

void StringSpace::newBlock(std::size_t size) {
  // Blocks double from 1 KiB to 64 KiB, so that a small document takes a small one; a longer
  // string has a block of its own.
  const std::size_t usual = std::size_t{1024} << std::min<std::size_t>(m_blocks.size(), 6);
  const std::size_t room = std::max(roundUp8(size), usual);
  m_blocks.emplace_back(new char[room]);
  m_next = m_blocks.back().get();
  m_limit = m_next + room;
  m_blockBias = reinterpret_cast<std::uintptr_t>(m_next) - mapBlock(m_next, room);
}

}  // namespace orvidom
