#include <gtest/gtest.h>

#include <string>

#include "support/XmlTestSupport.h"

namespace {

using SignonInfo = QsDataSourceFaultHelper::SignonInfo;
using ConnectionInfo = QsDataSourceFaultHelper::ConnectionInfo;
using DataSourceInfo = QsDataSourceFaultHelper::DataSourceInfo;

// A fault with every text, a connection and a sign-on.
const char* const kFullFault =
    "<fault><faultcode>Client</faultcode><faultstring>Sign-on required</faultstring><detail>"
    "<faultSubcode>signonMissing</faultSubcode><faultSubstring>Log on</faultSubstring>"
    "<faultDataSource value='Sales'/><faultConnection><name value='Main'/></faultConnection>"
    "<faultSignon><name value='Reader'/></faultSignon></detail></fault>";

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

// "name|search path" of a sign-on.
std::string Describe(const SignonInfo* signon) {
  return signon ? signon->m_name.str() + "|" + signon->m_searchPath.str() : "none";
}

// "name|search path|connection string" of a connection, with its sign-ons.
std::string Describe(const ConnectionInfo* connection) {
  if (!connection) return "none";
  std::string out = connection->m_name.str() + "|" + connection->m_searchPath.str() + "|" +
                    connection->m_connectionString.str();
  for (const SignonInfo* signon : connection->m_signons) out += " (" + Describe(signon) + ")";
  return out;
}

// The five fault texts, then the fault's connection and sign-on.
std::string Describe(QsDataSourceFaultHelper& fault) {
  return fault.GetFaultCode().str() + "|" + fault.GetFaultSubCode().str() + "|" +
         fault.GetFaultString().str() + "|" + fault.GetFaultSubString().str() + "|" +
         fault.GetFaultDataSourceName().str() + "; " + Describe(fault.GetFaultConnection()) + "; " +
         Describe(fault.GetFaultSignon());
}

// "name|type" of a data source, with its connections.
std::string Describe(const DataSourceInfo& source) {
  std::string out = source.m_name.str() + "|" + source.m_type.str();
  for (const ConnectionInfo* connection : source.m_connections) {
    out += " [" + Describe(connection) + "]";
  }
  return out;
}

TEST(QsDataSourceFaultHelperTest, AShortFaultLeavesTheRestEmpty) {
  QsDataSourceFaultHelper helper;
  EXPECT_EQ(Describe(helper), "||||; none; none");
  DataSourceInfo info;
  EXPECT_EQ(helper.GetDataSourceInfo("A", info), 0);

  xmltest::Take(helper,
                "<fault><faultcode>Server</faultcode><faultstring>Down</faultstring></fault>");
  EXPECT_EQ(Describe(helper), "Server||Down||; none; none");
  EXPECT_EQ(helper.GetDataSourceInfo("A", info), 0);
}

TEST(QsDataSourceFaultHelperTest, ANewFaultReplacesRecordsButOnlyTheTextsItCarries) {
  QsDataSourceFaultHelper helper;
  xmltest::Take(helper, kFullFault);
  // The records are read once and kept.
  EXPECT_EQ(helper.GetFaultConnection(), helper.GetFaultConnection());
  ASSERT_NE(helper.GetFaultSignon(), nullptr);
  EXPECT_EQ(helper.GetFaultSignon(), helper.GetFaultSignon());

  // An empty "faultcode" has no text, and no other fault text is present.
  xmltest::Take(helper,
                "<fault><faultcode/><faultstring>Refused</faultstring>"
                "<faultSignon><name value='Guest'/></faultSignon></fault>");
  EXPECT_EQ(Describe(helper), "Client|signonMissing|Refused|Log on|Sales; none; Guest|");

  // Taking no element drops the records and keeps the texts.
  ORVIDOM_Element none;
  helper.Take(none);
  EXPECT_EQ(Describe(helper), "Client|signonMissing|Refused|Log on|Sales; none; none");
  DataSourceInfo info;
  EXPECT_EQ(helper.GetDataSourceInfo("A", info), 0);
}

TEST(QsDataSourceFaultHelperTest, FillsTheDataSourceOfTheNameAsked) {
  QsDataSourceFaultHelper helper;
  xmltest::Take(helper, kDataSources);

  DataSourceInfo b;
  EXPECT_EQ(helper.GetDataSourceInfo("B", b), 1);
  EXPECT_EQ(Describe(b), "B|cube [B1||cube=1] [B2||]");
  EXPECT_EQ(b.GetConnectionInfo("B2"), b.m_connections[1]);
  EXPECT_EQ(b.GetConnectionInfo("b2"), nullptr);
  EXPECT_EQ(b.GetConnectionInfo("A1"), nullptr);

  // Both data sources named A add their connections; the second has no type to give.
  DataSourceInfo a;
  EXPECT_EQ(helper.GetDataSourceInfo("A", a), 1);
  EXPECT_EQ(Describe(a), "A|relational [A1|| (u1|)] [A2||]");

  // An unknown name leaves the record alone; asking again only adds.
  EXPECT_EQ(helper.GetDataSourceInfo("C", b), 0);
  EXPECT_EQ(Describe(b), "B|cube [B1||cube=1] [B2||]");
  EXPECT_EQ(helper.GetDataSourceInfo("B", b), 1);
  EXPECT_EQ(Describe(b), "B|cube [B1||cube=1] [B2||] [B1||cube=1] [B2||]");

  DataSourceInfo empty;
  EXPECT_EQ(empty.GetConnectionInfo(""), nullptr);
}

}  // namespace
