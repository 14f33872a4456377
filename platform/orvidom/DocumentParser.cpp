#include "orvidom/DocumentParser.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "orvidom/NameCache.h"
#include "orvidom/ORVIDOM_Store.h"
#include "orvidom/ParsePosition.h"
#include "orvidom/ParseWindow.h"
#include "orvidom/XmlChars.h"
#include "orvidom/XmlDeclaration.h"
#include "orvidom/XmlScan.h"

namespace orvidom {
namespace {

constexpr const char* kInvalidChar = "invalid UTF-8 or a character XML does not allow";
// The longest input a document holds: its strings must fit the 32-bit space of its strings.
constexpr std::size_t kMaxInput = 0xFFF00000u;

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

// True when `text` starts with `prefix`; the window's zero bytes end every comparison in time.
template <std::size_t N>
bool startsWith(const char* text, const char (&prefix)[N]) {
  return std::memcmp(text, prefix, N - 1) == 0;
}

// Parses one document into its store in one pass over its input, a window at a time. Each part
// of the input (a tag, a run of text, a comment) is read whole before the tree changes: a part
// that runs past the window's end is read again once the window has moved on (NeedMore). Names
// are kept once per document where short, and values copied out of the window as they are
// decoded.
class DocumentParser {
 public:
  DocumentParser(std::string_view xml, ORVIDOM_Store& store, std::size_t window)
      : m_xml(xml),
        m_window(xml, window),
        m_store(store),
        m_nodes(store.nodes),
        m_attrs(store.attrs),
        m_curRecord(&store.nodes[kDocumentNode]) {}

  void parse() {
    char* p = m_window.begin();
    if (startsWith(p, "\xEF\xBB\xBF")) p += 3;
    m_start = m_window.offset(p);
    for (;;) {
      m_part = p;
      m_partAttributes = m_attrs.size();
      try {
        run();
        m_lastRecord->previous = m_last;
        return;
      } catch (const NeedMore&) {
        // The attributes of a tag read in part are read again: the room reserved for them is
        // what the input allows.
        m_attrs.truncate(m_partAttributes);
        p = m_window.moveTo(m_part);
      }
    }
  }

 private:
  enum class Phase { kProlog, kContent, kEpilog, kDone };

  // Reads parts from m_part on, each from its start, until the input ends.
  void run() {
    while (m_phase == Phase::kProlog) m_part = prolog(m_part);
    while (m_phase == Phase::kContent) {
      if (m_part >= m_window.moveAt()) m_part = m_window.moveTo(m_part);
      m_partAttributes = m_attrs.size();
      m_part = content(m_part);
    }
    while (m_phase == Phase::kEpilog) m_part = epilog(m_part);
  }

  // --- Messages, out of line so that the paths that may fail carry no string building.

  std::size_t offset(const char* p) const { return m_window.offset(p); }
  const char* end() const { return m_window.end(); }

  // Fails at `at`, or moves the window on when what is there may lie past its end.
  [[noreturn, gnu::noinline, gnu::cold]] void fail(const char* at, const std::string& message) {
    m_window.needMoreNear(at);
    throwParseError(m_xml, offset(at), message);
  }
  [[noreturn]] void failInvalidChar(const char* at) { fail(at, kInvalidChar); }
  // Fails at `at` for what reached the window's end at `reached`.
  [[noreturn]] void failAtEnd(const char* reached, const char* at, const std::string& message) {
    m_window.needMoreNear(reached);
    fail(at, message);
  }

