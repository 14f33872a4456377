#include <gtest/gtest.h>

#include "support/XmlTestSupport.h"

namespace {

constexpr const char* kUnit = "ZoActionHelperDBConnection";

ZoActionHelperDBConnection MinimalConnection(const char* database, const char* connectionString) {
  ZoActionHelperDBConnection connection;
  connection.setDatabase(database);
  connection.setConnectionString(connectionString);
  return connection;
}

TEST(ZoActionHelperDBConnectionTest, MakeWritesEveryValueAsTextInFixedOrder) {
  ZoActionHelperDBConnection connection;
  // Set in another order than written: the order of the children is the helper's own.
  connection.setPassword("p&ss<word>");
  connection.setUserName("sa");
  connection.setConnectionString("DSN=sales; trusted=\"yes\"");
  connection.setDbType("  odbc ");
  connection.setSchema("dbo");
  connection.setCatalog("Retail");
  connection.setDatabase("Sales DB");

  ORVIDOM_Element elem;
  connection.Make(elem);
  EXPECT_TRUE(xmltest::SameTree(elem, R"(
    <dbConnection>
      <database>Sales DB</database>
      <catalog>Retail</catalog>
      <schema>dbo</schema>
      <dbType>  odbc </dbType>
      <connectionString>DSN=sales; trusted="yes"</connectionString>
      <userName>sa</userName>
      <password>p&amp;ss&lt;word&gt;</password>
    </dbConnection>)"));
  EXPECT_EQ(elem.getOwnerDocument().getDocumentElement().getTagName(), "requestDoc");
  EXPECT_FALSE(elem.getOwnerDocument().getDocumentElement().hasChildNodes());

  // The optional values are written only when set.
  ORVIDOM_Element minimal;
  MinimalConnection("db", "cs").Make(minimal);
  EXPECT_TRUE(xmltest::SameTree(
      minimal,
      "<dbConnection><database>db</database><connectionString>cs</connectionString>"
      "</dbConnection>"));
}

TEST(ZoActionHelperDBConnectionTest, MakeRefusesMissingDatabaseOrConnectionString) {
  const ORVIDOM_Element before = xmltest::Parse("<mine/>");
  ORVIDOM_Element elem = before;
  EXPECT_ORV_ASSERT(MinimalConnection("", "cs").Make(elem),
                    "ORV_ASSERT(!m_connectionString.empty() && !m_database.empty());", kUnit);
  EXPECT_ORV_ASSERT(MinimalConnection("db", "").Make(elem),
                    "ORV_ASSERT(!m_connectionString.empty() && !m_database.empty());", kUnit);
  EXPECT_EQ(elem, before);
}

TEST(ZoActionHelperDBConnectionTest, TakeReadsAnIndentedConnection) {
  ORVIDOM_Element received = xmltest::Parse(R"(
    <anyName>
      <password>secret</password>
      <userName>u</userName>
      <connectionString> a;b </connectionString>
      <dbType>typeB</dbType>
      <schema>s</schema>
      <catalog>c</catalog>
      <database>d</database>
    </anyName>)");
  ZoActionHelperDBConnection connection;
  connection.Take(received);
  EXPECT_EQ(connection.getDatabase(), "d");
  EXPECT_EQ(connection.getCatalog(), "c");
  EXPECT_EQ(connection.getSchema(), "s");
  EXPECT_EQ(connection.getDbType(), "typeB");
  EXPECT_EQ(connection.getConnectionString(), " a;b ");
  EXPECT_EQ(connection.getUserName(), "u");
  EXPECT_EQ(connection.getPassword(), "secret");
}

TEST(ZoActionHelperDBConnectionTest, TakeKeepsEarlierOptionalValues) {
  ZoActionHelperDBConnection connection;
  connection.setCatalog("oldCatalog");
  connection.setSchema("oldSchema");
  connection.setUserName("oldUser");
  connection.setPassword("oldPassword");

  ORVIDOM_Element catalogOnly = xmltest::Parse(
      "<dbConnection><database>d</database><catalog>c</catalog><dbType>t</dbType>"
      "<connectionString>cs</connectionString></dbConnection>");
  connection.Take(catalogOnly);
  EXPECT_EQ(connection.getCatalog(), "c");
  EXPECT_EQ(connection.getSchema(), "oldSchema");
  EXPECT_EQ(connection.getUserName(), "oldUser");
  EXPECT_EQ(connection.getPassword(), "oldPassword");

  ORVIDOM_Element schemaOnly = xmltest::Parse(
      "<dbConnection><database>d</database><schema>s</schema><dbType>t</dbType>"
      "<connectionString>cs</connectionString></dbConnection>");
  connection.Take(schemaOnly);
  EXPECT_EQ(connection.getCatalog(), "c");
  EXPECT_EQ(connection.getSchema(), "s");
}

TEST(ZoActionHelperDBConnectionTest, TakeRequiresConnectionStringDatabaseAndType) {
  ZoActionHelperDBConnection connection;
  ORVIDOM_Element null;
  EXPECT_ORV_ASSERT(connection.Take(null), "ORV_ASSERT(!m_requestRoot.isNull());", kUnit);

  ORVIDOM_Element noConnectionString =
      xmltest::Parse("<dbConnection><database>d</database><dbType>t</dbType></dbConnection>");
  EXPECT_ORV_ASSERT(connection.Take(noConnectionString),
                    "ORV_ASSERT(!connectionStringElem.isNull());", kUnit);

  // Values read before the failure stay read.
  ORVIDOM_Element noDatabase = xmltest::Parse(
      "<dbConnection><connectionString>cs</connectionString><dbType>t</dbType></dbConnection>");
  EXPECT_ORV_ASSERT(connection.Take(noDatabase), "ORV_ASSERT(!databaseElem.isNull());", kUnit);
  EXPECT_EQ(connection.getConnectionString(), "cs");

  // The type may be left out when writing but not when reading, even the helper's own element.
  ORVIDOM_Element made;
  MinimalConnection("d", "cs").Make(made);
  EXPECT_ORV_ASSERT(connection.Take(made), "ORV_ASSERT(!dbTypeElem.isNull());", kUnit);
}

TEST(ZoActionHelperDBConnectionsTest, MakeCopiesEveryConnectionInOrder) {
  ZoActionHelperDBConnection first = MinimalConnection("one", "cs1");
  first.setDbType("t1");
  ORVIDOM_Element firstElem, secondElem;
  first.Make(firstElem);
  MinimalConnection("two", "cs2").Make(secondElem);

  ZoActionHelperDBConnections connections;
  connections.addDom(firstElem);
  connections.addDom(secondElem);
  connections.addDom(firstElem);  // Duplicates are kept.
  ORVIDOM_Element elem;
  connections.Make(elem);
  EXPECT_TRUE(xmltest::SameTree(elem, R"(
    <dbConnections>
      <dbConnection><database>one</database><dbType>t1</dbType><connectionString>cs1</connectionString></dbConnection>
      <dbConnection><database>two</database><connectionString>cs2</connectionString></dbConnection>
      <dbConnection><database>one</database><dbType>t1</dbType><connectionString>cs1</connectionString></dbConnection>
    </dbConnections>)"));

  // The listed elements are copied, not moved.
  EXPECT_NE(elem.getFirstChild(), firstElem);
  EXPECT_NE(firstElem.getOwnerDocument(), elem.getOwnerDocument());
  EXPECT_EQ(ORVIDOM_Helper::getElementText(firstElem.getFirstChild()), "one");
  const std::vector<ORVIDOM_Element> listed = connections.getDomVector();
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0], firstElem);
  EXPECT_EQ(listed[1], secondElem);
}

TEST(ZoActionHelperDBConnectionsTest, MakeRefusesAnEmptyListAndANullHandle) {
  const ORVIDOM_Element before = xmltest::Parse("<mine/>");
  ORVIDOM_Element elem = before;
  ZoActionHelperDBConnections connections;
  EXPECT_ORV_ASSERT(connections.Make(elem), "ORV_ASSERT(!m_dbConnections.empty());", kUnit);

  // A null handle among good ones is refused before anything is written.
  ORVIDOM_Element good, null;
  MinimalConnection("d", "cs").Make(good);
  connections.addDom(good);
  connections.addDom(null);
  EXPECT_ORV_ASSERT(connections.Make(elem), "ORV_ASSERT(!dbConnection.isNull());", kUnit);
  EXPECT_EQ(elem, before);
}

TEST(ZoActionHelperDBConnectionsTest, TakeCollectsConnectionsAtAnyDepth) {
  ORVIDOM_Element received = xmltest::Parse(R"(
    <response>
      <dbConnection><database>a</database></dbConnection>
      <group>
        <dbConnection><database>b</database></dbConnection>
      </group>
      <dbConnection><database>c</database></dbConnection>
    </response>)");
  ZoActionHelperDBConnections connections;
  connections.Take(received);
  std::vector<ORVIDOM_Element> found = connections.getDomVector();
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(ORVIDOM_Helper::getElementText(found[0].getFirstChild()), "a");
  EXPECT_EQ(ORVIDOM_Helper::getElementText(found[1].getFirstChild()), "b");
  EXPECT_EQ(ORVIDOM_Helper::getElementText(found[2].getFirstChild()), "c");

  // A second Take appends; an element without connections adds nothing and is no error.
  connections.Take(received);
  ORVIDOM_Element empty = xmltest::Parse("<dbConnections/>");
  connections.Take(empty);
  EXPECT_EQ(connections.getDomVector().size(), 6u);

  ORVIDOM_Element null;
  EXPECT_ORV_ASSERT(connections.Take(null), "ORV_ASSERT(!m_requestRoot.isNull());", kUnit);
}

TEST(ZoActionHelperDBConnectionsTest, RoundTripGivesBackEveryConnection) {
  ZoActionHelperDBConnection full = MinimalConnection("Sales", "DSN=a<b");
  full.setCatalog("cat");
  full.setSchema("sch");
  full.setDbType("typeC");
  full.setUserName("user");
  full.setPassword("pw & more");
  ZoActionHelperDBConnection minimal = MinimalConnection("HR", "DSN=hr");
  minimal.setDbType("typeD");

  ZoActionHelperDBConnections connections;
  for (const ZoActionHelperDBConnection* connection : {&full, &minimal}) {
    ORVIDOM_Element made;
    connection->Make(made);
    connections.addDom(made);
  }
  ORVIDOM_Element elem;
  connections.Make(elem);

  for (const bool indent : {false, true}) {
    ORVIDOM_Element received =
        xmltest::Parse(ORVIDOM_Writer::toString(elem, {indent, /*declaration=*/true}));
    ZoActionHelperDBConnections readConnections;
    readConnections.Take(received);
    std::vector<ORVIDOM_Element> found = readConnections.getDomVector();
    ASSERT_EQ(found.size(), 2u);

    ZoActionHelperDBConnection first, second;
    first.Take(found[0]);
    second.Take(found[1]);
    EXPECT_EQ(first.getDatabase(), "Sales");
    EXPECT_EQ(first.getCatalog(), "cat");
    EXPECT_EQ(first.getSchema(), "sch");
    EXPECT_EQ(first.getDbType(), "typeC");
    EXPECT_EQ(first.getConnectionString(), "DSN=a<b");
    EXPECT_EQ(first.getUserName(), "user");
    EXPECT_EQ(first.getPassword(), "pw & more");
    EXPECT_EQ(second.getDatabase(), "HR");
    EXPECT_EQ(second.getCatalog(), "");
    EXPECT_EQ(second.getDbType(), "typeD");
    EXPECT_EQ(second.getConnectionString(), "DSN=hr");
    EXPECT_EQ(second.getPassword(), "");
  }
}

}  // namespace
