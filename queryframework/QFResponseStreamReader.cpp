#include "queryframework/QFResponseStreamReader.h"

#include <cstddef>
#include <string>
#include <utility>

#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/PullHandler.h"

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

// The text `value`, copied once, into the text's own string.
I18NString textOf(std::string_view value) { return I18NString(value.data(), value.size()); }

I18NString attributeOr(const ORVIDOM_PullReader& reader, std::string_view name) {
  std::string_view value;
  return reader.findAttribute(name, value) ? textOf(value) : I18NString();
}

// A value of a row, null when its text is a null view (its element has no value attribute), which
// the row's vector makes in place: a value made first and moved there would copy its text a second
// time, from bytes just written, which stalls.
struct CellValue {
  std::string_view text;
  operator QFResponseStreamReader::Value() const {  // NOLINT(google-explicit-constructor)
    return text.data() ? QFResponseStreamReader::Value{textOf(text), false}
                       : QFResponseStreamReader::Value{I18NString(), true};
  }
};

constexpr int kFirstColumnProp = QFResponseDomHelper::kColumnName;
constexpr int kLastColumnProp = QFResponseDomHelper::kColumnOriginalEncodingName;
constexpr std::size_t kColumnProps = kLastColumnProp - kFirstColumnProp + 1;

// The column property an attribute named `name` gives, or 0 for none. Columns mostly write
// their properties in order, so the one after the last found, `expected`, is compared first.
int columnPropNamed(std::string_view name, int expected) {
  const auto named = [name](int p) {
    return view(QFResponseDomHelper::ToString(static_cast<QFResponseDomHelper::EColumnProp>(p))) ==
           name;
  };
  if (expected <= kLastColumnProp && named(expected)) return expected;
  for (int p = kFirstColumnProp; p <= kLastColumnProp; ++p) {
    if (named(p)) return p;
  }
  return 0;
}

// Appends every property of the column whose element `reader` shows to `text`, and where each
// ends to `ends`, empty where it has no attribute: its attributes are read once each, where
// looking each property up would read them all for each.
void appendColumnProps(const ORVIDOM_PullReader& reader, std::string& text,
                       std::vector<std::size_t>& ends) {
  // By property; values[0] takes the attributes that give none.
  std::string_view values[kLastColumnProp + 1];
  int expected = kFirstColumnProp;
  for (std::size_t i = 0; i < reader.getAttributeCount(); ++i) {
    const int prop = columnPropNamed(reader.getAttributeName(i), expected);
    values[prop] = reader.getAttributeValue(i);
    expected = prop + 1;
  }
  for (int p = kFirstColumnProp; p <= kLastColumnProp; ++p) {
    text += values[p];
    ends.push_back(text.size());
  }
}

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

class QFResponseStreamReader::State {
 public:
  explicit State(ORVIDOM_PullReader& reader) : m_reader(reader) {}

  // Reads on to the next event that may end a reading (the end of a row, the start of the first)
  // and what the events on the way say of the response; false at the end of the document.
  bool step();
  // The event next() gave.
  void startElement();
  void endElement();
  void characters();
  // Reads the attributes of a "row"'s "value" child, the event the reader shows.
  void readValue();

  ORVIDOM_PullReader& m_reader;
  bool m_ended = false;
  // The depth of the innermost open element (1: the response); not kept for a row's children
  // once only values matter there, where nothing reads it.
  std::size_t m_depth = 0;
  // The depth of the first "queryFeedbackResult", "columnList" and "resultData" while they are
  // open; kNotYet before, kDone after.
  std::size_t m_feedbackDepth = kNotYet;
  std::size_t m_columnsDepth = kNotYet;
  std::size_t m_resultsDepth = kNotYet;
  // The name of a "property" whose first child decides its value, and the depth below it.
  std::string m_propertyName;
  std::size_t m_property = 0;
  // The first value of each property that had one, by name.
  std::map<std::string, I18NString> m_properties;
  std::vector<QFResponseDomHelper::DataSource> m_dataSources;
  // Every column's properties from the first to the last, one column after another, written one
  // after the other in one string, and where each ends in it: a caller's copy is then the only
  // map and the only strings made of them.
  std::string m_columnText;
  std::vector<std::size_t> m_columnEnds;
  // The row being read, and whether one has been read whole.
  std::vector<Value>* m_row = nullptr;
  bool m_rowDone = false;
  bool m_rowSeen = false;
};

// What the events of a response say of it, for a stream reader: told by the pull reader as it
// reads them, or by the stream reader of the events next() gives. A pass stops at an event that
// may end a reading: the end of a row, the start of the first.
class __attribute__((visibility("hidden"))) QFResponseEvents final : public orvidom::PullHandler {
 public:
  explicit QFResponseEvents(QFResponseStreamReader::State& stream) : m_stream(stream) {
    wanted = kCellValue;
    wantedElement = names().value;
  }

