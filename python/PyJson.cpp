#include "PyJson.h"

#include <string>

#include "JsonInput.h"

namespace {

using Json = nlohmann::json;
using Ordered = nlohmann::ordered_json;

// Where a value is in the description: a chain up to the top, turned into a path ("a.b[2]") only
// when a value is refused, so that converting a good description builds no strings.
struct Where {
  const Where* parent;
  PyObject* key;  // the dict key, or null for a list item
  Py_ssize_t index;
};

std::string pathOf(const Where* where) {
  if (!where) return "";
  std::string out = pathOf(where->parent);
  if (!where->key) return out + "[" + std::to_string(where->index) + "]";
  Py_ssize_t size = 0;
  const char* key = PyUnicode_AsUTF8AndSize(where->key, &size);
  return out + (out.empty() ? "" : ".") + std::string(key, size);
}

[[noreturn]] void refuse(const Where* where, const std::string& problem) {
  throw InputError(pathOf(where), problem);
}

// The UTF-8 text of a str; InputError for lone surrogates, which UTF-8 cannot hold.
std::string_view utf8Of(PyObject* text, const Where* where) {
  Py_ssize_t size = 0;
  const char* data = PyUnicode_AsUTF8AndSize(text, &size);
  if (!data) {
    PyErr_Clear();
    refuse(where, "holds a character UTF-8 cannot encode (a lone surrogate)");
  }
  return {data, static_cast<std::size_t>(size)};
}

// An int as JSON: zero or more as an unsigned number, as the JSON parser gives it, below zero as
// a signed one.
Json integerOf(PyObject* value, const Where* where) {
  int overflow = 0;
  const long long signedValue = PyLong_AsLongLongAndOverflow(value, &overflow);
  if (overflow == 0) {
    return signedValue >= 0 ? Json(static_cast<std::uint64_t>(signedValue)) : Json(signedValue);
  }
  if (overflow > 0) {
    const unsigned long long big = PyLong_AsUnsignedLongLong(value);
    if (!PyErr_Occurred()) return Json(static_cast<std::uint64_t>(big));
    PyErr_Clear();
  }
  refuse(where, "number out of range: beyond 64 bits");
}

// Converts descriptions no deeper than `maxDepth` levels of dicts and lists.
struct Converter {
  int maxDepth;

  void convert(PyObject* value, Json& out, int depth, const Where* where) const;
};

void Converter::convert(PyObject* value, Json& out, int depth, const Where* where) const {
  if (value == Py_None) {
    out = nullptr;
  } else if (value == Py_True || value == Py_False) {
    out = value == Py_True;
  } else if (PyUnicode_Check(value)) {
    out = std::string(utf8Of(value, where));
  } else if (PyLong_Check(value)) {
    out = integerOf(value, where);
  } else if (PyFloat_Check(value)) {
    out = PyFloat_AS_DOUBLE(value);
  } else if (PyDict_Check(value) || PyList_Check(value) || PyTuple_Check(value)) {
    if (depth == maxDepth) {
      refuse(where, "nested deeper than " + std::to_string(maxDepth) + " levels");
    }
    if (PyDict_Check(value)) {
      out = Json::object();
      Json::object_t& object = out.get_ref<Json::object_t&>();
      Py_ssize_t position = 0;
      PyObject *key, *item;
      while (PyDict_Next(value, &position, &key, &item)) {
        if (!PyUnicode_Check(key)) {
          refuse(where, "has a key that is not a str: " + std::string(Py_TYPE(key)->tp_name) + " " +
                            pybind11::repr(key).cast<std::string>());
        }
        const Where inner{where, key, 0};
        convert(item, object[std::string(utf8Of(key, where))], depth + 1, &inner);
      }
    } else {
      const Py_ssize_t size = PySequence_Fast_GET_SIZE(value);
      PyObject** items = PySequence_Fast_ITEMS(value);
      out = Json::array();
      Json::array_t& array = out.get_ref<Json::array_t&>();
      array.resize(static_cast<std::size_t>(size));
      for (Py_ssize_t i = 0; i < size; ++i) {
        const Where inner{where, nullptr, i};
        convert(items[i], array[static_cast<std::size_t>(i)], depth + 1, &inner);
      }
    }
  } else {
    refuse(where, std::string("a ") + Py_TYPE(value)->tp_name +
                      " is not a JSON value (give a dict, list, str, int, float, bool or None)");
  }
}

// A new reference, or null with the Python error set.
PyObject* newPython(const Ordered& value) {
  switch (value.type()) {
    case Ordered::value_t::null:
    case Ordered::value_t::discarded:
    case Ordered::value_t::binary:
      Py_RETURN_NONE;
    case Ordered::value_t::boolean:
      return PyBool_FromLong(value.get<bool>());
    case Ordered::value_t::number_integer:
      return PyLong_FromLongLong(value.get<std::int64_t>());
    case Ordered::value_t::number_unsigned:
      return PyLong_FromUnsignedLongLong(value.get<std::uint64_t>());
    case Ordered::value_t::number_float:
      return PyFloat_FromDouble(value.get<double>());
    case Ordered::value_t::string: {
      const std::string& text = value.get_ref<const std::string&>();
      return PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "strict");
    }
    case Ordered::value_t::array: {
      PyObject* list = PyList_New(static_cast<Py_ssize_t>(value.size()));
      if (!list) return nullptr;
      Py_ssize_t i = 0;
      for (const Ordered& item : value) {
        PyObject* converted = newPython(item);
        if (!converted) return Py_DECREF(list), nullptr;
        PyList_SET_ITEM(list, i++, converted);
      }
      return list;
    }
    case Ordered::value_t::object: {
      PyObject* dict = PyDict_New();
      if (!dict) return nullptr;
      for (const auto& [key, item] : value.items()) {
        PyObject* name =
            PyUnicode_DecodeUTF8(key.data(), static_cast<Py_ssize_t>(key.size()), "strict");
        PyObject* converted = name ? newPython(item) : nullptr;
        const int failed = converted ? PyDict_SetItem(dict, name, converted) : -1;
        Py_XDECREF(name);
        Py_XDECREF(converted);
        if (failed) return Py_DECREF(dict), nullptr;
      }
      return dict;
    }
  }
  Py_RETURN_NONE;
}

}  // namespace

nlohmann::json jsonOf(pybind11::handle value, int maxDepth) {
  Json out;
  Converter{maxDepth}.convert(value.ptr(), out, 0, nullptr);
  return out;
}

pybind11::object pythonOf(const nlohmann::ordered_json& value) {
  // The conversion makes only new objects that all stay referenced, so a collection of cycles
  // halfway could free nothing; yet the lists it makes would set off collections over them, which
  // took 40% of the time of a big document.
  const int collecting = PyGC_Disable();
  PyObject* converted = newPython(value);
  if (collecting) PyGC_Enable();
  if (!converted) throw pybind11::error_already_set();
  return pybind11::reinterpret_steal<pybind11::object>(converted);
}
