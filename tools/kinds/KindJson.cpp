#include "KindJson.h"

#include <algorithm>
#include <limits>
#include <set>

namespace {

using json = nlohmann::json;
using ordered = nlohmann::ordered_json;

// Edits (insertions, deletions, replacements) that turn `a` into `b`.
std::size_t editDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
  return out;
}

// Fails with "unknown field "x"", naming the nearest known name when one is close.
[[noreturn]] void failUnknownField(const Place* at, const std::string& name,
                                   const std::vector<std::string>& known) {
  std::string message = "unknown field \"" + name + "\"";
  const std::string* nearest = nullptr;
  std::size_t best = std::max<std::size_t>(2, name.size() / 3) + 1;
  for (const std::string& k : known) {
    const std::size_t d = editDistance(name, k);
    if (d < best) best = d, nearest = &k;
  }
  if (nearest) message += "; did you mean \"" + *nearest + "\"?";
  throw InputError(Place::path(at), message + " (known: " + joined(known) + ")",
                   nearest ? *nearest : "");
}

[[noreturn]] void fail(const Place* at, const std::string& what) {
  throw InputError(Place::path(at), what);
}

void checkFields(const std::vector<Field>& fields, const json& in, const Place* at);

// Booleans may also be given as the strings "true" and "false".
bool isBoolean(const json& v) { return v.is_boolean() || v == "true" || v == "false"; }

}  // namespace

void checkValue(const Field& f, const json& v, const Place* at) {
  switch (f.type) {
    case FieldType::String:
    case FieldType::XmlName:
    case FieldType::Xml:
      if (!v.is_string()) fail(at, "expected a string");
      if (f.nonEmpty && v.get_ref<const std::string&>().empty()) fail(at, "must not be empty");
      break;
    case FieldType::Integer:
      // The helpers take whole numbers as unsigned long, which may be 32 bits wide.
      if (!v.is_number_unsigned()) fail(at, "expected a whole number of zero or more");
      if (v.get<unsigned long long>() > std::numeric_limits<unsigned long>::max()) {
        fail(at, "too large: at most " + std::to_string(std::numeric_limits<unsigned long>::max()));
      }
      break;
    case FieldType::Boolean:
      if (!isBoolean(v)) fail(at, "expected true or false");
      break;
    case FieldType::Enumeration:
      if (!v.is_string()) fail(at, "expected a string");
      if (std::find(f.names.names.begin(), f.names.names.end(), v.get_ref<const std::string&>()) ==
          f.names.names.end()) {
        fail(at, "unknown value \"" + v.get<std::string>() + "\" (known: " + joined(f.names.names) +
                     ")");
      }
      break;
    case FieldType::Object:
      if (!v.is_object()) fail(at, "expected an object");
      checkFields(f.shape->fields, v, at);
      break;
    case FieldType::List:
      if (!v.is_array()) fail(at, "expected an array");
      if (f.nonEmpty && v.empty()) fail(at, "must hold at least one item");
      for (std::size_t i = 0; i < v.size(); ++i) {
        const Place item{at, nullptr, i};
        checkValue(*f.item, v[i], &item);
      }
      break;
    case FieldType::StringMap:
      if (!v.is_object()) fail(at, "expected an object");
      for (const auto& [key, item] : v.items()) {
        if (!f.names.names.empty() &&
            std::find(f.names.names.begin(), f.names.names.end(), key) == f.names.names.end()) {
          fail(at, "unknown key \"" + key + "\" (known: " + joined(f.names.names) + ")");
        }
        const Place entry{at, &key};
        if (f.item) {
          checkValue(*f.item, item, &entry);
        } else if (!item.is_string()) {
          fail(&entry, "expected a string");
        }
      }
      break;
  }
}

namespace {

// Whether the field applies to `in`, whose "type" may choose the fields that do.
bool applies(const Field& f, const json& in) {
  if (f.readOnly) return false;
  if (f.onlyForType.empty()) return true;
  const auto type = in.find("type");
  return type != in.end() && *type == f.onlyForType;
}

void checkFields(const std::vector<Field>& fields, const json& in, const Place* at) {
  if (!in.is_object()) fail(at, "expected an object");
  // Values first: a wrong "type" explains the fields that do not apply.
  std::vector<const std::string*> excluded;
  for (const Field& f : fields) {
    if (!applies(f, in)) continue;
    const auto v = in.find(f.name);
    if (v == in.end()) continue;
    const Place field{at, &f.name};
    checkValue(f, *v, &field);
    for (const std::string& other : f.excludes) {
      if (in.contains(other)) fail(&field, "cannot be given with \"" + other + "\"");
      excluded.push_back(&other);
    }
  }
  // Nothing is gathered for a description without faults: this runs for every object of it.
  for (const auto& [key, value] : in.items()) {
    const auto named = [&, &key = key](const Field& f) { return f.name == key && applies(f, in); };
    if (std::none_of(fields.begin(), fields.end(), named)) {
      std::vector<std::string> known;
      for (const Field& f : fields) {
        if (applies(f, in)) known.push_back(f.name);
      }
      failUnknownField(at, key, known);
    }
  }
  for (const Field& f : fields) {
    if (applies(f, in) && f.required && !in.contains(f.name) &&
        std::none_of(excluded.begin(), excluded.end(),
                     [&](const std::string* name) { return *name == f.name; })) {
      const Place field{at, &f.name};
      fail(&field, "missing");
    }
  }
}

// The schema also allows null: what `read` gives for an absent optional part.
ordered orNull(ordered schema) {
  if (schema.contains("enum")) {
    schema["enum"].push_back(nullptr);
  } else if (schema.contains("type")) {
    schema["type"] = {schema["type"], "null"};
  } else {
    schema = {{"anyOf", {schema, {{"type", "null"}}}}};
  }
  return schema;
}

class SchemaWriter {
 public:
  ordered objectSchema(const Shape& shape) {
    if (shape.name.empty()) return shapeSchema(shape);
    if (m_named.insert(shape.name).second) m_defs[shape.name] = shapeSchema(shape);
    return {{"$ref", "#/$defs/" + shape.name}};
  }

