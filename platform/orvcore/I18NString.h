// Unicode text held as UTF-8: the string type of every name, value and identifier.
#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <utility>

#include <Korvath_ActionHelper/orvcore/ORVExport.h>

class KORVATH_API I18NString {
 public:
  // An empty string.
  I18NString() = default;
  // UTF-8 text up to the terminating zero; a null pointer gives the empty string.
  I18NString(const char* text);  // NOLINT(google-explicit-constructor)
  // UTF-8 text taken as it is.
  I18NString(std::string text) noexcept : m_text(std::move(text)) {}  // NOLINT
  // The `length` bytes of UTF-8 text at `text`, taken as they are: a reader's view of its input
  // becomes a text without a string made first and moved in.
  I18NString(const char* text, std::size_t length) : m_text(text, length) {}
  // Text in `encoding` (null or "UTF-8" for UTF-8, "ISO-8859-1", "Latin1" or
  // "Latin-1" in any letter case for Latin-1), `length` bytes
  // or up to the terminating zero when -1; the converter and context are not used.
  I18NString(const char* text, const char* encoding, int length, const void* converter,
             const void* context);

  // The text's length in bytes of UTF-8.
  std::size_t length() const noexcept { return m_text.size(); }
  // True when the text has no characters.
  bool empty() const noexcept { return m_text.empty(); }
  // The UTF-8 text.
  const std::string& str() const noexcept { return m_text; }
  // The UTF-8 text, zero-terminated.
  const char* c_str() const noexcept { return m_text.c_str(); }

  I18NString& operator+=(const I18NString& other) {
    m_text += other.m_text;
    return *this;
  }
  I18NString& operator+=(const char* text) {
    if (text) m_text += text;
    return *this;
  }
  // Appends one character given by its code point, as UTF-8.
  I18NString& operator+=(unsigned codePoint);

  friend bool operator==(const I18NString& a, const I18NString& b) noexcept {
    return a.m_text == b.m_text;
  }
  friend bool operator!=(const I18NString& a, const I18NString& b) noexcept {
    return a.m_text != b.m_text;
  }
  friend bool operator==(const I18NString& a, const char* b) noexcept {
    return a.m_text == (b ? b : "");
  }
  friend bool operator!=(const I18NString& a, const char* b) noexcept { return !(a == b); }
  friend bool operator==(const char* a, const I18NString& b) noexcept { return b == a; }
  friend bool operator!=(const char* a, const I18NString& b) noexcept { return !(b == a); }
  // Byte order of the UTF-8 text, which is code point order.
  friend bool operator<(const I18NString& a, const I18NString& b) noexcept {
    return a.m_text < b.m_text;
  }

  friend I18NString operator+(I18NString a, const I18NString& b) { return a += b; }
  friend I18NString operator+(I18NString a, const char* b) { return a += b; }
  friend I18NString operator+(I18NString a, unsigned codePoint) { return a += codePoint; }
  friend I18NString operator+(const char* a, const I18NString& b) { return I18NString(a) += b; }

 private:
  std::string m_text;
};

// Writes the UTF-8 text.
KORVATH_API std::ostream& operator<<(std::ostream& out, const I18NString& text);

template <>
struct std::hash<I18NString> {
  std::size_t operator()(const I18NString& s) const noexcept {
    return std::hash<std::string>()(s.str());
  }
};
