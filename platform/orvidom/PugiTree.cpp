#include "orvidom/PugiTree.h"

#include <cstring>

namespace orvidom {
namespace {

// Whether a text read from a record is the one the accessors give: the same string, or both
// empty (a record holds no pointer where the library shows a static "").
bool sameText(const char* record, const char* library) {
  return *record == '\0' ? *library == '\0' : record == library;
}

bool sameNode(pugi::xml_node n) {
  const Node p = n.internal_object();
  const char* name =
      n.type() == pugi::node_element || n.type() == pugi::node_pi ? RecordTree::name(p) : n.name();
  bool same = RecordTree::type(p) == n.type() && sameText(name, n.name()) &&
              sameText(RecordTree::value(p), n.value()) &&
              RecordTree::parent(p) == n.parent().internal_object() &&
              RecordTree::firstChild(p) == n.first_child().internal_object() &&
              RecordTree::lastChild(p) == n.last_child().internal_object() &&
              RecordTree::nextSibling(p) == n.next_sibling().internal_object() &&
              (n.type() == pugi::node_document ||
               RecordTree::previousSibling(p) == n.previous_sibling().internal_object()) &&
              RecordTree::firstAttribute(p) == n.first_attribute().internal_object();
  for (pugi::xml_attribute a = n.first_attribute(); same && a; a = a.next_attribute()) {
    const Attr q = a.internal_object();
    same = RecordTree::name(q) == a.name() && RecordTree::value(q) == a.value() &&
           RecordTree::nextAttribute(q) == a.next_attribute().internal_object();
  }
  for (pugi::xml_node c = n.first_child(); same && c; c = c.next_sibling()) same = sameNode(c);
  return same;
}

// Whether `copy` is a string of its own that reads as `original`.
bool isCopy(const char* copy, const char* original) {
  return copy != original && std::strcmp(copy, original) == 0;
}

}  // namespace

bool checkRecords() {
  char text[] =
      "<?xml version='1.0'?><!DOCTYPE a><?p q?><a b='c' d=''><!--x--><![CDATA[y]]>z<f/>"
      "<?g?></a>";
  const unsigned everyNode = pugi::parse_cdata | pugi::parse_comments | pugi::parse_pi |
                             pugi::parse_declaration | pugi::parse_doctype;
  pugi::xml_document doc;
  return doc.load_buffer_inplace(text, sizeof text - 1, everyNode, pugi::encoding_utf8) &&
         sameNode(doc);
}

bool checkSharedStrings() {
  if (!recordsMatchLibrary()) return false;
  // Writable, so that a library that wrote over them shows here instead of faulting.
  char name[] = "shared";
  char value[] = "shared";
  pugi::xml_document doc;
  pugi::xml_node element = doc.append_child(pugi::node_element);
  pugi::xml_node text = element.append_child(pugi::node_pcdata);
  pugi::xml_attribute attribute = element.append_attribute("");
  RecordTree::shareName(element.internal_object(), name);
  RecordTree::shareValue(text.internal_object(), value);
  RecordTree::shareName(attribute.internal_object(), name);
  RecordTree::shareValue(attribute.internal_object(), value);
  pugi::xml_document other;
  const pugi::xml_node copy = other.append_copy(element);
  const bool copied = isCopy(copy.name(), name) && isCopy(copy.first_child().value(), value) &&
                      isCopy(copy.first_attribute().name(), name) &&
                      isCopy(copy.first_attribute().value(), value);
  // Strings of the same length, which the library writes over unshared ones with.
  const char* change = "change";
  const bool changed = element.set_name(change) && text.set_value(change) &&
                       attribute.set_name(change) && attribute.set_value(change) &&
                       isCopy(element.name(), change) && isCopy(text.value(), change) &&
                       isCopy(attribute.name(), change) && isCopy(attribute.value(), change);
  return copied && changed && std::strcmp(name, "shared") == 0 && std::strcmp(value, "shared") == 0;
}

}  // namespace orvidom
