// Objects kept a block at a time, for helpers that make many of them. Internal to the library.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace core {

// Objects that stay where they were made, allocated a block at a time, each block twice the one
// before up to a limit: many objects cost a few allocations instead of one each, and each is
// made once, in its place, rather than made empty with its block and filled in later.
template <class T>
class Blocks {
 public:
  Blocks() = default;
  Blocks(const Blocks&) = delete;
  Blocks& operator=(const Blocks&) = delete;
  ~Blocks() {
    for (std::size_t b = BlockCount(); b > 0; --b) {
      // Every block but the last is full.
      std::size_t count = b == BlockCount() ? m_used : Capacity(b - 1);
      T* items = reinterpret_cast<T*>(Block(b - 1));
      while (count > 0) items[--count].~T();
    }
  }

  // The object `make` constructs at the address it is given; nothing is added when it throws.
  // Being the caller's, `make` may use constructors open only to the caller.
  template <class Make>
  T& Add(Make make) {
    const std::size_t blocks = BlockCount();
    if (blocks == 0 || m_used == Capacity(blocks - 1)) {
      std::unique_ptr<Storage[]> block(new Storage[Capacity(blocks)]);
      if (blocks == 0) {
        m_first = std::move(block);
      } else {
        m_more.push_back(std::move(block));
      }
      m_used = 0;
    }
    T* item = make(static_cast<void*>(&Block(BlockCount() - 1)[m_used]));
    ++m_used;
    return *item;
  }

 private:
  using Storage = std::aligned_storage_t<sizeof(T), alignof(T)>;
  static std::size_t Capacity(std::size_t block) {
    // A first block that holds a small document's objects, the most usual, in one allocation.
    constexpr std::size_t kFirst = 16;
    constexpr std::size_t kLargest = 1024;
    return block < 6 ? kFirst << block : kLargest;
  }

  std::size_t BlockCount() const { return m_first ? 1 + m_more.size() : 0; }
  Storage* Block(std::size_t block) const {
    return block == 0 ? m_first.get() : m_more[block - 1].get();
  }

  // The first block, which holds all of most helpers' objects, then the others: a helper with
  // one block allocates once.
  std::unique_ptr<Storage[]> m_first;
  std::vector<std::unique_ptr<Storage[]>> m_more;
  // The objects in the last block.
  std::size_t m_used = 0;
};

// A new T in `blocks`, made by `make` as Blocks::Add does, and appended to `list`; when `list`
// cannot grow, nothing is made.
template <class T, class Make>
T* AddListed(Blocks<T>& blocks, std::vector<T*>& list, Make make) {
  // Room in the list first, grown as by push_back, so that an object made is always listed.
  if (list.size() == list.capacity()) list.reserve(2 * list.size() + 1);
  T* item = &blocks.Add(make);
  list.push_back(item);
  return item;
}

// A new T in `blocks`, made from `args` by a constructor open to all.
template <class T, class... Args>
T& Emplace(Blocks<T>& blocks, Args&&... args) {
  return blocks.Add([&](void* at) { return new (at) T(std::forward<Args>(args)...); });
}

}  // namespace core
