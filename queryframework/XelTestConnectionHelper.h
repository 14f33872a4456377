// The request "command" asking the query framework service to test a database connection: an
// outer connection to the service holding the connection under test, then "testConnection".
#pragma once

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>

class KORVATH_API XelTestConnectionHelper : public ActionHandlerBase {
 public:
  XelTestConnectionHelper(const I18NString& dataSource, const I18NString& connectionName,
                          const I18NString& signon, const I18NString& userName,
                          const I18NString& password);
  ~XelTestConnectionHelper() override;

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;

 private:
  // Fills the connection under test; the optional parts only when their text is not empty.
  void MakeTestedConnection(const ORVIDOM_Element& connection) const;

  I18NString m_dataSource;
  I18NString m_connectionName;
  I18NString m_signon;
  I18NString m_userName;
  // Kept and written as given, in plain text.
  I18NString m_password;
};
