#include "orvidom/WellFormedness.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "orvidom/PugiTree.h"
#include "orvidom/XmlChars.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvidom {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kInvalidChar = "invalid UTF-8 or a character XML does not allow";

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The bytes that end a run of plain characters in one kind of string: its terminating zero,
// control characters, bytes of multi-byte sequences and the characters listed.
struct StopTable {
  bool stop[256] = {};
  constexpr StopTable(const char* special, bool tabAndLineFeed) {
    for (int c = 0; c < 0x20; ++c) stop[c] = true;
    stop['\t'] = stop['\n'] = tabAndLineFeed;
    for (int c = 0x80; c < 256; ++c) stop[c] = true;
    for (const char* p = special; *p; ++p) stop[static_cast<unsigned char>(*p)] = true;
  }
};
constexpr StopTable kTextStops("&]", false);
constexpr StopTable kAttributeStops("&<", true);  // tab and line feed become spaces
constexpr StopTable kCDataStops("", false);

int digitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

char predefinedEntity(std::string_view name) {
  if (name == "lt") return '<';
  if (name == "gt") return '>';
  if (name == "amp") return '&';
  if (name == "quot") return '"';
  if (name == "apos") return '\'';
  return '\0';
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char x = a[i] >= 'a' && a[i] <= 'z' ? a[i] - 'a' + 'A' : a[i];
    const char y = b[i] >= 'a' && b[i] <= 'z' ? b[i] - 'a' + 'A' : b[i];
    if (x != y) return false;
  }
  return true;
}

