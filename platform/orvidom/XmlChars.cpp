#include "orvidom/XmlChars.h"

namespace orvidom {

std::size_t decodeUtf8(const unsigned char* p, std::size_t n, std::uint32_t& cp) noexcept {
  const unsigned char b0 = p[0];
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t len;
  std::uint32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, min = 0x80, cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, min = 0x800, cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, min = 0x10000, cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (n < len) return 0;
  for (std::size_t i = 1; i < len; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  return cp < min ? 0 : len;
}

namespace {

// True when one of the eight bytes of `word` is below 0x20 or at or above 0x80: a control
// character or a byte of a multi-byte sequence, which need a closer look. Most text is printable
// ASCII, and testing eight bytes at once keeps the check cheap next to parsing.
bool mayHoldSpecialByte(std::uint64_t word) noexcept {
  return ((word - 0x20 * kOnes) | word) & kHighBits;
}

}  // namespace

std::size_t findInvalidXmlChar(std::string_view text) noexcept {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i != n) {
    if (n - i >= sizeof(std::uint64_t) && !mayHoldSpecialByte(loadWord(p + i))) {
      i += sizeof(std::uint64_t);
      continue;
    }
    std::uint32_t cp;
    const std::size_t len = decodeUtf8(p + i, n - i, cp);
    if (len == 0 || !isXmlChar(cp)) return i;
    i += len;
  }
  return std::string_view::npos;
}

bool isNameStartChar(std::uint32_t c) noexcept {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' ||
         (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
         (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
         (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
         (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
         (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0xEFFFF);
}

bool isNameChar(std::uint32_t c) noexcept {
  if (isNameStartChar(c)) return true;
  return (c >= '0' && c <= '9') || c == '-' || c == '.' || c == 0xB7 ||
         (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

std::size_t nameLengthFrom(std::string_view text, std::size_t ascii) noexcept {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = ascii;
  while (i != n) {
    std::uint32_t cp;
    const std::size_t len = decodeUtf8(p + i, n - i, cp);
    if (len == 0 || !(i == 0 ? isNameStartChar(cp) : isNameChar(cp))) break;
    i += len;
  }
  return i;
}

}  // namespace orvidom
