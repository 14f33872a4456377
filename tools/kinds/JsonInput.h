// A JSON description as the kinds take it, and the error a description that cannot be taken
// raises.
#pragma once

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>

#include <Korvath_ActionHelper.h>

// A field of the description has the wrong type, is missing or is unknown.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A description checkDescription accepted, known by its path ("tasks[2].parameters").
class JsonObject {
 public:
  JsonObject(const nlohmann::json& value, std::string path)
      : m_value(value), m_path(std::move(path)) {}

  const nlohmann::json& value() const { return m_value; }
  const std::string& path() const { return m_path; }

 private:
  const nlohmann::json& m_value;
  std::string m_path;
};
