// The base of the parameter value items: one "item" element, typed by its "xsi:type", that
// carries a current, default or possible value of a query service parameter.
#pragma once

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Document.h>

// Puts into `text` the text of the first direct child of `parent` named `name` that has a
// child; true when one was found. `text` is left alone otherwise.
KORVATH_API bool ReadChildText(ORVIDOM_Node parent, const I18NString& name, I18NString& text);

class KORVATH_API QsParamValueItemHelper : public ActionHandlerBase {
 public:
  // The class of an item.
  enum EItemType {
    kValueItemSimple = 1,
    kValueItemRange = 2,
    kValueItemHierarchy = 3,
    kValueItemNull = 4,
  };

  // The type names an item carries on the wire.
  enum ETesselItemType {
    kItemSimple = 1,
    kItemBoundRange = 2,
    kItemUnboundedStart = 3,
    kItemUnboundedEnd = 4,
    kItemHierarchical = 5,
    kItemNil = 6,
  };

  QsParamValueItemHelper(const QsParamValueItemHelper&) = delete;
  QsParamValueItemHelper& operator=(const QsParamValueItemHelper&) = delete;

  // The wire name of `type`; "unknown" for a value outside the enumeration.
  static const I18NString& ToString(ETesselItemType type);
  // The name of an item class ("simple", "range", "hierarchy", "null"); "unknown" for a value
  // outside the enumeration.
  static const I18NString& ToString(EItemType type);
  // A new item of the class that `type` names, read from `element`; null for "xsi:nil" and for
  // an empty type. The caller owns the result.
  static QsParamValueItemHelper* Create(const I18NString& type, ORVIDOM_Element& element);

  int IsInclusive() const { return m_inclusive; }
  void SetInclusive(int inclusive) { m_inclusive = inclusive; }

  virtual EItemType GetType() const = 0;
  // The "xsi:type" text the item is written with.
  virtual const I18NString& GetTesselType() const = 0;

 protected:
  explicit QsParamValueItemHelper(int inclusive) : m_inclusive(inclusive) {}

  // Writes "item" with its "xsi:type"; subclasses add their parts.
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Keeps the element and reads the inclusive flag.
  void doTake(ORVIDOM_Element& elmValueItem) override;
  // Writes the "inclusive" child into `elem`.
  virtual void makeProperties(ORVIDOM_Element& elem) const;
  // Lets one item write the properties of another, as ranges and hierarchy nodes do.
  static void MakePropertiesOf(const QsParamValueItemHelper& item, ORVIDOM_Element& elem) {
    item.makeProperties(elem);
  }
  // The element last read; null for an item built by the client.
  const ORVIDOM_Element& GetElement() const { return m_element; }

 private:
  // The parameter writes its items into its own document.
  friend class QsParameterHelper;

  ORVIDOM_Element m_element;
  int m_inclusive;
};
