// An intrusive shared pointer to an object derived from ORVReferenceCount; null is allowed.
#pragma once

#include <utility>

template <class T>
class ORVSmartPointer {
 public:
  ORVSmartPointer() noexcept = default;
  // Takes a reference to `p` unless it is null.
  ORVSmartPointer(T* p) noexcept : m_p(p) {  // NOLINT(google-explicit-constructor)
    if (m_p) m_p->addReference();
  }
  ORVSmartPointer(const ORVSmartPointer& other) noexcept : ORVSmartPointer(other.m_p) {}
  ORVSmartPointer(ORVSmartPointer&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
  ~ORVSmartPointer() {
    if (m_p) m_p->removeReference();
  }
  ORVSmartPointer& operator=(const ORVSmartPointer& other) noexcept { return *this = other.m_p; }
  ORVSmartPointer& operator=(ORVSmartPointer&& other) noexcept {
    if (this != &other) {
      T* old = std::exchange(m_p, std::exchange(other.m_p, nullptr));
      if (old) old->removeReference();
    }
    return *this;
  }
  // Takes a reference to `p` (unless null), then lets the old object go.
  ORVSmartPointer& operator=(T* p) noexcept {
    if (p) p->addReference();
    T* old = std::exchange(m_p, p);
    if (old) old->removeReference();
    return *this;
  }

  T* get() const noexcept { return m_p; }
  T* operator->() const noexcept { return m_p; }
  T& operator*() const noexcept { return *m_p; }
  bool isNull() const noexcept { return m_p == nullptr; }
  explicit operator bool() const noexcept { return m_p != nullptr; }

  friend bool operator==(const ORVSmartPointer& a, const ORVSmartPointer& b) noexcept {
    return a.m_p == b.m_p;
  }
  friend bool operator!=(const ORVSmartPointer& a, const ORVSmartPointer& b) noexcept {
    return a.m_p != b.m_p;
  }

 private:
  T* m_p = nullptr;
};
