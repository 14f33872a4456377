#include "queryframework/QFResponseStreamReader.h"

#include <limits>
#include <utility>

#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"

namespace {

constexpr std::size_t kNotYet = 0;
constexpr std::size_t kDone = ~std::size_t{0};

// True while the part at `depth` (kNotYet, kDone or its depth) is open.
bool isOpen(std::size_t depth) { return depth != kNotYet && depth != kDone; }

// True for an element `depth` deep inside a row once the feedback and the columns have been read
// and no property is open: only a value matters there, which is most of a response.
bool inRowOnly(std::size_t depth, std::size_t results, std::size_t feedback, std::size_t columns,
               std::size_t property) {
  return depth == results + 2 && isOpen(results) && feedback == kDone && columns == kDone &&
         property == 0;
}

constexpr std::string_view kQueryFeedbackResult = "queryFeedbackResult";
constexpr std::string_view kResultData = "resultData";
constexpr std::string_view kRow = "row";
constexpr std::string_view kCellValue = "v";

std::string_view view(const I18NString& text) { return text.str(); }

// The vocabulary's names the reader compares with, looked up once: the vocabulary keeps its
// strings for the life of the program.
struct Names {
  std::string_view columnList = view(korvath_actionhelper_resources_columnList_str);
  std::string_view property = view(korvath_actionhelper_resources_property_str);
  std::string_view name = view(korvath_actionhelper_resources_name_str);
  std::string_view connection = view(korvath_actionhelper_resources_connection_str);
  std::string_view value = view(korvath_actionhelper_resources_value_str);
  std::string_view catalog = view(korvath_actionhelper_resources_catalog_str);
  std::string_view schema = view(korvath_actionhelper_resources_schema_str);
};
const Names& names() {
  static const Names instance;
  return instance;
}

// The text `value`, copied once into the string made.
I18NString textOf(std::string_view value) {
  return value.size() <= static_cast<std::size_t>(std::numeric_limits<int>::max())
             ? I18NString(value.data(), nullptr, static_cast<int>(value.size()), nullptr, nullptr)
             : I18NString(std::string(value));
}

I18NString attributeOr(const ORVIDOM_PullReader& reader, std::string_view name) {
  std::string_view value;
  return reader.findAttribute(name, value) ? textOf(value) : I18NString();
}

// A value of a row, which the row's vector makes in place: a value made first and moved there
// would copy its text a second time, from bytes just written, which stalls.
struct CellValue {
  std::string_view text;
  bool found;
  operator QFResponseStreamReader::Value() const {  // NOLINT(google-explicit-constructor)
    return found ? QFResponseStreamReader::Value{textOf(text), false}
                 : QFResponseStreamReader::Value{I18NString(), true};
  }
};

// A child of the column list as the DOM reader sees it, so that a text there fails the same
// assertion.
struct ColumnListChild {
  unsigned short type;
  unsigned short getNodeType() const { return type; }
};
struct ColumnListChildren {
  ColumnListChild child;
  const ColumnListChild& item(std::size_t) const { return child; }
};

}  // namespace

QFResponseStreamReader::QFResponseStreamReader(ORVIDOM_PullReader& reader)
    : m_reader(reader),
      m_feedbackDepth(kNotYet),
      m_columnsDepth(kNotYet),
      m_resultsDepth(kNotYet) {}

int QFResponseStreamReader::GetNextRow(std::vector<Value>& values) {
  values.clear();
  m_row = &values;
  m_rowDone = false;
  while (!m_rowDone && step()) {
  }
  m_row = nullptr;
  return m_rowDone ? 1 : 0;
}

void QFResponseStreamReader::ReadToRows() {
  while (!m_rowSeen && step()) {
  }
}

void QFResponseStreamReader::ReadToEnd() {
  while (step()) {
  }
}

bool QFResponseStreamReader::step() {
  if (m_ended) return false;
  switch (m_reader.next()) {
    case ORVIDOM_PullReader::kStartElement:
      startElement();
      break;
    case ORVIDOM_PullReader::kEndElement:
      endElement();
      break;
    case ORVIDOM_PullReader::kText:
    case ORVIDOM_PullReader::kCData:
      characters();
      break;
    default:
      m_ended = true;
      return false;
  }
  return true;
}

