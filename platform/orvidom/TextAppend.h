// Appending a zero-terminated text to the writer's output, escaped as it goes and a block of
// bytes at a time. Internal to the DOM layer; like XmlScan.h, one version per kind of target,
// chosen when compiling: sixteen bytes a step with SSE2, a word of eight where words are read
// whole, and a byte at a time where addresses are checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "orvidom/XmlChars.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvidom {

// Appends the byte `c` at `to`, escaped if it has an escape; returns where the next goes. The
// writer's, which knows the escapes.
char* appendEscaped(char* to, unsigned char c, bool attribute);

// Which characters of a text are escaped as it is appended.
enum class Escapes { kNone, kText, kAttribute };

// The bytes appendText reads at a step: sixteen with SSE2, a word of eight without.
#if KORVATH_WORD_SCAN && defined(__SSE2__)
#define KORVATH_BLOCK_SCAN 1
constexpr std::ptrdiff_t kStepBytes = 16;
#else
#define KORVATH_BLOCK_SCAN 0
constexpr std::ptrdiff_t kStepBytes = 8;
#endif
// The room one step of appendText needs: the bytes of a step stored whole, or fewer and an
// escape.
constexpr std::ptrdiff_t kStepRoom = 24 + kStepBytes;
// The room appendText leaves after what it appended, for the few bytes of markup that follow,
// tested once per element rather than once per byte.
constexpr std::size_t kAfterText = kStepRoom - (kStepBytes - 1);

#if KORVATH_WORD_SCAN
// Flags, as XmlChars' word tests do, the end of the text and the bytes that may have an escape:
// the markup characters and every byte below 0x0E, among them tab, line feed and carriage
// return. '<' and '>' differ in one bit, as '"' and '&' do, so one test finds either; a quote
// in text is flagged too and written as itself.
template <Escapes E>
std::uint64_t flagged(std::uint64_t word) {
  if constexpr (E == Escapes::kNone) {
    return zeroBytes(word);
  } else {
    return bytesEqual(word | 0x02 * kOnes, '>') | bytesEqual(word | 0x04 * kOnes, '&') |
           bytesBelow(word, 0x0E);
  }
}

// A word whose first `n` bytes are 0xFF, which no test flags, and the others zero: or'ed into a
// word, it hides the bytes before a text.
inline std::uint64_t filled(unsigned n) { return (std::uint64_t{1} << (8 * n)) - 1; }

using AliasingWord = std::uint64_t __attribute__((may_alias));

// Forced inline, which saves the writer some 7% of its instructions, except where addresses are
// checked: there a function inlined would take the checks of its caller, and the functions are
// only marked inline, as functions defined in a header must be.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVATH_ADDRESS_CHECKS 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(KORVATH_ADDRESS_CHECKS)
#define KORVATH_INLINE_UNCHECKED inline
#else
#define KORVATH_INLINE_UNCHECKED inline __attribute__((always_inline))
#endif

// Appends the zero-terminated `text` at `to`, escaped as `E` says, finding its end as it goes;
// returns where the next byte goes, with at least kAfterText bytes of room there. The text is
// read a word at a time, each word from an address that is a multiple of eight: the bytes before
// the text or after its end that share a word with it lie on the same page, so the reads cannot
// fault, but they lie outside the string, which is why the address checks are off here alone.
#if KORVATH_BLOCK_SCAN
// The bytes of a block of sixteen that may have an escape or end the text, as flagged() marks
// them in a word, one bit per byte.
template <Escapes E>
unsigned flaggedBytes(__m128i bytes) {
  if constexpr (E == Escapes::kNone) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128())));
  } else {
    const __m128i below = _mm_cmpeq_epi8(_mm_min_epu8(bytes, _mm_set1_epi8(0x0D)), bytes);
    const __m128i angle =
        _mm_cmpeq_epi8(_mm_or_si128(bytes, _mm_set1_epi8(0x02)), _mm_set1_epi8('>'));
    const __m128i quoteOrAmp =
        _mm_cmpeq_epi8(_mm_or_si128(bytes, _mm_set1_epi8(0x04)), _mm_set1_epi8('&'));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(below, _mm_or_si128(angle, quoteOrAmp))));
  }
}

