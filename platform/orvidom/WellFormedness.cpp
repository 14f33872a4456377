#include "orvidom/WellFormedness.h"

#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "orvidom/ORVIDOM_ParseError.h"
#include "orvidom/XmlChars.h"

namespace orvidom {

void throwParseError(std::string_view xml, std::size_t offset, const std::string& message) {
  if (offset > xml.size()) offset = xml.size();
  int line = 1;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < offset; ++i) {
    if (xml[i] == '\n') ++line, lineStart = i + 1;
  }
  int column = 1;
  for (std::size_t i = lineStart; i < offset; ++i) {
    if ((static_cast<unsigned char>(xml[i]) & 0xC0) != 0x80) ++column;
  }
  throw ORVIDOM_ParseError(message, line, column, offset);
}

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The bytes of an attribute value that end it or need a check.
struct ValueStopTable {
  bool stop[256] = {};
  constexpr ValueStopTable() {
    for (unsigned char c : {'"', '\'', '<', '&'}) stop[c] = true;
  }
};
constexpr ValueStopTable kValueStopTable;
constexpr const bool* kValueStop = kValueStopTable.stop;

class Scanner {
 public:
  explicit Scanner(std::string_view xml) : m_xml(xml) {}

  void run() {
    const std::size_t bad = findInvalidXmlChar(m_xml);
    if (bad != std::string_view::npos) fail(bad, "invalid UTF-8 or a character XML does not allow");
    while (m_pos < m_xml.size()) {
      if (m_xml[m_pos] == '<') {
        markup();
      } else {
        text();
      }
    }
    if (!m_rootSeen) fail(m_pos, "no root element");
  }

 private:
  [[noreturn]] void fail(std::size_t at, const std::string& message) {
    throwParseError(m_xml, at, message);
  }

  // Out of line, so that the hot paths that may fail carry no string building.
  [[noreturn, gnu::noinline, gnu::cold]] void failExpected(const char* what) {
    fail(m_pos, std::string("expected ") + what);
  }

  bool startsWith(std::string_view s) const { return m_xml.substr(m_pos, s.size()) == s; }

  // The offset of `s` at or after `from`; fails with `what` when it is not there.
  std::size_t find(const char* s, std::size_t from, const char* what) {
    const std::size_t at = m_xml.find(s, from);
    if (at == std::string_view::npos) fail(m_pos, what);
    return at;
  }

  void markup() {
    // Dispatched on the character after "<": start tags, by far the most frequent markup, then
    // need no further test.
    const char next = m_pos + 1 < m_xml.size() ? m_xml[m_pos + 1] : '\0';
    if (next == '?') {
      m_pos = find("?>", m_pos + 2, "unterminated processing instruction") + 2;
    } else if (next == '/') {
      endTag();
    } else if (next != '!') {
      startTag();
    } else if (startsWith("<!--")) {
      comment();
    } else if (startsWith("<![CDATA[")) {
      if (m_depth == 0) fail(m_pos, "CDATA section outside the root element");
      m_pos = find("]]>", m_pos + 9, "unterminated CDATA section") + 3;
    } else if (startsWith("<!DOCTYPE")) {
      if (m_rootSeen) fail(m_pos, "document type declaration after the root element");
      doctype();
    } else {
      fail(m_pos, "unexpected markup declaration");
    }
  }

  void comment() {
    const std::size_t body = m_pos + 4;
    const std::size_t end = find("-->", body, "unterminated comment");
    const std::size_t dashes = m_xml.find("--", body);
    if (dashes < end || (end > body && m_xml[end - 1] == '-')) {
      fail(dashes < end ? dashes : end - 1, "\"--\" inside a comment");
    }
    m_pos = end + 3;
  }

  // Skips the declaration with its internal subset; nothing in it is processed.
  void doctype() {
    char quote = 0;
    int brackets = 0;
    for (std::size_t i = m_pos + 9; i < m_xml.size(); ++i) {
      const char c = m_xml[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '[') {
        ++brackets;
      } else if (c == ']') {
        --brackets;
      } else if (c == '<' && m_xml.compare(i, 4, "<!--") == 0) {
        i = m_xml.find("-->", i + 4);
        if (i == std::string_view::npos) break;
        i += 2;
      } else if (c == '>' && brackets <= 0) {
        m_pos = i + 1;
        return;
      }
    }
    fail(m_pos, "unterminated document type declaration");
  }

  std::string_view name(const char* what) {
    const std::size_t len = nameLength(m_xml.substr(m_pos));
    if (len == 0) failExpected(what);
    std::string_view n = m_xml.substr(m_pos, len);
    m_pos += len;
    return n;
  }

  std::size_t skipSpace() {
    const std::size_t start = m_pos;
    while (m_pos < m_xml.size() && isSpace(m_xml[m_pos])) ++m_pos;
    return m_pos - start;
  }

  void expect(char c, const char* what) {
    if (m_pos >= m_xml.size() || m_xml[m_pos] != c) failExpected(what);
    ++m_pos;
  }

  void endTag() {
    m_pos += 2;
    name("an element name");
    skipSpace();
    expect('>', "\">\" to close the end tag");
    if (m_depth == 0) fail(m_pos, "end tag without a start tag");
    --m_depth;
  }

