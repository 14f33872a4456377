#include "orvidom/DocumentParser.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>

#include "orvidom/ORVIDOM_Store.h"
#include "orvidom/ParsePosition.h"
#include "orvidom/XmlChars.h"
#include "orvidom/XmlDeclaration.h"
#include "orvidom/XmlScan.h"

namespace orvidom {
namespace {

constexpr const char* kInvalidChar = "invalid UTF-8 or a character XML does not allow";

// Space, tab, line feed and carriage return.
struct SpaceTable {
  bool space[256] = {};
  constexpr SpaceTable() { space[' '] = space['\t'] = space['\n'] = space['\r'] = true; }
};
constexpr SpaceTable kSpaces;
inline bool isSpace(char c) { return kSpaces.space[static_cast<unsigned char>(c)]; }

// A byte that may go on a name as far as the messages go: an ASCII name character or a byte of
// a multi-byte sequence.
inline bool isNameByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return kAsciiName.rest[u] || u >= 0x80;
}

char predefinedEntity(std::string_view name) {
  if (name == "lt") return '<';
  if (name == "gt") return '>';
  if (name == "amp") return '&';
  if (name == "quot") return '"';
  if (name == "apos") return '\'';
  return '\0';
}

int digitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// True when `text` starts with `prefix`; the buffer's padding ends every comparison in time.
template <std::size_t N>
bool startsWith(const char* text, const char (&prefix)[N]) {
  return std::memcmp(text, prefix, N - 1) == 0;
}

// Parses one document into its store. The input is copied into the store's string space and
// parsed there in place: names and values that need no decoding stay where they are, ended by a
// zero byte written over the markup after them, and decoded ones are written over their own
// text, which no reference or line end makes longer. Positions in the copy are positions in
// the input, which the messages read, since what has been written over is gone from the copy.
class DocumentParser {
 public:
  DocumentParser(std::string_view xml, ORVIDOM_Store& store, char* buffer)
      : m_xml(xml),
        m_store(store),
        m_nodes(store.nodes),
        m_attrs(store.attrs),
        m_buffer(buffer),
        m_text(buffer + 1),
        m_end(buffer + 1 + xml.size()) {}

  void parse() {
    char* p = m_text;
    if (startsWith(p, "\xEF\xBB\xBF")) p += 3;
    m_start = p;
    p = misc(p, false);
    if (p == m_end) fail(p, "no root element");
    refuseOutsideRoot(p, false);
    p = startTag(p);
    while (m_cur != kDocumentNode) p = content(p);
    p = misc(p, true);
    if (p != m_end) refuseOutsideRoot(p, true);
    m_lastRecord->previous = m_last;
  }

 private:
  // --- Messages, out of line so that the paths that may fail carry no string building.

  std::size_t offset(const char* p) const { return static_cast<std::size_t>(p - m_text); }

  [[noreturn, gnu::noinline, gnu::cold]] void fail(const char* at, const std::string& message) {
    throwParseError(m_xml, offset(at), message);
  }
  [[noreturn]] void failInvalidChar(const char* at) { fail(at, kInvalidChar); }

  // The name written at `at` in the input, as far as the messages go.
  std::string nameAt(const char* at) const {
    const std::size_t start = std::min(offset(at), m_xml.size());
    std::size_t end = start;
    while (end < m_xml.size() && isNameByte(m_xml[end])) ++end;
    return std::string(m_xml.substr(start, end - start));
  }
  // What the markup at `tag`, a "<", is.
  std::string markupAt(const char* tag) const {
    const std::size_t at = offset(tag);
    if (at + 1 < m_xml.size() && m_xml[at + 1] == '/') {
      return "the end tag </" + nameAt(tag + 2) + ">";
    }
    const std::string name = nameAt(tag + 1);
    return name.empty() ? "\"<\"" : "the start tag <" + name + ">";
  }
  [[noreturn]] void failInside(const char* tag) {
    fail(m_end, "the document ends inside " + markupAt(tag));
  }
  // Fails at `at` in the tag at `tag`; at the end of the input, as a tag the input ends inside.
  [[noreturn]] void failInTag(const char* tag, const char* at, const std::string& expected) {
    if (at >= m_end) failInside(tag);
    fail(at, expected + " in " + markupAt(tag));
  }
  // "start tag <x> opened at 1:4" for the open element.
  std::string openedTag() const {
    const char* tag = m_buffer + m_curRecord->text - 1;
    return "start tag <" + nameAt(tag + 1) + "> opened at " + position(m_xml, offset(tag));
  }

