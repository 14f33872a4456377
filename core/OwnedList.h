#pragma once
// Lists of owning raw pointers, which the helpers' interfaces hand out: every helper that owns
// such a list fills it with AppendOwned and empties it with DeleteAll.

#include <memory>
#include <vector>

// Appends `item`, handing its ownership to the list, and returns it for filling; when the list
// cannot grow, `item` is still deleted, so nothing leaks.
template <class T, class U>
U* AppendOwned(std::vector<T*>& list, std::unique_ptr<U> item) {
  list.emplace_back();
  U* owned = item.release();
  list.back() = owned;
  return owned;
}

// Deletes every item of the list and empties it.
template <class T>
void DeleteAll(std::vector<T*>& list) {
  for (T* item : list) delete item;
  list.clear();
}
