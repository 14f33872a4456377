// Base of objects shared by intrusive reference counting; the last reference let go cleans up.
#pragma once

#include <atomic>

class ORVReferenceCount {
 public:
  virtual ~ORVReferenceCount() = default;
  // Takes one more reference.
  virtual void addReference() noexcept { m_count.fetch_add(1, std::memory_order_relaxed); }
  // Lets one reference go; the last one calls cleanup.
  virtual void removeReference() noexcept {
    if (m_count.fetch_sub(1, std::memory_order_acq_rel) == 1) cleanup();
  }
  // The number of references held.
  virtual long getReferenceCount() const noexcept {
    return m_count.load(std::memory_order_acquire);
  }
  // Destroys the object; called when its last reference goes.
  virtual void cleanup() noexcept { delete this; }

 protected:
  ORVReferenceCount() = default;
  // A copy is a new object: it starts with no references.
  ORVReferenceCount(const ORVReferenceCount&) noexcept {}
  ORVReferenceCount& operator=(const ORVReferenceCount&) noexcept { return *this; }

 private:
  std::atomic<long> m_count{0};
};