  // The name written at `offset` in the input, as far as the messages go.
  std::string nameAt(std::size_t offset) const {
    const std::size_t start = std::min(offset, m_xml.size());
    std::size_t stop = start;
    while (stop < m_xml.size() && isNameByte(m_xml[stop])) ++stop;
    return std::string(m_xml.substr(start, stop - start));
  }
  std::string nameAt(const char* at) const { return nameAt(offset(at)); }
  // What the markup at `tag`, a "<", is.
  std::string markupAt(const char* tag) const {
    const std::size_t at = offset(tag);
    if (at + 1 < m_xml.size() && m_xml[at + 1] == '/') {
      return "the end tag </" + nameAt(at + 2) + ">";
    }
    const std::string name = nameAt(at + 1);
    return name.empty() ? "\"<\"" : "the start tag <" + name + ">";
  }
  [[noreturn]] void failInside(const char* tag, const char* reached) {
    m_window.needMoreNear(reached);
    throwParseError(m_xml, m_xml.size(), "the document ends inside " + markupAt(tag));
  }
  // Fails at `at` in the tag at `tag`; at the end of the input, as a tag the input ends inside.
  [[noreturn]] void failInTag(const char* tag, const char* at, const std::string& expected) {
    if (at >= end()) failInside(tag, at);
    fail(at, expected + " in " + markupAt(tag));
  }
  // "start tag <x> opened at 1:4" for the open element.
  std::string openedTag() const {
    const std::size_t tag = m_openTags.back();
    return "start tag <" + nameAt(tag + 1) + "> opened at " + position(m_xml, tag);
  }

  // --- Outside the root element.

  // Skips white space, comments and processing instructions outside the root element; returns
  // at the "<" of other markup, or at the end of the input.
  char* misc(char* p, bool afterRoot) {
    for (;;) {
      while (isSpace(*p)) ++p;
      m_part = p;
      if (*p == '<' && p[1] == '?') {
        p = processingInstruction(p);
      } else if (*p == '<' && p[1] == '!' && p[2] == '-') {
        p = comment(p);
      } else if (*p == '<') {
        return p;
      } else if (p >= end()) {
        m_window.needMoreNear(p);
        return p;
      } else {
        std::uint32_t c;
        const std::size_t length = decodeUtf8(reinterpret_cast<const unsigned char*>(p),
                                              static_cast<std::size_t>(end() - p), c);
        if (length == 0 || !isXmlChar(c)) failInvalidChar(p);
        fail(p, afterRoot ? "text after the root element" : "text before the root element");
      }
    }
  }

  char* prolog(char* p) {
    p = misc(p, false);
    if (p >= end()) fail(p, "no root element");
    if (p[1] == '!') markupDeclaration(p);
    if (p[1] == '/') fail(p, "end tag </" + nameAt(p + 2) + "> without a start tag");
    p = startTag(p);
    m_phase = m_cur == kDocumentNode ? Phase::kEpilog : Phase::kContent;
    return p;
  }

  char* epilog(char* p) {
    p = misc(p, true);
    if (p >= end()) {
      m_phase = Phase::kDone;
      return p;
    }
    if (p[1] == '!') markupDeclaration(p);
    if (p[1] == '/') fail(p, "end tag </" + nameAt(p + 2) + "> without a start tag");
    if (isNameByte(p[1])) fail(p, "element <" + nameAt(p + 1) + "> after the root element");
    if (p + 1 >= end()) failInside(p, p + 1);
    fail(p + 1, "expected a name, \"/\", \"?\" or \"!\" after \"<\"");
  }

  // --- Markup that holds no element.

  // "<!" that starts a comment or a CDATA section, or nothing accepted.
  char* markupDeclaration(char* p) {
    if (p[2] == '-') return comment(p);
    if (startsWith(p, "<![CDATA[")) {
      if (m_phase != Phase::kContent) fail(p, "CDATA section outside the root element");
      return cdata(p);
    }
    if (startsWith(p, "<!DOCTYPE")) fail(p, "document type declarations are not accepted");
    if (p[2] == '[') fail(p, "malformed CDATA section");
    if (p + 2 >= end()) failAtEnd(p + 2, end(), "the document ends inside a markup declaration");
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
      if (in >= end()) failAtEnd(in, p, "unterminated comment");
      in += checkedChar(in);
    }
  }

