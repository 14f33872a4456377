// Python objects to and from the kinds' JSON values, converted directly, without JSON text: dict,
// list (or tuple), str, int, float, bool and None, with integers, booleans and null kept apart.
#pragma once

#include <pybind11/pybind11.h>

#include <nlohmann/json.hpp>

// The JSON value of a description given as Python objects. A value JSON does not hold (bytes, a
// set, any other object), a key that is not a str, a str with lone surrogates, an int beyond 64
// bits and nesting deeper than `maxDepth` raise InputError with the value's path. Needs the GIL.
nlohmann::json jsonOf(pybind11::handle value, int maxDepth);

// The Python objects of a JSON value: objects become dicts in their order. Needs the GIL.
pybind11::object pythonOf(const nlohmann::ordered_json& value);
