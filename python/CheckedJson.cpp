#include "CheckedJson.h"

#include <cstdint>
#include <cstring>

#include "KindJson.h"
#include "PyJson.h"

namespace {

using Json = nlohmann::json;

// Thrown where the walk stops: the description may not fit, and the checker is to say why.
struct Unfit {};

// The value of a field at `depth` levels of dicts and lists; objects and lists of the table's
// shapes are walked here, any other value converted whole and checked by the checker itself.
void convertField(const Field& f, PyObject* value, Json& out, int depth);

bool hasTypedFields(const std::vector<Field>& fields) {
  for (const Field& f : fields) {
    if (!f.onlyForType.empty()) return true;
  }
  return false;
}

// The index of the field a key names; Unfit when none or more than one field may take it.
std::size_t fieldNamed(const std::vector<Field>& fields, PyObject* key) {
  if (!PyUnicode_Check(key)) throw Unfit{};
  Py_ssize_t size = 0;
  const char* name = PyUnicode_AsUTF8AndSize(key, &size);
  if (!name) {
    PyErr_Clear();
    throw Unfit{};
  }
  std::size_t found = fields.size();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string& n = fields[i].name;
    if (fields[i].readOnly || n.size() != static_cast<std::size_t>(size) ||
        std::memcmp(n.data(), name, n.size()) != 0) {
      continue;
    }
    if (found != fields.size()) throw Unfit{};
    found = i;
  }
  if (found == fields.size()) throw Unfit{};
  return found;
}

// Whether a field given excludes the field `name`, so that it may be missing.
bool excludedByGiven(const std::vector<Field>& fields, std::uint64_t given,
                     const std::string& name) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!(given >> i & 1)) continue;
    for (const std::string& other : fields[i].excludes) {
      if (other == name) return true;
    }
  }
  return false;
}

// Drops from an object reused the entries of the fields not given.
void dropOthers(const std::vector<Field>& fields, std::uint64_t given, Json::object_t& object) {
  for (auto at = object.begin(); at != object.end();) {
    std::size_t i = 0;
    while (i < fields.size() && fields[i].name != at->first) ++i;
    at = i < fields.size() && given >> i & 1 ? std::next(at) : object.erase(at);
  }
}

// The JSON of a value that is not one of the table's objects or lists, reusing the string `out`
// holds for a str.
void convertValue(PyObject* value, Json& out, int depth) {
  if (!PyUnicode_Check(value) || !out.is_string()) {
    out = jsonOf(value, kMaxInputDepth - depth);
    return;
  }
  Py_ssize_t size = 0;
  const char* text = PyUnicode_AsUTF8AndSize(value, &size);
  if (!text) {
    PyErr_Clear();
    throw Unfit{};
  }
  out.get_ref<std::string&>().assign(text, static_cast<std::size_t>(size));
}

// An object of the fields, which apply whatever its "type" (shapes whose fields depend on it are
// checked whole by the checker): every key names a field, required fields are given unless a
// field given excludes them, and no two fields given exclude each other.
void convertObject(const std::vector<Field>& fields, PyObject* value, Json& out, int depth) {
  if (!PyDict_Check(value) || depth == kMaxInputDepth || fields.size() > 64) throw Unfit{};
  if (!out.is_object()) out = Json::object();
  Json::object_t& object = out.get_ref<Json::object_t&>();
  std::uint64_t given = 0;
  Py_ssize_t position = 0;
  PyObject *key, *item;
  while (PyDict_Next(value, &position, &key, &item)) {
    const std::size_t i = fieldNamed(fields, key);
    given |= std::uint64_t{1} << i;
    convertField(fields[i], item, object[fields[i].name], depth + 1);
  }
  if (object.size() != static_cast<std::size_t>(PyDict_GET_SIZE(value))) {
    dropOthers(fields, given, object);
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const Field& f = fields[i];
    if (given >> i & 1) {
      for (const std::string& other : f.excludes) {
        if (object.count(other)) throw Unfit{};
      }
    } else if (f.required && !f.readOnly && !excludedByGiven(fields, given, f.name)) {
      throw Unfit{};
    }
  }
}

void convertField(const Field& f, PyObject* value, Json& out, int depth) {
  if (f.type == FieldType::Object && !hasTypedFields(f.shape->fields)) {
    convertObject(f.shape->fields, value, out, depth);
  } else if (f.type == FieldType::List && (PyList_Check(value) || PyTuple_Check(value))) {
    const Py_ssize_t size = PySequence_Fast_GET_SIZE(value);
    if (depth == kMaxInputDepth || (f.nonEmpty && size == 0)) throw Unfit{};
    PyObject** items = PySequence_Fast_ITEMS(value);
    if (!out.is_array()) out = Json::array();
    Json::array_t& array = out.get_ref<Json::array_t&>();
    array.resize(static_cast<std::size_t>(size));
    for (Py_ssize_t i = 0; i < size; ++i) {
      convertField(*f.item, items[i], array[static_cast<std::size_t>(i)], depth + 1);
    }
  } else {
    convertValue(value, out, depth);
    checkValue(f, out, nullptr);
  }
}

}  // namespace

bool checkedJsonOf(pybind11::handle description, const Kind& kind, nlohmann::json& out) {
  if (hasTypedFields(kind.fields)) return false;
  try {
    convertObject(kind.fields, description.ptr(), out, 0);
    return true;
  } catch (const Unfit&) {
  } catch (const InputError&) {
  }
  return false;
}
