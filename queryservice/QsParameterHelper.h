// One parameter of the query service interface: the "item" element that describes a parameter
// (name, type, captions, capabilities, default, possible and current values). Read from a
// received description, mostly on demand, and written back with the values the client chose.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/queryservice/QsParamValueItemHierarchyHelper.h>
#include <Korvath_ActionHelper/queryservice/QsParamValueItemRangeHelper.h>
#include <Korvath_ActionHelper/queryservice/QsParamValueItemSimpleHelper.h>

class KORVATH_API QsParameterHelper : public ActionHandlerBase {
 public:
  // The parameter's name in one locale.
  struct Caption {
    I18NString m_locale;
    I18NString m_value;
  };

  // What the parameter accepts, from the texts of its "capabilities" items.
  enum EParameterCapability {
    kCapabilityUnknown = 0,
    kCapabilityBoundRange = 1,
    kCapabilityDefaultValueNotAcceptable = 2,
    kCapabilityDiscreteValue = 3,
    kCapabilityExcludeValues = 4,
    kCapabilityMultivalued = 5,
    kCapabilityOptional = 6,
    kCapabilityUnboundedRange = 7,
  };

  QsParameterHelper() = default;
  QsParameterHelper(const I18NString& name, const I18NString& type) : m_type(type), m_name(name) {}
  ~QsParameterHelper() override;
  QsParameterHelper(const QsParameterHelper&) = delete;
  QsParameterHelper& operator=(const QsParameterHelper&) = delete;

  // The text that selects `capability`; "unknown" for kCapabilityUnknown and any other value.
  static const I18NString& ToString(EParameterCapability capability);

  const I18NString& GetName() const { return m_name; }
  // The parameter's data type.
  const I18NString& GetType() const { return m_type; }

  // The model items behind the parameter; read, never written.
  const I18NString& GetModelDisplayItem() const { return m_modelDisplayItem; }
  const I18NString& GetModelFilterItem() const { return m_modelFilterItem; }
  const I18NString& GetModelUseItem() const { return m_modelUseItem; }
  void SetModelDisplayItem(const I18NString& item) { m_modelDisplayItem = item; }
  void SetModelFilterItem(const I18NString& item) { m_modelFilterItem = item; }
  void SetModelUseItem(const I18NString& item) { m_modelUseItem = item; }

  // The readers below fill their list from the received element on the first call that finds
  // it empty, and keep it.
  const std::vector<Caption*>& GetCaptions();
  const std::vector<EParameterCapability>& GetCapabilities();
  const std::vector<QsParamValueItemHelper*>& GetPossibleValues();
  // The current values: those added, or else those of the received element.
  const std::vector<QsParamValueItemHelper*>& GetValues();
  // The default value; null when there is none or it is nil.
  const QsParamValueItemHelper* GetDefaultValue();

  // Each appends a new current value and returns it; the parameter keeps ownership.
  QsParamValueItemSimpleHelper* AddSimpleValue(const I18NString& use, int inclusive);
  QsParamValueItemRangeHelper* AddRangeValue();
  QsParamValueItemHierarchyHelper* AddHierarchicalValue();
  void AddNullValue();

  // Drops the current values, and the first "value" child of the received element, so that
  // the values written are only those added afterwards.
  void RemoveValues();

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  void doTake(ORVIDOM_Element& elem) override;

 private:
  // Appends to `list` an item per "item" child of `parent` with a known type; nil is skipped.
  static void readItems(const ORVIDOM_Node& parent, std::vector<QsParamValueItemHelper*>& list);
  template <class Item>
  Item* addValue(std::unique_ptr<Item> item);

  ORVIDOM_Element m_element;
  std::vector<EParameterCapability> m_capabilities;
  std::vector<QsParamValueItemHelper*> m_possibleValues;
  QsParamValueItemHelper* m_defaultValue = nullptr;
  std::vector<Caption*> m_captions;
  I18NString m_type;
  I18NString m_name;
  I18NString m_modelDisplayItem;
  I18NString m_modelFilterItem;
  I18NString m_modelUseItem;
  std::vector<QsParamValueItemHelper*> m_values;
};
