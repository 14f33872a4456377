// Reads the configuration of a metadata import source: a "source" element with its query type,
// plug-in and interface type, the connection's provider and named items, and the source's
// capabilities. Every getter reads the element kept by Take afresh.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>

class KORVATH_API ZoActionHelperImportConfig : public ActionHandlerBase {
 public:
  // A named item of the connection and the name it carries in a request.
  struct KORVATH_API ConnectionItem {
    ConnectionItem(I18NString name, I18NString nameInRequest);
    // The item's "name" and "nameInRequest" attributes; an absent one reads as empty.
    static ConnectionItem Make(ORVIDOM_Element& item);

    I18NString m_name;
    I18NString m_nameInRequest;
  };

  // A capability of the source: a name and its value.
  struct KORVATH_API ConfigItem {
    ConfigItem(I18NString name, I18NString value);
    // The item's "name" and "value" attributes; an absent one reads as empty.
    static ConfigItem Make(ORVIDOM_Element& item);

    I18NString m_name;
    I18NString m_value;
  };

  ZoActionHelperImportConfig() = default;
  ~ZoActionHelperImportConfig() override = default;

  // The attribute getters return 1 when the string they produced is not empty, 0 otherwise;
  // before Take they return 0 and leave the string as it was.
  int getQueryType(I18NString& queryType) const;
  int getPluginName(I18NString& pluginName) const;
  int getInterfaceType(I18NString& interfaceType) const;
  // The "provider" of the first "connection"; the string is left as it was when there is none.
  int getConnectionProvider(I18NString& provider) const;

  // Append the items of the first "connection" (respectively "capabilities"); the list is not
  // cleared first.
  void getConnectionItems(std::vector<ConnectionItem>& items) const;
  void getCapabilities(std::vector<ConfigItem>& items) const;

 protected:
  // Keeps the "source" element; any other element is refused.
  void doTake(ORVIDOM_Element& elmSourceConfig) override;

 private:
  ORVIDOM_Element m_sourceElem;
};
