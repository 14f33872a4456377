// The cases written by hand with pugixml. Built twice: against Debian's shared library, and
// against a static one built in its compact mode (PUGIXML_COMPACT), whose nodes are smaller.
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>

#include "TreePaths.h"

namespace bench {
namespace {

#ifdef PUGIXML_COMPACT
constexpr char kLibrary[] = "pugixml_compact";
#else
constexpr char kLibrary[] = "pugixml";
#endif

struct StringWriter : pugi::xml_writer {
  std::string out;
  void write(const void* data, size_t size) override {
    out.append(static_cast<const char*>(data), size);
  }
};

struct PugixmlTree {
  using Node = pugi::xml_node;

  class Parsed {
   public:
    // pugixml's default options.
    explicit Parsed(const XmlText& input) {
      if (!doc_.load_buffer(input.xml.data(), input.xml.size())) {
        std::fprintf(stderr, "bench: pugixml cannot parse the input\n");
        std::exit(2);
      }
    }
    Node Root() const { return doc_.document_element(); }

   private:
    pugi::xml_document doc_;
  };

  class Made {
   public:
    explicit Made(const char* rootName) : root_(doc_.append_child(rootName)) {}
    Node Root() const { return root_; }
    std::string Write() const {
      StringWriter writer;
      root_.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
      return writer.out;
    }

   private:
    pugi::xml_document doc_;
    Node root_;
  };

  static bool Valid(Node node) { return node; }
  static Node FirstChild(Node node) { return node.first_child(); }
  static Node NextSibling(Node node) { return node.next_sibling(); }
  static bool IsElement(Node node) { return node.type() == pugi::node_element; }
  static const char* Name(Node node) { return node.name(); }
  static const char* Attribute(Node node, const char* name) { return node.attribute(name).value(); }
  static const char* FirstText(Node node) {
    Node first = node.first_child();
    return first.type() == pugi::node_pcdata ? first.value() : "";
  }
  template <class Visit>
  static void ForEachAttribute(Node node, Visit visit) {
    for (pugi::xml_attribute attribute : node.attributes()) {
      visit(attribute.name(), attribute.value());
    }
  }

  static Node Append(Node parent, const char* name) { return parent.append_child(name); }
  static void SetAttribute(Node node, const char* name, const std::string& value) {
    node.append_attribute(name).set_value(value.c_str());
  }
  static void AppendWithText(Node parent, const char* name, const std::string& text) {
    parent.append_child(name).append_child(pugi::node_pcdata).set_value(text.c_str());
  }
};

const bool kRegistered = (tree::AddAllPaths<PugixmlTree>(kLibrary), true);

}  // namespace
}  // namespace bench
