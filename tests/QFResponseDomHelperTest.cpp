#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using Column = std::map<QFResponseDomHelper::EColumnProp, I18NString>;

const char* const kUnit = "QFResponseDomHelper";

QFResponseDomHelper TakenFrom(ORVIDOM_Element response) {
  QFResponseDomHelper helper;
  helper.Take(response);
  return helper;
}

// The values of every row, read the way a caller walks a result.
std::vector<std::vector<I18NString>> ReadRows(QFResponseDomHelper& helper) {
  std::vector<std::vector<I18NString>> rows;
  for (ORVIDOM_Element row = helper.GetFirstResultSetRow(); !row.isNull();
       row = helper.GetNextResultSetRow(row)) {
    rows.emplace_back();
    helper.GetResultSetRowValues(row, rows.back());
  }
  return rows;
}

TEST(QFResponseDomHelperTest, BeforeTakeNothingIsFound) {
  QFResponseDomHelper helper;
  I18NString value = "kept";
  EXPECT_EQ(helper.GetQueryFeedback(QFExecuteCommandHelper::kQueryFeedbackNativeCommandText, value),
            0);
  EXPECT_EQ(value, "kept");
  std::vector<QFResponseDomHelper::DataSource> sources;
  helper.GetResponseDataSources(sources);
  std::vector<Column> columns;
  helper.GetColumnList(columns);
  EXPECT_TRUE(sources.empty() && columns.empty() && ReadRows(helper).empty());
}

TEST(QFResponseDomHelperTest, FeedbackIsTheFirstMatchingPropertyWithText) {
  QFResponseDomHelper helper = TakenFrom(xmltest::Parse(
      "<response><result>"
      "<queryFeedbackResult>"
      "<property name='nativeCommandText'/>"
      "<group><property name='nativeCommandText'>select 1</property></group>"
      "<property name='nativeCommandText'>select 2</property>"
      "<property name='TarvinCommandText'>&lt;tarvin&gt;</property>"
      "<property name='unknown'>odd</property>"
      "</queryFeedbackResult>"
      "</result>"
      "<queryFeedbackResult><property name='executionPlan'>plan</property></queryFeedbackResult>"
      "</response>"));
  I18NString value;
  EXPECT_EQ(helper.GetQueryFeedback(QFExecuteCommandHelper::kQueryFeedbackNativeCommandText, value),
            1);
  EXPECT_EQ(value, "select 1");
  EXPECT_EQ(helper.GetQueryFeedback(QFExecuteCommandHelper::kQueryFeedbackTarvinCommandText, value),
            1);
  EXPECT_EQ(value, "<tarvin>");
  // A value outside the enumeration looks for "unknown".
  EXPECT_EQ(helper.GetQueryFeedback(static_cast<QFExecuteCommandHelper::EQueryFeedback>(9), value),
            1);
  EXPECT_EQ(value, "odd");

  // Only the first "queryFeedbackResult" is read.
  value = "kept";
  EXPECT_EQ(helper.GetQueryFeedback(QFExecuteCommandHelper::kQueryFeedbackExecutionPlan, value), 0);
  EXPECT_EQ(value, "kept");
}

TEST(QFResponseDomHelperTest, DataSourcesComeFromTheFirstFeedbackResult) {
  QFResponseDomHelper helper = TakenFrom(xmltest::Parse(
      "<response><queryFeedbackResult><property name='connections'><connection value='sales'/>"
      "<connection value='hr'/></property></queryFeedbackResult>"
      "<queryFeedbackResult><connection value='ignored'/></queryFeedbackResult></response>"));
  std::vector<QFResponseDomHelper::DataSource> sources(1);
  sources[0].value = "earlier";
  helper.GetResponseDataSources(sources);
  ASSERT_EQ(sources.size(), 3u);
  EXPECT_EQ(sources[0].value, "earlier");
  EXPECT_EQ(sources[1].value, "sales");
  EXPECT_EQ(sources[2].value, "hr");
}

TEST(QFResponseDomHelperTest, ColumnsHoldEveryPropertyAndRefuseTextBetweenThem) {
  QFResponseDomHelper helper = TakenFrom(xmltest::Parse(
      "<response><meta><columnList><column name='id'/><anything name='label' type='varchar'/>"
      "</columnList></meta><columnList><column name='second list'/></columnList></response>"));
  std::vector<Column> columns(1);
  helper.GetColumnList(columns);
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_TRUE(columns[0].empty());
  // Absent attributes give entries that exist and are empty.
  ASSERT_EQ(columns[2].size(), 11u);
  EXPECT_EQ(columns[2].at(QFResponseDomHelper::kColumnName), "label");
  EXPECT_EQ(columns[2].at(QFResponseDomHelper::kColumnType), "varchar");
  EXPECT_EQ(columns[2].at(QFResponseDomHelper::kColumnScale), "");

  helper =
      TakenFrom(xmltest::Parse("<response><columnList>\n  <column name='a'/>\n"
                               "</columnList></response>"));
  EXPECT_ORV_ASSERT(
      helper.GetColumnList(columns),
      "ORV_ASSERT(columnsList.item( idx ).getNodeType() == ORVIDOM_Node::ELEMENT_NODE);", kUnit);
}

TEST(QFResponseDomHelperTest, RowsSkipOtherNodesAndValuesAppend) {
  QFResponseDomHelper helper = TakenFrom(
      xmltest::Parse("<response>\n"
                     "  <resultData>\n"
                     "    <summary><row><value v='not a result row'/></row></summary>\n"
                     "    <row>\n"
                     "      <value v='1'/>\n"
                     "      <other v='x'/>\n"
                     "      <value/>\n"
                     "      <value v='a &amp; b'/>\n"
                     "    </row>\n"
                     "    <!-- between -->\n"
                     "    <rowCount>2</rowCount>\n"
                     "    <row><value v='2'/></row>\n"
                     "    <row/>\n"
                     "  </resultData>\n"
                     "  <resultData><row><value v='second result data'/></row></resultData>\n"
                     "</response>"));
  const std::vector<std::vector<I18NString>> expected = {{"1", "", "a & b"}, {"2"}, {}};
  EXPECT_EQ(ReadRows(helper), expected);

  // The values of a row appended twice.
  const ORVIDOM_Element first = helper.GetFirstResultSetRow();
  std::vector<I18NString> values = {"earlier"};
  helper.GetResultSetRowValues(first, values);
  helper.GetResultSetRowValues(first, values);
  EXPECT_EQ(values, (std::vector<I18NString>{"earlier", "1", "", "a & b", "1", "", "a & b"}));

  // A result data without rows, and a later Take replacing the response.
  xmltest::Take(helper, "<response><resultData/></response>");
  EXPECT_TRUE(helper.GetFirstResultSetRow().isNull());
}

}  // namespace
