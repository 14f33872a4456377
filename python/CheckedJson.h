// A description converted from Python objects and checked against the kind's fields in one walk,
// for the descriptions that fit: the common case, which then needs no second walk over its JSON.
#pragma once

#include <pybind11/pybind11.h>

#include <nlohmann/json.hpp>

#include "Kinds.h"

// Sets `out` to the JSON value of the description and returns true when it fits the kind as
// checkDescription would find; false when anything may not fit, leaving jsonOf and
// checkDescription to say what. The nodes and strings of any value `out` holds are reused where
// the description has the same fields. Needs the GIL.
bool checkedJsonOf(pybind11::handle description, const Kind& kind, nlohmann::json& out);
