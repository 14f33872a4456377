// Parses the input with our parser and with libxml2, the reference: both must accept the same
// documents and, when they do, read the same tree from the root element down (names, attributes
// in order with their normalised values, text with references replaced, CDATA sections as
// CDATA). Comments and processing instructions are not kept by our parser, so on libxml2's side
// they are dropped and the text around them joined. A disagreement aborts unless it is one of
// our deliberate refusals or a known libxml2 deviation from XML 1.0, both listed below.
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <strings.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "orvidom/DocumentParser.h"
#include "orvidom/ORVIDOM_PullReader.h"
#include "orvidom/ORVIDOM_Store.h"

namespace {

// One step of a pre-order walk of an element's subtree.
struct Event {
  enum Kind { kStart, kEnd, kText, kCData, kOther };
  Kind kind;
  // The element's name, the text, or for kOther the node's name.
  std::string data;
  std::vector<std::pair<std::string, std::string>> attributes;

  bool operator==(const Event& o) const {
    return kind == o.kind && data == o.data && attributes == o.attributes;
  }
};

// What one parser made of the input: no events when it refused it.
struct Reading {
  bool accepted = false;
  std::string error;
  std::vector<Event> events;
};

// A libxml2 message: its code (xmlParserErrors), level and first string argument.
struct Diagnostic {
  int code;
  xmlErrorLevel level;
  std::string str1;
};

// libxml2's reading, with what libxml2 said on the way and whether it saw a document type
// declaration (where it is stopped: the DTD is neither processed nor compared).
struct LibxmlReading : Reading {
  std::vector<Diagnostic> diagnostics;
  bool sawDoctype = false;
  // A processing instruction whose target starts with "xml" in any letter case.
  bool sawXmlPrefixedPI = false;
};

bool equalsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// ---- Our parser, through the public API only.

void appendOurEvent(const ORVIDOM_Node& n, std::vector<Event>& out) {
  switch (n.getNodeType()) {
    case ORVIDOM_Node::ELEMENT_NODE: {
      Event e{Event::kStart, n.getNodeName().str(), {}};
      const ORVIDOM_NamedNodeMap attributes = n.getAttributes();
      for (unsigned long i = 0; i < attributes.getLength(); ++i) {
        e.attributes.emplace_back(attributes.item(i).getNodeName().str(),
                                  attributes.item(i).getNodeValue().str());
      }
      out.push_back(std::move(e));
      break;
    }
    case ORVIDOM_Node::TEXT_NODE:
      out.push_back({Event::kText, n.getNodeValue().str(), {}});
      break;
    case ORVIDOM_Node::CDATA_SECTION_NODE:
      out.push_back({Event::kCData, n.getNodeValue().str(), {}});
      break;
    default:  // A comment or PI kept by mistake shows as a difference.
      out.push_back({Event::kOther, n.getNodeName().str(), {}});
  }
}

// Our reading of `xml`, parsed where it lies or `window` bytes at a time.
Reading readOurs(std::string_view xml, std::optional<std::size_t> window) {
  Reading r;
  ORVIDOM_Element root;
  try {
    auto store = orvidom::parseDocument(xml, window);
    root =
        ORVIDOM_Document(ORVIDOM_Access::node(store, orvidom::kDocumentNode)).getDocumentElement();
  } catch (const ORVIDOM_ParseError& e) {
    r.error = std::string(e.what()) + " at " + std::to_string(e.getOffset());
    return r;
  }
  r.accepted = true;
  // Without recursion: deep documents are within the input sizes fuzzed.
  std::vector<ORVIDOM_Node> open;
  for (ORVIDOM_Node next = root; !next.isNull() || !open.empty();) {
    if (next.isNull()) {
      r.events.push_back({Event::kEnd, open.back().getNodeName().str(), {}});
      next = open.size() > 1 ? open.back().getNextSibling() : ORVIDOM_Node();
      open.pop_back();
    } else {
      appendOurEvent(next, r.events);
      const bool element = next.getNodeType() == ORVIDOM_Node::ELEMENT_NODE;
      if (element) open.push_back(next);
      next = element ? next.getFirstChild() : next.getNextSibling();
    }
  }
  return r;
}

// Our pull reader's reading of `xml`, pushed `piece` bytes at a time.
Reading readPulled(std::string_view xml, std::size_t piece) {
  Reading r;
  ORVIDOM_PullReader reader;
  std::size_t given = 0;
  try {
    for (auto event = reader.next(); event != ORVIDOM_PullReader::kEndDocument;
         event = reader.next()) {
      if (event == ORVIDOM_PullReader::kNeedInput) {
        if (given == xml.size()) {
          reader.finish();
        } else {
          const std::size_t n = std::min(piece, xml.size() - given);
          reader.push(xml.substr(given, n));
          given += n;
        }
      } else if (event == ORVIDOM_PullReader::kStartElement) {
        Event e{Event::kStart, std::string(reader.getName()), {}};
        for (std::size_t i = 0; i < reader.getAttributeCount(); ++i) {
          e.attributes.emplace_back(reader.getAttributeName(i), reader.getAttributeValue(i));
        }
        r.events.push_back(std::move(e));
      } else if (event == ORVIDOM_PullReader::kEndElement) {
        r.events.push_back({Event::kEnd, std::string(reader.getName()), {}});
      } else {
        const auto kind = event == ORVIDOM_PullReader::kText ? Event::kText : Event::kCData;
        r.events.push_back({kind, std::string(reader.getText()), {}});
      }
    }
  } catch (const ORVIDOM_ParseError& e) {
    r.error = std::string(e.what()) + " at " + std::to_string(e.getOffset());
    r.events.clear();
    return r;
  }
  r.accepted = true;
  return r;
}

// ---- libxml2, through SAX callbacks. Its own tree builder is not used: it processes
// namespaces, turning xmlns attributes into namespace declarations out of the attributes' order,
// while our parser takes every name as written. A handler of the first SAX version makes
// libxml2 report each start tag as written, with its attributes in order.

LibxmlReading& readingOf(void* ctx) {
  return *static_cast<LibxmlReading*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
}

void onStartElement(void* ctx, const xmlChar* name, const xmlChar** atts) {
  Event e{Event::kStart, reinterpret_cast<const char*>(name), {}};
  for (; atts && atts[0]; atts += 2) {
    e.attributes.emplace_back(reinterpret_cast<const char*>(atts[0]),
                              atts[1] ? reinterpret_cast<const char*>(atts[1]) : "");
  }
  readingOf(ctx).events.push_back(std::move(e));
}

void onEndElement(void* ctx, const xmlChar* name) {
  readingOf(ctx).events.push_back({Event::kEnd, reinterpret_cast<const char*>(name), {}});
}

// libxml2 reports a run of text in pieces (at references, buffer ends, and on either side of a
// dropped comment or PI): they are joined into one text.
void onCharacters(void* ctx, const xmlChar* text, int length) {
  if (length <= 0) return;
  std::vector<Event>& events = readingOf(ctx).events;
  if (events.empty() || events.back().kind != Event::kText)
    events.push_back({Event::kText, {}, {}});
  events.back().data.append(reinterpret_cast<const char*>(text), length);
}

void onProcessingInstruction(void* ctx, const xmlChar* target, const xmlChar*) {
  const std::string_view name(reinterpret_cast<const char*>(target));
  if (equalsNoCase(name.substr(0, 3), "xml")) readingOf(ctx).sawXmlPrefixedPI = true;
}

void onCData(void* ctx, const xmlChar* text, int length) {
  readingOf(ctx).events.push_back(
      {Event::kCData, std::string(reinterpret_cast<const char*>(text), length), {}});
}

// A document type declaration: the DTD is where our parser refuses on purpose, so libxml2 is
// stopped before it reads the internal subset, and never loads an external one.
void onDoctype(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
  readingOf(ctx).sawDoctype = true;
  xmlStopParser(static_cast<xmlParserCtxtPtr>(ctx));
}

// Every message libxml2 raises, silenced; those of a parse are kept with its reading.
void onDiagnostic(void*, xmlErrorPtr error) {
  if (!error->ctxt) return;
  LibxmlReading& r = readingOf(error->ctxt);
  r.diagnostics.push_back({error->code, error->level, error->str1 ? error->str1 : ""});
  if (error->level == XML_ERR_FATAL && r.error.empty() && error->message) {
    r.error = error->message;
    if (!r.error.empty() && r.error.back() == '\n') r.error.pop_back();
  }
}

xmlSAXHandler makeHandler() {
  xmlSAXHandler h;
  std::memset(&h, 0, sizeof h);
  h.initialized = 1;  // not XML_SAX2_MAGIC: the first SAX version
  h.startElement = onStartElement;
  h.endElement = onEndElement;
  h.characters = onCharacters;
  h.ignorableWhitespace = onCharacters;
  h.cdataBlock = onCData;
  h.processingInstruction = onProcessingInstruction;
  h.internalSubset = onDoctype;
  return h;
}

LibxmlReading readLibxml(std::string_view xml) {
  static const xmlSAXHandler handler = makeHandler();
  LibxmlReading r;
  xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
  if (!ctxt) std::abort();
  *ctxt->sax = handler;
  ctxt->_private = &r;
  // NOENT only makes libxml2 give "&" in attribute values as "&" rather than "&#38;": no entity
  // can be declared, as the parse stops at a document type declaration.
  xmlCtxtReadMemory(ctxt, xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
                    XML_PARSE_NONET | XML_PARSE_NOENT);
  r.accepted = ctxt->wellFormed && !r.sawDoctype && xml.size() > 0;
  xmlFreeParserCtxt(ctxt);
  if (!r.accepted) r.events.clear();
  return r;
}

// ---- Expected differences.

// What a predicate sees of a disagreement.
struct Disagreement {
  std::string_view xml;
  const Reading& ours;
  const LibxmlReading& libxml;

