// Strict reading of a JSON description: every field is checked for its type, and fields that
// nothing reads are errors, so a misspelt field never goes unnoticed.
#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <Korvath_ActionHelper.h>

// A field of the description has the wrong type, is missing or is unknown.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One JSON object of the description, known by its path ("tasks[2].parameters").
class JsonObject {
 public:
  JsonObject(const nlohmann::json& value, std::string path);

  // The string field, if present.
  std::optional<I18NString> string(const char* key);
  // The string field; InputError when absent.
  I18NString requiredString(const char* key);
  // The whole-number field, if present.
  std::optional<long long> integer(const char* key);
  // The non-negative whole-number field, if present.
  std::optional<unsigned long long> unsignedInteger(const char* key);
  // The boolean field, if present.
  std::optional<bool> boolean(const char* key);
  // The strings of an array field; empty when absent.
  std::vector<I18NString> strings(const char* key);
  // The object field, if present.
  std::optional<JsonObject> object(const char* key);
  // The objects of an array field; empty when absent.
  std::vector<JsonObject> objects(const char* key);
  // The string-to-string object field as a map; empty when absent.
  std::map<I18NString, I18NString> stringMap(const char* key);
  // Raises InputError naming the fields nothing read.
  void finish() const;

  // The path of the field `key` of this object.
  std::string pathOf(const std::string& key) const;

 private:
  const nlohmann::json* field(const char* key);
  [[noreturn]] void wrongType(const char* key, const char* expected) const;

  const nlohmann::json& m_value;
  std::string m_path;
  std::set<std::string> m_read;
};

// The names of an enumeration's values, each with its value.
template <class E>
using NameTable = std::vector<std::pair<std::string, E>>;

// Looks `name` up in a table of names and values; InputError listing the names when unknown.
template <class E>
E lookUp(const NameTable<E>& table, const I18NString& name, const std::string& path) {
  std::string known;
  for (const auto& [n, v] : table) {
    if (name.str() == n) return v;
    known += known.empty() ? n : ", " + n;
  }
  throw InputError(path + ": unknown value \"" + name.str() + "\" (known: " + known + ")");
}