  // --- Outside the root element.

  // Skips white space, comments and processing instructions outside the root element; returns
  // at the "<" of other markup, or at the end.
  char* misc(char* p, bool afterRoot) {
    for (;;) {
      while (isSpace(*p)) ++p;
      if (*p == '<' && p[1] == '?') {
        p = processingInstruction(p);
      } else if (*p == '<' && p[1] == '!' && p[2] == '-') {
        p = comment(p);
      } else if (*p == '<' || p == m_end) {
        return p;
      } else {
        std::uint32_t c;
        const std::size_t length = decodeUtf8(reinterpret_cast<const unsigned char*>(p),
                                              static_cast<std::size_t>(m_end - p), c);
        if (length == 0 || !isXmlChar(c)) failInvalidChar(p);
        fail(p, afterRoot ? "text after the root element" : "text before the root element");
      }
    }
  }

  // Refuses the markup at `p` outside the root element, but for the root's own start tag.
  void refuseOutsideRoot(char* p, bool afterRoot) {
    if (p[1] == '!') markupDeclaration(p);
    if (p[1] == '/') fail(p, "end tag </" + nameAt(p + 2) + "> without a start tag");
    if (!afterRoot) return;
    if (isNameByte(p[1])) fail(p, "element <" + nameAt(p + 1) + "> after the root element");
    if (p + 1 >= m_end) failInside(p);
    fail(p + 1, "expected a name, \"/\", \"?\" or \"!\" after \"<\"");
  }

  // --- Markup that holds no element.

  // "<!" that starts a comment or a CDATA section, or nothing accepted. The "<" may have been
  // written over by the end of the text before.
  char* markupDeclaration(char* p) {
    if (p[2] == '-') return comment(p);
    if (startsWith(p + 1, "![CDATA[")) {
      if (m_cur == kDocumentNode) fail(p, "CDATA section outside the root element");
      return cdata(p);
    }
    if (startsWith(p + 1, "!DOCTYPE")) fail(p, "document type declarations are not accepted");
    if (p[2] == '[') fail(p, "malformed CDATA section");
    if (p + 2 >= m_end) fail(m_end, "the document ends inside a markup declaration");
    fail(p, "unexpected markup declaration");
  }

  char* comment(char* p) {
    if (p[3] != '-') fail(p, "malformed comment");
    for (char* in = p + 4;;) {
      in = runEnd(in, kCommentStops);
      if (*in == '-') {
        if (in[1] != '-') {
          ++in;
          continue;
        }
        if (in[2] == '>') return in + 3;
        fail(in, "\"--\" inside a comment");
      }
      if (in >= m_end) fail(p, "unterminated comment");
      in += checkedChar(in);
    }
  }

  char* processingInstruction(char* p) {
    char* target = p + 2;
    char* q = name(target, "processing instruction target");
    if (q == target) {
      if (q >= m_end) fail(p, "unterminated processing instruction");
      fail(target, "expected a processing instruction target after \"<?\"");
    }
    if (q - target == 3 && (target[0] | ' ') == 'x' && (target[1] | ' ') == 'm' &&
        (target[2] | ' ') == 'l') {
      const std::string written(target, 3);
      if (p != m_start) {
        fail(p, "\"<?" + written + "\" is only allowed at the very start of the document");
      }
      if (written != "xml") {
        fail(p, "the XML declaration is written \"<?xml\", not \"<?" + written + "\"");
      }
      return p + (checkXmlDeclaration(m_xml, p, m_text, m_end) - p);
    }
    if (*q == '?' && q[1] == '>') return q + 2;
    if (!isSpace(*q)) {
      if (q >= m_end) fail(p, "unterminated processing instruction");
      fail(q, "expected white space or \"?>\" after the processing instruction target \"" +
                  std::string(target, q) + "\"");
    }
    for (char* in = q + 1;;) {
      in = runEnd(in, kInstructionStops);
      if (*in == '?') {
        if (in[1] == '>') return in + 2;
        ++in;
        continue;
      }
      if (in >= m_end) fail(p, "unterminated processing instruction");
      in += checkedChar(in);
    }
  }

  // --- Names and characters.

