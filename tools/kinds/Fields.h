// The fields of a kind's JSON, each stated once: its name and type, whether it is required, how
// it comes back from the document, and how it is set on and read from the object it belongs to
// (the helper, or an item an `Add…` call made). Making and reading a kind, checking a
// description, the JSON Schema, the pages and the random samples all derive from these entries.
#pragma once

#include <nlohmann/json.hpp>

#include <any>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "JsonInput.h"

using Json = nlohmann::json;
using Ordered = nlohmann::ordered_json;

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
  Merged,   // items are merged or regrouped as the field's merge rule says
  Unique,   // each value once
  Dropped,  // nothing that can be compared; for a list, some items may be left out
};

// How the items of a list come back merged. Items that share the value of `key` are grouped:
// with `combined`, they become one item, whose fields combine as each field's `combine` rule
// says (lists are joined, to be merged by their own rules); otherwise each is kept. The groups come
// in the order their keys were first given, or, with `byKey`, in the order of the key's names.
struct Merge {
  std::string key;
  bool combined = true;
  bool byKey = false;
};

// How the values of a field combine when merged items that share a key become one.
enum class Combine {
  First,      // the first item's value
  Last,       // the last item's value
  Strongest,  // the value latest among the field's names
};

// Where filling a helper from a description is, for the errors only filling finds (XML text that
// does not parse), and the values handed to the helper by pointer, kept until its document is
// made.
struct Fill {
  const Place* at = nullptr;
  std::vector<std::shared_ptr<const void>> kept;
  // The made document's top element, for what is set after Make.
  ORVIDOM_Element made;
};

// The object a field is set on or read from, held by reference; its type is checked on use, and
// a helper may be used as any of its base classes.
struct Target {
  std::any object;
  ActionHandlerBase* helper = nullptr;
};

struct Field;

// The fields of one JSON object; named when the object nests in itself.
struct Shape {
  std::string name;
  std::vector<Field> fields;
  // Builds the value an object of this shape describes, when a call takes that value whole.
  std::function<std::any(const Json&, Fill&)> build;
};

// The names of an enumeration's values, with the value of each and the name of any value read.
struct Names {
  std::vector<std::string> names;
  std::vector<int> values;
  std::function<std::string(int)> nameOf;
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
  // For a list that comes back merged: how.
  Merge merge;
  // For a field of the items of such a list: how its values combine.
  Combine combine = Combine::First;
  // The field applies only when the object's "type" field has this value ("" for always).
  std::string onlyForType;
  // Fields of the same object that may not be given with this one.
  std::vector<std::string> excludes;
  // The names of an enumeration, or the keys a string map may have (empty for any), with their
  // values.
  Names names;
  // The fields of an object.
  std::shared_ptr<const Shape> shape;
  // The items of a list, or the values of a map that are not strings.
  std::shared_ptr<const Field> item;
  // Handed to the call that creates the field's object (the helper's constructor, an `Add…`
  // call, a value's constructor), in the order of the object's arguments, instead of being set.
  bool argument = false;
  // Set once Make has written the document: the helper writes it into the element made.
  bool afterMake = false;
  // Where the made document carries the field, for a kind that is only made, so that it can be
  // read back all the same: child elements from the object's element, separated by "/" ("*" for
  // any, "name[2]" for the second, "name[@a=v]" for the one whose attribute a is v), then
  // "@attribute" (or "@a|b" for the first of them present) or the text; "." is the object's
  // element itself. A list names the element of each item; a map the element of each entry,
  // keyed by "@key=@value" or, with "*", by the element's name. Empty when it is not read back.
  std::string written;
  // Sets the value given on the target; empty when the field is an argument or only read.
  std::function<void(const Field&, const Target&, const Json&, Fill&)> set;
  // The value the target gives back; empty when `read` does not give the field.
  std::function<Ordered(const Field&, const Target&)> get;

  Field& require() { return required = true, *this; }
  Field& readsOnly() { return readOnly = true, *this; }
  Field& madeOnly() { return makeOnly = true, *this; }
  // A non-empty string, or a list of at least one item, which must then be given.
  Field& atLeastOne() {
    required |= type == FieldType::List;
    return nonEmpty = true, *this;
  }
  Field& comesBack(RoundTrip rule) { return roundTrip = rule, *this; }
  Field& mergedBy(Merge rule) {
    return roundTrip = RoundTrip::Merged, merge = std::move(rule), *this;
  }
  Field& combines(Combine rule) { return combine = rule, *this; }
  Field& forType(std::string type) { return onlyForType = std::move(type), *this; }
  Field& notWith(std::vector<std::string> others) { return excludes = std::move(others), *this; }
  Field& keys(Names keyNames) { return names = std::move(keyNames), *this; }
  Field& afterMaking() { return afterMake = true, *this; }
  Field& at(std::string where) { return written = std::move(where), *this; }

  // Binds the field: `set` takes the value given (a member function, a data member, or a
  // function of the target and the value; one of the target, a key and a value sets a map entry
  // by entry; one of the target, the JSON and the Fill is written by hand), and is called once
  // per item of a list when it takes a single item. For an object, or a list of objects, `set` is
  // the call that adds the object, taking its argument fields; its other fields are set on what
  // it returns. A call whose object is an element is made on the element Make wrote. `get` gives
  // the value back from the target. Either may be nullptr.
  template <class Set, class Get = std::nullptr_t>
  Field& on(Set set, Get get = nullptr);
  // Makes the field an argument of its object's creating call, read back by `get`.
  template <class Get = std::nullptr_t>
  Field& arg(Get get = nullptr);

  // The value of one of the field's names, which the description's check has accepted.
  int valueNamed(const std::string& name) const;
};

// Field constructors, one per type.
Field text(std::string name);
Field xmlName(std::string name);
Field xml(std::string name);
Field integer(std::string name);
Field boolean(std::string name);
Field choice(std::string name, Names names);
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

// The names of the values `first` to `last` of an enumeration, each named by `nameOf`: the
// helper's own conversion, so that the names are written down in the library alone.
template <class E, class NameOf>
Names namesOf(int first, int last, NameOf nameOf) {
  Names out;
  out.nameOf = [nameOf](int value) { return std::string(nameOf(static_cast<E>(value)).str()); };
  for (int i = first; i <= last; ++i) out.names.push_back(out.nameOf(i)), out.values.push_back(i);
  return out;
}

// What `read` gives for the fields of the target: each field that has a getter, in order.
Ordered readFields(const std::vector<Field>& fields, const Target& target);

// Sets the fields the description gives on the target, those set after Make or those set
// before; arguments are not set.
void setFields(const std::vector<Field>& fields, const Target& target, const Json& in, Fill& fill,
               bool afterMake = false);

#include "FieldBinding.h"
