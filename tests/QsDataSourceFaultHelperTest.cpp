#include <gtest/gtest.h>

#include <type_traits>

#include "support/XmlTestSupport.h"

namespace {

using SignonInfo = QsDataSourceFaultHelper::SignonInfo;
using ConnectionInfo = QsDataSourceFaultHelper::ConnectionInfo;
using DataSourceInfo = QsDataSourceFaultHelper::DataSourceInfo;

// The records own what their lists point to, so a copy would delete it twice.
static_assert(!std::is_copy_constructible_v<ConnectionInfo> &&
              !std::is_copy_assignable_v<ConnectionInfo>);
static_assert(!std::is_copy_constructible_v<DataSourceInfo> &&
              !std::is_copy_assignable_v<DataSourceInfo>);

// A fault as the service sends it, indented, with the details one level down.
const char* const kFullFault = R"(
<fault>
  <faultcode>Client</faultcode>
  <faultstring>Sign-on required</faultstring>
  <detail>
    <faultSubcode>signonMissing</faultSubcode>
    <faultSubstring>Log on to Sales &amp; Stock</faultSubstring>
    <faultDataSource value="Sales"/>
    <faultConnection>
      <name value="Main"/>
      <searchPath value="/ds/Sales/Main"/>
      <connectionString value="host=db1;port=5000"/>
      <signon>
        <name value="Reader"/>
        <searchPath value="/ds/Sales/Main/Reader"/>
      </signon>
      <signon>
        <name value="Writer"/>
      </signon>
    </faultConnection>
    <faultSignon>
      <name value="Reader"/>
      <searchPath value="/ds/Sales/Main/Reader"/>
    </faultSignon>
  </detail>
</fault>)";

// Data sources A, B and A again, each with its connections and sign-ons.
const char* const kDataSources =
    "<fault><faultcode>Client</faultcode><dataSources>"
    "<dataSource><name value='A'/><type value='relational'/>"
    "<connection><name value='A1'/><signon><name value='u1'/></signon></connection>"
    "</dataSource>"
    "<dataSource><name value='B'/><type value='cube'/>"
    "<connection><name value='B1'/><connectionString value='cube=1'/></connection>"
    "<connection><name value='B2'/></connection>"
    "</dataSource>"
    "<dataSource><name value='A'/>"
    "<connection><name value='A2'/></connection>"
    "</dataSource>"
    "<dataSource><type value='unnamed'/></dataSource>"
    "</dataSources></fault>";

TEST(QsDataSourceFaultHelperTest, ReadsEveryPartOfAFault) {
  QsDataSourceFaultHelper helper;
  ORVIDOM_Element fault = xmltest::Parse(kFullFault);
  helper.Take(fault);

  EXPECT_EQ(helper.GetFaultCode(), "Client");
  EXPECT_EQ(helper.GetFaultSubCode(), "signonMissing");
  EXPECT_EQ(helper.GetFaultString(), "Sign-on required");
  EXPECT_EQ(helper.GetFaultSubString(), "Log on to Sales & Stock");
  EXPECT_EQ(helper.GetFaultDataSourceName(), "Sales");

  ConnectionInfo* connection = helper.GetFaultConnection();
  ASSERT_NE(connection, nullptr);
  EXPECT_EQ(connection->m_name, "Main");
  EXPECT_EQ(connection->m_searchPath, "/ds/Sales/Main");
  EXPECT_EQ(connection->m_connectionString, "host=db1;port=5000");
  ASSERT_EQ(connection->m_signons.size(), 2u);
  EXPECT_EQ(connection->m_signons[0]->m_name, "Reader");
  EXPECT_EQ(connection->m_signons[0]->m_searchPath, "/ds/Sales/Main/Reader");
  EXPECT_EQ(connection->m_signons[1]->m_name, "Writer");
  EXPECT_EQ(connection->m_signons[1]->m_searchPath, "");
  EXPECT_EQ(helper.GetFaultConnection(), connection);

  SignonInfo* signon = helper.GetFaultSignon();
  ASSERT_NE(signon, nullptr);
  EXPECT_EQ(signon->m_name, "Reader");
  EXPECT_EQ(signon->m_searchPath, "/ds/Sales/Main/Reader");
  EXPECT_EQ(helper.GetFaultSignon(), signon);
}