  ordered shapeSchema(const Shape& shape) {
    ordered properties = ordered::object();
    ordered required = ordered::array();
    ordered exclusions = ordered::array();
    for (const Field& f : shape.fields) {
      ordered s = fieldSchema(f);
      if (f.readOnly) s["readOnly"] = true;
      if (f.makeOnly) s["writeOnly"] = true;
      if (!f.onlyForType.empty()) {
        s["description"] = "Only for an item of type \"" + f.onlyForType + "\".";
      } else if (f.roundTrip != RoundTrip::Same) {
        s["description"] = roundTripNote(f.roundTrip);
      }
      if (f.required && f.onlyForType.empty()) {
        required.push_back(f.name);
      } else {
        s = orNull(s);
      }
      for (const std::string& other : f.excludes) {
        exclusions.push_back({{"required", {f.name, other}}});
      }
      properties[f.name] = s;
    }
    ordered out{{"type", "object"}, {"properties", properties}};
    if (!required.empty()) out["required"] = required;
    out["additionalProperties"] = false;
    if (!exclusions.empty()) out["not"] = {{"anyOf", exclusions}};
    return out;
  }

  ordered fieldSchema(const Field& f) {
    switch (f.type) {
      case FieldType::String:
        return f.nonEmpty ? ordered{{"type", "string"}, {"minLength", 1}}
                          : ordered{{"type", "string"}};
      case FieldType::XmlName:
        return {{"type", "string"}, {"pattern", "^[A-Za-z_][A-Za-z0-9._-]*$"}};
      case FieldType::Xml:
        return {{"type", "string"}, {"contentMediaType", "application/xml"}};
      case FieldType::Integer:
        return {{"type", "integer"}, {"minimum", 0}};
      case FieldType::Boolean:
        return {{"type", "boolean"}};
      case FieldType::Enumeration:
        return {{"enum", f.names.names}};
      case FieldType::Object:
        return objectSchema(*f.shape);
      case FieldType::List: {
        ordered out{{"type", "array"}, {"items", fieldSchema(*f.item)}};
        if (f.nonEmpty) out["minItems"] = 1;
        return out;
      }
      case FieldType::StringMap: {
        ordered out{{"type", "object"}};
        if (!f.names.names.empty()) out["propertyNames"] = {{"enum", f.names.names}};
        out["additionalProperties"] =
            f.item ? orNull(fieldSchema(*f.item)) : ordered{{"type", "string"}};
        return out;
      }
    }
    return {};
  }

  static const char* roundTripNote(RoundTrip rule) {
    switch (rule) {
      case RoundTrip::Merged:
        return "Read back merged: items that share a key become one, in the document's order.";
      case RoundTrip::Unique:
        return "Read back with each value once.";
      case RoundTrip::Dropped:
        return "Not read back as given, or only in part.";
      case RoundTrip::Same:
        break;
    }
    return "";
  }

  ordered m_defs = ordered::object();

 private:
  std::set<std::string> m_named;
};

}  // namespace

void checkDescription(const Kind& kind, const nlohmann::json& description) {
  checkFields(kind.fields, description, nullptr);
}

nlohmann::ordered_json schemaOf(const Kind& kind) {
  SchemaWriter writer;
  ordered body = writer.shapeSchema(Shape{"", kind.fields});
  std::string roots;
  for (const std::string& r : kind.roots) roots += (roots.empty() ? "<" : ", <") + r + ">";
  ordered out{{"$schema", "https://json-schema.org/draft/2020-12/schema"},
              {"title", kind.name},
              {"description", kind.summary + " Root element: " +
                                  (roots.empty() ? std::string("any") : roots) + "."}};
  out.update(body);
  if (!writer.m_defs.empty()) out["$defs"] = writer.m_defs;
  return out;
}

nlohmann::ordered_json kindJson(const Kind& kind) {
  return {{"name", kind.name},       {"roots", kind.roots},     {"helper", kind.helperClass},
          {"make", bool(kind.make)}, {"read", bool(kind.read)}, {"summary", kind.summary},
          {"schema", schemaOf(kind)}};
}