  char* processingInstruction(char* p) {
    char* target = p + 2;
    char* q = name(target, "processing instruction target");
    if (q == target) {
      if (q >= end()) failAtEnd(q, p, "unterminated processing instruction");
      fail(target, "expected a processing instruction target after \"<?\"");
    }
    if (q - target == 3 && (target[0] | ' ') == 'x' && (target[1] | ' ') == 'm' &&
        (target[2] | ' ') == 'l') {
      const std::string written(target, 3);
      if (offset(p) != m_start) {
        fail(p, "\"<?" + written + "\" is only allowed at the very start of the document");
      }
      if (written != "xml") {
        fail(p, "the XML declaration is written \"<?xml\", not \"<?" + written + "\"");
      }
      return p + (checkXmlDeclaration(m_xml, m_window, p) - p);
    }
    if (*q == '?' && q[1] == '>') return q + 2;
    if (!isSpace(*q)) {
      if (q >= end()) failAtEnd(q, p, "unterminated processing instruction");
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
      if (in >= end()) failAtEnd(in, p, "unterminated processing instruction");
      in += checkedChar(in);
    }
  }

  // --- Names and characters.

  // The end of the XML name at `p` (`p` itself when no name starts there). `what` names it in
  // the message when a character of it is no name character. A name that reaches the window's
  // end may go on past it, and is read again from a window that holds it.
  [[gnu::always_inline]] char* name(char* p, const char* what) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    if (kAsciiName.start[*u]) {
      do {
        ++u;
      } while (kAsciiName.rest[*u]);
      if (*u == 0) m_window.needMoreNear(p + (u - reinterpret_cast<const unsigned char*>(p)));
      if (*u < 0x80) return p + (u - reinterpret_cast<const unsigned char*>(p));
    } else if (*u < 0x80) {
      return p;
    }
    return nameBeyondAscii(p, p + (u - reinterpret_cast<const unsigned char*>(p)), what);
  }

  // The rest of the name at `name` from `at`, a byte from 0x80.
  [[gnu::noinline]] char* nameBeyondAscii(char* name, char* at, const char* what) {
    for (;;) {
      const auto u = static_cast<unsigned char>(*at);
      if (u < 0x80) {
        if (u == 0) m_window.needMoreNear(at);
        if (!kAsciiName.rest[u]) return at;
        ++at;
        continue;
      }
      std::uint32_t c;
      const std::size_t length = decodeUtf8(reinterpret_cast<const unsigned char*>(at),
                                            static_cast<std::size_t>(end() - at), c);
      if (length == 0 || !isXmlChar(c)) failInvalidChar(at);
      if (!(at == name ? isNameStartChar(c) : isNameChar(c))) {
        fail(at, std::string(what) + " \"" + nameAt(name) + "\" is not an XML name");
      }
      at += length;
    }
  }

  // The document's string for the name from `start` to `stop`: one copy of each short name.
  [[gnu::always_inline]] TextRef nameRef(const char* start, const char* stop) {
    const auto size = static_cast<std::size_t>(stop - start);
    return size <= NameCache::kLongest ? m_names.find(start, size, m_store)
                                       : m_store.strings.add(std::string_view(start, size));
  }

  // The length of the character at `at`, a control character or a byte from 0x80; fails when it
  // is not one XML allows (at the end of the window, the caller has failed first).
  std::size_t checkedChar(const char* at) {
    std::uint32_t c;
    const std::size_t length = decodeUtf8(reinterpret_cast<const unsigned char*>(at),
                                          static_cast<std::size_t>(end() - at), c);
    if (length == 0 || !isXmlChar(c)) failInvalidChar(at);
    return length;
  }

  // --- Strings written into the document as they are decoded: from m_outStart to m_out, with
  // room up to m_outLimit.

  // Starts a string.
  void beginString() { m_outStart = m_out = m_store.strings.room(kRoom, m_outLimit); }
  // Makes room for `size` more bytes at m_out.
  void makeRoom(std::size_t size) {
    if (static_cast<std::size_t>(m_outLimit - m_out) >= size) return;
    const auto used = static_cast<std::size_t>(m_out - m_outStart);
    m_outStart = m_store.strings.grow(m_outStart, used, size + kRoom, m_outLimit);
    m_out = m_outStart + used;
  }
  TextRef endString() {
    makeRoom(1);
    return m_store.strings.commit(m_out);
  }
  // Copies the run of plain characters from `run` to `stop` to the string.
  void copyRun(const char* run, const char* stop) {
    const auto size = static_cast<std::size_t>(stop - run);
    makeRoom(size);
    std::memcpy(m_out, run, size);
    m_out += size;
  }
  // Copies the character at `in`, a byte from 0x80 or a control character XML allows, to the
  // string; returns where it ends.
  char* copyChar(char* in) {
    const std::size_t length = checkedChar(in);
    copyRun(in, in + length);
    return in + length;
  }
  void put(char c) {
    makeRoom(1);
    *m_out++ = c;
  }

