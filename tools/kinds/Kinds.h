// The table of document kinds: for each kind its name, root elements, the JSON fields that
// describe it, and how it is made and read through its helper. The tool, the property test and
// the fuzz targets all work from this one table.
#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "JsonInput.h"

// What a JSON field holds.
enum class FieldType {
  String,       // any text
  XmlName,      // text written as an element name
  Xml,          // the text of an XML element
  Integer,      // a whole number of zero or more
  Boolean,      // true or false
  Enumeration,  // one of the field's names
  Object,       // an object of the field's fields
  List,         // an array of the field's item
  StringMap,    // an object whose every value is a string, or the field's item
};

// What reading the made document gives for a field, where it is not the value given.
enum class RoundTrip {
  Same,     // the value given
  Merged,   // items that share a key are merged, or come back in another order
  Unique,   // each value once
  Dropped,  // nothing that can be compared; for a list, some items may be left out
};

struct Field;

// The fields of one JSON object; named when the object nests in itself.
struct Shape {
  std::string name;
  std::vector<Field> fields;
};

// One field of a kind's JSON.
struct Field {
  std::string name;
  FieldType type = FieldType::String;
  // Must be present in a description `make` takes.
  bool required = false;
  // Only `read` gives it; `make` does not take it.
  bool readOnly = false;
  // Only `make` takes it; `read` does not give it.
  bool makeOnly = false;
  // An array that must hold at least one item.
  bool nonEmpty = false;
  RoundTrip roundTrip = RoundTrip::Same;
  // The field applies only when the object's "type" field has this value ("" for always).
  std::string onlyForType;
  // Fields of the same object that may not be given with this one.
  std::vector<std::string> excludes;
  // The names of an enumeration, or the keys a string map may have (empty for any).
  std::vector<std::string> names;
  // The fields of an object.
  std::shared_ptr<const Shape> shape;
  // The items of a list, or the values of a map that are not strings.
  std::shared_ptr<const Field> item;

  Field& require() { return required = true, *this; }
  Field& readsOnly() { return readOnly = true, *this; }
  Field& madeOnly() { return makeOnly = true, *this; }
  // A non-empty string, or a list of at least one item, which must then be given.
  Field& atLeastOne() {
    required |= type == FieldType::List;
    return nonEmpty = true, *this;
  }
  Field& comesBack(RoundTrip rule) { return roundTrip = rule, *this; }
  Field& forType(std::string type) { return onlyForType = std::move(type), *this; }
  Field& notWith(std::vector<std::string> others) { return excludes = std::move(others), *this; }
  Field& keys(std::vector<std::string> keyNames) { return names = std::move(keyNames), *this; }
};

// Field constructors, one per type.
Field text(std::string name);
Field xmlName(std::string name);
Field xml(std::string name);
Field integer(std::string name);
Field boolean(std::string name);
Field choice(std::string name, std::vector<std::string> names);
Field object(std::string name, std::shared_ptr<const Shape> shape);
// A list of `item`s; the item's name is not used.
Field list(std::string name, Field item);
Field listOf(std::string name, std::shared_ptr<const Shape> shape);
Field stringMap(std::string name);
Field mapOf(std::string name, Field item);
std::shared_ptr<const Shape> shape(std::vector<Field> fields, std::string name = "");
// A shape whose fields nest the shape itself: `fields` is given a pointer to it that does not
// own it, so that no cycle keeps the shape from being freed.
std::shared_ptr<const Shape> nestingShape(
    std::string name,
    const std::function<std::vector<Field>(std::shared_ptr<const Shape>)>& fields);

// The table of the values `first` to `last` of an enumeration, each named by `nameOf`: the
// helper's own conversion, so that the names are written down in the library alone.
template <class E, class NameOf>
NameTable<E> namesOf(int first, int last, NameOf nameOf) {
  NameTable<E> table;
  for (int i = first; i <= last; ++i) table.emplace_back(nameOf(static_cast<E>(i)).str(), E(i));
  return table;
}

// The names of a table of names and values, in the table's order.
template <class E>
std::vector<std::string> namesIn(const NameTable<E>& table) {
  std::vector<std::string> out;
  for (const auto& entry : table) out.emplace_back(entry.first);
  return out;
}

// One kind of document.
struct Kind {
  // The kind's name on the command line ("metadata-request").
  std::string name;
  // The names of the top elements it reads and makes; empty when it reads any root.
  std::vector<std::string> roots;
  // The helper that makes or reads it.
  std::string helperClass;
  // One sentence saying what the document is for.
  std::string summary;
  // The fields of its JSON: what `make` takes and `read` gives.
  std::vector<Field> fields;
  // Fills the helper from a JSON description and makes the document; empty when the kind is
  // only read.
  std::function<ORVIDOM_Element(JsonObject&)> make;
  // Takes a document and gives what the helper's getters report; empty when the kind is only
  // made.
  std::function<nlohmann::ordered_json(ORVIDOM_Element&)> read;
  // Writes what the getters report as readable text; empty to lay out `read`'s JSON as text.
  std::function<void(ORVIDOM_Element&, std::ostream&)> readText;
  // Writes `read`'s JSON as it reads, for documents too big to hold twice; empty when `read`
  // serves.
  std::function<void(ORVIDOM_Element&, std::ostream&)> readJson;

  // Whether the kind reads a document whose top element is `root`.
  bool readsRoot(const std::string& root) const;
};

// Every kind, in the order `kinds` lists them.
const std::vector<Kind>& allKinds();

// The kind named `name`; null when none is.
const Kind* findKind(const std::string& name);

// The kinds of each family of documents.
void addQueryFrameworkKinds(std::vector<Kind>& kinds);
void addQueryServiceKinds(std::vector<Kind>& kinds);
void addModelAdminKinds(std::vector<Kind>& kinds);
void addModelTaskKinds(std::vector<Kind>& kinds);

// Makes the helper's document: calls Make and returns the top element.
template <class Helper>
ORVIDOM_Element makeWith(const Helper& helper) {
  ORVIDOM_Element elem;
  helper.Make(elem);
  return elem;
}

// The string as JSON.
inline nlohmann::ordered_json toJson(const I18NString& s) { return s.str(); }

// The strings as a JSON array.
template <class Strings>
nlohmann::ordered_json toJsonArray(const Strings& strings) {
  nlohmann::ordered_json out = nlohmann::ordered_json::array();
  for (const auto& s : strings) out.push_back(toJson(s));
  return out;
}
