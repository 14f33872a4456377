// The elements of a few names below one element, found in one walk: a list per name in document
// order, and for each element listed the part of every list that lies below it. A reader that
// looks at any depth below each of many elements (tasks nested in tasks, say) asks the index
// instead of searching below each element again, which would be quadratic in the nesting. The
// index shows the tree as it was when the index was made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Element.h>

namespace orvidom {
class ElementView;
}  // namespace orvidom

class KORVATH_API ORVIDOM_ElementIndex {
 public:
  // Positions [first, last) in one list.
  struct Range {
    std::size_t first = 0;
    std::size_t last = 0;
    bool empty() const noexcept { return first == last; }
  };

  // An index of nothing: every list is empty.
  ORVIDOM_ElementIndex() noexcept = default;
  // Walks the elements below `root` (not `root` itself) once; list i holds those named names[i].
  ORVIDOM_ElementIndex(const ORVIDOM_Node& root,
                       std::initializer_list<std::reference_wrapper<const I18NString>> names);

  // Every position of a list.
  Range all(std::size_t list) const noexcept;
  // The positions in list `inner` of the elements below element `at` of list `outer`.
  Range below(std::size_t outer, std::size_t at, std::size_t inner) const noexcept;
  // Element `at` of a list; null outside the list.
  ORVIDOM_Element element(std::size_t list, std::size_t at) const noexcept;
  // The first element of a range of a list; null when the range is empty.
  ORVIDOM_Element first(std::size_t list, Range range) const noexcept {
    return range.empty() ? ORVIDOM_Element() : element(list, range.first);
  }

 private:
  friend class orvidom::ElementView;

  // Numbers and list sizes in 32 bits: the index of a large document is half the memory to write
  // and read again, and a document of more elements than that could not be held in memory.
  using Count = std::uint32_t;

  // One element of a list. Every element the walk lists gets the next number from 0 on; an
  // entry keeps its own number and the number the next element listed after it and all its
  // descendants gets.
  struct Entry {
    std::uint32_t node;
    Count number;
    Count after;
  };

  std::shared_ptr<ORVIDOM_Store> m_store;
  std::vector<std::vector<Entry>> m_lists;
  // For each number, then once more at the end: the size of every list before the element of
  // that number was listed. Two numbers give the part of any list listed between them.
  std::vector<Count> m_sizes;
};