  bool handle(ORVIDOM_PullReader::Event event, std::string_view name, std::size_t depth) override {
    if (depth != m_valueDepth) return handleOther(event, name, depth);
    // Most of a response: a row's child, where only a value matters. Nothing there reads the
    // depth before an event elsewhere sets it, so neither the child's start nor its end (which the
    // reader does not hand) keeps it.
    if (event == ORVIDOM_PullReader::kStartElement && orvidom::sameName(name, wantedElement)) {
      values(&wantedValue, 1);
    }
    return true;
  }

  // The values of a row's children named as a value is, gathered by the pull reader.
  void values(const std::string_view* values, std::size_t count) override {
    if (!m_stream.m_row) return;
    for (std::size_t i = 0; i < count; ++i) m_stream.m_row->emplace_back(CellValue{values[i]});
  }

  void startElement(std::string_view name, std::size_t depth);
  void endElement(std::string_view name, std::size_t depth);
  // A text or CDATA section inside the element `m_depth` deep.
  void characters(std::string_view text);

 private:
  // Learns the depth of a row's children once only values matter there, whose ends it has no
  // need of; kDone (no element's) before.
  void learnValueDepth() {
    m_valueDepth = inRowOnly(m_stream.m_resultsDepth + 2, m_stream.m_resultsDepth,
                             m_stream.m_feedbackDepth, m_stream.m_columnsDepth, m_stream.m_property)
                       ? m_stream.m_resultsDepth + 2
                       : kDone;
    unheededEnds = m_valueDepth == kDone ? 0 : m_valueDepth;
  }
  // An event outside a row's children once only values matter there.
  [[gnu::noinline]] bool handleOther(ORVIDOM_PullReader::Event event, std::string_view name,
                                     std::size_t depth) {
    const bool goOn = handleAny(event, name, depth);
    learnValueDepth();
    return goOn;
  }
  // Any event; false for one that may end a reading.
  bool handleAny(ORVIDOM_PullReader::Event event, std::string_view name, std::size_t depth) {
    if (event == ORVIDOM_PullReader::kStartElement) {
      const bool rowSeen = m_stream.m_rowSeen;
      startElement(name, depth);
      return m_stream.m_rowSeen == rowSeen;
    }
    if (event == ORVIDOM_PullReader::kEndElement) {
      const bool rowDone = m_stream.m_rowDone;
      endElement(name, depth);
      return m_stream.m_rowDone == rowDone;
    }
    characters(name);
    return true;
  }

  QFResponseStreamReader::State& m_stream;
  // kDone until an event on the full path learns where the values lie: the first of a pass goes
  // that way, so that a pass starts from what the reader knows then.
  std::size_t m_valueDepth = kDone;
};

QFResponseStreamReader::QFResponseStreamReader(ORVIDOM_PullReader& reader)
    : m_state(std::make_unique<State>(reader)) {}
QFResponseStreamReader::~QFResponseStreamReader() = default;
QFResponseStreamReader::QFResponseStreamReader(QFResponseStreamReader&&) noexcept = default;
QFResponseStreamReader& QFResponseStreamReader::operator=(QFResponseStreamReader&&) noexcept =
    default;

int QFResponseStreamReader::GetNextRow(std::vector<Value>& values) {
  values.clear();
  State& state = *m_state;
  state.m_row = &values;
  state.m_rowDone = false;
  while (!state.m_rowDone && state.step()) {
  }
  state.m_row = nullptr;
  return state.m_rowDone ? 1 : 0;
}

void QFResponseStreamReader::ReadToRows() {
  while (!m_state->m_rowSeen && m_state->step()) {
  }
}

void QFResponseStreamReader::ReadToEnd() {
  while (m_state->step()) {
  }
}

