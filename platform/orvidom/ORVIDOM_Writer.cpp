#include "orvidom/ORVIDOM_Writer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "orvidom/ORVIDOM_Store.h"
#include "orvidom/TextAppend.h"

namespace {

// The escape of `c`, or the empty string when it is written as itself. A carriage return is
// escaped everywhere, since a parser turns a raw one into a line feed; in attribute values so are
// tab and line feed, which a parser turns into spaces.
constexpr std::string_view escapeOf(unsigned char c, bool attribute) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '\r':
      return "&#13;";
    case '"':
      return attribute ? "&quot;" : "";
    case '\t':
      return attribute ? "&#9;" : "";
    case '\n':
      return attribute ? "&#10;" : "";
    default:
      return "";
  }
}

}  // namespace

char* orvidom::appendEscaped(char* to, unsigned char c, bool attribute) {
  const std::string_view escape = escapeOf(c, attribute);
  if (escape.empty()) {
    *to++ = static_cast<char>(c);
    return to;
  }
  std::memcpy(to, escape.data(), escape.size());
  return to + escape.size();
}

namespace {

// The text written so far, in blocks of fixed size: the first inside the object, the others
// allocated as each fills, and all joined once at the end. Copying into room known to be there
// keeps each piece a bounds test and a memcpy, where std::string::append calls into the library
// for every piece, however small; and the text is copied once more in all, where a string grown
// as it goes copies everything written so far each time it grows.
class Output {
 public:
  // The most room() hands out at once.
  static constexpr std::size_t kRoom = 16384;

  Output() = default;
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void put(char c) {
    if (m_len == kRoom) flush();
    m_buffer[m_len++] = c;
  }
  void put(const char* text, std::size_t n) {
    const std::size_t part = std::min(n, kRoom - m_len);
    std::memcpy(m_buffer + m_len, text, part);
    m_len += part;
    if (part != n) putRest(text + part, n - part);
  }
  // Only indenting repeats a character, a few times a line.
  void put(std::size_t count, char c) {
    for (; count > 0; --count) put(c);
  }
  template <std::size_t N>
  void literal(const char (&text)[N]) {
    put(text, N - 1);
  }

  // Room for `n` more bytes, at most kRoom, to be filled from the pointer returned and ended by
  // commit.
  char* room(std::size_t n) {
    if (n > kRoom - m_len) flush();
    return m_buffer + m_len;
  }
  // Ends what was written into the room at `end`.
  void commit(const char* end) { m_len = static_cast<std::size_t>(end - m_buffer); }
  // Where the next byte goes, and the end of the room there.
  char* at() { return m_buffer + m_len; }
  char* end() { return m_buffer + kRoom; }
  // Ends what was written at `to` and goes on at the start of a new block.
  char* renew(const char* to) {
    commit(to);
    flush();
    return m_buffer;
  }

  // The whole text; the output is not to be used afterwards.
  std::string take() {
    std::size_t total = m_len;
    for (const Block& block : m_full) total += block.length;
    std::string out;
    out.reserve(total);
    for (const Block& block : m_full) out.append(block.text, block.length);
    out.append(m_buffer, m_len);
    return out;
  }

 private:
  // Puts the rest of a piece that filled the block, a block at a time. A function of its own,
  // which put calls only then, so that put stays small enough to inline.
  void putRest(const char* text, std::size_t n) {
    do {
      flush();
      const std::size_t part = std::min(n, kRoom);
      std::memcpy(m_buffer, text, part);
      m_len = part;
      text += part;
      n -= part;
    } while (n != 0);
  }

  // Ends the current block and goes on in a new one.
  void flush() {
    m_full.push_back({m_buffer, m_len});
    m_more.emplace_back(new char[kRoom]);
    m_buffer = m_more.back().get();
    m_len = 0;
  }

  // A block filled before the current one, and how much of it was.
  struct Block {
    const char* text;
    std::size_t length;
  };

  char m_first[kRoom];
  std::vector<std::unique_ptr<char[]>> m_more;
  // The blocks before the current one, the first included, in order.
  std::vector<Block> m_full;
  char* m_buffer = m_first;
  std::size_t m_len = 0;
};

using orvidom::appendText;
using orvidom::Escapes;
using orvidom::kAfterText;

// Appends `name="value"` at `to`, which has kAfterText bytes of room; leaves one byte less after
// it.
char* appendAttribute(Output& out, char* to, const char* name, const char* value) {
  to = appendText<Escapes::kNone>(out, to, name);
  *to++ = '=';
  *to++ = '"';
  to = appendText<Escapes::kAttribute>(out, to, value);
  *to++ = '"';
  return to;
}

// A CDATA section cannot hold "]]>" or keep a carriage return, so those are written between
// sections: the text reads back the same, possibly split over several nodes.
void appendCData(Output& out, const char* text) {
  out.literal("<![CDATA[");
  for (const char* p = text; *p; ++p) {
    if (*p == '\r') {
      out.literal("]]>&#13;<![CDATA[");
    } else if (p[0] == ']' && p[1] == ']' && p[2] == '>') {
      out.literal("]]]]><![CDATA[>");
      p += 2;
    } else {
      out.put(*p);
    }
  }
  out.literal("]]>");
}

using orvidom::Index;

// Writes a subtree of one document.
class Writer {
 public:
  Writer(const ORVIDOM_Store& store, Output& out, bool indent)
      : m_store(store), m_out(out), m_indent(indent) {}

