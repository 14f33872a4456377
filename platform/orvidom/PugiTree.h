// Two ways to read the tree pugixml has just parsed, for the checks that follow the parse.
// Internal to the DOM layer.
#pragma once

#include <pugixml.hpp>

#include <cstdint>

namespace orvidom {

using Node = pugi::xml_node_struct*;
using Attr = pugi::xml_attribute_struct*;

// Through the library's accessors: always right, but each step is a call into the library.
struct ApiTree {
  static pugi::xml_node n(Node node) noexcept { return pugi::xml_node(node); }
  static pugi::xml_attribute a(Attr attr) noexcept { return pugi::xml_attribute(attr); }

  static pugi::xml_node_type type(Node node) noexcept { return n(node).type(); }
  // A node without a name or value shows "", which lies outside the parsed text.
  static char* name(Node node) noexcept { return text(n(node).name()); }
  static char* value(Node node) noexcept { return text(n(node).value()); }
  static Node parent(Node node) noexcept { return n(node).parent().internal_object(); }
  static Node firstChild(Node node) noexcept { return n(node).first_child().internal_object(); }
  static Node lastChild(Node node) noexcept { return n(node).last_child().internal_object(); }
  static Node nextSibling(Node node) noexcept { return n(node).next_sibling().internal_object(); }
  static Node previousSibling(Node node) noexcept {
    return n(node).previous_sibling().internal_object();
  }
  static Attr firstAttribute(Node node) noexcept {
    return n(node).first_attribute().internal_object();
  }
  static Attr nextAttribute(Attr attr) noexcept {
    return a(attr).next_attribute().internal_object();
  }
  static char* name(Attr attr) noexcept { return text(a(attr).name()); }
  static char* value(Attr attr) noexcept { return text(a(attr).value()); }

 private:
  // The parsed text lies in the buffer the parser was given, which is writable.
  static char* text(const char* s) noexcept { return const_cast<char*>(s); }
};

// Straight from the library's node and attribute records, laid out as pugixml 1.x builds them
// without its compact mode. Walking a large document through the accessors costs about half
// as much as parsing it; reading the records costs a small fraction. recordsMatchLibrary()
// says whether the records read this way agree with the accessors.
struct RecordTree {
  struct AttrRecord {
    std::uintptr_t header;
    char* name;
    char* value;
    AttrRecord* previousCyclic;
    AttrRecord* next;
  };
  struct NodeRecord {
    std::uintptr_t header;
    char* name;
    char* value;
    NodeRecord* parent;
    NodeRecord* firstChild;
    NodeRecord* previousCyclic;  // the previous sibling, or the last one for the first child
    NodeRecord* nextSibling;
    AttrRecord* firstAttribute;
  };
  static NodeRecord* r(Node node) noexcept { return reinterpret_cast<NodeRecord*>(node); }
  static Node n(NodeRecord* record) noexcept { return reinterpret_cast<Node>(record); }
  static AttrRecord* r(Attr attr) noexcept { return reinterpret_cast<AttrRecord*>(attr); }
  static Attr a(AttrRecord* record) noexcept { return reinterpret_cast<Attr>(record); }

  static pugi::xml_node_type type(Node node) noexcept {
    return static_cast<pugi::xml_node_type>(r(node)->header & 15);
  }
  // Every node the checks ask for its name has one.
  static char* name(Node node) noexcept { return r(node)->name; }
  static char* value(Node node) noexcept { return orEmpty(r(node)->value); }
  static Node parent(Node node) noexcept { return n(r(node)->parent); }
  static Node firstChild(Node node) noexcept { return n(r(node)->firstChild); }
  static Node lastChild(Node node) noexcept {
    NodeRecord* first = r(node)->firstChild;
    return first ? n(first->previousCyclic) : nullptr;
  }
  static Node nextSibling(Node node) noexcept { return n(r(node)->nextSibling); }
  static Node previousSibling(Node node) noexcept {
    NodeRecord* previous = r(node)->previousCyclic;
    return previous->nextSibling ? n(previous) : nullptr;
  }
  static Attr firstAttribute(Node node) noexcept { return a(r(node)->firstAttribute); }
  static Attr nextAttribute(Attr attr) noexcept { return a(r(attr)->next); }
  static char* name(Attr attr) noexcept { return r(attr)->name; }
  static char* value(Attr attr) noexcept { return r(attr)->value; }

  // The header bit of a record whose strings another record may share: the library never writes
  // over such a string in place, and frees it only when the record's own bit says it allocated it.
  static constexpr std::uintptr_t kSharedStrings = 64;
  // Points the name or value of a record without one at `text`, which the document does not own
  // and which must outlive it; see sharedStringsMatchLibrary().
  static void shareName(Node node, const char* text) noexcept {
    share(r(node), r(node)->name, text);
  }
  static void shareValue(Node node, const char* text) noexcept {
    share(r(node), r(node)->value, text);
  }
  static void shareName(Attr attr, const char* text) noexcept {
    share(r(attr), r(attr)->name, text);
  }
  static void shareValue(Attr attr, const char* text) noexcept {
    share(r(attr), r(attr)->value, text);
  }

 private:
  template <class Record>
  static void share(Record* record, char*& field, const char* text) noexcept {
    field = const_cast<char*>(text);
    record->header |= kSharedStrings;
  }
  // A node without a value reads as "", outside the parsed text, as through the library.
  static char* orEmpty(char* s) noexcept {
    static char empty[1] = {};
    return s ? s : empty;
  }
};

// True when RecordTree reads the library in use as its accessors do; checked by checkRecords() on
// a small document holding every kind of node the parser keeps. Inline, as every step of a walk
// asks.
bool checkRecords();
inline bool recordsMatchLibrary() {
  static const bool match = checkRecords();
  return match;
}

// True when the library in use treats a string set by RecordTree::shareName or shareValue as one
// it neither owns nor may change: changing the name or value gives the record a copy of its own,
// a copy of the record in another document copies the string, and the string stays as it was.
// Checked once, by checkSharedStrings(); inline, as the Builder asks for every node it makes.
bool checkSharedStrings();
inline bool sharedStringsMatchLibrary() {
  static const bool match = checkSharedStrings();
  return match;
}

// Calls `step` with the faster of the two readers that reads the library in use right.
template <class Step>
auto withTree(Step step) {
  return recordsMatchLibrary() ? step(RecordTree()) : step(ApiTree());
}

// Asks for the records some 4 KB past `node`, about forty elements on. pugixml lays the records
// of nodes and attributes out one after another in document order, so a walk of a tree larger
// than the cache that asks ahead does not wait on each node in turn. Two cache lines, as an
// element with an attribute takes more than one.
inline void prefetchAhead(Node node) noexcept {
  const char* ahead = reinterpret_cast<const char*>(node) + 4096;
  __builtin_prefetch(ahead);
  __builtin_prefetch(ahead + 64);
}

}  // namespace orvidom