  void startTag() {
    if (m_rootSeen && m_depth == 0) fail(m_pos, "content after the root element");
    ++m_pos;
    name("an element name");
    m_attributes.clear();
    // Clearing an unordered set costs even when it is empty; it is only filled for long lists.
    if (!m_attributeSet.empty()) m_attributeSet.clear();
    for (;;) {
      const std::size_t spaces = skipSpace();
      const char c = m_pos < m_xml.size() ? m_xml[m_pos] : '\0';
      if (c == '/' && m_pos + 1 < m_xml.size() && m_xml[m_pos + 1] == '>') {
        m_pos += 2;
        break;
      }
      if (c == '>') {
        ++m_pos;
        ++m_depth;
        break;
      }
      if (spaces == 0) fail(m_pos, R"(expected white space, ">" or "/>")");
      attribute();
    }
    m_rootSeen = true;
  }

  void attribute() {
    const std::size_t at = m_pos;
    const std::string_view attrName = name("an attribute name");
    if (isDuplicate(attrName)) fail(at, "attribute \"" + std::string(attrName) + "\" given twice");
    skipSpace();
    expect('=', "\"=\" after the attribute name");
    skipSpace();
    if (m_pos >= m_xml.size() || (m_xml[m_pos] != '"' && m_xml[m_pos] != '\'')) {
      fail(m_pos, "expected a quoted attribute value");
    }
    const char quote = m_xml[m_pos++];
    // Values are short: a loop over a table of the bytes that need a look beats library scans.
    const char* const begin = m_xml.data();
    const char* const end = begin + m_xml.size();
    const char* p = begin + m_pos;
    for (;;) {
      while (p < end && !kValueStop[static_cast<unsigned char>(*p)]) ++p;
      if (p == end) fail(at, "unterminated attribute value");
      if (*p == quote) break;
      if (*p == '<') fail(static_cast<std::size_t>(p - begin), "\"<\" in an attribute value");
      if (*p == '&') {
        m_pos = static_cast<std::size_t>(p - begin);
        reference();
        p = begin + m_pos;
      } else {
        ++p;  // the other quote character
      }
    }
    m_pos = static_cast<std::size_t>(p - begin) + 1;
  }

  // The offset of the first `c` in [from, to); `to` when there is none. memchr scans many bytes
  // at a time, which keeps the long runs of plain text and values cheap.
  std::size_t findIn(char c, std::size_t from, std::size_t to) const {
    if (from >= to) return to;
    const void* at = std::memchr(m_xml.data() + from, c, to - from);
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - m_xml.data()) : to;
  }

  // Short attribute lists are compared in place; long ones go through a hash set, so a tag with
  // many attributes is still checked in linear time.
  bool isDuplicate(std::string_view attrName) {
    constexpr std::size_t kLinearLimit = 16;
    if (m_attributes.size() < kLinearLimit) {
      for (std::string_view seen : m_attributes) {
        if (seen == attrName) return true;
      }
      m_attributes.push_back(attrName);
      if (m_attributes.size() == kLinearLimit) {
        m_attributeSet.insert(m_attributes.begin(), m_attributes.end());
      }
      return false;
    }
    return !m_attributeSet.insert(attrName).second;
  }

  void text() {
    const std::size_t end = std::min(m_xml.find('<', m_pos), m_xml.size());
    if (m_depth == 0) {
      for (std::size_t i = m_pos; i < end; ++i) {
        if (!isSpace(m_xml[i])) {
          fail(i, m_rootSeen ? "text after the root element" : "text before the root element");
        }
      }
      m_pos = end;
      return;
    }
    // References and "]" are the only characters of text that need a look; a valid reference
    // holds neither "<" nor "]", so it ends before `end` and before the next "]".
    std::size_t amp = findIn('&', m_pos, end);
    std::size_t bracket = findIn(']', m_pos, end);
    while (amp < end || bracket < end) {
      if (amp < bracket) {
        m_pos = amp;
        reference();
        amp = findIn('&', m_pos, end);
      } else {
        if (m_xml.compare(bracket, 3, "]]>") == 0) fail(bracket, "\"]]>\" in text");
        bracket = findIn(']', bracket + 1, end);
      }
    }
    m_pos = end;
  }

  // Checks the reference at m_pos ("&...;") and moves past it.
  void reference() {
    const std::size_t at = m_pos;
    const std::size_t semi = m_xml.find(';', at);
    if (semi == std::string_view::npos || semi - at > 12) {
      fail(at, "\"&\" that starts no entity or character reference");
    }
    const std::string_view ref = m_xml.substr(at + 1, semi - at - 1);
    if (!ref.empty() && ref[0] == '#') {
      characterReference(ref.substr(1), at);
    } else if (ref != "lt" && ref != "gt" && ref != "amp" && ref != "quot" && ref != "apos") {
      fail(at, "reference to an undeclared entity \"" + std::string(ref) + "\"");
    }
    m_pos = semi + 1;
  }

  void characterReference(std::string_view digits, std::size_t at) {
    const bool hex = !digits.empty() && digits[0] == 'x';
    if (hex) digits.remove_prefix(1);
    std::uint32_t value = 0;
    for (char c : digits) {
      int d;
      if (c >= '0' && c <= '9') {
        d = c - '0';
      } else if (hex && c >= 'a' && c <= 'f') {
        d = c - 'a' + 10;
      } else if (hex && c >= 'A' && c <= 'F') {
        d = c - 'A' + 10;
      } else {
        fail(at, "malformed character reference");
      }
      value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
      if (value > 0x10FFFF) break;
    }
    if (digits.empty() || !isXmlChar(value)) {
      fail(at, "character reference to a character XML does not allow");
    }
  }

  std::string_view m_xml;
  std::size_t m_pos = 0;
  std::size_t m_depth = 0;
  bool m_rootSeen = false;
  std::vector<std::string_view> m_attributes;
  std::unordered_set<std::string_view> m_attributeSet;
};

}  // namespace

void checkWellFormedness(std::string_view xml) { Scanner(xml).run(); }

}  // namespace orvidom
