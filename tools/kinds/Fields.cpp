#include "Fields.h"

#include <algorithm>

namespace {

Field typed(std::string name, FieldType type) {
  Field f;
  f.name = std::move(name);
  f.type = type;
  return f;
}

}  // namespace

Field text(std::string name) { return typed(std::move(name), FieldType::String); }
Field xmlName(std::string name) { return typed(std::move(name), FieldType::XmlName); }
Field xml(std::string name) { return typed(std::move(name), FieldType::Xml); }
Field integer(std::string name) { return typed(std::move(name), FieldType::Integer); }
Field boolean(std::string name) { return typed(std::move(name), FieldType::Boolean); }
Field stringMap(std::string name) { return typed(std::move(name), FieldType::StringMap); }

Field choice(std::string name, Names names) {
  Field f = typed(std::move(name), FieldType::Enumeration);
  f.names = std::move(names);
  return f;
}

Field object(std::string name, std::shared_ptr<const Shape> shape) {
  Field f = typed(std::move(name), FieldType::Object);
  f.shape = std::move(shape);
  return f;
}

Field list(std::string name, Field item) {
  Field f = typed(std::move(name), FieldType::List);
  f.item = std::make_shared<const Field>(std::move(item));
  return f;
}

Field listOf(std::string name, std::shared_ptr<const Shape> shape) {
  return list(std::move(name), object("", std::move(shape)));
}

Field mapOf(std::string name, Field item) {
  Field f = stringMap(std::move(name));
  f.item = std::make_shared<const Field>(std::move(item));
  return f;
}

std::shared_ptr<const Shape> shape(std::vector<Field> fields, std::string name) {
  return std::make_shared<const Shape>(Shape{std::move(name), std::move(fields), nullptr});
}

std::shared_ptr<const Shape> nestingShape(
    std::string name,
    const std::function<std::vector<Field>(std::shared_ptr<const Shape>)>& fields) {
  auto nesting = std::make_shared<Shape>();
  nesting->name = std::move(name);
  nesting->fields =
      fields(std::shared_ptr<const Shape>(std::shared_ptr<const Shape>(), nesting.get()));
  return nesting;
}

int Field::valueNamed(const std::string& given) const {
  const auto at = std::find(names.names.begin(), names.names.end(), given);
  if (at == names.names.end()) throw std::logic_error(name + ": unchecked name \"" + given + "\"");
  return names.values[at - names.names.begin()];
}

Ordered readFields(const std::vector<Field>& fields, const Target& target) {
  Ordered out = Ordered::object();
  // Reserved whole: an ordered object is a vector, which reads of many items would grow often.
  out.get_ref<Ordered::object_t&>().reserve(fields.size());
  for (const Field& f : fields) {
    if (f.get) out[f.name] = f.get(f, target);
  }
  return out;
}

void setFields(const std::vector<Field>& fields, const Target& target, const Json& in, Fill& fill,
               bool afterMake) {
  const Place* outer = fill.at;
  for (const Field& f : fields) {
    if (!f.set || f.argument || f.afterMake != afterMake) continue;
    const auto v = in.find(f.name);
    if (v == in.end()) continue;
    const Place field{outer, &f.name};
    fill.at = &field;
    f.set(f, target, *v, fill);
  }
  fill.at = outer;
}

namespace binding {

ORVIDOM_Element parsedElement(const std::string& text, const Place* at) {
  try {
    return ORVIDOM_Parser::parseString(text).getDocumentElement();
  } catch (const ORVIDOM_ParseError& e) {
    throw InputError(Place::path(at), "line " + std::to_string(e.getLine()) + ", column " +
                                          std::to_string(e.getColumn()) +
                                          " of the XML: " + e.what());
  }
}

}  // namespace binding