  // Writes the character of the reference at `in` ("&...;") to the string; returns where it
  // ends.
  char* reference(char* in) {
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
      if (p == digits || *p != ';') failAtEnd(p, in, "malformed character reference");
      if (!isXmlChar(value)) fail(in, "character reference to a character XML does not allow");
      makeRoom(4);
      m_out = encodeUtf8(value, m_out);
      return p + 1;
    }
    char* stop = name(in + 1, "entity name");
    if (stop == in + 1) failAtEnd(stop, in, "\"&\" that starts no entity or character reference");
    const std::string_view entity(in + 1, static_cast<std::size_t>(stop - in - 1));
    if (*stop != ';') {
      fail(stop, "expected \";\" after the entity name \"" + std::string(entity) + "\"");
    }
    const char c = predefinedEntity(entity);
    if (c == '\0') fail(in, "reference to an undeclared entity \"" + std::string(entity) + "\"");
    put(c);
    return stop + 1;
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

  // What follows in the open element's content: text or markup.
  [[gnu::always_inline]] char* content(char* p) {
    if (*p != '<') return text(p);
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
      if (q >= end()) failInside(p, q);
      fail(q, "expected a name, \"/\", \"?\" or \"!\" after \"<\"");
    }
    const char c = *q;
    if (c == '>') return open(p, addChild(nameRef(p + 1, q), 0), q + 1);
    if (c == '/' && q[1] == '>') {
      addChild(nameRef(p + 1, q), 0);
      return q + 2;
    }
    if (!isSpace(c)) failInTag(p, c == '/' ? q + 1 : q, "expected white space, \">\" or \"/>\"");
    return attributes(p, q, q + 1);
  }

  // Makes the element of `record`, the last child of the open one and of the start tag at
  // `tag`, the open one; returns `after`.
  char* open(const char* tag, NodeRecord* record, char* after) {
    m_openTags.push_back(offset(tag));
    m_cur = m_last;
    m_curRecord = record;
    m_last = 0;
    m_lastRecord = nullptr;
    return after;
  }

  // The attributes of the start tag at `tag` whose name ends at `nameEnd`, from `q` on, after
  // white space; returns after the tag.
  [[gnu::always_inline]] char* attributes(char* tag, const char* nameEnd, char* q) {
    Index first = 0;
    AttrRecord* last = nullptr;
    std::size_t count = 0;
    for (bool spaced = true;;) {
      while (isSpace(*q)) {
        ++q;
        spaced = true;
      }
      if (*q == '>') return open(tag, addChild(nameRef(tag + 1, nameEnd), first), q + 1);
      if (*q == '/') {
        if (q[1] != '>') failInTag(tag, q + 1, "expected white space, \">\" or \"/>\"");
        addChild(nameRef(tag + 1, nameEnd), first);
        return q + 2;
      }
      char* attribute = q;
      q = name(q, "attribute name");
      if (q == attribute) failInTag(tag, q, "expected white space, \">\" or \"/>\"");
      if (!spaced) failInTag(tag, attribute, "expected white space between attributes");
      const TextRef attributeName = nameRef(attribute, q);
      while (isSpace(*q)) ++q;
      if (*q != '=') {
        failInTag(tag, q, "expected \"=\" after the attribute name \"" + nameAt(attribute) + "\"");
      }
      do {
        ++q;
      } while (isSpace(*q));
      const char quote = *q;
      if (quote != '"' && quote != '\'') {
        failInTag(tag, q,
                  "expected a quoted value for the attribute \"" + nameAt(attribute) + "\"");
      }
      const TextRef value = attributeValue(tag, q + 1, quote, q);
      if (count > 0) refuseRepeated(tag, first, attribute, attributeName, count);
      Index a;
      AttrRecord* record = m_attrs.add(a);
      *record = {attributeName, value, 0};
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

  // Fails when the attribute `name`, written at `at`, repeats one of the `count` before it,
  // from `first` on, which the parser numbered one after another. Few are compared in place;
  // from kLinearLimit on a set of their names keeps a tag of many attributes linear.
  void refuseRepeated(const char* tag, Index first, const char* at, TextRef name,
                      std::size_t count) {
    constexpr std::size_t kLinearLimit = 16;
    const char* text = m_store.text(name);
    if (count < kLinearLimit) {
      for (Index a = first; a < first + count; ++a) {
        const TextRef seen = m_attrs[a].name;
        if (seen == name || std::strcmp(m_store.text(seen), text) == 0) failRepeated(tag, at);
      }
      return;
    }
    if (count == kLinearLimit) {
      m_seen.clear();
      for (Index a = first; a < first + count; ++a) m_seen.insert(m_store.text(m_attrs[a].name));
    }
    if (!m_seen.insert(text).second) failRepeated(tag, at);
  }
  [[noreturn]] void failRepeated(const char* tag, const char* at) {
    fail(at, "attribute \"" + nameAt(at) + "\" given twice on <" + nameAt(tag + 1) + ">");
  }

  // The string of the run of plain characters from `start` to `stop`. Most are short: sixteen
  // bytes are copied whole, which the window's zero bytes and the room asked for allow.
  [[gnu::always_inline]] TextRef plainString(const char* start, const char* stop) {
    const auto size = static_cast<std::size_t>(stop - start);
    char* limit;
    char* out = m_store.strings.room(size + 17, limit);
    if (size <= 16) {
      std::memcpy(out, start, 16);
    } else {
      std::memcpy(out, start, size);
    }
    return m_store.strings.commit(out + size);
  }

  // Reads the value from `in` up to `quote` of the tag at `tag`, replacing references and
  // turning white space into spaces; leaves `q` after the closing quote and returns the value.
  [[gnu::always_inline]] TextRef attributeValue(char* tag, char* in, char quote, char*& q) {
    char* stop = attributeRunEnd(in, quote);
    if (*stop != quote) return decodedValue(tag, in, quote, q);
    q = stop + 1;
    return plainString(in, stop);
  }
  [[gnu::noinline]] TextRef decodedValue(char* tag, char* in, char quote, char*& q) {
    beginString();
    for (;;) {
      char* run = in;
      in = attributeRunEnd(in, quote);
      copyRun(run, in);
      const char c = *in;
      if (c == quote) break;
      if (c == '&') {
        in = reference(in);
      } else if (c == '\t' || c == '\n') {
        put(' ');
        ++in;
      } else if (c == '\r') {
        put(' ');
        in += in[1] == '\n' ? 2 : 1;
      } else if (c == '<') {
        fail(in, "\"<\" in an attribute value");
      } else {
        if (in >= end()) failInside(tag, in);
        in = copyChar(in);
      }
    }
    q = in + 1;
    return endString();
  }

  // Reads character data from `in` into a text node, or onto the text node before when only
  // comments and processing instructions stand between them; returns at the "<" that ends it.
  [[gnu::always_inline]] char* text(char* in) {
    char* stop = textRunEnd(in);
    if (*stop != '<' || m_openText) return decodedText(in);
    addChild(plainString(in, stop), kKindText);
    m_openText = m_last;
    return stop;
  }
  [[gnu::noinline]] char* decodedText(char* in) {
    beginString();
    if (m_openText) {
      const char* before = m_store.textOf(m_openText);
      copyRun(before, before + std::strlen(before));
    }
    for (;;) {
      char* run = in;
      in = textRunEnd(in);
      copyRun(run, in);
      const char c = *in;
      if (c == '<') break;
      if (c == '&') {
        in = reference(in);
      } else if (c == '\r') {
        put('\n');
        in += in[1] == '\n' ? 2 : 1;
      } else if (c == ']') {
        if (in[1] == ']' && in[2] == '>') fail(in, "\"]]>\" in text");
        put(*in++);
      } else {
        if (in >= end()) {
          failAtEnd(in, end(), "the document ends before the end tag of the " + openedTag());
        }
        in = copyChar(in);
      }
    }
    const TextRef text = endString();
    if (m_openText) {
      m_nodes[m_openText].text = text;
    } else {
      addChild(text, kKindText);
      m_openText = m_last;
    }
    return in;
  }

  // A CDATA section at `p`, which starts "<![CDATA[".
  char* cdata(char* p) {
    char* in = p + 9;
    beginString();
    for (;;) {
      char* run = in;
      in = runEnd(in, kCDataStops);
      copyRun(run, in);
      const char c = *in;
      if (c == ']') {
        if (in[1] == ']' && in[2] == '>') break;
        put(*in++);
      } else if (c == '\r') {
        put('\n');
        in += in[1] == '\n' ? 2 : 1;
      } else {
        if (in >= end()) failAtEnd(in, p, "unterminated CDATA section");
        in = copyChar(in);
      }
    }
    addChild(endString(), kKindCData);
    return in + 3;
  }

  // Closes the open element with the end tag at `p`; returns after the tag.
  char* endTag(char* p) {
    char* q = p + 2;
    const char* expected = m_store.text(m_curRecord->text);
    while (*expected && *q == *expected) {
      ++q;
      ++expected;
    }
    if (*expected || isNameByte(*q)) {
      m_window.needMoreNear(q);
      const std::string written = nameAt(p + 2);
      if (offset(p + 2) + written.size() >= m_xml.size()) failInside(p, end());
      fail(p, "end tag </" + written + "> does not match " + openedTag());
    }
    while (isSpace(*q)) ++q;
    if (*q != '>') {
      if (q >= end()) failInside(p, q);
      fail(q, "expected \">\" to close " + markupAt(p));
    }
    // The first child has kept no last sibling while its siblings were added.
    if (const Index first = m_curRecord->firstChild) m_nodes[first].previous = m_last;
    m_openTags.pop_back();
    m_last = m_cur;
    m_lastRecord = m_curRecord;
    m_cur = m_curRecord->parent;
    m_curRecord = &m_nodes[m_cur];
    m_openText = 0;
    if (m_cur == kDocumentNode) m_phase = Phase::kEpilog;
    return q + 1;
  }

  // The room a string starts with: most values fit, and a decoded character takes four bytes.
  static constexpr std::size_t kRoom = 64;

  std::string_view m_xml;
  ParseWindow m_window;
  ORVIDOM_Store& m_store;
  RecordArena<NodeRecord>& m_nodes;
  RecordArena<AttrRecord>& m_attrs;
  Phase m_phase = Phase::kProlog;
  // The start of the part being read, from which it is read again after the window moves on,
  // and the number of attributes before it.
  char* m_part = nullptr;
  Index m_partAttributes = 0;
  // Where the XML declaration may stand: the start, after a byte order mark.
  std::size_t m_start = 0;
  // The open element (the document before the root and after it) and its last child, with their
  // records, and where the start tag of each open element lies in the input.
  Index m_cur = kDocumentNode;
  Index m_last = 0;
  NodeRecord* m_curRecord;
  NodeRecord* m_lastRecord = nullptr;
  std::vector<std::size_t> m_openTags;
  // The text node the next character data joins; 0 once other markup than comments and
  // processing instructions has followed it.
  Index m_openText = 0;
  char* m_outStart = nullptr;
  char* m_out = nullptr;
  char* m_outLimit = nullptr;
  std::unordered_set<std::string_view> m_seen;
  NameCache m_names;
};

}  // namespace

void parseDocument(std::string_view xml, ORVIDOM_Store& store, std::size_t window) {
  if (xml.size() > kMaxInput) {
    throwParseError(xml, 0,
                    "the document is larger than " + std::to_string(kMaxInput) +
                        " bytes, the most one document holds");
  }
  // No record moves while the parse adds them: a node takes two bytes of input at the least
  // ("x<a/>"), an attribute five (" a=''").
  store.nodes.reserve(static_cast<Index>(xml.size() / 2 + 2));
  store.attrs.reserve(static_cast<Index>(xml.size() / 5 + 1));
  DocumentParser(xml, store, window).parse();
}

}  // namespace orvidom