TEST(QsDataSourceFaultHelperTest, AShortFaultLeavesTheRestEmpty) {
  QsDataSourceFaultHelper helper;
  EXPECT_EQ(helper.GetFaultSignon(), nullptr);
  EXPECT_EQ(helper.GetFaultConnection(), nullptr);
  DataSourceInfo info;
  EXPECT_EQ(helper.GetDataSourceInfo("A", info), 0);

  ORVIDOM_Element fault =
      xmltest::Parse("<fault><faultcode>Server</faultcode><faultstring>Down</faultstring></fault>");
  helper.Take(fault);
  EXPECT_EQ(helper.GetFaultCode(), "Server");
  EXPECT_EQ(helper.GetFaultString(), "Down");
  EXPECT_EQ(helper.GetFaultSubCode(), "");
  EXPECT_EQ(helper.GetFaultSubString(), "");
  EXPECT_EQ(helper.GetFaultDataSourceName(), "");
  EXPECT_EQ(helper.GetFaultSignon(), nullptr);
  EXPECT_EQ(helper.GetFaultConnection(), nullptr);
  EXPECT_EQ(helper.GetDataSourceInfo("A", info), 0);
}

TEST(QsDataSourceFaultHelperTest, ANewFaultReplacesRecordsButOnlyTheTextsItCarries) {
  QsDataSourceFaultHelper helper;
  ORVIDOM_Element first = xmltest::Parse(kFullFault);
  helper.Take(first);
  ASSERT_NE(helper.GetFaultSignon(), nullptr);

  // An empty "faultcode" has no text, and no other fault text is present.
  ORVIDOM_Element second = xmltest::Parse(
      "<fault><faultcode/><faultstring>Refused</faultstring>"
      "<faultSignon><name value='Guest'/></faultSignon></fault>");
  helper.Take(second);
  EXPECT_EQ(helper.GetFaultCode(), "Client");
  EXPECT_EQ(helper.GetFaultString(), "Refused");
  EXPECT_EQ(helper.GetFaultSubCode(), "signonMissing");
  EXPECT_EQ(helper.GetFaultDataSourceName(), "Sales");
  ASSERT_NE(helper.GetFaultSignon(), nullptr);
  EXPECT_EQ(helper.GetFaultSignon()->m_name, "Guest");
  EXPECT_EQ(helper.GetFaultSignon()->m_searchPath, "");
  EXPECT_EQ(helper.GetFaultConnection(), nullptr);

  // Taking no element drops the records and keeps the texts.
  ORVIDOM_Element none;
  helper.Take(none);
  EXPECT_EQ(helper.GetFaultSignon(), nullptr);
  EXPECT_EQ(helper.GetFaultString(), "Refused");
  DataSourceInfo info;
  EXPECT_EQ(helper.GetDataSourceInfo("A", info), 0);
}

TEST(QsDataSourceFaultHelperTest, FillsTheDataSourceOfTheNameAsked) {
  QsDataSourceFaultHelper helper;
  ORVIDOM_Element fault = xmltest::Parse(kDataSources);
  helper.Take(fault);

  DataSourceInfo b;
  EXPECT_EQ(helper.GetDataSourceInfo("B", b), 1);
  EXPECT_EQ(b.m_name, "B");
  EXPECT_EQ(b.m_type, "cube");
  ASSERT_EQ(b.m_connections.size(), 2u);
  EXPECT_EQ(b.m_connections[0]->m_name, "B1");
  EXPECT_EQ(b.m_connections[0]->m_connectionString, "cube=1");
  EXPECT_TRUE(b.m_connections[0]->m_signons.empty());
  EXPECT_EQ(b.GetConnectionInfo("B2"), b.m_connections[1]);
  EXPECT_EQ(b.GetConnectionInfo("b2"), nullptr);
  EXPECT_EQ(b.GetConnectionInfo("A1"), nullptr);

  // Both data sources named A add their connections; the second has no type to give.
  DataSourceInfo a;
  EXPECT_EQ(helper.GetDataSourceInfo("A", a), 1);
  EXPECT_EQ(a.m_name, "A");
  EXPECT_EQ(a.m_type, "relational");
  ASSERT_EQ(a.m_connections.size(), 2u);
  EXPECT_EQ(a.m_connections[0]->m_name, "A1");
  ASSERT_EQ(a.m_connections[0]->m_signons.size(), 1u);
  EXPECT_EQ(a.m_connections[0]->m_signons[0]->m_name, "u1");
  EXPECT_EQ(a.m_connections[1]->m_name, "A2");

  // An unknown name leaves the record alone; asking again only adds.
  EXPECT_EQ(helper.GetDataSourceInfo("C", b), 0);
  EXPECT_EQ(b.m_name, "B");
  EXPECT_EQ(b.m_connections.size(), 2u);
  EXPECT_EQ(helper.GetDataSourceInfo("B", b), 1);
  EXPECT_EQ(b.m_connections.size(), 4u);
  EXPECT_EQ(b.m_connections[2]->m_name, "B1");

  DataSourceInfo empty;
  EXPECT_EQ(empty.GetConnectionInfo(""), nullptr);
}

}  // namespace
