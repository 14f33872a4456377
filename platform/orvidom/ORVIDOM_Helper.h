// Searches and find-or-create operations on elements.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Element.h>

class KORVATH_API ORVIDOM_Helper {
 public:
  // The first direct child element of that name; null when there is none.
  static ORVIDOM_Element findChildElement(const ORVIDOM_Node& parent, const I18NString& name);
  // The first element of that name among the siblings after `node`; null when there is none.
  // With findChildElement it walks a parent's children of one name without a handle per child.
  static ORVIDOM_Element findNextSiblingElement(const ORVIDOM_Node& node, const I18NString& name);
  // The first element of that name at any depth below the parent, in document order.
  static ORVIDOM_Element findFirstElement(const ORVIDOM_Node& parent, const I18NString& name);
  // The first element of that name at any depth below the parent whose attribute has that value.
  static ORVIDOM_Element findElementWithAttribute(const ORVIDOM_Node& parent,
                                                  const I18NString& name,
                                                  const I18NString& attribute,
                                                  const I18NString& value);
  // The first direct child element of that name, or a new one appended to the parent.
  static ORVIDOM_Element findOrCreateElement(const ORVIDOM_Node& parent, const I18NString& name);
  // The first direct child element of that name whose text equals `text`, or a new one with
  // that text appended to the parent.
  static ORVIDOM_Element findOrCreateElementWithText(const ORVIDOM_Node& parent,
                                                     const I18NString& name,
                                                     const I18NString& text);
  // The first direct child element of that name whose attribute has that value, or a new one
  // with the attribute set appended to the parent.
  static ORVIDOM_Element findOrCreateElementWithAttribute(const ORVIDOM_Node& parent,
                                                          const I18NString& name,
                                                          const I18NString& attribute,
                                                          const I18NString& value);
  // Appends to `values` the attribute's value (empty when absent) of each direct child element of
  // that name, in order: a walk over one element's children without a handle per child.
  static void appendChildAttributes(const ORVIDOM_Node& parent, const I18NString& name,
                                    const I18NString& attribute, std::vector<I18NString>& values);
  // The element's text: its direct text and CDATA children joined; empty for a null handle.
  static I18NString getElementText(const ORVIDOM_Node& element);
  // Puts the element's text, as above, into `text`.
  static void getElementText(const ORVIDOM_Node& element, I18NString& text);
};
