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

// The bytes at the start of a block that link it to the block before, as many as keep strings
// aligned.
constexpr std::size_t kLink = 8;
static_assert(sizeof(char*) <= kLink, "a block's link holds an address");

}  // namespace

StringSpace::StringSpace() { m_heldBias[0] = reinterpret_cast<std::uintptr_t>(kEmpty); }

StringSpace::~StringSpace() {
  while (m_lastBlock) {
    char* const block = m_lastBlock;
    std::memcpy(&m_lastBlock, block, sizeof m_lastBlock);
    delete[] block;
  }
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
  if (pages > kPages - m_pages) throw std::bad_alloc();
  const auto first = static_cast<TextRef>(m_pages * kPageSize);
  const std::uintptr_t bias = reinterpret_cast<std::uintptr_t>(block) - first;
  if (m_pages + pages <= kHeldPages) {
    std::fill_n(m_heldBias + m_pages, pages, bias);
  } else {
    if (m_moreBias.empty()) m_moreBias.assign(m_heldBias, m_heldBias + m_pages);
    m_moreBias.insert(m_moreBias.end(), pages, bias);
    m_bias = m_moreBias.data();
  }
  m_pages += pages;
  return first;
}

void StringSpace::newBlock(std::size_t size) {
  // Blocks double from 1 KiB to 64 KiB, so that a small document takes a small one; a longer
  // string has a block of its own.
  const std::size_t usual = std::size_t{1024} << std::min<std::size_t>(m_blockCount, 6);
  const std::size_t room = std::max(aligned(size), usual);
  char* const block = new char[kLink + room];
  std::memcpy(block, &m_lastBlock, sizeof m_lastBlock);
  m_lastBlock = block;
  useBlock(block + kLink, room);
}

void StringSpace::useBlock(char* block, std::size_t size) {
  ++m_blockCount;
  m_next = block;
  m_limit = block + size;
  m_blockBias = reinterpret_cast<std::uintptr_t>(block) - mapBlock(block, size);
}

}  // namespace orvidom
