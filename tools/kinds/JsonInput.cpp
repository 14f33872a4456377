#include "JsonInput.h"

JsonObject::JsonObject(const nlohmann::json& value, std::string path)
    : m_value(value), m_path(std::move(path)) {
  if (!m_value.is_object())
    throw InputError((m_path.empty() ? "input" : m_path) + ": expected an object");
}

std::string JsonObject::pathOf(const std::string& key) const {
  return m_path.empty() ? key : m_path + "." + key;
}

const nlohmann::json* JsonObject::field(const char* key) {
  m_read.insert(key);
  auto it = m_value.find(key);
  return it == m_value.end() ? nullptr : &*it;
}

void JsonObject::wrongType(const char* key, const char* expected) const {
  throw InputError(pathOf(key) + ": expected " + expected);
}

std::optional<I18NString> JsonObject::string(const char* key) {
  const nlohmann::json* v = field(key);
  if (!v) return std::nullopt;
  if (!v->is_string()) wrongType(key, "a string");
  return I18NString(v->get<std::string>());
}

I18NString JsonObject::requiredString(const char* key) {
  std::optional<I18NString> v = string(key);
  if (!v) throw InputError(pathOf(key) + ": missing");
  return *v;
}

std::optional<long long> JsonObject::integer(const char* key) {
  const nlohmann::json* v = field(key);
  if (!v) return std::nullopt;
  if (!v->is_number_integer()) wrongType(key, "a whole number");
  return v->get<long long>();
}

std::optional<unsigned long long> JsonObject::unsignedInteger(const char* key) {
  const nlohmann::json* v = field(key);
  if (!v) return std::nullopt;
  if (!v->is_number_unsigned()) wrongType(key, "a whole number of zero or more");
  return v->get<unsigned long long>();
}

std::optional<bool> JsonObject::boolean(const char* key) {
  const nlohmann::json* v = field(key);
  if (!v) return std::nullopt;
  // The strings "true" and "false" are taken too, as earlier descriptions gave them.
  if (*v == "true" || *v == "false") return *v == "true";
  if (!v->is_boolean()) wrongType(key, "true or false");
  return v->get<bool>();
}

std::vector<I18NString> JsonObject::strings(const char* key) {
  std::vector<I18NString> out;
  const nlohmann::json* v = field(key);
  if (!v) return out;
  if (!v->is_array()) wrongType(key, "an array of strings");
  for (const nlohmann::json& item : *v) {
    if (!item.is_string()) wrongType(key, "an array of strings");
    out.emplace_back(item.get<std::string>());
  }
  return out;
}

std::optional<JsonObject> JsonObject::object(const char* key) {
  const nlohmann::json* v = field(key);
  if (!v) return std::nullopt;
  if (!v->is_object()) wrongType(key, "an object");
  return JsonObject(*v, pathOf(key));
}

std::vector<JsonObject> JsonObject::objects(const char* key) {
  std::vector<JsonObject> out;
  const nlohmann::json* v = field(key);
  if (!v) return out;
  if (!v->is_array()) wrongType(key, "an array of objects");
  for (std::size_t i = 0; i < v->size(); ++i) {
    out.emplace_back((*v)[i], pathOf(key) + "[" + std::to_string(i) + "]");
  }
  return out;
}

std::map<I18NString, I18NString> JsonObject::stringMap(const char* key) {
  std::map<I18NString, I18NString> out;
  const nlohmann::json* v = field(key);
  if (!v) return out;
  if (!v->is_object()) wrongType(key, "an object of strings");
  for (const auto& [k, item] : v->items()) {
    if (!item.is_string()) wrongType(key, "an object of strings");
    out.emplace(k, item.get<std::string>());
  }
  return out;
}

void JsonObject::finish() const {
  std::string unknown;
  for (const auto& [k, v] : m_value.items()) {
    if (!m_read.count(k)) unknown += unknown.empty() ? k : ", " + k;
  }
  if (!unknown.empty()) {
    throw InputError((m_path.empty() ? "input" : m_path) + ": unknown field(s) " + unknown);
  }
}
