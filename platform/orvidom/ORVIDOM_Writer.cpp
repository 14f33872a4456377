#include "orvidom/ORVIDOM_Writer.h"

#include <cstring>
#include <vector>

#include "orvidom/ORVIDOM_Store.h"

namespace {

// Appends `text` with the characters that would not read back as themselves escaped. A carriage
// return is escaped everywhere, since a parser turns a raw one into a line feed; in attribute
// values so are tab and line feed, which a parser turns into spaces. The runs between those
// characters are found with strcspn, which scans many bytes at a time.
void appendEscaped(std::string& out, const char* text, bool attribute) {
  const char* const escaped = attribute ? "&<>\r\"\t\n" : "&<>\r";
  for (;;) {
    const std::size_t run = std::strcspn(text, escaped);
    out.append(text, run);
    text += run;
    switch (*text) {
      case '\0':
        return;
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\r':
        out += "&#13;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\t':
        out += "&#9;";
        break;
      default:  // '\n', the only other character in `escaped`
        out += "&#10;";
        break;
    }
    ++text;
  }
}

// A CDATA section cannot hold "]]>" or keep a carriage return, so those are written between
// sections: the text reads back the same, possibly split over several nodes.
void appendCData(std::string& out, const char* text) {
  out += "<![CDATA[";
  for (const char* p = text; *p; ++p) {
    if (*p == '\r') {
      out += "]]>&#13;<![CDATA[";
    } else if (p[0] == ']' && p[1] == ']' && p[2] == '>') {
      out += "]]]]><![CDATA[>";
      p += 2;
    } else {
      out += *p;
    }
  }
  out += "]]>";
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
  Writer(std::string& out, bool indent) : m_out(out), m_indent(indent) {}

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
    m_out += '\n';
    m_out.append(2 * m_lineUp.size(), ' ');
  }

  // Writes the start of `n`; returns true when its children follow.
  bool open(pugi::xml_node n) {
    if (!m_lineUp.empty() && m_lineUp.back()) newLine();
    switch (n.type()) {
      case pugi::node_element:
        m_out += '<';
        m_out += n.name();
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
          m_out += ' ';
          m_out += a.name();
          m_out += "=\"";
          appendEscaped(m_out, a.value(), true);
          m_out += '"';
        }
        if (!n.first_child()) {
          m_out += "/>";
          return false;
        }
        m_out += '>';
        m_lineUp.push_back(m_indent && indentsChildren(n));
        return true;
      case pugi::node_pcdata:
        appendEscaped(m_out, n.value(), false);
        return false;
      case pugi::node_cdata:
        appendCData(m_out, n.value());
        return false;
      case pugi::node_comment:
        m_out.append("<!--").append(n.value()).append("-->");
        return false;
      case pugi::node_pi:
        m_out.append("<?").append(n.name());
        if (*n.value()) m_out.append(" ").append(n.value());
        m_out += "?>";
        return false;
      default:
        return false;
    }
  }

  void close(pugi::xml_node e) {
    const bool lineUp = m_lineUp.back();
    m_lineUp.pop_back();
    if (lineUp) newLine();
    m_out.append("</").append(e.name()).append(">");
  }

  std::string& m_out;
  bool m_indent;
  std::vector<bool> m_lineUp;
};

}  // namespace

std::string ORVIDOM_Writer::toString(const ORVIDOM_Node& node,
                                     const ORVIDOM_WriterOptions& options) {
  std::string out;
  if (node.isNull()) return out;
  if (options.declaration) {
    out += R"(<?xml version="1.0" encoding="UTF-8"?>)";
    if (options.indent) out += '\n';
  }
  if (ORVIDOM_Access::isAttribute(node)) {
    // An attribute on its own is written as it would stand in its element.
    pugi::xml_attribute a = ORVIDOM_Access::pattr(node);
    out.append(a.name()).append("=\"");
    appendEscaped(out, a.value(), true);
    out += '"';
    return out;
  }
  pugi::xml_node n = ORVIDOM_Access::pnode(node);
  Writer writer(out, options.indent);
  if (n.type() != pugi::node_document) {
    writer.write(n);
    return out;
  }
  bool first = true;
  for (pugi::xml_node c = orvidom::firstVisibleChild(*ORVIDOM_Access::store(node), n); c;
       c = c.next_sibling()) {
    if (!first && options.indent) out += '\n';
    first = false;
    writer.write(c);
  }
  return out;
}
