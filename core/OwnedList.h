#pragma once
// Lists of owning raw pointers, which the helpers' interfaces hand out.

#include <memory>
#include <vector>

// Appends `item`, handing its ownership to the list; when the list cannot grow, `item` is
// still deleted, so nothing leaks.
template <class T, class U>
void AppendOwned(std::vector<T*>& list, std::unique_ptr<U> item) {
  list.emplace_back();
  list.back() = item.release();
}
