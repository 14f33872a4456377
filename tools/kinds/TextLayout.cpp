#include "TextLayout.h"

#include <algorithm>

void fitWidths(const std::vector<std::string>& row, std::vector<std::size_t>& widths) {
  widths.resize(std::max(widths.size(), row.size()));
  for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
}

std::string layOutRow(const std::vector<std::string>& row, const std::vector<std::size_t>& widths) {
  std::string line;
  for (std::size_t i = 0; i < row.size(); ++i) {
    line += row[i];
    if (i + 1 < row.size()) line.append(widths[i] - row[i].size() + 2, ' ');
  }
  return line + "\n";
}

std::string layOutTable(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows) fitWidths(row, widths);
  std::string out;
  for (const auto& row : rows) out += layOutRow(row, widths);
  return out;
}

namespace {

void layOut(const nlohmann::ordered_json& value, const std::string& indent, std::string& out) {
  for (const auto& [key, item] : value.items()) {
    const std::string label = value.is_array() ? "-" : key + ":";
    if (item.is_structured() && !item.empty()) {
      out += indent + label + "\n";
      layOut(item, indent + "  ", out);
    } else if (item.is_string()) {
      out += indent + label + " " + item.get<std::string>() + "\n";
    } else {
      out += indent + label + " " + item.dump() + "\n";
    }
  }
}

}  // namespace

std::string layOutJson(const nlohmann::ordered_json& value) {
  std::string out;
  layOut(value, "", out);
  return out;
}

namespace {

// `value` dumped as dump(2) would dump it as a member `depth` levels deep.
std::string dumpedAt(const nlohmann::ordered_json& value, int depth) {
  std::string out = value.dump(2);
  const std::string indent = "\n" + std::string(2 * depth, ' ');
  for (std::size_t at = out.find('\n'); at != std::string::npos; at = out.find('\n', at + 1)) {
    out.replace(at, 1, indent);
    at += indent.size() - 1;
  }
  return out;
}

}  // namespace

void JsonObjectWriter::member(const std::string& key, const nlohmann::ordered_json& value) {
  m_out << (*m_separator == '\n' ? "{" : "") << m_separator << nlohmann::json(key).dump() << ": "
        << dumpedAt(value, 1);
  m_separator = ",\n  ";
}

void JsonObjectWriter::beginArray(const std::string& key) {
  m_out << (*m_separator == '\n' ? "{" : "") << m_separator << nlohmann::json(key).dump() << ": [";
  m_separator = ",\n  ";
  m_itemSeparator = "\n    ";
}

void JsonObjectWriter::item(const nlohmann::ordered_json& value) {
  m_out << m_itemSeparator << dumpedAt(value, 2);
  m_itemSeparator = ",\n    ";
}

void JsonObjectWriter::endArray() { m_out << (*m_itemSeparator == ',' ? "\n  ]" : "]"); }

void JsonObjectWriter::end() { m_out << (*m_separator == '\n' ? "{}" : "\n}"); }
