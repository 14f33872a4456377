#include "queryservice/QsApiConnectHelper.h"

#include "core/Resources.h"
#include "orvcore/ORVUtConvert.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

const I18NString kQueryFrameworkService("QueryFrameworkService");

// A new element `name` with the attribute "value", appended to `parent`.
ORVIDOM_Element appendWithValue(ORVIDOM_Document& doc, ORVIDOM_Element& parent,
                                const I18NString& name, const I18NString& value) {
  ORVIDOM_Element elem = doc.createElement(name);
  elem.setAttribute(korvath_actionhelper_resources_value_str, value);
  parent.appendChild(elem);
  return elem;
}

void refreshValue(ORVIDOM_Element& request, const I18NString& name, const I18NString& value) {
  ORVIDOM_Helper::findOrCreateElement(request, name)
      .setAttribute(korvath_actionhelper_resources_value_str, value);
}

}  // namespace

QsApiConnectHelper::QsApiConnectHelper() : m_providerType(kQueryFrameworkService) {
  m_settings[korvath_actionhelper_resources_serviceID_str] = GetZoServiceID();
}

QsApiConnectHelper::~QsApiConnectHelper() = default;

void QsApiConnectHelper::SetNamespace(const I18NString& value) {
  m_settings[korvath_actionhelper_resources_namespace_str] = value;
}

void QsApiConnectHelper::SetUserName(const I18NString& value) {
  m_settings[korvath_actionhelper_resources_username_str] = value;
}

void QsApiConnectHelper::SetPassword(const I18NString& value) {
  m_settings[korvath_actionhelper_resources_password_str] = value;
}

void QsApiConnectHelper::SetPassport(const I18NString& value) {
  m_settings[korvath_actionhelper_resources_WexPassport_str] = value;
}

void QsApiConnectHelper::SetContentManagerURI(const I18NString& value) {
  m_settings[korvath_actionhelper_resources_contentManagerURI_str] = value;
}

void QsApiConnectHelper::SetRunLocale(const I18NLocale& locale) {
  m_settings[korvath_actionhelper_resources_runLocale_str] = locale.getName();
}

void QsApiConnectHelper::SetProductLocale(const I18NLocale& locale) {
  m_settings[korvath_actionhelper_resources_productLocale_str] = locale.getName();
}

void QsApiConnectHelper::SetSessionID(const unsigned long& sessionID) {
  m_settings[korvath_actionhelper_resources_sessionID_str] = MakeSessionID(sessionID);
}

void QsApiConnectHelper::AddProperty(const I18NString& name, const I18NString& value) {
  m_settings[name] = value;
}

void QsApiConnectHelper::SetRetainConnection(bool retain) {
  setProperty(korvath_actionhelper_resources_RETAINCONNECTION_str, retain);
}

void QsApiConnectHelper::SetDisableAuthentication(bool disable) {
  setProperty(korvath_actionhelper_resources_disableAuthentication_str, disable);
}

void QsApiConnectHelper::setProperty(const I18NString& name, bool value) {
  m_properties[name] =
      value ? korvath_actionhelper_resources_TRUE_str : korvath_actionhelper_resources_FALSE_str;
}

void QsApiConnectHelper::AddModel(const I18NString& name, bool engineModel) {
  m_models.emplace_back(name, engineModel ? korvath_actionhelper_resources_vrmModel_str
                                          : korvath_actionhelper_resources_Model_str);
}

void QsApiConnectHelper::RefreshRequest(ORVIDOM_Element& request, const I18NString& passport,
                                        const I18NLocale* productLocale,
                                        const I18NLocale* runLocale) {
  if (!passport.empty()) {
    refreshValue(request, korvath_actionhelper_resources_WexPassport_str, passport);
  }
  if (productLocale) {
    refreshValue(request, korvath_actionhelper_resources_productLocale_str,
                 productLocale->getName());
  }
  if (runLocale) {
    refreshValue(request, korvath_actionhelper_resources_runLocale_str, runLocale->getName());
  }
}

// Session numbers are unsigned: every one, 2147483648 and above included, is written in full
// and without a sign, so that no session is sent under a number the service did not issue.
I18NString QsApiConnectHelper::MakeSessionID(const unsigned long& sessionID) {
  return ORVUtConvert::ulongCvt(sessionID, 1, '0');
}

// A function-local static is built exactly once even when the first calls race.
const I18NString& QsApiConnectHelper::GetZoServiceID() {
  static const I18NString serviceID(korvath_actionhelper_resources_Zo_str);
  return serviceID;
}

void QsApiConnectHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(korvath_actionhelper_resources_connection_str);
  appendWithValue(doc, elem, korvath_actionhelper_resources_dataSourceType_str, m_providerType);
  for (const auto& [name, value] : m_settings) {
    if (!value.empty()) appendWithValue(doc, elem, name, value);
  }
  for (const auto& [name, type] : m_models) {
    ORVIDOM_Element model = doc.createElement(korvath_actionhelper_resources_connection_str);
    elem.appendChild(model);
    appendWithValue(doc, model, korvath_actionhelper_resources_name_str, name);
    appendWithValue(doc, model, korvath_actionhelper_resources_dataSourceType_str, type);
  }
  for (const auto& [name, value] : m_properties) {
    ORVIDOM_Element property = doc.createElement(korvath_actionhelper_resources_property_str);
    property.setAttribute(korvath_actionhelper_resources_name_str, name);
    property.setAttribute(korvath_actionhelper_resources_value_str, value);
    elem.appendChild(property);
  }
}
