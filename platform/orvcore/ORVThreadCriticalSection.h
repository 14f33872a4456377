// A process-wide lock. Its constructor has nothing to do beyond std::mutex's, so where that one is
// constexpr compilers initialise a global lock statically, before any code runs.
#pragma once

#include <mutex>

class ORVThreadCriticalSection {
 public:
  // Not constexpr: std::mutex's constructor is not a constant expression on every platform (with
  // MinGW-w64's POSIX threads it is not), and a constexpr constructor that can never be one is
  // ill-formed.
  // The argument (a spin count on some platforms) is accepted and not used.
  explicit ORVThreadCriticalSection(int /*spinCount*/ = 0) noexcept {}
  ORVThreadCriticalSection(const ORVThreadCriticalSection&) = delete;
  ORVThreadCriticalSection& operator=(const ORVThreadCriticalSection&) = delete;

  // Waits for the lock and takes it.
  void enter() { m_mutex.lock(); }
  // Lets the lock go.
  void leave() noexcept { m_mutex.unlock(); }

 private:
  std::mutex m_mutex;
};
