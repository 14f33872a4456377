// Records of one kind numbered from 1, kept in blocks that never move once full. Internal to the
// DOM layer.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <vector>

namespace orvidom {

// The number of a node or attribute in its document; 0 is none.
using Index = std::uint32_t;

// Records are reached by their number. The first block holds the first 2^kBlockBits records,
// enough for all but the largest documents, so that a record is most often one load away; it
// starts small and grows, moving as it grows (a reallocation the system does without a copy
// once the block is large). Records past it are in blocks of the same size, found by a shift and
// a mask. A record is never freed before the arena: a number, once given, reads the same record
// for good.
template <class Record>
class RecordArena {
  static_assert(std::is_trivially_copyable_v<Record>, "records move as bytes");

 public:
  static constexpr int kBlockBits = 20;
  // The last number given: a document cannot hold more records than 32-bit numbers reach.
  static constexpr Index kLast = 0xFFFFFFF0u;

 private:
  static constexpr Index kBlock = Index{1} << kBlockBits;
  static constexpr Index kMask = kBlock - 1;
  // The first block's room when none is asked for, and the room below which it grows faster.
  // A small document made node by node (a request of a few dozen elements, most of the traffic)
  // fits in the first room and never moves: growing it took two or three reallocations per
  // document, whose code crowded the rest of the making out of the instruction cache.
  static constexpr Index kFirstRoom = 128;
  static constexpr Index kQuickGrowth = 4096;

 public:
  RecordArena() : RecordArena(kFirstRoom) {}
  // An arena with room for `count` records in its first block (at most a block's worth), for an
  // owner that knows how many it may add: the block is allocated once at that size instead of
  // growing to it.
  explicit RecordArena(Index count)
      : m_firstCapacity(std::clamp(count, kFirstRoom, kBlock)),
        m_first(allocate(nullptr, m_firstCapacity)),
        m_next(m_first + 1),
        m_blockEnd(m_firstCapacity) {
    // Record 0 stands for none; it is never read as a record of the document.
    std::memset(static_cast<void*>(m_first), 0, sizeof(Record));
  }
  // An arena whose first block is `block`, of room for `count` records (at least one), which the
  // arena's owner allocated with other things of its own and frees after the arena.
  RecordArena(Record* block, Index count)
      : m_firstCapacity(count),
        m_first(block),
        m_ownsFirst(false),
        m_next(m_first + 1),
        m_blockEnd(count) {
    std::memset(static_cast<void*>(m_first), 0, sizeof(Record));
  }
  ~RecordArena() {
    if (m_ownsFirst) std::free(m_first);
    for (Record* block : m_blocks) std::free(block);
  }
  RecordArena(const RecordArena&) = delete;
  RecordArena& operator=(const RecordArena&) = delete;

  Record& operator[](Index i) noexcept {
    return i < m_firstCapacity ? m_first[i] : m_blocks[(i >> kBlockBits) - 1][i & kMask];
  }
  const Record& operator[](Index i) const noexcept {
    return i < m_firstCapacity ? m_first[i] : m_blocks[(i >> kBlockBits) - 1][i & kMask];
  }

  // The record of `next`, given `record`, the record of `at`. A parsed document's records follow
  // each other in document order: where `next` follows `at` in its block, the one after `record`
  // is taken, so that a walk through the tree goes on without waiting for the number it just
  // loaded; the comparison that confirms it is predicted.
  const Record* following(const Record* record, Index at, Index next) const noexcept {
    if (__builtin_expect(next == at + 1 && (next & kMask) != 0, 1)) return record + 1;
    return &(*this)[next];
  }

