// The factory of new documents.
#pragma once

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Document.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_DocumentType.h>

class KORVATH_API ORVIDOM_DOMImplementation {
 public:
  // The implementation.
  static ORVIDOM_DOMImplementation getInstance() noexcept { return {}; }
  // A new document whose document element is `qualifiedName`, declared in `namespaceURI`
  // (an "xmlns" or "xmlns:prefix" attribute) unless that is empty.
  ORVIDOM_Document createDocument(const I18NString& namespaceURI, const I18NString& qualifiedName,
                                  const ORVIDOM_DocumentType& doctype) const;
  // False: the implementation is always there.
  bool isNull() const noexcept { return false; }
};