  // Writes `root` and its subtree without recursion; `m_lineUp` keeps, per open element,
  // whether its children go on lines of their own.
  void write(Index root) {
    Index cur = root;
    for (;;) {
      if (const Index child = open(cur)) {
        cur = child;
        continue;
      }
      for (;;) {
        if (cur == root) return;
        if (const Index next = m_store.nodes[cur].next) {
          cur = next;
          break;
        }
        cur = m_store.nodes[cur].parent;
        close(cur);
      }
    }
  }

 private:
  void newLine() {
    m_out.put('\n');
    m_out.put(2 * m_lineUp.size(), ' ');
  }

  bool isText(Index n) const {
    const std::uint32_t kind = m_store.nodes[n].attributeOrKind;
    return kind == orvidom::kKindText || kind == orvidom::kKindCData;
  }

  // True when the element's children may be laid out on lines of their own without changing
  // its text: none of them is text.
  bool indentsChildren(Index e) const {
    for (Index c = m_store.nodes[e].firstChild; c; c = m_store.nodes[c].next) {
      if (isText(c)) return false;
    }
    return true;
  }

  // Writes the start of `n`; returns its first child when its children follow, else 0.
  Index open(Index n) {
    if (m_indent && !m_lineUp.empty() && m_lineUp.back()) newLine();
    const orvidom::NodeRecord& record = m_store.nodes[n];
    switch (record.attributeOrKind) {
      case orvidom::kKindText:
        m_out.commit(appendText<Escapes::kText>(m_out, m_out.at(), m_store.text(record.text)));
        return 0;
      case orvidom::kKindCData:
        appendCData(m_out, m_store.text(record.text));
        return 0;
      case orvidom::kKindComment: {
        m_out.literal("<!--");
        char* to = appendText<Escapes::kNone>(m_out, m_out.at(), m_store.text(record.text));
        std::memcpy(to, "-->", 3);
        m_out.commit(to + 3);
        return 0;
      }
      default:
        break;
    }
    char* to = m_out.room(kAfterText);
    *to++ = '<';
    to = appendText<Escapes::kNone>(m_out, to, m_store.text(record.text));
    for (Index a = record.attributeOrKind; a; a = m_store.attrs[a].next) {
      *to++ = ' ';
      to = appendAttribute(m_out, to, m_store.text(m_store.attrs[a].name),
                           m_store.text(m_store.attrs[a].value));
    }
    const Index child = record.firstChild;
    if (child) {
      *to++ = '>';
      // Without indenting nothing is laid out on lines, so nothing is kept per element.
      if (m_indent) m_lineUp.push_back(indentsChildren(n));
    } else {
      *to++ = '/';
      *to++ = '>';
    }
    m_out.commit(to);
    return child;
  }

  void close(Index e) {
    if (m_indent) {
      const bool lineUp = m_lineUp.back();
      m_lineUp.pop_back();
      if (lineUp) newLine();
    }
    char* to = m_out.room(kAfterText);
    *to++ = '<';
    *to++ = '/';
    to = appendText<Escapes::kNone>(m_out, to, m_store.textOf(e));
    *to++ = '>';
    m_out.commit(to);
  }

  const ORVIDOM_Store& m_store;
  Output& m_out;
  bool m_indent;
  std::vector<bool> m_lineUp;
};

// Refuses a document holding no element or more than one, which no XML text can hold; appending
// a second element is allowed, so that a document may be rebuilt in steps.
void requireOneElement(const ORVIDOM_Store& store) {
  int elements = 0;
  for (Index c = store.nodes[orvidom::kDocumentNode].firstChild; c; c = store.nodes[c].next) {
    if (store.nodes[c].isElement()) ++elements;
  }
  if (elements != 1) {
    throw ORVIDOM_DOMException(ORVIDOM_DOMException::HIERARCHY_REQUEST_ERR,
                               elements ? "toString: the document holds more than one element"
                                        : "toString: the document holds no element");
  }
}

// Writes `node`, which is not null, as toString describes.
void writeNode(Output& out, const ORVIDOM_Node& node, const ORVIDOM_WriterOptions& options) {
  const ORVIDOM_Store& store = *ORVIDOM_Access::store(node);
  const Index n = ORVIDOM_Access::nodeOnly(node);
  const bool document = n == orvidom::kDocumentNode;
  if (document) requireOneElement(store);
  if (options.declaration) {
    out.literal(R"(<?xml version="1.0" encoding="UTF-8"?>)");
    if (options.indent) out.put('\n');
  }
  if (!n) {
    // An attribute on its own is written as it would stand in its element.
    const orvidom::AttrRecord& a = store.attrs[ORVIDOM_Access::attributeIndex(node)];
    out.commit(appendAttribute(out, out.room(kAfterText), store.text(a.name), store.text(a.value)));
    return;
  }
  Writer writer(store, out, options.indent);
  if (!document) {
    writer.write(n);
    return;
  }
  bool first = true;
  for (Index c = store.nodes[n].firstChild; c; c = store.nodes[c].next) {
    if (!first && options.indent) out.put('\n');
    first = false;
    writer.write(c);
  }
}

}  // namespace

std::string ORVIDOM_Writer::toString(const ORVIDOM_Node& node,
                                     const ORVIDOM_WriterOptions& options) {
  if (node.isNull()) return std::string();
  Output output;
  writeNode(output, node, options);
  return output.take();
}
