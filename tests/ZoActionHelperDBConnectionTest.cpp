#include <gtest/gtest.h>

#include <string>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

constexpr const char* kUnit = "ZoActionHelperDBConnection";

ZoActionHelperDBConnection Connection(const char* database, const char* connectionString,
                                      const char* dbType = "") {
  ZoActionHelperDBConnection connection;
  connection.setDatabase(database);
  connection.setConnectionString(connectionString);
  connection.setDbType(dbType);
  return connection;
}

// The seven values of a connection, in the order they are written.
std::string Describe(const ZoActionHelperDBConnection& c) {
  return c.getDatabase().str() + "|" + c.getCatalog().str() + "|" + c.getSchema().str() + "|" +
         c.getDbType().str() + "|" + c.getConnectionString().str() + "|" + c.getUserName().str() +
         "|" + c.getPassword().str();
}

TEST(ZoActionHelperDBConnectionTest, MakeLeavesOutEmptyOptionalValuesAndRequiresTheKeyOnes) {
  EXPECT_TRUE(xmltest::SameTree(Made(Connection("db", "cs")),
                                "<dbConnection><database>db</database>"
                                "<connectionString>cs</connectionString></dbConnection>"));

  const ORVIDOM_Element before = xmltest::Parse("<mine/>");
  ORVIDOM_Element elem = before;
  const char* const kRequired = "ORV_ASSERT(!m_connectionString.empty() && !m_database.empty());";
  EXPECT_ORV_ASSERT(Connection("", "cs").Make(elem), kRequired, kUnit);
  EXPECT_ORV_ASSERT(Connection("db", "").Make(elem), kRequired, kUnit);
  EXPECT_EQ(elem, before);
}

TEST(ZoActionHelperDBConnectionTest, TakeRequiresKeyValuesAndKeepsEarlierOptionalOnes) {
  ZoActionHelperDBConnection connection;
  connection.setSchema("oldSchema");
  connection.setUserName("oldUser");
  ORVIDOM_Element received = xmltest::Take(connection, R"(
    <anyName>
      <catalog>c</catalog><dbType>t</dbType><connectionString>cs</connectionString>
      <database>d</database><password>pw</password>
    </anyName>)");
  EXPECT_EQ(Describe(connection), "d|c|oldSchema|t|cs|oldUser|pw");

  ORVIDOM_Element null;
  EXPECT_ORV_ASSERT(connection.Take(null), "ORV_ASSERT(!m_requestRoot.isNull());", kUnit);
  ORVIDOM_Element noConnectionString = xmltest::Parse("<c><database>d</database></c>");
  EXPECT_ORV_ASSERT(connection.Take(noConnectionString),
                    "ORV_ASSERT(!connectionStringElem.isNull());", kUnit);
  // Values read before a failure stay read.
  ORVIDOM_Element noDatabase = xmltest::Parse("<c><connectionString>new</connectionString></c>");
  EXPECT_ORV_ASSERT(connection.Take(noDatabase), "ORV_ASSERT(!databaseElem.isNull());", kUnit);
  EXPECT_EQ(connection.getConnectionString(), "new");
  // The type may be left out when writing but not when reading, even the helper's own element.
  ORVIDOM_Element untyped = Made(Connection("d", "cs"));
  EXPECT_EQ(untyped.getParentNode(), untyped.getOwnerDocument());
  EXPECT_ORV_ASSERT(connection.Take(untyped), "ORV_ASSERT(!dbTypeElem.isNull());", kUnit);
}

TEST(ZoActionHelperDBConnectionsTest, MakeCopiesEveryConnectionInOrder) {
  const ORVIDOM_Element one = Made(Connection("one", "cs1", "t1"));
  const ORVIDOM_Element two = Made(Connection("two", "cs2"));
  ZoActionHelperDBConnections connections;
  const ORVIDOM_Element before = xmltest::Parse("<mine/>");
  ORVIDOM_Element elem = before;
  EXPECT_ORV_ASSERT(connections.Make(elem), "ORV_ASSERT(!m_dbConnections.empty());", kUnit);

  connections.addDom(one);
  connections.addDom(two);
  connections.addDom(one);
  connections.Make(elem);
  EXPECT_EQ(elem.getElementsByTagName("dbConnection").getLength(), 3u);
  // The listed elements are copied, not moved.
  EXPECT_NE(one.getOwnerDocument(), elem.getOwnerDocument());
  EXPECT_EQ(elem.getParentNode(), elem.getOwnerDocument());
  EXPECT_EQ(connections.getDomVector(), (std::vector<ORVIDOM_Element>{one, two, one}));

  // A null handle among good ones is refused before anything is written.
  connections.addDom(ORVIDOM_Element());
  elem = before;
  EXPECT_ORV_ASSERT(connections.Make(elem), "ORV_ASSERT(!dbConnection.isNull());", kUnit);
  EXPECT_EQ(elem, before);
}

TEST(ZoActionHelperDBConnectionsTest, TakeCollectsConnectionsAtAnyDepth) {
  ORVIDOM_Element received = xmltest::Parse(R"(
    <response>
      <dbConnection>a</dbConnection>
      <group><dbConnection>b</dbConnection></group>
      <dbConnection>c</dbConnection>
    </response>)");
  ZoActionHelperDBConnections connections;
  connections.Take(received);
  // A second Take appends; an element without connections adds nothing and is no error.
  xmltest::Take(connections, "<dbConnections/>");
  connections.Take(received);
  std::vector<I18NString> texts;
  for (const ORVIDOM_Element& found : connections.getDomVector()) {
    texts.push_back(ORVIDOM_Helper::getElementText(found));
  }
  EXPECT_EQ(texts, (std::vector<I18NString>{"a", "b", "c", "a", "b", "c"}));

  ORVIDOM_Element null;
  EXPECT_ORV_ASSERT(connections.Take(null), "ORV_ASSERT(!m_requestRoot.isNull());", kUnit);
}

}  // namespace