  // The end of the XML name at `p` (`p` itself when no name starts there). `what` names it in
  // the message when a character of it is no name character.
  [[gnu::always_inline]] char* name(char* p, const char* what) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    if (kAsciiName.start[*u]) {
      do {
        ++u;
      } while (kAsciiName.rest[*u]);
      if (*u < 0x80) return reinterpret_cast<char*>(const_cast<unsigned char*>(u));
    } else if (*u < 0x80) {
      return p;
    }
    return nameBeyondAscii(p, reinterpret_cast<char*>(const_cast<unsigned char*>(u)), what);
  }

  // The rest of the name at `name` from `at`, a byte from 0x80.
  [[gnu::noinline]] char* nameBeyondAscii(char* name, char* at, const char* what) {
    for (;;) {
      const auto u = static_cast<unsigned char>(*at);
      if (u < 0x80) {
        if (!kAsciiName.rest[u]) return at;
        ++at;
        continue;
      }
      std::uint32_t c;
      const std::size_t length = decodeUtf8(reinterpret_cast<const unsigned char*>(at),
                                            static_cast<std::size_t>(m_end - at), c);
      if (length == 0 || !isXmlChar(c)) failInvalidChar(at);
      if (!(at == name ? isNameStartChar(c) : isNameChar(c))) {
        fail(at, std::string(what) + " \"" + nameAt(name) + "\" is not an XML name");
      }
      at += length;
    }
  }

  // The length of the character at `at`, a control character or a byte from 0x80; fails when it
  // is not one XML allows (at the end of the input, the caller has failed first).
  std::size_t checkedChar(const char* at) {
    std::uint32_t c;
    const std::size_t length = decodeUtf8(reinterpret_cast<const unsigned char*>(at),
                                          static_cast<std::size_t>(m_end - at), c);
    if (length == 0 || !isXmlChar(c)) failInvalidChar(at);
    return length;
  }

  // Copies the character at `in`, a byte from 0x80 or a control character XML allows, to `out`.
  void copyChar(char*& in, char*& out) {
    for (std::size_t length = checkedChar(in); length > 0; --length) *out++ = *in++;
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
    char* end = name(in + 1, "entity name");
    if (end == in + 1) fail(in, "\"&\" that starts no entity or character reference");
    const std::string_view entity(in + 1, static_cast<std::size_t>(end - in - 1));
    if (*end != ';') {
      fail(end, "expected \";\" after the entity name \"" + std::string(entity) + "\"");
    }
    const char c = predefinedEntity(entity);
    if (c == '\0') fail(in, "reference to an undeclared entity \"" + std::string(entity) + "\"");
    *out++ = c;
    return end + 1;
  }

  // --- Elements and their content.

  // Adds a node as the last child of the open element; returns its record, which stays where
  // it is for the whole parse (parseDocument reserves the room).
  [[gnu::always_inline]] NodeRecord* addChild(TextRef text, std::uint32_t attributeOrKind) {
    Index n;
    NodeRecord* record = m_nodes.add(n);
    *record = {text, m_cur, 0, m_last, 0, attributeOrKind};
    if (m_lastRecord) {
      m_lastRecord->next = n;
    } else {
      m_curRecord->firstChild = n;
    }
    m_last = n;
    m_lastRecord = record;
    m_openText = 0;
    return record;
  }
  TextRef ref(const char* p) const { return static_cast<TextRef>(p - m_buffer); }

  // What follows the start of the open element's content: markup or text.
  [[gnu::always_inline]] char* content(char* p) {
    if (*p != '<') p = text(p);
    // p is at a "<", which the text before may have ended with a zero.
    switch (p[1]) {
      case '/':
        return endTag(p);
      case '!':
        return markupDeclaration(p);
      case '?':
        return processingInstruction(p);
      default:
        return startTag(p);
    }
  }

  // Opens the element of the start tag at `p`, a "<"; returns after the tag.
  [[gnu::always_inline]] char* startTag(char* p) {
    char* q = name(p + 1, "element name");
    if (q == p + 1) {
      if (q >= m_end) failInside(p);
      fail(q, "expected a name, \"/\", \"?\" or \"!\" after \"<\"");
    }
    const char c = *q;
    *q = '\0';
    if (c == '>') return open(addChild(ref(p + 1), 0), q + 1);
    if (c == '/' && q[1] == '>') {
      addChild(ref(p + 1), 0);
      return q + 2;
    }
    if (!isSpace(c)) failInTag(p, c == '/' ? q + 1 : q, "expected white space, \">\" or \"/>\"");
    return attributes(p, q + 1);
  }

  // Makes the element of `record`, the last child of the open one, the open one; returns
  // `after`.
  char* open(NodeRecord* record, char* after) {
    m_cur = m_last;
    m_curRecord = record;
    m_last = 0;
    m_lastRecord = nullptr;
    return after;
  }

