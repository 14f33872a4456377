#include "orvidom/ORVIDOM_Writer.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "orvidom/ORVIDOM_Store.h"

namespace {

// The text written so far, in a string that grows by doubling and is cut to length at the end.
// Copying into room known to be there keeps each piece a bounds test and a memcpy, where
// std::string::append calls into the library for every piece, however small.
class Output {
 public:
  explicit Output(std::string& out) : m_out(out), m_len(out.size()) {}
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  ~Output() { m_out.resize(m_len); }

  void put(char c) {
    if (m_len == m_out.size()) grow(1);
    m_out[m_len++] = c;
  }
  void put(const char* text, std::size_t n) {
    if (n > m_out.size() - m_len) grow(n);
    std::memcpy(&m_out[m_len], text, n);
    m_len += n;
  }
  void put(const char* text) { put(text, std::strlen(text)); }
  void put(std::size_t count, char c) {
    if (count > m_out.size() - m_len) grow(count);
    std::memset(&m_out[m_len], c, count);
    m_len += count;
  }
  template <std::size_t N>
  void literal(const char (&text)[N]) {
    put(text, N - 1);
  }

 private:
  void grow(std::size_t n) { m_out.resize(std::max(2 * m_out.size(), m_len + n + 256)); }

  std::string& m_out;
  std::size_t m_len;
};

// Appends `text` with the characters that would not read back as themselves escaped. A carriage
// return is escaped everywhere, since a parser turns a raw one into a line feed; in attribute
// values so are tab and line feed, which a parser turns into spaces. The runs between those
// characters are found with strcspn, which scans many bytes at a time.
void appendEscaped(Output& out, const char* text, bool attribute) {
  const char* const escaped = attribute ? "&<>\r\"\t\n" : "&<>\r";
  for (;;) {
    const std::size_t run = std::strcspn(text, escaped);
    out.put(text, run);
    text += run;
    switch (*text) {
      case '\0':
        return;
      case '&':
        out.literal("&amp;");
        break;
      case '<':
        out.literal("&lt;");
        break;
      case '>':
        out.literal("&gt;");
        break;
      case '\r':
        out.literal("&#13;");
        break;
      case '"':
        out.literal("&quot;");
        break;
      case '\t':
        out.literal("&#9;");
        break;
      default:  // '\n', the only other character in `escaped`
        out.literal("&#10;");
        break;
    }
    ++text;
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
  void write(pugi::xml_node root) {
    pugi::xml_node cur = root;
    for (;;) {
      if (open(cur)) {
        cur = cur.first_child();
        continue;
      }
      while (cur != root && !cur.next_sibling()) {
        cur = cur.parent();
        close(cur);
      }
      if (cur == root) return;
      cur = cur.next_sibling();
    }
  }

 private:
  void newLine() {
    m_out.put('\n');
    m_out.put(2 * m_lineUp.size(), ' ');
  }

  // Writes the start of `n`; returns true when its children follow.
  bool open(pugi::xml_node n) {
    if (!m_lineUp.empty() && m_lineUp.back()) newLine();
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
        if (!n.first_child()) {
          m_out.literal("/>");
          return false;
        }
        m_out.put('>');
        m_lineUp.push_back(m_indent && indentsChildren(n));
        return true;
      case pugi::node_pcdata:
        appendEscaped(m_out, n.value(), false);
        return false;
      case pugi::node_cdata:
        appendCData(m_out, n.value());
        return false;
      case pugi::node_comment:
        m_out.literal("<!--");
        m_out.put(n.value());
        m_out.literal("-->");
        return false;
      case pugi::node_pi:
        m_out.literal("<?");
        m_out.put(n.name());
        if (*n.value()) {
          m_out.put(' ');
          m_out.put(n.value());
        }
        m_out.literal("?>");
        return false;
      default:
        return false;
    }
  }

  void close(pugi::xml_node e) {
    const bool lineUp = m_lineUp.back();
    m_lineUp.pop_back();
    if (lineUp) newLine();
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
  std::string out;
  if (node.isNull()) return out;
  {
    // Scoped: the output cuts the string to length when it goes.
    Output output(out);
    writeNode(output, node, options);
  }
  return out;
}