// Copies the sixteen bytes from `skip` on of the block at `at`, whose bytes are `bytes` and
// whose flagged bytes are `flags`, to `to`. They are loaded again from the text where they start,
// which may run into the next block: that block holds more of the text when none of these bytes
// is flagged, and lies on the same page unless this block is the page's last. Only there, rarely,
// are they copied from the block stored aside; a load of a part of bytes just stored waits until
// the store is done, which took most of the time of a short text.
__attribute__((no_sanitize("address"))) KORVATH_INLINE_UNCHECKED void copyBlockFrom(
    char* to, const char* at, __m128i bytes, unsigned skip, unsigned flags) {
  constexpr std::uintptr_t kPage = 4096;
  if (skip == 0) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), bytes);
  } else if (flags == 0 || (reinterpret_cast<std::uintptr_t>(at) + 16) % kPage != 0) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + skip)));
  } else {
    alignas(16) char block[32] = {};
    _mm_store_si128(reinterpret_cast<__m128i*>(block), bytes);
    std::memcpy(to, block + skip, 16);
  }
}

// As the word version below, sixteen bytes a step, each block from an address that is a
// multiple of sixteen.
template <Escapes E, class Out>
__attribute__((no_sanitize("address"))) KORVATH_INLINE_UNCHECKED char* appendText(
    Out& out, char* to, const char* text) {
  const char* at = text - reinterpret_cast<std::uintptr_t>(text) % 16;
  unsigned skip = static_cast<unsigned>(text - at);
  char* end = out.end();
  for (;;) {
    if (end - to < kStepRoom) {
      to = out.renew(to);
      end = out.end();
    }
    const __m128i bytes = _mm_load_si128(reinterpret_cast<const __m128i*>(at));
    const unsigned flags = flaggedBytes<E>(bytes) >> skip << skip;
    copyBlockFrom(to, at, bytes, skip, flags);
    if (flags == 0) {
      to += 16 - skip;
      at += 16;
      skip = 0;
      continue;
    }
    // The lowest flag is exact: the end, or a byte that may have an escape.
    const unsigned flaggedAt = static_cast<unsigned>(__builtin_ctz(flags));
    to += flaggedAt - skip;
    const auto c = static_cast<unsigned char>(at[flaggedAt]);
    if (E == Escapes::kNone || c == 0) return to;
    to = appendEscaped(to, c, E == Escapes::kAttribute);
    skip = flaggedAt + 1;
    if (skip == 16) {
      at += 16;
      skip = 0;
    }
  }
}
#else
template <Escapes E, class Out>
__attribute__((no_sanitize("address"))) KORVATH_INLINE_UNCHECKED char* appendText(
    Out& out, char* to, const char* text) {
  const char* at = text - reinterpret_cast<std::uintptr_t>(text) % 8;
  unsigned skip = static_cast<unsigned>(text - at);
  std::uint64_t word = *reinterpret_cast<const AliasingWord*>(at) | filled(skip);
  char* end = out.end();
  for (;;) {
    if (end - to < kStepRoom) {
      to = out.renew(to);
      end = out.end();
    }
    const std::uint64_t flags = flagged<E>(word);
    const std::uint64_t bytes = word >> (8 * skip);
    std::memcpy(to, &bytes, sizeof bytes);
    if (flags == 0) {
      to += 8 - skip;
      at += 8;
      skip = 0;
      word = *reinterpret_cast<const AliasingWord*>(at);
      continue;
    }
    // The lowest flag is exact: the end, or a byte that may have an escape.
    const unsigned flaggedAt = static_cast<unsigned>(__builtin_ctzll(flags)) / 8;
    to += flaggedAt - skip;
    const auto c = static_cast<unsigned char>(at[flaggedAt]);
    if (E == Escapes::kNone || c == 0) return to;
    to = appendEscaped(to, c, E == Escapes::kAttribute);
    skip = flaggedAt + 1;
    if (skip < 8) {
      word |= filled(skip);
    } else {
      at += 8;
      skip = 0;
      word = *reinterpret_cast<const AliasingWord*>(at);
    }
  }
}
#endif
#else
template <Escapes E, class Out>
char* appendText(Out& out, char* to, const char* text) {
  for (char* end = out.end();; ++text) {
    if (end - to < kStepRoom) {
      to = out.renew(to);
      end = out.end();
    }
    const auto c = static_cast<unsigned char>(*text);
    if (c == 0) return to;
    if (E == Escapes::kNone) {
      *to++ = static_cast<char>(c);
    } else {
      to = appendEscaped(to, c, E == Escapes::kAttribute);
    }
  }
}
#endif

}  // namespace orvidom
