// Records of one kind numbered from 1, kept in blocks that never move once full. Internal to the
// DOM layer.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace orvidom {

// The number of a node or attribute in its document; 0 is none.
using Index = std::uint32_t;

// Records are reached by their number: blocks of 2^kBlockBits records, found by a shift and a
// mask. The first block starts small and doubles, moving as it grows, until it is a whole block,
// so that a small document costs a small allocation; later blocks are allocated whole. A record
// is never freed before the arena: a number, once given, reads the same record for good.
template <class Record>
class RecordArena {
 public:
  static constexpr int kBlockBits = 14;
  // The last number given: a document cannot hold more records than 32-bit numbers reach.
  static constexpr Index kLast = 0xFFFFFFF0u;

  RecordArena() {
    // Record 0 stands for none; it is never read as a record of the document.
    m_blocks.emplace_back(new Record[m_firstCapacity]());
    m_next = &m_blocks[0][1];
  }

  Record& operator[](Index i) noexcept { return m_blocks[i >> kBlockBits][i & kMask]; }
  const Record& operator[](Index i) const noexcept { return m_blocks[i >> kBlockBits][i & kMask]; }

  // The number of a new record, not yet filled in: a caller fills it in after any other call
  // that adds, since adding may move the first block.
  Index add() {
    Index n;
    add(n);
    return n;
  }
  // A new record, not yet filled in, and its number in `n`.
  Record* add(Index& n) {
    if (m_size == m_blockEnd) enterBlock();
    n = m_size++;
    return m_next++;
  }
  // Gives back the records from number `size` on, which nothing refers to, so that the next
  // added are numbered from there and take their place.
  void truncate(Index size) noexcept {
    if (size >= m_size) return;
    m_size = size;
    m_next = &(*this)[size];
    m_blockEnd = size < kBlock ? m_firstCapacity : (size | kMask) + 1;
  }
  // The number of records given, record 0 included.
  Index size() const noexcept { return m_size; }

  // Makes room for `count` records at once while there is one block, so that no record moves
  // before the arena holds that many: a parser that knows how many it may add at most then
  // keeps addresses of records while it adds others.
  void reserve(Index count) {
    if (m_blocks.size() == 1 && count > m_firstCapacity) resizeFirst(std::min(count, kBlock));
  }

 private:
  static constexpr Index kBlock = Index{1} << kBlockBits;
  static constexpr Index kMask = kBlock - 1;

  // Goes on at m_size, the end of the block records were added to: in the first block made
  // twice as large, or in the next block, made when there is none.
  void enterBlock() {
    if (m_size > kLast) throw std::bad_alloc();
    if (m_size < kBlock) {
      resizeFirst(std::min(2 * m_firstCapacity, kBlock));
      return;
    }
    if ((m_size >> kBlockBits) == m_blocks.size()) m_blocks.emplace_back(new Record[kBlock]);
    m_next = m_blocks[m_size >> kBlockBits].get();
    m_blockEnd = m_size + kBlock;
  }

  void resizeFirst(Index capacity) {
    std::unique_ptr<Record[]> bigger(new Record[capacity]);
    const Index used = std::min(m_size, m_firstCapacity);
    std::memcpy(static_cast<void*>(bigger.get()), m_blocks[0].get(), used * sizeof(Record));
    m_blocks[0] = std::move(bigger);
    m_firstCapacity = capacity;
    if (m_size < kBlock) {
      m_next = &m_blocks[0][m_size];
      m_blockEnd = capacity;
    }
  }

  std::vector<std::unique_ptr<Record[]>> m_blocks;
  Index m_firstCapacity = 16;
  // The place of record m_size, the next one added, and the end of its block.
  Record* m_next;
  Index m_size = 1;
  Index m_blockEnd = 16;
};

}  // namespace orvidom