bool QFResponseStreamReader::State::step() {
  if (m_ended) return false;
  QFResponseEvents events(*this);
  switch (orvidom::PullAccess::pass(m_reader, events)) {
    case orvidom::Passed::kStopped:
      return true;
    case orvidom::Passed::kEnded:
      m_ended = true;
      return false;
    case orvidom::Passed::kQueued:
      break;
  }
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

void QFResponseStreamReader::State::startElement() {
  QFResponseEvents(*this).startElement(m_reader.getName(), m_reader.getDepth());
}

void QFResponseEvents::startElement(std::string_view name, std::size_t depth) {
  m_stream.m_depth = depth;
  const Names& vocabulary = names();
  if (inRowOnly(m_stream.m_depth, m_stream.m_resultsDepth, m_stream.m_feedbackDepth,
                m_stream.m_columnsDepth, m_stream.m_property)) {
    if (m_stream.m_row && name == vocabulary.value) m_stream.readValue();
    return;
  }
  if (m_stream.m_property != 0) {
    // An element first in a property gives it a value, an empty one.
    m_stream.m_properties.emplace(std::move(m_stream.m_propertyName), I18NString());
    m_stream.m_property = 0;
  }
  // The first of each part below the response; the response itself is not one.
  if (m_stream.m_depth > 1) {
    if (m_stream.m_feedbackDepth == kNotYet && name == kQueryFeedbackResult)
      m_stream.m_feedbackDepth = m_stream.m_depth;
    if (m_stream.m_columnsDepth == kNotYet && name == vocabulary.columnList)
      m_stream.m_columnsDepth = m_stream.m_depth;
    if (m_stream.m_resultsDepth == kNotYet && name == kResultData)
      m_stream.m_resultsDepth = m_stream.m_depth;
  }
  if (isOpen(m_stream.m_feedbackDepth) && m_stream.m_depth > m_stream.m_feedbackDepth) {
    if (name == vocabulary.property) {
      std::string_view propertyName;
      m_stream.m_reader.findAttribute(vocabulary.name, propertyName);
      m_stream.m_propertyName = propertyName;
      m_stream.m_property = m_stream.m_depth;
    } else if (name == vocabulary.connection) {
      m_stream.m_dataSources.push_back({attributeOr(m_stream.m_reader, vocabulary.value),
                                        attributeOr(m_stream.m_reader, vocabulary.catalog),
                                        attributeOr(m_stream.m_reader, vocabulary.schema)});
    }
  }
  if (isOpen(m_stream.m_columnsDepth) && m_stream.m_depth == m_stream.m_columnsDepth + 1) {
    appendColumnProps(m_stream.m_reader, m_stream.m_columnText, m_stream.m_columnEnds);
  }
  if (isOpen(m_stream.m_resultsDepth)) {
    if (m_stream.m_depth == m_stream.m_resultsDepth + 1 && name == kRow) m_stream.m_rowSeen = true;
    if (m_stream.m_depth == m_stream.m_resultsDepth + 2 && m_stream.m_row &&
        name == vocabulary.value)
      m_stream.readValue();
  }
}

void QFResponseStreamReader::State::readValue() {
  std::string_view text;
  const bool found = orvidom::PullAccess::findAttribute(m_reader, kCellValue, text);
  m_row->emplace_back(CellValue{found ? text : std::string_view()});
}

void QFResponseStreamReader::State::endElement() {
  QFResponseEvents(*this).endElement(m_reader.getName(), m_reader.getDepth());
}

void QFResponseEvents::endElement(std::string_view name, std::size_t depth) {
  m_stream.m_depth = depth - 1;
  if (inRowOnly(depth, m_stream.m_resultsDepth, m_stream.m_feedbackDepth, m_stream.m_columnsDepth,
                m_stream.m_property))
    return;
  // A property that ends with no child has no value.
  if (m_stream.m_property == depth) m_stream.m_property = 0;
  if (m_stream.m_feedbackDepth == depth) m_stream.m_feedbackDepth = kDone;
  if (m_stream.m_columnsDepth == depth) m_stream.m_columnsDepth = kDone;
  if (m_stream.m_resultsDepth == depth) m_stream.m_resultsDepth = kDone;
  if (isOpen(m_stream.m_resultsDepth) && depth == m_stream.m_resultsDepth + 1 && m_stream.m_row &&
      name == kRow) {
    m_stream.m_rowDone = true;
  }
}

void QFResponseStreamReader::State::characters() {
  QFResponseEvents(*this).characters(m_reader.getText());
}

void QFResponseEvents::characters(std::string_view text) {
  if (m_stream.m_property != 0) {
    m_stream.m_properties.emplace(std::move(m_stream.m_propertyName), textOf(text));
    m_stream.m_property = 0;
  }
  if (isOpen(m_stream.m_columnsDepth) && m_stream.m_depth == m_stream.m_columnsDepth) {
    const ColumnListChildren columnsList{{ORVIDOM_Node::TEXT_NODE}};
    const std::size_t idx = 0;
    // clang-format off
    ORV_ASSERT(columnsList.item( idx ).getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
    // clang-format on
  }
}

int QFResponseStreamReader::GetQueryFeedback(QFExecuteCommandHelper::EQueryFeedback feedback,
                                             I18NString& value) const {
  const auto found = m_state->m_properties.find(QFExecuteCommandHelper::ToString(feedback).str());
  if (found == m_state->m_properties.end()) return 0;
  value = found->second;
  return 1;
}

void QFResponseStreamReader::GetResponseDataSources(
    std::vector<QFResponseDomHelper::DataSource>& dataSources) const {
  dataSources.insert(dataSources.end(), m_state->m_dataSources.begin(),
                     m_state->m_dataSources.end());
}

void QFResponseStreamReader::GetColumnList(
    std::vector<std::map<QFResponseDomHelper::EColumnProp, I18NString>>& columns) const {
  const std::string_view text = m_state->m_columnText;
  const std::vector<std::size_t>& ends = m_state->m_columnEnds;
  std::size_t start = 0;
  for (std::size_t first = 0; first < ends.size(); first += kColumnProps) {
    std::map<QFResponseDomHelper::EColumnProp, I18NString>& description = columns.emplace_back();
    for (std::size_t i = 0; i < kColumnProps; ++i) {
      const std::size_t end = ends[first + i];
      description.emplace_hint(description.end(),
                               static_cast<QFResponseDomHelper::EColumnProp>(kFirstColumnProp + i),
                               textOf(text.substr(start, end - start)));
      start = end;
    }
  }
}
