// Holds a critical section for the guard's lifetime.
#pragma once

#include <Korvath_ActionHelper/orvcore/ORVThreadCriticalSection.h>

class ORVThreadGuard {
 public:
  explicit ORVThreadGuard(ORVThreadCriticalSection& lock) : m_lock(lock) { m_lock.enter(); }
  ~ORVThreadGuard() { m_lock.leave(); }
  ORVThreadGuard(const ORVThreadGuard&) = delete;
  ORVThreadGuard& operator=(const ORVThreadGuard&) = delete;

 private:
  ORVThreadCriticalSection& m_lock;
};
