// An element's attributes in order, fixed when the map is made.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Node.h>

class KORVATH_API ORVIDOM_NamedNodeMap {
 public:
  // A null map: it belongs to no element and is empty.
  ORVIDOM_NamedNodeMap() noexcept = default;
  // True for a map that belongs to no element (a map an element gives is never null).
  bool isNull() const noexcept { return m_store == nullptr; }
  // The number of attributes.
  unsigned long getLength() const noexcept { return m_attrs ? m_attrs->size() : 0; }
  // The attribute at `index`; null past the end.
  ORVIDOM_Node item(unsigned long index) const noexcept;
  // The attribute of that name; null when there is none.
  ORVIDOM_Node getNamedItem(const I18NString& name) const;

 private:
  friend struct ORVIDOM_Access;
  std::shared_ptr<ORVIDOM_Store> m_store;
  std::uint32_t m_owner = 0;
  std::shared_ptr<const std::vector<std::uint32_t>> m_attrs;
};
