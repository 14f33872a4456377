// What the table of kinds says about each kind's JSON: checking a description against it, its
// JSON Schema, and the table itself as JSON.
#pragma once

#include <nlohmann/json.hpp>

#include "Kinds.h"

// Deepest nesting of JSON or XML the tool takes; deeper input is refused with an InputError,
// so that no step over the input recurses without bound or multiplies its indentation.
constexpr int kMaxInputDepth = 256;

// Checks a description `make` takes against the kind's fields: required and non-empty fields,
// types, enumeration names, fields given together that exclude each other, and unknown fields
// (with the nearest known name). InputError names the field's path.
void checkDescription(const Kind& kind, const nlohmann::json& description);

// Checks the value given for the field `f` as checkDescription checks every field given, an
// object's fields and a list's items included; InputError names the place `at`.
void checkValue(const Field& f, const nlohmann::json& value, const Place* at);

// The JSON Schema (draft 2020-12) of the kind's JSON.
nlohmann::ordered_json schemaOf(const Kind& kind);

// The kind as `kinds --format json` gives it: name, roots, helper, what it does and its fields.
nlohmann::ordered_json kindJson(const Kind& kind);
