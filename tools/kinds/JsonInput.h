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
  // "PATH: PROBLEM" for the field at `path` ("" for the whole description, shown as "input");
  // `nearest` is the known name closest to an unknown field's, if one is close.
  InputError(const std::string& path, const std::string& problem, std::string nearest = "")
      : std::runtime_error((path.empty() ? "input" : path) + ": " + problem),
        m_path(path),
        m_problem(problem),
        m_nearest(std::move(nearest)) {}

  // The path of the field at fault ("tasks[2].parameters"); "" for the whole description.
  const std::string& path() const { return m_path; }
  // What is wrong with it, without the path.
  const std::string& problem() const { return m_problem; }
  // The known field an unknown one was probably meant to be; "" when none is close.
  const std::string& nearest() const { return m_nearest; }

 private:
  std::string m_path, m_problem, m_nearest;
};

// Where a value is in a description: a field's name or a list item's index, under its parent's
// place. Places live on the stack while a value is checked or set and are spelled out only for an
// error, so that a good description costs no strings.
struct Place {
  const Place* parent = nullptr;
  // The field's name or map key; null for an item of a list.
  const std::string* name = nullptr;
  std::size_t index = 0;

  // "tasks[2].parameters" for the place; "" for the whole description (null).
  static std::string path(const Place* place) {
    if (!place) return "";
    std::string out = path(place->parent);
    if (!place->name) return out + "[" + std::to_string(place->index) + "]";
    return out + (out.empty() ? "" : ".") + *place->name;
  }
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
