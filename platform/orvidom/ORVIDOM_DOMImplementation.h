// The factory of new documents.
#pragma once

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Document.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_DocumentType.h>

class KORVATH_API ORVIDOM_DOMImplementation {
 public:
  // A null handle; getInstance() gives the implementation.
  ORVIDOM_DOMImplementation() noexcept = default;
  // The implementation.
  static ORVIDOM_DOMImplementation getInstance() noexcept {
    return ORVIDOM_DOMImplementation(true);
  }
  // A new document whose document element is `qualifiedName`, declared in `namespaceURI`
  // (an "xmlns" or "xmlns:prefix" attribute) unless that is empty.
  ORVIDOM_Document createDocument(const I18NString& namespaceURI, const I18NString& qualifiedName,
                                  const ORVIDOM_DocumentType& doctype) const;
  // True for a default-constructed handle. It still makes documents: the implementation has no
  // state, and a null handle is safe to call.
  bool isNull() const noexcept { return !m_instance; }

 private:
  explicit ORVIDOM_DOMImplementation(bool instance) noexcept : m_instance(instance) {}
  bool m_instance = false;
};
