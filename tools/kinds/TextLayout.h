// Readable text from tables and from what the getters report.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// The rows as aligned columns; the first row is the heading.
std::string layOutTable(const std::vector<std::vector<std::string>>& rows);

// The JSON as indented "name: value" lines.
std::string layOutJson(const nlohmann::ordered_json& value);