  // The attributes of the start tag at `tag` from `q`, after white space, and the element they
  // belong to; returns after the tag.
  [[gnu::always_inline]] char* attributes(char* tag, char* q) {
    Index first = 0;
    AttrRecord* last = nullptr;
    std::size_t count = 0;
    for (bool spaced = true;;) {
      while (isSpace(*q)) {
        ++q;
        spaced = true;
      }
      if (*q == '>') return open(addChild(ref(tag + 1), first), q + 1);
      if (*q == '/') {
        if (q[1] != '>') failInTag(tag, q + 1, "expected white space, \">\" or \"/>\"");
        addChild(ref(tag + 1), first);
        return q + 2;
      }
      char* attribute = q;
      q = name(q, "attribute name");
      if (q == attribute) failInTag(tag, q, "expected white space, \">\" or \"/>\"");
      if (!spaced) failInTag(tag, attribute, "expected white space between attributes");
      char* nameEnd = q;
      while (isSpace(*q)) ++q;
      if (*q != '=') {
        failInTag(tag, q, "expected \"=\" after the attribute name \"" + nameAt(attribute) + "\"");
      }
      *nameEnd = '\0';
      do {
        ++q;
      } while (isSpace(*q));
      const char quote = *q;
      if (quote != '"' && quote != '\'') {
        failInTag(tag, q,
                  "expected a quoted value for the attribute \"" + nameAt(attribute) + "\"");
      }
      char* value = q + 1;
      q = attributeValue(tag, value, quote) + 1;
      if (count > 0) refuseRepeated(tag, first, attribute, count);
      Index a;
      AttrRecord* record = m_attrs.add(a);
      *record = {ref(attribute), ref(value), 0};
      if (last) {
        last->next = a;
      } else {
        first = a;
      }
      last = record;
      ++count;
      spaced = false;
    }
  }

  // Fails when the attribute at `name` repeats one of the `count` before it, from `first` on,
  // which the parser numbered one after another, in the tag at `tag`. Few are compared in
  // place; from kLinearLimit on a set of their names keeps a tag of many attributes linear.
  void refuseRepeated(const char* tag, Index first, const char* name, std::size_t count) {
    constexpr std::size_t kLinearLimit = 16;
    if (count < kLinearLimit) {
      for (Index a = first; a < first + count; ++a) {
        if (std::strcmp(m_buffer + m_attrs[a].name, name) == 0) failRepeated(tag, name);
      }
      return;
    }
    if (count == kLinearLimit) {
      m_seen.clear();
      for (Index a = first; a < first + count; ++a) m_seen.insert(m_buffer + m_attrs[a].name);
    }
    if (!m_seen.insert(name).second) failRepeated(tag, name);
  }
  [[noreturn]] void failRepeated(const char* tag, const char* name) {
    fail(name, "attribute \"" + std::string(name) + "\" given twice on <" + nameAt(tag + 1) + ">");
  }

  // Reads the value from `in` up to `quote` of the tag at `tag`, replacing references and
  // turning white space into spaces in place; returns where the quote was, now the value's end.
  [[gnu::always_inline]] char* attributeValue(char* tag, char* in, char quote) {
    char* out = in;
    for (;;) {
      char* run = in;
      in = attributeRunEnd(in, quote);
      if (out != run) std::memmove(out, run, static_cast<std::size_t>(in - run));
      out += in - run;
      const char c = *in;
      if (c == quote) break;
      if (c == '&') {
        in = reference(in, out);
      } else if (c == '\t' || c == '\n') {
        *out++ = ' ';
        ++in;
      } else if (c == '\r') {
        *out++ = ' ';
        in += in[1] == '\n' ? 2 : 1;
      } else if (c == '<') {
        fail(in, "\"<\" in an attribute value");
      } else {
        if (in >= m_end) failInside(tag);
        copyChar(in, out);
      }
    }
    *out = '\0';
    return in;
  }

