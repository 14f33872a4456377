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
#include "orvidom/XmlChars.h"

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
    if (n > kRoom - m_len) {
      putAcross(text, n);
      return;
    }
    std::memcpy(m_buffer + m_len, text, n);
    m_len += n;
  }
  void put(const char* text) { put(text, std::strlen(text)); }
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

  // The whole text; the output is not to be used afterwards.
  std::string take() {
    if (m_more.empty()) return std::string(m_first, m_len);
    std::size_t total = m_len;
    for (std::size_t length : m_lengths) total += length;
    std::string out;
    out.reserve(total);
    out.append(m_first, m_lengths[0]);
    for (std::size_t i = 1; i < m_lengths.size(); ++i)
      out.append(m_more[i - 1].get(), m_lengths[i]);
    out.append(m_buffer, m_len);
    return out;
  }

 private:
  // Puts a piece that does not fit: it fills the block, whatever its length, and goes on in the
  // next. A function of its own, which put calls only then, so that put stays small enough to
  // inline.
  void putAcross(const char* text, std::size_t n) {
    while (n > kRoom - m_len) {
      const std::size_t part = kRoom - m_len;
      std::memcpy(m_buffer + m_len, text, part);
      m_len = kRoom;
      flush();
      text += part;
      n -= part;
    }
    std::memcpy(m_buffer + m_len, text, n);
    m_len += n;
  }

  // Ends the current block and goes on in a new one.
  void flush() {
    m_lengths.push_back(m_len);
    m_more.emplace_back(new char[kRoom]);
    m_buffer = m_more.back().get();
    m_len = 0;
  }

  char m_first[kRoom];
  std::vector<std::unique_ptr<char[]>> m_more;
  // The length of each block before the current one, the first included.
  std::vector<std::size_t> m_lengths;
  char* m_buffer = m_first;
  std::size_t m_len = 0;
};

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

// Whether each byte has an escape, in text and in attribute values: a lookup per byte, where
// escapeOf's switch is several tests.
struct EscapedBytes {
  bool text[256] = {};
  bool attribute[256] = {};
  constexpr EscapedBytes() {
    for (int c = 0; c < 256; ++c) {
      text[c] = !escapeOf(static_cast<unsigned char>(c), false).empty();
      attribute[c] = !escapeOf(static_cast<unsigned char>(c), true).empty();
    }
  }
};
constexpr EscapedBytes kEscaped;
// The longest escape, "&quot;".
constexpr std::size_t kLongestEscape = 6;

// Flags, as XmlChars' word tests do, the bytes of `word` that may have an escape: the markup
// characters and every byte below 0x0E, among them tab, line feed and carriage return.
std::uint64_t mayHaveEscape(std::uint64_t word, bool attribute) {
  using orvidom::bytesEqual;
  const std::uint64_t flags = bytesEqual(word, '&') | bytesEqual(word, '<') |
                              bytesEqual(word, '>') | orvidom::bytesBelow(word, 0x0E);
  return attribute ? flags | bytesEqual(word, '"') : flags;
}

// Appends the byte `c` at `to`, escaped if it has an escape; returns where the next goes.
char* appendEscaped(char* to, unsigned char c, bool attribute) {
  const std::string_view escape = escapeOf(c, attribute);
  if (escape.empty()) {
    *to++ = static_cast<char>(c);
    return to;
  }
  std::memcpy(to, escape.data(), escape.size());
  return to + escape.size();
}

// Appends `text` with the characters that would not read back as themselves escaped. Eight bytes
// are tested and copied at once where none of them may have an escape; the others, and the last
// few of a piece, one at a time. The room is taken a piece at a time, so that the escapes of a
// piece always fit.
void appendEscaped(Output& out, const char* text, bool attribute) {
  constexpr std::size_t kPiece = 1024;
  static_assert(kLongestEscape * kPiece <= Output::kRoom, "a piece's escapes fit the room");
  const bool* const escaped = attribute ? kEscaped.attribute : kEscaped.text;
  for (std::size_t left = std::strlen(text); left > 0;) {
    const std::size_t n = std::min(left, kPiece);
    left -= n;
    char* to = out.room(kLongestEscape * n);
    const char* const end = text + n;
    for (std::uint64_t word; end - text >= static_cast<std::ptrdiff_t>(sizeof word);) {
      std::memcpy(&word, text, sizeof word);
      if (mayHaveEscape(word, attribute) == 0) {
        std::memcpy(to, &word, sizeof word);
        to += sizeof word;
        text += sizeof word;
        continue;
      }
      for (const char* const stop = text + sizeof word; text < stop; ++text) {
        to = appendEscaped(to, static_cast<unsigned char>(*text), attribute);
      }
    }
    for (; text < end; ++text) {
      const auto c = static_cast<unsigned char>(*text);
      if (escaped[c]) {
        to = appendEscaped(to, c, attribute);
      } else {
        *to++ = static_cast<char>(c);
      }
    }
    out.commit(to);
  }
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

// True when the element's children may be laid out on lines of their own without changing its
// text: none of them is text.
bool indentsChildren(pugi::xml_node e) {
  for (pugi::xml_node c = e.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) return false;
  }
  return true;
}

