// Finding the end of a run of plain characters in the parser's window. Internal to the DOM layer.
//
// Each scan stops at the first byte that needs a closer look: the markup and reference characters
// of its kind of string, control characters (the zero bytes after the window among them), and the
// bytes of multi-byte sequences, which are decoded and checked one character at a time. The
// window has ParseWindow::kPadding zero bytes after it, or a "<" that as many bytes of the input
// follow, which every scan stops at too, so a scan may read sixteen bytes at a time from any
// place up to the end without testing for it.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvidom {

// Which bytes end a run: every byte below 0x20 but the control characters allowed, every byte
// from 0x80, and the characters given.
struct StopTable {
  bool stop[256] = {};
  constexpr StopTable(const char* special, const char* allowedControls) {
    for (int c = 0; c < 0x20; ++c) stop[c] = true;
    for (const char* p = allowedControls; *p; ++p) stop[static_cast<unsigned char>(*p)] = false;
    for (int c = 0x80; c < 256; ++c) stop[c] = true;
    for (const char* p = special; *p; ++p) stop[static_cast<unsigned char>(*p)] = true;
  }
};
// In text, tab and line feed are kept as they are; a carriage return becomes a line feed.
inline constexpr StopTable kTextStops("<&]", "\t\n");
// In an attribute value, tab, line feed and carriage return become spaces. Either quote stops
// the portable scan, which goes on past the one that does not end the value.
inline constexpr StopTable kAttributeStops("<&\"'", "");
// Every scan stops at "<" too, where a window of the caller's bytes may end.
inline constexpr StopTable kCDataStops("]<", "\t\n");
// Comments and processing instructions are only checked: line ends need no look.
inline constexpr StopTable kCommentStops("-<", "\t\n\r");
inline constexpr StopTable kInstructionStops("?<", "\t\n\r");

// The first byte from `p` that `table` stops at, four bytes a step.
inline char* runEnd(char* p, const StopTable& table) noexcept {
  auto* u = reinterpret_cast<unsigned char*>(p);
  for (;; u += 4) {
    if (table.stop[u[0]]) return reinterpret_cast<char*>(u);
    if (table.stop[u[1]]) return reinterpret_cast<char*>(u + 1);
    if (table.stop[u[2]]) return reinterpret_cast<char*>(u + 2);
    if (table.stop[u[3]]) return reinterpret_cast<char*>(u + 3);
  }
}

#if defined(__SSE2__)
namespace sse2 {

// The first byte from `s` that `flagged` marks, sixteen bytes at a time.
template <class Flags>
inline char* firstFlagged(char* s, Flags flagged) noexcept {
  for (;; s += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    if (const int mask = _mm_movemask_epi8(flagged(bytes))) return s + __builtin_ctz(mask);
  }
}
// Bytes below the space: compared as signed, the bytes from 0x80 are too.
inline __m128i controlOrHigh(__m128i bytes) noexcept {
  return _mm_cmpgt_epi8(_mm_set1_epi8(0x20), bytes);
}
inline __m128i equal(__m128i bytes, char c) noexcept {
  return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c));
}

}  // namespace sse2
#endif

// The end of a run of text, at a byte kTextStops stops at.
inline char* textRunEnd(char* p) noexcept {
#if defined(__SSE2__)
  return sse2::firstFlagged(p, [](__m128i bytes) {
    using namespace sse2;
    const __m128i kept = _mm_or_si128(equal(bytes, '\t'), equal(bytes, '\n'));
    return _mm_or_si128(
        _mm_andnot_si128(kept, controlOrHigh(bytes)),
        _mm_or_si128(equal(bytes, '<'), _mm_or_si128(equal(bytes, '&'), equal(bytes, ']'))));
  });
#else
  return runEnd(p, kTextStops);
#endif
}

// The end of a run of an attribute value closed by `quote`, at a byte kAttributeStops stops at
// other than the other quote.
inline char* attributeRunEnd(char* p, char quote) noexcept {
#if defined(__SSE2__)
  return sse2::firstFlagged(p, [quote](__m128i bytes) {
    using namespace sse2;
    return _mm_or_si128(_mm_or_si128(controlOrHigh(bytes), equal(bytes, quote)),
                        _mm_or_si128(equal(bytes, '<'), equal(bytes, '&')));
  });
#else
  for (;; ++p) {
    p = runEnd(p, kAttributeStops);
    if (*p != (quote == '"' ? '\'' : '"')) return p;
  }
#endif
}

}  // namespace orvidom
