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

// Where a window's bytes come from.
class WindowSource {
 public:
  virtual ~WindowSource() = default;
  // Copies up to `size` next bytes of the input to `to`; returns how many (0 when none is there
  // now).
  virtual std::size_t read(char* to, std::size_t size) = 0;
  // True once the input has no more bytes than those read.
  virtual bool finished() const = 0;
};

// A copy of a stretch of the input in a buffer of the parser's own, followed by zero bytes: the
// scans may read sixteen bytes at a time from any place up to the end without testing for it,
// and the input is copied a window at a time, a few times the size of the cache, instead of
// whole. The tree's parser copies the names and values it keeps out of the window; the pull
// reader shows them where they lie until it moves the window on.
//
// The first window may instead be the caller's own bytes up to a "<" that kPadding bytes follow:
// every scan stops at a "<" as it does at a zero byte, and the parser looks no further than kNear
// bytes past where a scan stopped before it asks for more, so nothing past the input is read. The
// parser never writes to its window.
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
  // kNear, which a byte order mark fits in) over `source`, which outlives it.
  explicit ParseWindow(WindowSource& source, std::size_t size = kWindow)
      : ParseWindow(source, size, nullptr, 0) {}
  // As above, starting in the `capacity` bytes at `room` (the caller's, which outlive the
  // window) when the window fits there: a small input then asks for no memory of its own. The
  // first window is `lent`, where given: the bytes before those `source` gives, which it
  // ends at a "<" that kPadding bytes follow.
  ParseWindow(WindowSource& source, std::size_t size, char* room, std::size_t capacity,
              std::string_view lent = {})
      : m_source(source),
        m_size(std::max(size, 2 * kNear)),
        m_lookahead(m_size / 16),
        m_buffer(room),
        m_capacity(capacity) {
    if (lent.empty()) {
      fill(nullptr, 0, m_size);
    } else {
      m_begin = const_cast<char*>(lent.data());
      m_end = m_begin + lent.size();
      m_moveAt = m_end - std::min(lent.size(), m_lookahead);
    }
  }

  char* begin() const noexcept { return m_begin; }
  char* end() const noexcept { return m_end; }
  // The place of `p` in the input, and the place in the window of a byte of the input.
  std::size_t offset(const char* p) const noexcept {
    return m_base + static_cast<std::size_t>(p - m_begin);
  }
  const char* at(std::size_t offset) const noexcept { return m_begin + (offset - m_base); }
  // True when the input may go on past the window.
  bool more() const noexcept { return !m_source.finished(); }
  // Throws NeedMore when what is at `at` may lie past the window's end.
  void needMoreNear(const char* at) const {
    if (at + kNear >= m_end && more()) throw NeedMore();
  }
  // A place from which a part is best read after moving the window on; past the end when the
  // window holds the rest of the input.
  const char* moveAt() const noexcept { return m_moveAt; }

  // Moves the window so that it starts at `from`, keeping what follows, and reads on so that it
  // holds at least twice as much as it held from there, so that a part that did not fit fits
  // after a few moves; returns where `from` now is. Reads less when the source has no more now.
  char* moveTo(const char* from) {
    const auto kept = static_cast<std::size_t>(m_end - from);
    m_base = offset(from);
    fill(from, kept, std::max(2 * kept, m_size));
    return m_begin;
  }
  // True when the last move read nothing: the source has no more bytes for now.
  bool starved() const noexcept { return m_starved; }

 private:
  // Starts the window with the `kept` bytes at `from` and reads on until it holds `size` bytes
  // or the source has no more now.
  void fill(const char* from, std::size_t kept, std::size_t size) {
    if (size + kPadding > m_capacity) {
      std::unique_ptr<char[]> bigger(new char[size + kPadding]);
      if (kept > 0) std::memcpy(bigger.get(), from, kept);
      m_owned = std::move(bigger);
      m_buffer = m_owned.get();
      m_capacity = size + kPadding;
    } else if (kept > 0) {
      std::memmove(m_buffer, from, kept);
    }
    std::size_t held = kept;
    while (held < size) {
      const std::size_t n = m_source.read(m_buffer + held, size - held);
      if (n == 0) break;
      held += n;
    }
    m_starved = held == kept && !m_source.finished();
    m_begin = m_buffer;
    m_end = m_begin + held;
    std::memset(m_end, 0, kPadding);
    // A part that starts in the last sixteenth of a window starts the next one instead, so that
    // few parts run past a window's end, and little is copied as the window moves.
    m_moveAt = more() ? m_end - std::min(held, m_lookahead) : m_end + 1;
  }

  WindowSource& m_source;
  std::size_t m_size;
  std::size_t m_lookahead;
  // The window's bytes: the caller's room or m_owned.
  char* m_buffer;
  std::size_t m_capacity;
  std::unique_ptr<char[]> m_owned;
  std::size_t m_base = 0;
  char* m_begin = nullptr;
  char* m_end = nullptr;
  const char* m_moveAt = nullptr;
  bool m_starved = false;
};

// The bytes of a string the caller keeps.
class StringSource final : public WindowSource {
 public:
  explicit StringSource(std::string_view text) : m_text(text) {}
  std::size_t read(char* to, std::size_t size) override {
    const std::size_t n = std::min(size, m_text.size());
    std::memcpy(to, m_text.data(), n);
    m_text.remove_prefix(n);
    return n;
  }
  bool finished() const override { return m_text.empty(); }
  // The bytes not read yet.
  std::size_t size() const noexcept { return m_text.size(); }
  // Passes over the input up to its last "<" that a window's padding follows, and returns what
  // it passed over, for a window that reads it where it lies; nothing when that is less than a
  // window's least size.
  std::string_view lend() {
    constexpr std::size_t kMargin = ParseWindow::kPadding;
    constexpr std::size_t kLeast = 2 * ParseWindow::kNear;
    if (m_text.size() <= kMargin + kLeast) return {};
    const std::size_t at = m_text.rfind('<', m_text.size() - kMargin - 1);
    if (at == std::string_view::npos || at < kLeast) return {};
    const std::string_view lent = m_text.substr(0, at);
    m_text.remove_prefix(at);
    return lent;
  }

 private:
  std::string_view m_text;
};

}  // namespace orvidom
