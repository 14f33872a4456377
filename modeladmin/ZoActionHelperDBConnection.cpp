#include "modeladmin/ZoActionHelperDBConnection.h"

#include "modeladmin/ZoActionHelperDBConnections.h"
#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

const I18NString kElemDbConnections("dbConnections");
const I18NString kElemDbConnection("dbConnection");
const I18NString kElemDatabase("database");
const I18NString kElemCatalog("catalog");
const I18NString kElemSchema("schema");
const I18NString kElemDbType("dbType");
const I18NString kElemConnectionString("connectionString");
const I18NString kElemUserName("userName");
const I18NString kElemPassword("password");

ORVIDOM_Element addTextChild(const ORVIDOM_Element& parent, const I18NString& name,
                             const I18NString& text) {
  return ORVIDOM_Helper::findOrCreateElementWithText(parent, name, text);
}

// Replaces `value` by the text of the child `name` when there is one.
void readOptionalChild(const ORVIDOM_Element& parent, const I18NString& name, I18NString& value) {
  const ORVIDOM_Element child = ORVIDOM_Helper::findChildElement(parent, name);
  if (!child.isNull()) ORVIDOM_Helper::getElementText(child, value);
}

}  // namespace

void ZoActionHelperDBConnection::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& domRequest) const {
  ORV_ASSERT(!m_connectionString.empty() && !m_database.empty());
  domRequest = doc.createElement(kElemDbConnection);
  ORV_ASSERT(!domRequest.isNull());
  doc.appendChild(domRequest);

  const ORVIDOM_Element databaseElem = addTextChild(domRequest, kElemDatabase, m_database);
  ORV_ASSERT(!databaseElem.isNull());
  if (!m_catalog.empty()) {
    const ORVIDOM_Element catalogElem = addTextChild(domRequest, kElemCatalog, m_catalog);
    ORV_ASSERT(!catalogElem.isNull());
  }
  if (!m_schema.empty()) {
    const ORVIDOM_Element schemaElem = addTextChild(domRequest, kElemSchema, m_schema);
    ORV_ASSERT(!schemaElem.isNull());
  }
  if (!m_databaseType.empty()) {
    const ORVIDOM_Element dbTypeElem = addTextChild(domRequest, kElemDbType, m_databaseType);
    ORV_ASSERT(!dbTypeElem.isNull());
  }
  const ORVIDOM_Element connectionStringElem =
      addTextChild(domRequest, kElemConnectionString, m_connectionString);
  ORV_ASSERT(!connectionStringElem.isNull());
  if (!m_userName.empty()) {
    const ORVIDOM_Element userNameElem = addTextChild(domRequest, kElemUserName, m_userName);
    ORV_ASSERT(!userNameElem.isNull());
  }
  if (!m_password.empty()) {
    const ORVIDOM_Element passwordElem = addTextChild(domRequest, kElemPassword, m_password);
    ORV_ASSERT(!passwordElem.isNull());
  }
  m_requestRoot = domRequest;
}

void ZoActionHelperDBConnection::doTake(ORVIDOM_Element& elem) {
  m_requestRoot = elem;
  ORV_ASSERT(!m_requestRoot.isNull());

  const ORVIDOM_Element connectionStringElem =
      ORVIDOM_Helper::findChildElement(m_requestRoot, kElemConnectionString);
  ORV_ASSERT(!connectionStringElem.isNull());
  ORVIDOM_Helper::getElementText(connectionStringElem, m_connectionString);

  const ORVIDOM_Element databaseElem =
      ORVIDOM_Helper::findChildElement(m_requestRoot, kElemDatabase);
  ORV_ASSERT(!databaseElem.isNull());
  ORVIDOM_Helper::getElementText(databaseElem, m_database);

  readOptionalChild(m_requestRoot, kElemCatalog, m_catalog);
  readOptionalChild(m_requestRoot, kElemSchema, m_schema);

  // The type may be left out when writing, but a received connection must name it.
  const ORVIDOM_Element dbTypeElem = ORVIDOM_Helper::findChildElement(m_requestRoot, kElemDbType);
  ORV_ASSERT(!dbTypeElem.isNull());
  ORVIDOM_Helper::getElementText(dbTypeElem, m_databaseType);

  readOptionalChild(m_requestRoot, kElemUserName, m_userName);
  readOptionalChild(m_requestRoot, kElemPassword, m_password);
}

void ZoActionHelperDBConnections::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& domRequest) const {
  ORV_ASSERT(!m_dbConnections.empty());
  // A null handle usually comes from a connection whose Make failed; writing the collection
  // without it would silently drop that connection, so it is refused before anything is written.
  for (const ORVIDOM_Element& dbConnection : m_dbConnections) ORV_ASSERT(!dbConnection.isNull());

  domRequest = doc.createElement(kElemDbConnections);
  ORV_ASSERT(!domRequest.isNull());
  doc.appendChild(domRequest);
  for (const ORVIDOM_Element& dbConnection : m_dbConnections) {
    domRequest.appendChild(doc.importNode(dbConnection, true));
  }
  m_requestRoot = domRequest;
}

void ZoActionHelperDBConnections::doTake(ORVIDOM_Element& elem) {
  m_requestRoot = elem;
  ORV_ASSERT(!m_requestRoot.isNull());
  const ORVIDOM_NodeList found = m_requestRoot.getElementsByTagName(kElemDbConnection);
  for (unsigned long i = 0; i < found.getLength(); ++i) addDom(found.item(i));
}
