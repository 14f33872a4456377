#include "queryframework/XelTestConnectionHelper.h"

#include "core/Resources.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

const I18NString kAttrValue("value");

// Finds or creates the child `name` of `parent` whose "value" is `value`.
ORVIDOM_Element ValueChild(const ORVIDOM_Element& parent, const I18NString& name,
                           const I18NString& value) {
  return ORVIDOM_Helper::findOrCreateElementWithAttribute(parent, name, kAttrValue, value);
}

}  // namespace

XelTestConnectionHelper::XelTestConnectionHelper(const I18NString& dataSource,
                                                 const I18NString& connectionName,
                                                 const I18NString& signon,
                                                 const I18NString& userName,
                                                 const I18NString& password)
    : m_dataSource(dataSource),
      m_connectionName(connectionName),
      m_signon(signon),
      m_userName(userName),
      m_password(password) {}

XelTestConnectionHelper::~XelTestConnectionHelper() = default;

void XelTestConnectionHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(korvath_actionhelper_resources_command_str);
  const ORVIDOM_Element service =
      ORVIDOM_Helper::findOrCreateElement(elem, korvath_actionhelper_resources_connection_str);
  ValueChild(service, korvath_actionhelper_resources_dataSourceType_str,
             korvath_actionhelper_resources_QueryFrameworkService_str);
  MakeTestedConnection(
      ORVIDOM_Helper::findOrCreateElement(service, korvath_actionhelper_resources_connection_str));
  ORVIDOM_Helper::findOrCreateElement(elem, korvath_actionhelper_resources_testConnection_str);
}

void XelTestConnectionHelper::MakeTestedConnection(const ORVIDOM_Element& connection) const {
  ValueChild(connection, korvath_actionhelper_resources_dataSource_str, m_dataSource);
  ValueChild(connection, korvath_actionhelper_resources_dataSourceType_str,
             korvath_actionhelper_resources_Database_str);
  ORVIDOM_Helper::findOrCreateElement(connection,
                                      korvath_actionhelper_resources_connectionString_str);
  if (!m_connectionName.empty()) {
    ValueChild(connection, korvath_actionhelper_resources_name_str, m_connectionName);
  }
  if (!m_userName.empty()) {
    ValueChild(connection, korvath_actionhelper_resources_username_str, m_userName);
  }
  if (!m_password.empty()) {
    ValueChild(connection, korvath_actionhelper_resources_password_str, m_password);
  }
  if (!m_signon.empty()) {
    const ORVIDOM_Element signon =
        ORVIDOM_Helper::findOrCreateElement(connection, korvath_actionhelper_resources_signon_str);
    ValueChild(signon, korvath_actionhelper_resources_name_str, m_signon);
  }
}
