// Readable text from tables and from what the getters report.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// The rows as aligned columns; the first row is the heading.
std::string layOutTable(const std::vector<std::vector<std::string>>& rows);

// Widens `widths` to fit the row's cells.
void fitWidths(const std::vector<std::string>& row, std::vector<std::size_t>& widths);

// One line of a table whose columns have the given widths.
std::string layOutRow(const std::vector<std::string>& row, const std::vector<std::size_t>& widths);

// The JSON as indented "name: value" lines.
std::string layOutJson(const nlohmann::ordered_json& value);
