// Readable text from tables and from what the getters report.
#pragma once

#include <nlohmann/json.hpp>

#include <ostream>
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

// Writes a JSON object member by member as dump(2) lays it out, with one member an array written
// item by item, so that a document read as it comes is never held whole.
class JsonObjectWriter {
 public:
  explicit JsonObjectWriter(std::ostream& out) : m_out(out) {}
  // Writes the member `key`.
  void member(const std::string& key, const nlohmann::ordered_json& value);
  // Starts the array member `key`, whose items item() writes.
  void beginArray(const std::string& key);
  void item(const nlohmann::ordered_json& value);
  void endArray();
  // Closes the object.
  void end();

 private:
  std::ostream& m_out;
  const char* m_separator = "\n  ";
  const char* m_itemSeparator = nullptr;
};
