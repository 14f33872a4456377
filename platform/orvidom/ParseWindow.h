// The part of the input the parser looks at. Internal to the DOM layer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace orvidom {

// Thrown by a part of the parser that reaches the end of the window, or looks a few bytes from
// it, while the input goes on: the parser then moves the window on and reads that part again.
struct NeedMore {};

// A copy of a stretch of the input in a buffer of the parser's own, followed by zero bytes: the
// scans may read sixteen bytes at a time from any place up to the end without testing for it,
// and the input is copied a window at a time, a few times the size of the cache, instead of
// whole. The parser copies the names and values it keeps out of the window.
class ParseWindow {
 public:
  // The zero bytes after the end of the window.
  static constexpr std::size_t kPadding = 32;
  // How far past a place the parser may look before it knows what is there.
  static constexpr std::size_t kNear = 16;

  // The usual size of a window: a few times the cache's, so that a window is read while it is
  // still in it.
  static constexpr std::size_t kWindow = std::size_t{1} << 17;

  // A window of `size` bytes (more where a part of the input needs more, and at least twice
  // kNear, which a byte order mark fits in) over `input`.
  explicit ParseWindow(std::string_view input, std::size_t size = kWindow)
      : m_input(input), m_size(std::max(size, 2 * kNear)), m_lookahead(m_size / 4) {
    load(0, 0);
  }

  char* begin() const noexcept { return m_begin; }
  char* end() const noexcept { return m_end; }
  // The place of `p` in the input.
  std::size_t offset(const char* p) const noexcept {
    return m_base + static_cast<std::size_t>(p - m_begin);
  }
  // True when the input goes on past the window.
  bool more() const noexcept {
    return m_base + static_cast<std::size_t>(m_end - m_begin) < m_input.size();
  }
  // Throws NeedMore when what is at `at` may lie past the window's end.
  void needMoreNear(const char* at) const {
    if (at + kNear >= m_end && more()) throw NeedMore();
  }
  // A place from which a part is best read after moving the window on; past the end when the
  // window holds the rest of the input.
  const char* moveAt() const noexcept { return m_moveAt; }

  // Moves the window so that it starts at `from` and holds at least twice as much as it held
  // from there, so that a part that did not fit fits after a few moves; returns where `from`
  // now is.
  char* moveTo(const char* from) {
    const std::size_t kept = static_cast<std::size_t>(m_end - from);
    load(offset(from), 2 * kept);
    return m_begin;
  }

 private:
  // Fills the window from `base` with at least `least` bytes (or the rest of the input).
  void load(std::size_t base, std::size_t least) {
    const std::size_t size = std::min(m_input.size() - base, std::max(least, m_size));
    if (size + kPadding > m_capacity) {
      m_capacity = size + kPadding;
      m_buffer.reset(new char[m_capacity]);
    }
    m_base = base;
    m_begin = m_buffer.get();
    m_end = m_begin + size;
    std::memcpy(m_begin, m_input.data() + base, size);
    std::memset(m_end, 0, kPadding);
    // A part that starts in the last quarter of a window starts the next one instead, so that
    // few parts run past a window's end.
    m_moveAt = more() ? m_end - m_lookahead : m_end + 1;
  }

  std::string_view m_input;
  std::size_t m_size;
  std::size_t m_lookahead;
  std::unique_ptr<char[]> m_buffer;
  std::size_t m_capacity = 0;
  std::size_t m_base = 0;
  char* m_begin = nullptr;
  char* m_end = nullptr;
  const char* m_moveAt = nullptr;
};

}  // namespace orvidom