  bool onlyLibxmlAccepts() const { return libxml.accepted && !ours.accepted; }
  bool onlyOursAccepts() const { return ours.accepted && !libxml.accepted; }

  // The deepest nesting of elements in our reading.
  std::size_t ourDepth() const {
    std::size_t depth = 0, deepest = 0;
    for (const Event& e : ours.events) {
      if (e.kind == Event::kStart) deepest = std::max(deepest, ++depth);
      if (e.kind == Event::kEnd) --depth;
    }
    return deepest;
  }

  // The first string of libxml2's message `code`, if it gave one.
  const Diagnostic* libxmlSaid(int code) const {
    for (const Diagnostic& d : libxml.diagnostics)
      if (d.code == code) return &d;
    return nullptr;
  }
};

struct Expected {
  // Why the difference is right: our own rule, or the XML 1.0 rule libxml2 breaks.
  const char* reason;
  bool (*applies)(const Disagreement&);
};

// A pseudo-attribute of the XML declaration at the start, read leniently: its value, and the
// declaration's text after the value's closing quote; both empty when it is absent.
struct PseudoAttribute {
  std::string_view value;
  std::string_view rest;
};

PseudoAttribute declared(std::string_view xml, std::string_view name) {
  if (xml.substr(0, 3) == "\xEF\xBB\xBF") xml.remove_prefix(3);
  if (xml.substr(0, 5) != "<?xml") return {};
  xml = xml.substr(0, xml.find("?>"));
  std::size_t open = xml.find(name);
  if (open != std::string_view::npos) open = xml.find_first_of("'\"", open);
  if (open == std::string_view::npos) return {};
  const std::size_t close = xml.find(xml[open], open + 1);
  if (close == std::string_view::npos) return {};
  return {xml.substr(open + 1, close - open - 1), xml.substr(close + 1)};
}

// Our parser refuses these on purpose, wherever libxml2 accepts them.
const Expected kOurRefusals[] = {
    {"the input is UTF-8 only: libxml2 reads UTF-16, UTF-32 and EBCDIC, told by the first bytes",
     [](const Disagreement& d) {
       const xmlCharEncoding e = xmlDetectCharEncoding(
           reinterpret_cast<const unsigned char*>(d.xml.data()), static_cast<int>(d.xml.size()));
       return e != XML_CHAR_ENCODING_NONE && e != XML_CHAR_ENCODING_UTF8;
     }},
    {"a declared encoding other than UTF-8 (in any letter case) is refused",
     [](const Disagreement& d) {
       const std::string_view encoding = declared(d.xml, "encoding").value;
       return !encoding.empty() && !equalsNoCase(encoding, "UTF-8");
     }},
    {"\"<?xml\" in any letter case is refused anywhere but at the very start",
     [](const Disagreement& d) { return d.libxml.sawXmlPrefixedPI; }},
};

// libxml2's deviations from XML 1.0 (fifth edition), each with the rule that decides for us.
const Expected kLibxmlDeviations[] = {
    {"libxml2 takes the version \"1.\", without a digit, warning only that it is "
     "unsupported; [26] VersionNum is '1.' [0-9]+, at least one digit",
     [](const Disagreement& d) {
       const Diagnostic* version = d.libxmlSaid(XML_WAR_UNKNOWN_VERSION);
       return d.onlyLibxmlAccepts() && version && version->str1 == "1.";
     }},
    {"libxml2 takes standalone right after a UTF-8 encoding declaration's closing quote; [32] "
     "SDDecl starts with S, required white space",
     [](const Disagreement& d) {
       return d.onlyLibxmlAccepts() &&
              declared(d.xml, "encoding").rest.substr(0, 10) == "standalone";
     }},
    {"libxml2 takes a NUL byte after the root element for the end of the input and ignores what "
     "follows; [2] Char excludes #x0, and [1] document allows only Misc after the root element",
     [](const Disagreement& d) {
       const std::size_t nul = d.xml.find('\0');
       return d.onlyLibxmlAccepts() && nul != std::string_view::npos &&
              readOurs(d.xml.substr(0, nul), std::nullopt).accepted;
     }},
    {"libxml2 stops at 256 nested elements without XML_PARSE_HUGE; XML 1.0 sets no limit on "
     "the nesting of [39] element within [43] content",
     [](const Disagreement& d) {
       return d.onlyOursAccepts() && d.libxmlSaid(XML_ERR_INTERNAL_ERROR) &&
              d.ourDepth() > xmlParserMaxDepth;
     }},
};

const Expected* expectedFor(const Disagreement& d) {
  for (const Expected& e : kOurRefusals)
    if (d.onlyLibxmlAccepts() && e.applies(d)) return &e;
  for (const Expected& e : kLibxmlDeviations)
    if (e.applies(d)) return &e;
  return nullptr;
}

// ---- Reporting.

// `s` as a C string literal.
std::string quoted(std::string_view s) {
  std::string out = "\"";
  bool afterHex = false;
  for (unsigned char c : s) {
    // A hex digit right after a hex escape would be read as part of it.
    if (afterHex && std::isxdigit(c)) out += "\"\"";
    afterHex = c < 0x20 || c >= 0x7F;
    if (afterHex) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      if (c == '"' || c == '\\') out += '\\';
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string describe(const std::vector<Event>& events, std::size_t i) {
  if (i >= events.size()) return "(nothing)";
  const Event& e = events[i];
  static const char* const kKinds[] = {"start", "end", "text", "cdata", "other node"};
  std::string out = std::string(kKinds[e.kind]) + " " + quoted(e.data);
  for (const auto& [name, value] : e.attributes) out += " " + quoted(name) + "=" + quoted(value);
  return out;
}

std::string verdict(const Reading& r) {
  return r.accepted ? "accepts" : "refuses (" + r.error + ")";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  [[maybe_unused]] static const bool initialised = [] {
    xmlInitParser();
    xmlSetStructuredErrorFunc(nullptr, onDiagnostic);
    return true;
  }();
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  const Reading ours = readOurs(xml, std::nullopt);
  // Read a small window at a time, every part of the input may lie across a window's end.
  const Reading windowed = readOurs(xml, 1 + size % 97);
  fuzz::Check(windowed.accepted == ours.accepted && windowed.events == ours.events &&
                  windowed.error == ours.error,
              "the window changes what is read of " + quoted(xml) + ": " + verdict(windowed));
  // The pull reader reads as the tree's parser does, however the input comes.
  const Reading pulled = readPulled(xml, 1 + size % 89);
  fuzz::Check(pulled.accepted == ours.accepted && pulled.events == ours.events &&
                  pulled.error == ours.error,
              "the pull reader reads otherwise " + quoted(xml) + ": " + verdict(pulled));
  const LibxmlReading libxml = readLibxml(xml);
  // A DTD is refused on purpose; libxml2's view of it is not compared.
  if (libxml.sawDoctype) {
    fuzz::Check(!ours.accepted, "a document type declaration was accepted: " + quoted(xml));
    return -1;
  }
  if (ours.accepted == libxml.accepted && ours.events == libxml.events) return 0;
  const Disagreement d{xml, ours, libxml};
  if (expectedFor(d)) return 0;
  std::size_t i = 0;
  while (i < ours.events.size() && i < libxml.events.size() && ours.events[i] == libxml.events[i]) {
    ++i;
  }
  fuzz::Check(false, "the parsers disagree on " + quoted(xml) + "\n  ours " + verdict(ours) +
                         "\n  libxml2 " + verdict(libxml) + "\n  first difference: ours " +
                         describe(ours.events, i) + ", libxml2 " + describe(libxml.events, i));
  return 0;
}