void QFResponseStreamReader::startElement() {
  // The depth is counted from the first element event on; what the reader read before this
  // reader is asked once.
  m_depth = m_depth != 0 ? m_depth + 1 : m_reader.getDepth();
  const std::string_view name = m_reader.getName();
  const Names& vocabulary = names();
  if (inRowOnly(m_depth, m_resultsDepth, m_feedbackDepth, m_columnsDepth, m_property)) {
    if (m_row && name == vocabulary.value) readValue();
    return;
  }
  if (m_property != 0) {
    // An element first in a property gives it a value, an empty one.
    m_properties.emplace(std::move(m_propertyName), I18NString());
    m_property = 0;
  }
  // The first of each part below the response; the response itself is not one.
  if (m_depth > 1) {
    if (m_feedbackDepth == kNotYet && name == kQueryFeedbackResult) m_feedbackDepth = m_depth;
    if (m_columnsDepth == kNotYet && name == vocabulary.columnList) m_columnsDepth = m_depth;
    if (m_resultsDepth == kNotYet && name == kResultData) m_resultsDepth = m_depth;
  }
  if (isOpen(m_feedbackDepth) && m_depth > m_feedbackDepth) {
    if (name == vocabulary.property) {
      std::string_view propertyName;
      m_reader.findAttribute(vocabulary.name, propertyName);
      m_propertyName = propertyName;
      m_property = m_depth;
    } else if (name == vocabulary.connection) {
      m_dataSources.push_back({attributeOr(m_reader, vocabulary.value),
                               attributeOr(m_reader, vocabulary.catalog),
                               attributeOr(m_reader, vocabulary.schema)});
    }
  }
  if (isOpen(m_columnsDepth) && m_depth == m_columnsDepth + 1) {
    std::map<QFResponseDomHelper::EColumnProp, I18NString> description;
    for (int p = QFResponseDomHelper::kColumnName;
         p <= QFResponseDomHelper::kColumnOriginalEncodingName; ++p) {
      const auto prop = static_cast<QFResponseDomHelper::EColumnProp>(p);
      description.emplace(prop, attributeOr(m_reader, view(QFResponseDomHelper::ToString(prop))));
    }
    m_columns.push_back(std::move(description));
  }
  if (isOpen(m_resultsDepth)) {
    if (m_depth == m_resultsDepth + 1 && name == kRow) m_rowSeen = true;
    if (m_depth == m_resultsDepth + 2 && m_row && name == vocabulary.value) readValue();
  }
}

void QFResponseStreamReader::readValue() {
  CellValue value{{}, false};
  value.found = m_reader.findAttribute(kCellValue, value.text);
  m_row->emplace_back(value);
}

void QFResponseStreamReader::endElement() {
  const std::size_t depth = m_depth != 0 ? m_depth : m_reader.getDepth();
  m_depth = depth - 1;
  if (inRowOnly(depth, m_resultsDepth, m_feedbackDepth, m_columnsDepth, m_property)) return;
  // A property that ends with no child has no value.
  if (m_property == depth) m_property = 0;
  if (m_feedbackDepth == depth) m_feedbackDepth = kDone;
  if (m_columnsDepth == depth) m_columnsDepth = kDone;
  if (m_resultsDepth == depth) m_resultsDepth = kDone;
  if (isOpen(m_resultsDepth) && depth == m_resultsDepth + 1 && m_row &&
      m_reader.getName() == kRow) {
    m_rowDone = true;
  }
}

void QFResponseStreamReader::characters() {
  if (m_property != 0) {
    m_properties.emplace(std::move(m_propertyName), I18NString(std::string(m_reader.getText())));
    m_property = 0;
  }
  if (isOpen(m_columnsDepth) && m_depth == m_columnsDepth) {
    const ColumnListChildren columnsList{{ORVIDOM_Node::TEXT_NODE}};
    const std::size_t idx = 0;
    // clang-format off
    ORV_ASSERT(columnsList.item( idx ).getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
    // clang-format on
  }
}

int QFResponseStreamReader::GetQueryFeedback(QFExecuteCommandHelper::EQueryFeedback feedback,
                                             I18NString& value) const {
  const auto found = m_properties.find(QFExecuteCommandHelper::ToString(feedback).str());
  if (found == m_properties.end()) return 0;
  value = found->second;
  return 1;
}

void QFResponseStreamReader::GetResponseDataSources(
    std::vector<QFResponseDomHelper::DataSource>& dataSources) const {
  dataSources.insert(dataSources.end(), m_dataSources.begin(), m_dataSources.end());
}

void QFResponseStreamReader::GetColumnList(
    std::vector<std::map<QFResponseDomHelper::EColumnProp, I18NString>>& columns) const {
  columns.insert(columns.end(), m_columns.begin(), m_columns.end());
}
