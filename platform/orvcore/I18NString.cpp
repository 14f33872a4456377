#include "orvcore/I18NString.h"

#include <cstring>
#include <ostream>

#include "orvcore/Utf8.h"

namespace {

// Encoding names are compared in any letter case, as XML and IANA compare them.
bool sameNameInAnyCase(const char* a, const char* b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (; *a && lower(*a) == lower(*b); ++a, ++b) {
  }
  return lower(*a) == lower(*b);
}

bool isLatin1(const char* encoding) {
  for (const char* name : {"ISO-8859-1", "Latin1", "Latin-1"}) {
    if (sameNameInAnyCase(encoding, name)) return true;
  }
  return false;
}

void appendUtf8(std::string& out, unsigned cp) {
  char bytes[4];
  out.append(bytes, orvcore::encodeUtf8(cp, bytes));
}

}  // namespace

I18NString::I18NString(const char* text) : m_text(text ? text : "") {}

I18NString::I18NString(const char* text, const char* encoding, int length, const void*,
                       const void*) {
  if (!text) return;
  const std::size_t n = length < 0 ? std::strlen(text) : static_cast<std::size_t>(length);
  if (encoding && isLatin1(encoding)) {
    for (std::size_t i = 0; i < n; ++i) appendUtf8(m_text, static_cast<unsigned char>(text[i]));
  } else {
    m_text.assign(text, n);
  }
}

I18NString& I18NString::operator+=(unsigned codePoint) {
  // A code point beyond Unicode's range becomes U+FFFD rather than an invalid sequence.
  appendUtf8(m_text, codePoint > 0x10FFFF ? 0xFFFD : codePoint);
  return *this;
}

std::ostream& operator<<(std::ostream& out, const I18NString& text) { return out << text.str(); }
