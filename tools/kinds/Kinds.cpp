#include "Kinds.h"

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

Field choice(std::string name, std::vector<std::string> names) {
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
  return std::make_shared<const Shape>(Shape{std::move(name), std::move(fields)});
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

bool Kind::readsRoot(const std::string& root) const {
  return roots.empty() || std::find(roots.begin(), roots.end(), root) != roots.end();
}

const std::vector<Kind>& allKinds() {
  static const std::vector<Kind> kinds = [] {
    std::vector<Kind> k;
    addQueryFrameworkKinds(k);
    addQueryServiceKinds(k);
    addModelAdminKinds(k);
    addModelTaskKinds(k);
    return k;
  }();
  return kinds;
}

const Kind* findKind(const std::string& name) {
  for (const Kind& k : allKinds()) {
    if (k.name == name) return &k;
  }
  return nullptr;
}
