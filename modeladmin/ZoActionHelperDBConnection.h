// Makes and reads a "dbConnection" element: one database connection, each value a text child.
#pragma once

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>

class KORVATH_API ZoActionHelperDBConnection : public ActionHandlerBase {
 public:
  ZoActionHelperDBConnection() = default;

  void setDatabase(const I18NString& database) { m_database = database; }
  void setCatalog(const I18NString& catalog) { m_catalog = catalog; }
  void setSchema(const I18NString& schema) { m_schema = schema; }
  void setDbType(const I18NString& dbType) { m_databaseType = dbType; }
  void setConnectionString(const I18NString& connectionString) {
    m_connectionString = connectionString;
  }
  void setUserName(const I18NString& userName) { m_userName = userName; }
  // Carried as plain element text.
  void setPassword(const I18NString& password) { m_password = password; }

  I18NString getDatabase() const { return m_database; }
  I18NString getCatalog() const { return m_catalog; }
  I18NString getSchema() const { return m_schema; }
  I18NString getDbType() const { return m_databaseType; }
  I18NString getConnectionString() const { return m_connectionString; }
  I18NString getUserName() const { return m_userName; }
  I18NString getPassword() const { return m_password; }

 protected:
  // Refuses an empty database or connection string; the other values are written when set.
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& domRequest) const override;
  // Requires "connectionString", "database" and "dbType"; an absent optional value keeps the
  // value held before.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  I18NString m_database;
  I18NString m_catalog;
  I18NString m_schema;
  I18NString m_connectionString;
  I18NString m_databaseType;
  I18NString m_userName;
  I18NString m_password;
  // The element last written or read.
  mutable ORVIDOM_Element m_requestRoot;
};
