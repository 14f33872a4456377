// A process-wide lock; usable from static initialisation on, since it needs no constructor code.
#pragma once

#include <mutex>

class ORVThreadCriticalSection {
 public:
  // The argument (a spin count on some platforms) is accepted and not used.
  constexpr explicit ORVThreadCriticalSection(int /*spinCount*/ = 0) noexcept {}
  ORVThreadCriticalSection(const ORVThreadCriticalSection&) = delete;
  ORVThreadCriticalSection& operator=(const ORVThreadCriticalSection&) = delete;

  // Waits for the lock and takes it.
  void enter() { m_mutex.lock(); }
  // Lets the lock go.
  void leave() noexcept { m_mutex.unlock(); }

 private:
  std::mutex m_mutex;
};
