// The reading cases by hand with tinyxml2, with its default options.
#include <tinyxml2.h>

#include <cstdio>
#include <cstdlib>

#include "TreePaths.h"

namespace bench {
namespace {

struct Tinyxml2Tree {
  using Node = const tinyxml2::XMLNode*;

  class Parsed {
   public:
    explicit Parsed(const XmlText& input) {
      if (doc_.Parse(input.xml.data(), input.xml.size()) != tinyxml2::XML_SUCCESS) {
        std::fprintf(stderr, "bench: tinyxml2 cannot parse the input: %s\n", doc_.ErrorStr());
        std::exit(2);
      }
    }
    Node Root() const { return doc_.RootElement(); }

   private:
    tinyxml2::XMLDocument doc_;
  };

  static bool Valid(Node node) { return node != nullptr; }
  static Node FirstChild(Node node) { return node->FirstChild(); }
  static Node NextSibling(Node node) { return node->NextSibling(); }
  static bool IsElement(Node node) { return node->ToElement() != nullptr; }
  static const char* Name(Node node) { return node->Value(); }
  static const char* Attribute(Node node, const char* name) {
    const char* value = node->ToElement()->Attribute(name);
    return value ? value : "";
  }
  static const char* FirstText(Node node) {
    Node first = node->FirstChild();
    return first && first->ToText() ? first->Value() : "";
  }
  template <class Visit>
  static void ForEachAttribute(Node node, Visit visit) {
    for (auto* attribute = node->ToElement()->FirstAttribute(); attribute;
         attribute = attribute->Next()) {
      visit(attribute->Name(), attribute->Value());
    }
  }
};

const bool kRegistered = (tree::AddReadingPaths<Tinyxml2Tree>("tinyxml2"), true);

}  // namespace
}  // namespace bench
