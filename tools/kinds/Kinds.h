// The table of document kinds: for each kind its name, root elements, the fields of its JSON and
// how it is made and read through its helper. The tool, the property test and the fuzz targets
// all work from this one table.
#pragma once

#include <algorithm>
#include <ostream>

#include "Fields.h"

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
  // Fills the helper from a description checkDescription accepted and makes the document; empty
  // when the kind is only read.
  std::function<ORVIDOM_Element(JsonObject&)> make;
  // Takes a document and gives what the helper's getters report; empty when the kind is only
  // made.
  std::function<Ordered(ORVIDOM_Element&)> read;
  // Reads the document as it comes from `reader`, which has read the root's start tag, and
  // writes what `read` gives (or, with `text`, its readable layout) part by part as it reads, so
  // that a document of any size is never held whole; `again` gives a reader of the same input
  // from the start, past the root's start tag, for a second pass. Empty when the kind is read
  // from a tree, as most documents are small.
  std::function<void(ORVIDOM_PullReader& reader, const std::function<ORVIDOM_PullReader&()>& again,
                     bool text, std::ostream& out)>
      stream;

  // Whether the kind reads a document whose top element is `root`.
  bool readsRoot(const std::string& root) const;
};

// Every kind, in the order `kinds` lists them.
const std::vector<Kind>& allKinds();

// The kind named `name`; null when none is.
const Kind* findKind(const std::string& name);

// The kind that reads documents of the top element `root`, when exactly one names it; null
// otherwise, with `why` saying which kinds could (to be followed by how to choose one).
const Kind* kindForRoot(const std::string& root, std::string& why);

// Whether elements under `root` nest deeper than `levels`, counting `root` as the first level
// and leaves not at all; found without recursion, so that any depth is safe to check.
bool nestedDeeperThan(const ORVIDOM_Element& root, int levels);

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

// The helper, keeping the element it took, for getters that take that element again.
template <class Helper>
struct Taken : Helper {
  ORVIDOM_Element taken;

  void Take(ORVIDOM_Element& elem) {
    Helper::Take(elem);
    taken = elem;
  }
};

// The helper made by its default constructor.
template <class Helper>
struct Default {
  std::unique_ptr<Helper> operator()() const { return std::make_unique<Helper>(); }
};

template <class Helper, class = void>
struct Makes : std::false_type {};
template <class Helper>
struct Makes<Helper, std::void_t<decltype(std::declval<const Helper&>().Make(
                         std::declval<ORVIDOM_Element&>()))>> : std::true_type {};
template <class Helper, class = void>
struct Takes : std::false_type {};
template <class Helper>
struct Takes<Helper,
             std::void_t<decltype(std::declval<Helper&>().Take(std::declval<ORVIDOM_Element&>()))>>
    : std::true_type {};

// The kind made and read through the helper H, which `create` makes from the argument fields of
// the kind, in order: make sets the fields given, calls Make and sets those set after it; read
// lets a helper made without arguments take the document and gives every field that has a
// getter. A kind whose fields have no setter is not made, one whose fields have no getter not
// read.
template <class Helper, class Create = Default<Helper>>
Kind bound(Kind kind, Create create = Create()) {
  using Args = binding::CreatorArgs<Create>;
  const std::vector<Field>& fields = kind.fields;
  if constexpr (Makes<Helper>::value) {
    if (std::any_of(fields.begin(), fields.end(),
                    [](const Field& f) { return f.set || f.argument; })) {
      kind.make = [fields, create](JsonObject& in) {
        Fill fill;
        auto args = binding::argumentsOf(static_cast<Args*>(nullptr), fields, in.value(), fill);
        auto helper = binding::createWith(create, args);
        const Target target = binding::targetOf(*helper);
        setFields(fields, target, in.value(), fill);
        fill.made = makeWith(*helper);
        setFields(fields, target, in.value(), fill, true);
        return fill.made;
      };
    }
  }
  if constexpr (Takes<Helper>::value) {
    if (std::any_of(fields.begin(), fields.end(), [](const Field& f) { return bool(f.get); })) {
      kind.read = [fields, create](ORVIDOM_Element& elem) {
        Args none;
        auto helper = binding::createWith(create, none);
        helper->Take(elem);
        return readFields(fields, binding::targetOf(*helper));
      };
    }
  }
  return kind;
}