  // Reads character data from `in` into a text node, or onto the text node before when only
  // comments and processing instructions stand between them; returns at the "<" that ends it.
  char* text(char* in) {
    Index node = m_openText;
    char* out = node ? m_openTextEnd : in;
    const char* start = in;
    for (;;) {
      char* run = in;
      in = textRunEnd(in);
      if (out != run) std::memmove(out, run, static_cast<std::size_t>(in - run));
      out += in - run;
      const char c = *in;
      if (c == '<') break;
      if (c == '&') {
        in = reference(in, out);
      } else if (c == '\r') {
        *out++ = '\n';
        in += in[1] == '\n' ? 2 : 1;
      } else if (c == ']') {
        if (in[1] == ']' && in[2] == '>') fail(in, "\"]]>\" in text");
        *out++ = *in++;
      } else {
        if (in >= m_end) fail(m_end, "the document ends before the end tag of the " + openedTag());
        copyChar(in, out);
      }
    }
    *out = '\0';
    if (!node) {
      addChild(ref(start), kKindText);
      node = m_last;
    }
    m_openText = node;
    m_openTextEnd = out;
    return in;
  }

  // A CDATA section at `p`, which starts "<![CDATA[".
  char* cdata(char* p) {
    char* in = p + 9;
    char* out = in;
    const char* start = in;
    for (;;) {
      char* run = in;
      in = runEnd(in, kCDataStops);
      if (out != run) std::memmove(out, run, static_cast<std::size_t>(in - run));
      out += in - run;
      const char c = *in;
      if (c == ']') {
        if (in[1] == ']' && in[2] == '>') break;
        *out++ = *in++;
      } else if (c == '\r') {
        *out++ = '\n';
        in += in[1] == '\n' ? 2 : 1;
      } else {
        if (in >= m_end) fail(p, "unterminated CDATA section");
        copyChar(in, out);
      }
    }
    *out = '\0';
    addChild(ref(start), kKindCData);
    return in + 3;
  }

  // Closes the open element with the end tag at `p`; returns after the tag.
  char* endTag(char* p) {
    char* q = p + 2;
    const char* expected = m_buffer + m_curRecord->text;
    while (*expected && *q == *expected) {
      ++q;
      ++expected;
    }
    if (*expected || isNameByte(*q)) {
      if (offset(p + 2) + nameAt(p + 2).size() >= m_xml.size()) failInside(p);
      fail(p, "end tag </" + nameAt(p + 2) + "> does not match " + openedTag());
    }
    while (isSpace(*q)) ++q;
    if (*q != '>') {
      if (q >= m_end) failInside(p);
      fail(q, "expected \">\" to close " + markupAt(p));
    }
    // The first child has kept no last sibling while its siblings were added.
    if (const Index first = m_curRecord->firstChild) m_nodes[first].previous = m_last;
    m_last = m_cur;
    m_lastRecord = m_curRecord;
    m_cur = m_curRecord->parent;
    m_curRecord = &m_nodes[m_cur];
    m_openText = 0;
    return q + 1;
  }

  std::string_view m_xml;
  ORVIDOM_Store& m_store;
  RecordArena<NodeRecord>& m_nodes;
  RecordArena<AttrRecord>& m_attrs;
  // Byte 0 of the store's strings, then the copy of the input and its padding.
  char* m_buffer;
  char* m_text;
  char* m_end;
  // Where the XML declaration may stand: the start, after a byte order mark.
  char* m_start = nullptr;
  // The open element (the document before the root and after it) and its last child, with their
  // records.
  Index m_cur = kDocumentNode;
  Index m_last = 0;
  NodeRecord* m_curRecord = &m_nodes[kDocumentNode];
  NodeRecord* m_lastRecord = nullptr;
  // The text node the next character data joins, and where its text now ends; 0 once other
  // markup than comments and processing instructions has followed it.
  Index m_openText = 0;
  char* m_openTextEnd = nullptr;
  std::unordered_set<std::string_view> m_seen;
};

}  // namespace

void parseDocument(std::string_view xml, ORVIDOM_Store& store) {
  if (xml.size() > StringSpace::kMaxInput) {
    throwParseError(xml, 0,
                    "the document is larger than " + std::to_string(StringSpace::kMaxInput) +
                        " bytes, the most one document holds");
  }
  // No record moves while the parse adds them: a node takes two bytes of input at the least
  // ("x<a/>"), an attribute five (" a=''").
  store.nodes.reserve(static_cast<Index>(std::min<std::size_t>(xml.size() / 2 + 2, 0xFFFFFFFFu)));
  store.attrs.reserve(static_cast<Index>(std::min<std::size_t>(xml.size() / 5 + 1, 0xFFFFFFFFu)));
  char* buffer = store.strings.adoptInput(xml.size());
  std::memcpy(buffer + 1, xml.data(), xml.size());
  DocumentParser(xml, store, buffer).parse();
}

}  // namespace orvidom
