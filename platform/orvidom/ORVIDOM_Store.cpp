#include "orvidom/ORVIDOM_Store.h"

namespace orvidom {

const char* NamePool::search(const Key& key, const std::string& name) {
  if (!m_table) m_table = std::make_unique<Table>();
  for (std::size_t i = key.slot();; i = (i + 1) % kSlots) {
    Slot& slot = m_table->slots[i];
    if (slot.key == key) return slot.copy;
    if (slot.key.length != 0) continue;
    // Half full at most, so that a free slot ends every search soon.
    if (m_table->used == kSlots / 2) return nullptr;
    ++m_table->used;
    slot.key = key;
    std::memcpy(slot.copy, name.c_str(), name.size() + 1);
    return slot.copy;
  }
}

}  // namespace orvidom
