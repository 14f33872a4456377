#include "queryframework/QFResponseDomHelper.h"

#include <utility>

#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ElementView.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

const I18NString kElemQueryFeedbackResult("queryFeedbackResult");
const I18NString kElemResultData("resultData");
const I18NString kElemRow("row");
const I18NString kAttrCellValue("v");

// Each column property with the attribute it is read from.
const std::pair<QFResponseDomHelper::EColumnProp, I18NString> kColumnAttributes[] = {
    {QFResponseDomHelper::kColumnName, "name"},
    {QFResponseDomHelper::kColumnSqlName, "sqlName"},
    {QFResponseDomHelper::kColumnType, "type"},
    {QFResponseDomHelper::kColumnScale, "scale"},
    {QFResponseDomHelper::kColumnLength, "length"},
    {QFResponseDomHelper::kColumnPrecision, "precision"},
    {QFResponseDomHelper::kColumnNullsAllowed, "nullsAllowed"},
    {QFResponseDomHelper::kColumnCollationSequenceName, "collationSequenceName"},
    {QFResponseDomHelper::kColumnCollationSequenceLevel, "collationSequenceLevel"},
    {QFResponseDomHelper::kColumnOriginalCollationSequenceName, "originalCollationSequenceName"},
    {QFResponseDomHelper::kColumnOriginalEncodingName, "originalEncodingName"},
};

// The first descendant element of a name, as a list of none or one node. The search stops at
// that element, where a list of all of them would walk the whole response, result rows
// included, on every lookup.
class FirstElement {
 public:
  FirstElement(const ORVIDOM_Node& root, const I18NString& name)
      : m_first(ORVIDOM_Helper::findFirstElement(root, name)) {}

  unsigned long getLength() const { return m_first.isNull() ? 0 : 1; }
  ORVIDOM_Node item(unsigned long index) const {
    return index == 0 ? ORVIDOM_Node(m_first) : ORVIDOM_Node();
  }

 private:
  ORVIDOM_Element m_first;
};

}  // namespace

QFResponseDomHelper::~QFResponseDomHelper() = default;

const I18NString& QFResponseDomHelper::ToString(EColumnProp prop) {
  for (const auto& [known, attribute] : kColumnAttributes) {
    if (known == prop) return attribute;
  }
  return korvath_actionhelper_resources_unknown_str;
}

void QFResponseDomHelper::doTake(ORVIDOM_Element& elem) { m_response = elem; }

int QFResponseDomHelper::GetQueryFeedback(QFExecuteCommandHelper::EQueryFeedback feedback,
                                          I18NString& value) const {
  return ExtractRetrieveProperty(QFExecuteCommandHelper::ToString(feedback), value);
}

int QFResponseDomHelper::ExtractRetrieveProperty(const I18NString& name, I18NString& value) const {
  if (m_response.isNull()) return 0;
  const FirstElement elmRevtiveProps(m_response, kElemQueryFeedbackResult);
  if (elmRevtiveProps.getLength() == 0) return 0;
  ORV_ASSERT(elmRevtiveProps.item(0).getNodeType() == ORVIDOM_Node::ELEMENT_NODE);

  const ORVIDOM_NodeList properties =
      ORVIDOM_Element(elmRevtiveProps.item(0))
          .getElementsByTagName(korvath_actionhelper_resources_property_str);
  for (unsigned long idx = 0; idx < properties.getLength(); ++idx) {
    const ORVIDOM_Node nodeCurrent = properties.item(idx);
    ORV_ASSERT(nodeCurrent.getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
    const ORVIDOM_Node text = nodeCurrent.getFirstChild();
    // A matching property without any content does not count: a later one may carry the value.
    if (!text.isNull() &&
        ORVIDOM_Element(nodeCurrent).getAttribute(korvath_actionhelper_resources_name_str) ==
            name) {
      value = text.getNodeValue();
      return 1;
    }
  }
  return 0;
}

void QFResponseDomHelper::GetResponseDataSources(std::vector<DataSource>& dataSources) const {
  const FirstElement elmExtraProps(m_response, kElemQueryFeedbackResult);
  if (elmExtraProps.getLength() == 0) return;
  ORV_ASSERT(elmExtraProps.item(0).getNodeType() == ORVIDOM_Node::ELEMENT_NODE);

  const ORVIDOM_NodeList elmDSs =
      ORVIDOM_Element(elmExtraProps.item(0))
          .getElementsByTagName(korvath_actionhelper_resources_connection_str);
  for (unsigned long idx = 0; idx < elmDSs.getLength(); ++idx) {
    // clang-format off
    ORV_ASSERT(elmDSs.item( idx ).getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
    // clang-format on
    const ORVIDOM_Element connection = elmDSs.item(idx);
    DataSource dataSource;
    dataSource.value = connection.getAttribute(korvath_actionhelper_resources_value_str);
    dataSource.catalog = connection.getAttribute(korvath_actionhelper_resources_catalog_str);
    dataSource.schema = connection.getAttribute(korvath_actionhelper_resources_schema_str);
    dataSources.push_back(std::move(dataSource));
  }
}

void QFResponseDomHelper::GetColumnList(
    std::vector<std::map<EColumnProp, I18NString>>& columns) const {
  const ORVIDOM_Element columnList =
      ORVIDOM_Helper::findFirstElement(m_response, korvath_actionhelper_resources_columnList_str);
  if (columnList.isNull()) return;

  const ORVIDOM_NodeList columnsList = columnList.getChildNodes();
  for (unsigned long idx = 0; idx < columnsList.getLength(); ++idx) {
    // clang-format off
    ORV_ASSERT(columnsList.item( idx ).getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
    // clang-format on
    // Read in place: each property's value is copied once, into the description.
    const orvidom::ElementView column(columnsList.item(idx));
    std::map<EColumnProp, I18NString> description;
    for (const auto& [prop, attribute] : kColumnAttributes) {
      description.emplace(prop, column.attribute(attribute.c_str()));
    }
    columns.push_back(std::move(description));
  }
}

ORVIDOM_Element QFResponseDomHelper::GetFirstResultSetRow() {
  const FirstElement listRsltData(m_response, kElemResultData);
  if (listRsltData.getLength() == 0) return {};
  ORV_ASSERT(listRsltData.item(0).getNodeType() == ORVIDOM_Node::ELEMENT_NODE);
  return ORVIDOM_Helper::findChildElement(listRsltData.item(0), kElemRow);
}

// The row is taken by value as the interface documents it (a handle copy is cheap).
ORVIDOM_Element QFResponseDomHelper::GetNextResultSetRow(
    ORVIDOM_Element row) {  // NOLINT(performance-unnecessary-value-param)
  return ORVIDOM_Helper::findNextSiblingElement(row, kElemRow);
}

void QFResponseDomHelper::GetResultSetRowValues(
    ORVIDOM_Element row,  // NOLINT(performance-unnecessary-value-param)
    std::vector<I18NString>& values) {
  ORVIDOM_Helper::appendChildAttributes(row, korvath_actionhelper_resources_value_str,
                                        kAttrCellValue, values);
}
