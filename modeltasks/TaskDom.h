// Element building shared by the model task helpers. Internal to the library.
#pragma once

#include "orvidom/ORVIDOM_Document.h"

namespace modeltasks {

// Creates an element of that name and appends it to `parent`.
inline ORVIDOM_Element appendElement(ORVIDOM_Document& doc, const ORVIDOM_Element& parent,
                                     const I18NString& name) {
  const ORVIDOM_Element child = doc.createElement(name);
  parent.appendChild(child);
  return child;
}

// Creates an element of that name whose only content is `text`, and appends it to `parent`.
inline void appendTextElement(ORVIDOM_Document& doc, const ORVIDOM_Element& parent,
                              const I18NString& name, const I18NString& text) {
  appendElement(doc, parent, name).appendChild(doc.createTextNode(text));
}

}  // namespace modeltasks