// A version the XML 1.0 rules read: "1." and digits.
bool isVersion1(std::string_view v) {
  if (v.size() < 3 || v.substr(0, 2) != "1.") return false;
  for (char c : v.substr(2)) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// An encoding name as XML writes it: a letter, then letters, digits, ".", "_" or "-".
bool isEncodingName(std::string_view v) {
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  if (v.empty() || !letter(v[0])) return false;
  for (char c : v) {
    if (!letter(c) && !(c >= '0' && c <= '9') && c != '.' && c != '_' && c != '-') return false;
  }
  return true;
}

// Checks and finishes the tree of one document; Tree reads it (see PugiTree.h).
template <class Tree>
class Checker {
 public:
  Checker(std::string_view xml, char* buffer, bool nonAscii, Node document)
      : m_xml(xml),
        m_buffer(buffer),
        m_end(buffer + xml.size()),
        m_nonAscii(nonAscii),
        m_document(document) {}

  void run() {
    checkTopLevel();
    walk();
  }

 private:
  // Out of line, so that the paths that may fail carry no string building.
  [[noreturn, gnu::noinline, gnu::cold]] void fail(std::size_t at, const std::string& message) {
    throwParseError(m_xml, at, message);
  }
  [[noreturn]] void fail(const char* at, const std::string& message) { fail(offset(at), message); }

  std::size_t offset(const char* p) const { return static_cast<std::size_t>(p - m_buffer); }
  bool inText(const char* p) const { return p >= m_buffer && p < m_end; }
  std::size_t endOf(const char* s) const { return offset(s) + std::strlen(s); }
  // Where the document starts: after a byte order mark.
  std::size_t textStart() const { return m_xml.substr(0, 3) == kByteOrderMark ? 3 : 0; }
  // The input's character at `pos`; a zero past its end, which no position pugixml has accepted
  // reaches, kept safe all the same.
  char at(std::size_t pos) const { return pos < m_xml.size() ? m_xml[pos] : '\0'; }

  // --- The nodes outside the root element and where each ends in the input. They are measured
  // before any string is decoded, while each string still has the length it had in the input.

  void checkTopLevel() {
    std::size_t pos = textStart();
    bool rootSeen = false;
    for (Node n = Tree::firstChild(m_document); n; n = Tree::nextSibling(n)) {
      const pugi::xml_node_type type = Tree::type(n);
      const std::size_t start = startOf(n, type);
      requireSpace(pos, start, rootSeen);
      if (type == pugi::node_element) {
        if (rootSeen) {
          fail(start, "element <" + std::string(Tree::name(n)) + "> after the root element");
        }
        rootSeen = true;
        pos = elementEnd(n);
      } else if (type == pugi::node_declaration) {
        pos = checkDeclaration(n, start);
      } else if (type == pugi::node_doctype) {
        fail(start, "document type declarations are not accepted");
      } else if (type == pugi::node_cdata) {
        fail(start, "CDATA section outside the root element");
      } else {
        pos = leafEnd(n, type);
      }
    }
    requireSpace(pos, m_xml.size(), rootSeen);
  }

  std::size_t startOf(Node n, pugi::xml_node_type type) const {
    switch (type) {
      case pugi::node_element:
        return offset(Tree::name(n)) - 1;
      case pugi::node_comment:
        return offset(Tree::value(n)) - 4;
      case pugi::node_cdata:
        return offset(Tree::value(n)) - 9;
      case pugi::node_doctype:
        return m_xml.rfind("<!DOCTYPE", offset(Tree::value(n)));
      default:  // a processing instruction or the XML declaration
        return offset(Tree::name(n)) - 2;
    }
  }

  void requireSpace(std::size_t from, std::size_t to, bool rootSeen) {
    for (std::size_t i = from; i < std::min(to, m_xml.size()); ++i) {
      if (isSpace(m_xml[i])) continue;
      std::uint32_t c;
      const auto* p = reinterpret_cast<const unsigned char*>(m_xml.data() + i);
      if (decodeUtf8(p, m_xml.size() - i, c) == 0 || !isXmlChar(c)) fail(i, kInvalidChar);
      fail(i, rootSeen ? "text after the root element" : "text before the root element");
    }
  }

  // Where the element ends: after the end tags closing its last descendants.
  std::size_t elementEnd(Node element) const {
    Node n = element;
    while (Node last = Tree::lastChild(n)) n = last;
    std::size_t pos = leafEnd(n, Tree::type(n));
    while (n != element) {
      n = Tree::parent(n);
      pos = endTagEnd(pos, n);
    }
    return pos;
  }

  std::size_t leafEnd(Node n, pugi::xml_node_type type) const {
    switch (type) {
      case pugi::node_element:
        return childlessElementEnd(n);
      case pugi::node_pcdata:
        return endOf(Tree::value(n));
      case pugi::node_cdata:    // "]]>"
      case pugi::node_comment:  // "-->"
        return endOf(Tree::value(n)) + 3;
      default: {  // a processing instruction: "?>" after its content or target
        const char* value = Tree::value(n);
        return (inText(value) ? endOf(value) : endOf(Tree::name(n))) + 2;
      }
    }
  }

  std::size_t childlessElementEnd(Node element) const {
    Attr last = nullptr;
    for (Attr a = Tree::firstAttribute(element); a; a = Tree::nextAttribute(a)) last = a;
    std::size_t pos = last ? endOf(Tree::value(last)) + 1 : endOf(Tree::name(element));
    while (isSpace(at(pos))) ++pos;
    return at(pos) == '/' ? pos + 2 : endTagEnd(pos + 1, element);
  }

  // The end of the end tag of `element` that starts at `pos`.
  std::size_t endTagEnd(std::size_t pos, Node element) const {
    pos += 2 + std::strlen(Tree::name(element));
    while (isSpace(at(pos))) ++pos;
    return pos + 1;
  }

  // Checks the XML declaration; returns where it ends.
  std::size_t checkDeclaration(Node declaration, std::size_t start) {
    const std::string_view target = Tree::name(declaration);
    if (start != textStart()) {
      fail(start,
           "\"<?" + std::string(target) + "\" is only allowed at the very start of the document");
    }
    if (target != "xml") {
      fail(start,
           "the XML declaration is written \"<?xml\", not \"<?" + std::string(target) + "\"");
    }
    Attr a = Tree::firstAttribute(declaration);
    if (!a || std::strcmp(Tree::name(a), "version") != 0) {
      fail(a ? offset(Tree::name(a)) : start, "the XML declaration must give the version first");
    }
    Attr last = a;
    if (!isVersion1(Tree::value(a))) {
      fail(Tree::value(a), "version \"" + std::string(Tree::value(a)) + "\" is not XML 1.x");
    }
    a = Tree::nextAttribute(a);
    if (a && std::strcmp(Tree::name(a), "encoding") == 0) {
      const std::string_view encoding = Tree::value(a);
      if (!isEncodingName(encoding)) {
        fail(Tree::value(a), "malformed encoding name \"" + std::string(encoding) + "\"");
      }
      if (!equalsIgnoringCase(encoding, "UTF-8")) {
        fail(Tree::value(a), "the document declares the encoding \"" + std::string(encoding) +
                                 "\"; only UTF-8 is accepted");
      }
      last = a;
      a = Tree::nextAttribute(a);
    }
    if (a && std::strcmp(Tree::name(a), "standalone") == 0) {
      const std::string_view standalone = Tree::value(a);
      if (standalone != "yes" && standalone != "no") {
        fail(Tree::value(a),
             "standalone is \"yes\" or \"no\", not \"" + std::string(standalone) + "\"");
      }
      last = a;
      a = Tree::nextAttribute(a);
    }
    if (a) {
      fail(Tree::name(a), "unexpected \"" + std::string(Tree::name(a)) +
                              "\" in the XML declaration (version, encoding, standalone)");
    }
    std::size_t pos = endOf(Tree::value(last)) + 1;
    while (isSpace(at(pos))) ++pos;
    if (at(pos) != '?' || at(pos + 1) != '>') {
      fail(pos, "expected \"?>\" to end the XML declaration");
    }
    return pos + 2;
  }

  // --- Every node in document order, without recursion.

  void walk() {
    Node cur = Tree::firstChild(m_document);
    while (cur) {
      // The tree has just outgrown the cache; waiting on each node would cost the walk a third.
      prefetchAhead(cur);
      Node next;
      if (Tree::type(cur) == pugi::node_element) {
        checkElement(cur);
        next = Tree::firstChild(cur);
        if (!next) next = following(cur);
      } else {
        next = following(cur);
        if (!keepLeaf(cur)) pugi::xml_node(Tree::parent(cur)).remove_child(pugi::xml_node(cur));
      }
      cur = next;
    }
  }

  // The node after `n` and its subtree in document order.
  Node following(Node n) const {
    for (;;) {
      if (Node next = Tree::nextSibling(n)) return next;
      n = Tree::parent(n);
      if (n == m_document) return nullptr;
    }
  }

  // Checks a node other than an element; returns whether it stays in the tree.
  bool keepLeaf(Node n) {
    switch (Tree::type(n)) {
      case pugi::node_pcdata:
        return checkText(n);
      case pugi::node_cdata:
        decode(Tree::value(n), kCDataStops.stop, false);
        return true;
      case pugi::node_comment:
        checkComment(Tree::value(n));
        return false;
      case pugi::node_pi:
        checkProcessingInstruction(n);
        return false;
      default:  // the XML declaration, checked with the top level
        return false;
    }
  }

  void checkElement(Node element) {
    // Read once: for all the compiler knows, the writes of decode() might change the member.
    const bool nonAscii = m_nonAscii;
    if (nonAscii) checkName(Tree::name(element), "element name");
    std::size_t count = 0;
    for (Attr a = Tree::firstAttribute(element); a; a = Tree::nextAttribute(a), ++count) {
      const char* name = Tree::name(a);
      if (nonAscii) checkName(name, "attribute name");
      if (count > 0 && isDuplicate(element, a, count)) {
        fail(name, "attribute \"" + std::string(name) + "\" given twice on <" +
                       Tree::name(element) + ">");
      }
      char* value = Tree::value(a);
      char* end = attributeRunEnd(value);
      if (*end != '\0') decode(end, kAttributeStops.stop, true);
    }
  }

  // pugixml reads a name as a name start character and name characters, where it takes any
  // byte from 0x80 for one: only a name holding such bytes needs a closer look, and in a text
  // without them (m_nonAscii false) no name does.
  void checkName(const char* name, const char* what) {
    if (!isAscii(name)) checkNameSlowly(name, what);
  }

  // Whether the string at `s` is ASCII, eight bytes at a time.
  static bool isAscii(const char* s) {
    for (;; s += 8) {
      std::uint64_t word;
      std::memcpy(&word, s, sizeof word);
      if (word & kHighBits) break;  // maybe past the string's end: looked at byte by byte
      if (zeroBytes(word)) return true;
    }
    for (; *s; ++s) {
      if (*s & 0x80) return false;
    }
    return true;
  }

  [[gnu::noinline]] void checkNameSlowly(const char* name, const char* what) {
    const std::size_t length = nameLength(std::string_view(name, m_end - name));
    if (length > 0 && name[length] == '\0') return;
    std::uint32_t c;
    const auto* p = reinterpret_cast<const unsigned char*>(name + length);
    if (decodeUtf8(p, m_end - name - length, c) == 0 || !isXmlChar(c)) {
      fail(name + length, kInvalidChar);
    }
    fail(name + length, std::string(what) + " \"" + name + "\" is not an XML name");
  }

  // Whether `a`, the attribute after the first `count` of `element`, repeats one of them. Short
  // lists are compared in place; long ones go through a hash set, so that a tag with many
  // attributes is still checked in linear time.
  bool isDuplicate(Node element, Attr a, std::size_t count) {
    constexpr std::size_t kLinearLimit = 16;
    const char* name = Tree::name(a);
    if (count < kLinearLimit) {
      for (Attr seen = Tree::firstAttribute(element); seen != a; seen = Tree::nextAttribute(seen)) {
        if (std::strcmp(Tree::name(seen), name) == 0) return true;
      }
      return false;
    }
    if (count == kLinearLimit) {
      m_attributeSet.clear();
      for (Attr seen = Tree::firstAttribute(element); seen != a; seen = Tree::nextAttribute(seen)) {
        m_attributeSet.insert(Tree::name(seen));
      }
    }
    return !m_attributeSet.insert(name).second;
  }

#if defined(__SSE2__)
  // The first byte from `s` that `flagged` marks, sixteen bytes at a time (the buffer has them).
  template <class Flags>
  static char* firstFlagged(char* s, Flags flagged) {
    for (;; s += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
      if (const int mask = _mm_movemask_epi8(flagged(bytes))) return s + __builtin_ctz(mask);
    }
  }
  // Bytes below the space: compared as signed, the bytes from 0x80 are too, and so is the zero
  // that ends a string.
  static __m128i controlOrHigh(__m128i bytes) { return _mm_cmpgt_epi8(_mm_set1_epi8(0x20), bytes); }
  static __m128i equal(__m128i bytes, char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); }
#endif

  // The end of the run of characters of an attribute value from `s` that need no look. Sixteen
  // or eight bytes are looked at together where the machine allows: most values take one step.
  static char* attributeRunEnd(char* s) {
#if defined(__SSE2__)
    return firstFlagged(s, [](__m128i bytes) {
      return _mm_or_si128(controlOrHigh(bytes), _mm_or_si128(equal(bytes, '&'), equal(bytes, '<')));
    });
#elif KORVATH_WORD_SCAN
    for (;; s += 8) {
      std::uint64_t word;
      std::memcpy(&word, s, sizeof word);
      const std::uint64_t special = bytesBelow(word, 0x20) | (word & kHighBits) |
                                    bytesEqual(word, '&') | bytesEqual(word, '<');
      if (special) return s + __builtin_ctzll(special) / 8;
    }
#else
    return plainRunEnd(s, kAttributeStops.stop);
#endif
  }

  // The same for text, where tabs and line feeds stay as they are and "]" may start "]]>".
  static char* textRunEnd(char* s) {
#if defined(__SSE2__)
    return firstFlagged(s, [](__m128i bytes) {
      const __m128i kept = _mm_or_si128(equal(bytes, '\t'), equal(bytes, '\n'));
      return _mm_or_si128(_mm_andnot_si128(kept, controlOrHigh(bytes)),
                          _mm_or_si128(equal(bytes, '&'), equal(bytes, ']')));
    });
#else
    return plainRunEnd(s, kTextStops.stop);
#endif
  }

  // The end of the run of characters from `s` that need no look: a loop over a table, unrolled.
  static char* plainRunEnd(char* s, const bool* stop) {
    auto* p = reinterpret_cast<unsigned char*>(s);
    for (;; p += 4) {
      if (stop[p[0]]) return reinterpret_cast<char*>(p);
      if (stop[p[1]]) return reinterpret_cast<char*>(p + 1);
      if (stop[p[2]]) return reinterpret_cast<char*>(p + 2);
      if (stop[p[3]]) return reinterpret_cast<char*>(p + 3);
    }
  }

  // Decodes a text node; returns false when it joins the text before a removed comment or
  // processing instruction and is to be dropped itself.
  bool checkText(Node text) {
    char* value = Tree::value(text);
    char* end = textRunEnd(value);
    if (*end != '\0') end = decode(end, kTextStops.stop, false);
    if (m_lastText && Tree::previousSibling(text) == m_lastText) {
      std::memmove(m_lastTextEnd, value, static_cast<std::size_t>(end - value) + 1);
      m_lastTextEnd += end - value;
      return false;
    }
    m_lastText = text;
    m_lastTextEnd = end;
    return true;
  }

  // Checks the characters of a string from `from` on and, in place, replaces its
  // references and normalises its line ends (in an attribute value, its white space). Returns
  // its new end. What is written never outruns what is read: no reference is shorter than its
  // character.
  [[gnu::noinline]] char* decode(char* from, const bool* stop, bool attribute) {
    char* in = from;
    char* out = from;
    for (;;) {
      char* run = in;
      in = plainRunEnd(in, stop);
      if (out != run) std::memmove(out, run, static_cast<std::size_t>(in - run));
      out += in - run;
      const char c = *in;
      if (c == '\0') {
        *out = '\0';
        return out;
      }
      if (c == '&') {
        in = reference(in, out);
      } else if (c == '\r') {
        *out++ = attribute ? ' ' : '\n';
        in += in[1] == '\n' ? 2 : 1;
      } else if (c == '\t' || c == '\n') {  // in an attribute value
        *out++ = ' ';
        ++in;
      } else if (c == '<') {
        fail(in, "\"<\" in an attribute value");
      } else if (c == ']') {
        if (in[1] == ']' && in[2] == '>') fail(in, "\"]]>\" in text");
        *out++ = *in++;
      } else {
        std::uint32_t cp;
        const std::size_t length =
            decodeUtf8(reinterpret_cast<const unsigned char*>(in), m_end - in, cp);
        if (length == 0 || !isXmlChar(cp)) fail(in, kInvalidChar);
        for (std::size_t i = 0; i < length; ++i) *out++ = *in++;
      }
    }
  }

  // Writes the character of the reference at `in` ("&...;") at `out`; returns where it ends.
  char* reference(char* in, char*& out) {
    if (in[1] == '#') {
      const bool hex = in[2] == 'x';
      char* p = in + (hex ? 3 : 2);
      const char* digits = p;
      std::uint32_t value = 0;
      for (int d; (d = digitValue(*p, hex)) >= 0; ++p) {
        // Leading zeros may make a reference of any length; past the last character the value
        // only needs to stay too large.
        if (value <= 0x10FFFF) value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
      }
      if (p == digits || *p != ';') fail(in, "malformed character reference");
      if (!isXmlChar(value)) fail(in, "character reference to a character XML does not allow");
      out = encodeUtf8(value, out);
      return p + 1;
    }
    const std::size_t length = nameLength(std::string_view(in + 1, m_end - in - 1));
    if (length == 0) fail(in, "\"&\" that starts no entity or character reference");
    const std::string_view name(in + 1, length);
    if (in[1 + length] != ';') {
      fail(in + 1 + length, "expected \";\" after the entity name \"" + std::string(name) + "\"");
    }
    const char c = predefinedEntity(name);
    if (c == '\0') fail(in, "reference to an undeclared entity \"" + std::string(name) + "\"");
    *out++ = c;
    return in + length + 2;
  }

  void checkComment(const char* value) {
    const std::size_t length = std::strlen(value);
    requireXmlChars(value, length);
    const char* dashes = std::strstr(value, "--");
    if (!dashes && length > 0 && value[length - 1] == '-') dashes = value + length - 1;
    if (dashes) fail(dashes, "\"--\" inside a comment");
  }

  void checkProcessingInstruction(Node pi) {
    if (m_nonAscii) checkName(Tree::name(pi), "processing instruction target");
    const char* value = Tree::value(pi);
    if (inText(value)) requireXmlChars(value, std::strlen(value));
  }

  void requireXmlChars(const char* s, std::size_t length) {
    const std::size_t bad = findInvalidXmlChar(std::string_view(s, length));
    if (bad != std::string_view::npos) fail(s + bad, kInvalidChar);
  }

  std::string_view m_xml;
  char* m_buffer;
  char* m_end;
  bool m_nonAscii;
  Node m_document;
  std::unordered_set<std::string_view> m_attributeSet;
  Node m_lastText = nullptr;  // the last text node kept, and where its text now ends
  char* m_lastTextEnd = nullptr;
};

}  // namespace

void checkParsedTree(std::string_view xml, char* buffer, bool nonAscii, pugi::xml_document& doc) {
  const Node document = doc.internal_object();
  withTree([&](auto tree) { Checker<decltype(tree)>(xml, buffer, nonAscii, document).run(); });
}

}  // namespace orvidom
