// The table of document kinds the tool makes and reads, each through its helper.
#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "JsonInput.h"

// One kind of document.
struct Kind {
  // The kind's name on the command line ("metadata-request").
  std::string name;
  // The name of the document's top element.
  std::string rootElement;
  // The helper that makes or reads it.
  std::string helperClass;
  // One sentence saying what the document is for.
  std::string summary;
  // Fills the helper from a JSON description and makes the document; empty when the kind is
  // only read.
  std::function<ORVIDOM_Element(JsonObject&)> make;
  // Takes a document and gives what the helper's getters report; empty when the kind is only
  // made.
  std::function<nlohmann::ordered_json(ORVIDOM_Element&)> read;
  // Writes what the getters report as readable text; empty to lay out `read`'s JSON as text.
  std::function<void(ORVIDOM_Element&, std::ostream&)> readText;
};

// Every kind, in the order `kinds` lists them.
const std::vector<Kind>& allKinds();

// The kinds of each family of documents.
void addQueryFrameworkKinds(std::vector<Kind>& kinds);
void addQueryServiceKinds(std::vector<Kind>& kinds);
void addModelAdminKinds(std::vector<Kind>& kinds);
void addModelTaskKinds(std::vector<Kind>& kinds);

// Makes the helper's document: calls Make and returns the top element.
template <class Helper>
ORVIDOM_Element makeWith(const Helper& helper) {
  ORVIDOM_Element elem;
  helper.Make(elem);
  return elem;
}

// The string as JSON.
inline nlohmann::ordered_json toJson(const I18NString& s) { return s.str(); }

// The strings as a JSON array.
template <class Strings>
nlohmann::ordered_json toJsonArray(const Strings& strings) {
  nlohmann::ordered_json out = nlohmann::ordered_json::array();
  for (const auto& s : strings) out.push_back(toJson(s));
  return out;
}
