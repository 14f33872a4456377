// An ordered list of nodes, fixed when it is made.
#pragma once

#include <memory>
#include <vector>

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Node.h>

class KORVATH_API ORVIDOM_NodeList {
 public:
  // An empty list.
  ORVIDOM_NodeList() noexcept = default;
  // The number of nodes.
  unsigned long getLength() const noexcept { return m_nodes ? m_nodes->size() : 0; }
  // The node at `index`; null past the end.
  ORVIDOM_Node item(unsigned long index) const noexcept;

 private:
  friend struct ORVIDOM_Access;
  std::shared_ptr<ORVIDOM_Store> m_store;
  std::shared_ptr<const std::vector<pugi::xml_node_struct*>> m_nodes;
};
