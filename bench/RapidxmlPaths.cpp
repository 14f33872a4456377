// The reading cases by hand with RapidXML, which parses in place: each parse works on a copy of
// the text, made as part of the path.
#include <rapidxml/rapidxml.hpp>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "TreePaths.h"

namespace bench {
namespace {

struct RapidxmlTree {
  using Node = const rapidxml::xml_node<>*;

  class Parsed {
   public:
    explicit Parsed(const XmlText& input)
        : text_(input.xml.c_str(), input.xml.c_str() + input.xml.size() + 1) {
      try {
        doc_.parse<0>(text_.data());
      } catch (const rapidxml::parse_error& error) {
        std::fprintf(stderr, "bench: RapidXML cannot parse the input: %s\n", error.what());
        std::exit(2);
      }
    }
    Node Root() const { return doc_.first_node(); }

   private:
    std::vector<char> text_;  // with its terminating zero
    rapidxml::xml_document<> doc_;
  };

  static bool Valid(Node node) { return node != nullptr; }
  static Node FirstChild(Node node) { return node->first_node(); }
  static Node NextSibling(Node node) { return node->next_sibling(); }
  static bool IsElement(Node node) { return node->type() == rapidxml::node_element; }
  static const char* Name(Node node) { return node->name(); }
  static const char* Attribute(Node node, const char* name) {
    const rapidxml::xml_attribute<>* attribute = node->first_attribute(name);
    return attribute ? attribute->value() : "";
  }
  static const char* FirstText(Node node) {
    Node first = node->first_node();
    return first && first->type() == rapidxml::node_data ? first->value() : "";
  }
  template <class Visit>
  static void ForEachAttribute(Node node, Visit visit) {
    for (auto* attribute = node->first_attribute(); attribute;
         attribute = attribute->next_attribute()) {
      visit(attribute->name(), attribute->value());
    }
  }
};

const bool kRegistered = (tree::AddReadingPaths<RapidxmlTree>("rapidxml"), true);

}  // namespace
}  // namespace bench
