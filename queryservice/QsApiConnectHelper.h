// Writes the "connection" element that opens a session on the query service interface: the
// provider's data source type, the sign-on and session settings, the models and the connection
// properties. Static helpers refresh an existing request and give session and service IDs.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NLocale.h>

class KORVATH_API QsApiConnectHelper : public ActionHandlerBase {
 public:
  // A helper whose only setting is the service ID "Zo", for the "QueryFrameworkService"
  // provider.
  QsApiConnectHelper();
  ~QsApiConnectHelper() override;

  void SetProviderType(const I18NString& type) { m_providerType = type; }
  void SetNamespace(const I18NString& value);
  void SetUserName(const I18NString& value);
  void SetPassword(const I18NString& value);
  void SetPassport(const I18NString& value);
  void SetContentManagerURI(const I18NString& value);
  void SetRunLocale(const I18NLocale& locale);
  void SetProductLocale(const I18NLocale& locale);
  void SetSessionID(const unsigned long& sessionID);
  // Sets a setting named `name`, written as an element of that name; an empty value leaves the
  // element out.
  void AddProperty(const I18NString& name, const I18NString& value);
  // Written as the "property" elements "RETAINCONNECTION" and "disableAuthentication".
  void SetRetainConnection(bool retain);
  void SetDisableAuthentication(bool disable);
  // Appends a model to connect to; an engine model has the data source type "vrmModel".
  void AddModel(const I18NString& name, bool engineModel);

  // Brings the passport (when not empty) and the locales given (when not null) of `request` up
  // to date, adding the elements that are missing.
  static void RefreshRequest(ORVIDOM_Element& request, const I18NString& passport,
                             const I18NLocale* productLocale, const I18NLocale* runLocale);
  // The session number in decimal, never with a sign.
  static I18NString MakeSessionID(const unsigned long& sessionID);
  // The default service ID "Zo"; one string for the life of the process, safe from any thread.
  static const I18NString& GetZoServiceID();

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;

 private:
  void setProperty(const I18NString& name, bool value);

  std::map<I18NString, I18NString> m_settings;
  std::map<I18NString, I18NString> m_properties;
  std::vector<std::pair<I18NString, I18NString>> m_models;
  I18NString m_providerType;
};
