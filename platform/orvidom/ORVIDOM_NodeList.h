// An ordered list of nodes, fixed when it is made.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Node.h>

class KORVATH_API ORVIDOM_NodeList {
 public:
  // A null list: it belongs to no document and is empty.
  ORVIDOM_NodeList() noexcept = default;
  // True for a list that belongs to no document (a list a node gives is never null).
  bool isNull() const noexcept { return m_store == nullptr; }
  // The number of nodes.
  unsigned long getLength() const noexcept { return m_nodes ? m_nodes->size() : 0; }
  // The node at `index`; null past the end.
  ORVIDOM_Node item(unsigned long index) const noexcept;

 private:
  friend struct ORVIDOM_Access;
  std::shared_ptr<ORVIDOM_Store> m_store;
  std::shared_ptr<const std::vector<std::uint32_t>> m_nodes;
};
