// Character classes of XML 1.0 over UTF-8 text. Internal to the DOM layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "orvcore/Utf8.h"

namespace orvidom {

// Decodes the UTF-8 sequence at `p` (at most `n` bytes) into `cp`; returns its length, or 0 when
// it is cut short, ill-formed or longer than the shortest form. The value may still be no
// character (a surrogate, or above U+10FFFF): every caller asks isXmlChar or the name classes,
// which refuse those, so they are not tested twice.
std::size_t decodeUtf8(const unsigned char* p, std::size_t n, std::uint32_t& cp) noexcept;

using orvcore::encodeUtf8;

// True for a character XML 1.0 documents may contain.
inline bool isXmlChar(std::uint32_t c) noexcept {
  if (c < 0x20) return c == 0x9 || c == 0xA || c == 0xD;
  return c <= 0xD7FF || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The offset of the first byte that is not valid UTF-8 or not an XML character; npos when the
// whole text is fine.
std::size_t findInvalidXmlChar(std::string_view text) noexcept;

// Tests of the eight bytes of a word at once. Each flags bytes by their high bit; the lowest
// flag is exact, while flags above it may be false, which is all a search for the first needs.
inline constexpr std::uint64_t kOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
// The eight bytes at `p` as a word, in the machine's byte order; `p` need not be aligned.
inline std::uint64_t loadWord(const void* p) noexcept {
  std::uint64_t word = 0;
  std::memcpy(&word, p, sizeof word);
  return word;
}
constexpr std::uint64_t bytesBelow(std::uint64_t word, unsigned char limit) {
  return (word - limit * kOnes) & ~word & kHighBits;
}
constexpr std::uint64_t zeroBytes(std::uint64_t word) { return bytesBelow(word, 1); }
constexpr std::uint64_t bytesEqual(std::uint64_t word, char c) {
  return zeroBytes(word ^ (static_cast<unsigned char>(c) * kOnes));
}

// Where the first flagged byte of a word is found by counting trailing zero bits.
#if defined(__GNUC__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#define KORVATH_WORD_SCAN 1
#else
#define KORVATH_WORD_SCAN 0
#endif

// True for a character that may start an XML name.
bool isNameStartChar(std::uint32_t c) noexcept;
// True for a character that may continue an XML name.
bool isNameChar(std::uint32_t c) noexcept;
// Whether a byte may start, or continue, an XML name on its own: an ASCII name character. The
// bytes of multi-byte sequences are all false here and are decoded instead.
struct AsciiNameTable {
  bool start[256] = {};
  bool rest[256] = {};
  constexpr AsciiNameTable() {
    for (int c = 0; c < 128; ++c) {
      start[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
      rest[c] = start[c] || (c >= '0' && c <= '9') || c == '-' || c == '.';
    }
  }
};
inline constexpr AsciiNameTable kAsciiName;

// The length of the XML name at the start of `text` whose first `ascii` bytes are known to be
// ASCII name characters (0 when there is no name).
std::size_t nameLengthFrom(std::string_view text, std::size_t ascii) noexcept;

// The length of the XML name at the start of `text` (0 when there is none). Nearly every name
// is ASCII and ends at an ASCII byte: its characters take one table lookup each, inline.
inline std::size_t nameLength(std::string_view text) noexcept {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  if (n > 0 && kAsciiName.start[p[0]]) {
    i = 1;
    while (i < n && kAsciiName.rest[p[i]]) ++i;
    if (i == n || p[i] < 0x80) return i;
  }
  return nameLengthFrom(text, i);
}
// True when the whole text is one XML name.
inline bool isXmlName(std::string_view text) noexcept {
  return !text.empty() && nameLength(text) == text.size();
}

}  // namespace orvidom
