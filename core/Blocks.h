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
    for (std::size_t b = m_blocks.size(); b > 0; --b) {
      // Every block but the last is full.
      std::size_t count = b == m_blocks.size() ? m_used : Capacity(b - 1);
      T* items = reinterpret_cast<T*>(m_blocks[b - 1].get());
      while (count > 0) items[--count].~T();
    }
  }

  // The object `make` constructs at the address it is given; nothing is added when it throws.
  // Being the caller's, `make` may use constructors open only to the caller.
  template <class Make>
  T& Add(Make make) {
    if (m_blocks.empty() || m_used == Capacity(m_blocks.size() - 1)) {
      std::unique_ptr<Storage[]> block(new Storage[Capacity(m_blocks.size())]);
      m_blocks.push_back(std::move(block));
      m_used = 0;
    }
    T* item = make(static_cast<void*>(&m_blocks.back()[m_used]));
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

  std::vector<std::unique_ptr<Storage[]>> m_blocks;
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
