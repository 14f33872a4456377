// The cases written by hand with libxml2's tree API.
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "TreePaths.h"

namespace bench {
namespace {

const xmlChar* X(const char* text) { return reinterpret_cast<const xmlChar*>(text); }
const xmlChar* X(const std::string& text) { return X(text.c_str()); }
const char* C(const xmlChar* text) { return reinterpret_cast<const char*>(text); }

struct DocDeleter {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocDeleter>;

// A parsed value is a single text node.
const char* Value(const xmlAttr* attribute) {
  return attribute->children ? C(attribute->children->content) : "";
}

struct BufferDeleter {
  void operator()(xmlBuffer* buffer) const { xmlBufferFree(buffer); }
};

struct Libxml2Tree {
  using Node = xmlNode*;

  class Parsed {
   public:
    explicit Parsed(const XmlText& input)
        : doc_(xmlReadMemory(input.xml.data(), static_cast<int>(input.xml.size()), nullptr, "UTF-8",
                             XML_PARSE_NONET)) {
      if (!doc_) {
        std::fprintf(stderr, "bench: libxml2 cannot parse the input\n");
        std::exit(2);
      }
    }
    Node Root() const { return xmlDocGetRootElement(doc_.get()); }

   private:
    DocPtr doc_;
  };

  class Made {
   public:
    explicit Made(const char* rootName)
        : doc_(xmlNewDoc(X("1.0"))),
          root_(xmlNewDocNode(doc_.get(), nullptr, X(rootName), nullptr)) {
      xmlDocSetRootElement(doc_.get(), root_);
    }
    Node Root() const { return root_; }
    std::string Write() const {
      std::unique_ptr<xmlBuffer, BufferDeleter> buffer(xmlBufferCreate());
      xmlNodeDump(buffer.get(), doc_.get(), root_, 0, 0);
      return std::string(C(xmlBufferContent(buffer.get())), xmlBufferLength(buffer.get()));
    }

   private:
    DocPtr doc_;
    Node root_;
  };

  static bool Valid(Node node) { return node != nullptr; }
  static Node FirstChild(Node node) { return node->children; }
  static Node NextSibling(Node node) { return node->next; }
  static bool IsElement(Node node) { return node->type == XML_ELEMENT_NODE; }
  static const char* Name(Node node) { return C(node->name); }
  // The value in place: xmlGetProp would copy it.
  static const char* Attribute(Node node, const char* name) {
    for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
      if (xmlStrEqual(attribute->name, X(name))) return Value(attribute);
    }
    return "";
  }
  static const char* FirstText(Node node) {
    const xmlNode* first = node->children;
    return first && first->type == XML_TEXT_NODE ? C(first->content) : "";
  }
  template <class Visit>
  static void ForEachAttribute(Node node, Visit visit) {
    for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
      visit(C(attribute->name), Value(attribute));
    }
  }

  static Node Append(Node parent, const char* name) {
    return xmlNewChild(parent, nullptr, X(name), nullptr);
  }
  static void SetAttribute(Node node, const char* name, const std::string& value) {
    xmlNewProp(node, X(name), X(value));
  }
  // xmlNewTextChild escapes the text; xmlNewChild would take it as markup.
  static void AppendWithText(Node parent, const char* name, const std::string& text) {
    xmlNewTextChild(parent, nullptr, X(name), X(text));
  }
};

const bool kRegistered = (tree::AddAllPaths<Libxml2Tree>("libxml2"), true);

}  // namespace
}  // namespace bench
