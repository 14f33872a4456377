// Reads the query framework service's answer to an execute command. Take keeps the response
// element; each getter searches it on demand for feedback values, data sources, column
// descriptions or result rows.
#pragma once

#include <map>
#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/queryframework/QFExecuteCommandHelper.h>

class KORVATH_API QFResponseDomHelper : public ActionHandlerBase {
 public:
  // A data source the query touched, from the attributes of a "connection" element.
  struct DataSource {
    I18NString value;
    I18NString catalog;
    I18NString schema;
  };

  // The column properties, each read from the column element's attribute of the same name.
  enum EColumnProp {
    kColumnName = 1,
    kColumnSqlName = 2,
    kColumnType = 3,
    kColumnScale = 4,
    kColumnLength = 5,
    kColumnPrecision = 6,
    kColumnNullsAllowed = 7,
    kColumnCollationSequenceName = 8,
    kColumnCollationSequenceLevel = 9,
    kColumnOriginalCollationSequenceName = 10,
    kColumnOriginalEncodingName = 11,
  };

  QFResponseDomHelper() = default;
  ~QFResponseDomHelper() override;

  // The attribute a column property is read from; "unknown" for a value outside the enumeration.
  static const I18NString& ToString(EColumnProp prop);

  // The text of the feedback property named after `feedback`: 1 and `value` set when found,
  // else 0 and `value` unchanged.
  int GetQueryFeedback(QFExecuteCommandHelper::EQueryFeedback feedback, I18NString& value) const;
  // Appends one record per "connection" of the first "queryFeedbackResult".
  void GetResponseDataSources(std::vector<DataSource>& dataSources) const;
  // Appends one description, holding all eleven properties, per child of the first "columnList".
  void GetColumnList(std::vector<std::map<EColumnProp, I18NString>>& columns) const;
  // The first "row" of the first "resultData", or a null handle.
  ORVIDOM_Element GetFirstResultSetRow();
  // The next "row" sibling of `row`, or a null handle.
  ORVIDOM_Element GetNextResultSetRow(ORVIDOM_Element row);
  // Appends the attribute "v" of each "value" child of `row`.
  void GetResultSetRowValues(ORVIDOM_Element row, std::vector<I18NString>& values);

 protected:
  // Keeps `elem` as the response; reads nothing.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  int ExtractRetrieveProperty(const I18NString& name, I18NString& value) const;

  ORVIDOM_Element m_response;
};