class Writer {
 public:
  Writer(Output& out, bool indent) : m_out(out), m_indent(indent) {}

  // Writes `root` and its subtree without recursion; `m_lineUp` keeps, per open element,
  // whether its children go on lines of their own.
  // Every step of a pugixml handle is a call into the library, so each node is asked for its
  // first child and next sibling once.
  void write(pugi::xml_node root) {
    pugi::xml_node cur = root;
    for (;;) {
      if (pugi::xml_node child = open(cur)) {
        cur = child;
        continue;
      }
      for (;;) {
        if (cur == root) return;
        if (pugi::xml_node next = cur.next_sibling()) {
          cur = next;
          break;
        }
        cur = cur.parent();
        close(cur);
      }
    }
  }

 private:
  void newLine() {
    m_out.put('\n');
    m_out.put(2 * m_lineUp.size(), ' ');
  }

  // Writes the start of `n`; returns its first child when its children follow, else null.
  pugi::xml_node open(pugi::xml_node n) {
    if (m_indent && !m_lineUp.empty() && m_lineUp.back()) newLine();
    switch (n.type()) {
      case pugi::node_element:
        m_out.put('<');
        m_out.put(n.name());
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
          m_out.put(' ');
          m_out.put(a.name());
          m_out.literal("=\"");
          appendEscaped(m_out, a.value(), true);
          m_out.put('"');
        }
        if (pugi::xml_node child = n.first_child()) {
          m_out.put('>');
          // Without indenting nothing is laid out on lines, so nothing is kept per element.
          if (m_indent) m_lineUp.push_back(indentsChildren(n));
          return child;
        }
        m_out.literal("/>");
        return {};
      case pugi::node_pcdata:
        appendEscaped(m_out, n.value(), false);
        return {};
      case pugi::node_cdata:
        appendCData(m_out, n.value());
        return {};
      case pugi::node_comment:
        m_out.literal("<!--");
        m_out.put(n.value());
        m_out.literal("-->");
        return {};
      case pugi::node_pi:
        m_out.literal("<?");
        m_out.put(n.name());
        if (*n.value()) {
          m_out.put(' ');
          m_out.put(n.value());
        }
        m_out.literal("?>");
        return {};
      default:
        return {};
    }
  }

  void close(pugi::xml_node e) {
    if (m_indent) {
      const bool lineUp = m_lineUp.back();
      m_lineUp.pop_back();
      if (lineUp) newLine();
    }
    m_out.literal("</");
    m_out.put(e.name());
    m_out.put('>');
  }

  Output& m_out;
  bool m_indent;
  std::vector<bool> m_lineUp;
};

// Refuses a document holding more than one element, which no XML text can hold; appending a
// second element is allowed, so that a document may be rebuilt in steps.
void requireOneElement(const ORVIDOM_Store& store, pugi::xml_node document) {
  int elements = 0;
  for (pugi::xml_node c = orvidom::firstVisibleChild(store, document); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element && ++elements > 1) {
      throw ORVIDOM_DOMException(ORVIDOM_DOMException::HIERARCHY_REQUEST_ERR,
                                 "toString: the document holds more than one element");
    }
  }
}

// Writes `node`, which is not null, as toString describes.
void writeNode(Output& out, const ORVIDOM_Node& node, const ORVIDOM_WriterOptions& options) {
  pugi::xml_node n = ORVIDOM_Access::pnode(node);
  const bool document = !ORVIDOM_Access::isAttribute(node) && n.type() == pugi::node_document;
  if (document) requireOneElement(*ORVIDOM_Access::store(node), n);
  if (options.declaration) {
    out.literal(R"(<?xml version="1.0" encoding="UTF-8"?>)");
    if (options.indent) out.put('\n');
  }
  if (ORVIDOM_Access::isAttribute(node)) {
    // An attribute on its own is written as it would stand in its element.
    pugi::xml_attribute a = ORVIDOM_Access::pattr(node);
    out.put(a.name());
    out.literal("=\"");
    appendEscaped(out, a.value(), true);
    out.put('"');
    return;
  }
  Writer writer(out, options.indent);
  if (!document) {
    writer.write(n);
    return;
  }
  bool first = true;
  for (pugi::xml_node c = orvidom::firstVisibleChild(*ORVIDOM_Access::store(node), n); c;
       c = c.next_sibling()) {
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