  // The number of a new record, not yet filled in: a caller fills it in after any other call
  // that adds, since adding may move the first block.
  Index add() {
    Index n;
    add(n);
    return n;
  }
  // A new record, not yet filled in, and its number in `n`.
  [[gnu::always_inline]] Record* add(Index& n) {
    return add(n, [] {});
  }
  // As add(n), calling `moved()` first when the records moved to make room, so that a caller
  // keeping addresses of records takes them again.
  template <class Moved>
  [[gnu::always_inline]] Record* add(Index& n, Moved moved) {
    if (m_size == m_blockEnd) {
      const Record* first = m_first;
      enterBlock();
      if (m_first != first) moved();
    }
    n = m_size++;
    return m_next++;
  }
  // Adds records through fields of its own, for a writer of many in a row that keeps it where the
  // compiler need not load them again after each byte written (see StringSpace::Room). Nothing
  // else adds to the arena while a writer writes; release() leaves the arena as the writer left
  // it, and a writer made after that goes on from there.
  class Writer {
   public:
    explicit Writer(RecordArena& arena) : m_arena(arena) { take(); }

    // As RecordArena::add(n, moved).
    template <class Moved>
    [[gnu::always_inline]] Record* add(Index& n, Moved moved) {
      if (m_size == m_blockEnd) return addInArena(n, moved);
      n = m_size++;
      return m_next++;
    }
    Index size() const noexcept { return m_size; }
    void truncate(Index size) {
      release();
      m_arena.truncate(size);
      take();
    }
    Record& operator[](Index i) const noexcept { return m_arena[i]; }
    void release() noexcept {
      m_arena.m_next = m_next;
      m_arena.m_size = m_size;
    }

   private:
    template <class Moved>
    [[gnu::noinline]] Record* addInArena(Index& n, Moved moved) {
      release();
      Record* record = m_arena.add(n, moved);
      take();
      return record;
    }
    // Goes on from where the arena is.
    void take() noexcept {
      m_next = m_arena.m_next;
      m_size = m_arena.m_size;
      m_blockEnd = m_arena.m_blockEnd;
    }

    RecordArena& m_arena;
    Record* m_next;
    Index m_size;
    Index m_blockEnd;
  };

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

  // Makes room for `count` records at once in the first block, so that no record moves before
  // the arena holds that many: a parser that knows how many it may add at most then keeps
  // addresses of records while it adds others.
  void reserve(Index count) {
    if (m_blocks.empty() && count > m_firstCapacity) resizeFirst(std::min(count, kBlock));
  }

 private:
  static Record* allocate(Record* block, Index count) {
    void* memory = std::realloc(block, std::size_t{count} * sizeof(Record));
    if (!memory) throw std::bad_alloc();
    return static_cast<Record*>(memory);
  }

  // Goes on at m_size, the end of the block records were added to: in the first block made
  // twice as large, or in the next block, made when there is none.
  [[gnu::noinline]] void enterBlock() {
    if (m_size > kLast) throw std::bad_alloc();
    if (m_size < kBlock) {
      // A small block grows four times over, so that a document made node by node moves its
      // records a few times only; a large one doubles, so that little of it lies unused.
      const Index factor = m_firstCapacity < kQuickGrowth ? 4 : 2;
      resizeFirst(std::min(factor * m_firstCapacity, kBlock));
      return;
    }
    const std::size_t block = (m_size >> kBlockBits) - 1;
    if (block == m_blocks.size()) {
      m_blocks.reserve(block + 1);
      m_blocks.push_back(allocate(nullptr, kBlock));
    }
    m_next = m_blocks[block];
    m_blockEnd = m_size + kBlock;
  }

  void resizeFirst(Index capacity) {
    if (m_ownsFirst) {
      m_first = allocate(m_first, capacity);
    } else {
      Record* const first = allocate(nullptr, capacity);
      std::memcpy(static_cast<void*>(first), m_first,
                  std::size_t{m_firstCapacity} * sizeof(Record));
      m_first = first;
      m_ownsFirst = true;
    }
    m_firstCapacity = capacity;
    if (m_size < kBlock) {
      m_next = m_first + m_size;
      m_blockEnd = capacity;
    }
  }

  Index m_firstCapacity;
  Record* m_first;
  // False while the first block is the owner's.
  bool m_ownsFirst = true;
  std::vector<Record*> m_blocks;
  // The place of record m_size, the next one added, and the end of its block.
  Record* m_next;
  Index m_size = 1;
  Index m_blockEnd;
};

}  // namespace orvidom
