// Element building and name tables shared by the model task helpers. Internal to the library.
#pragma once

#include "core/Resources.h"
#include "orvidom/ORVIDOM_Document.h"

namespace modeltasks {

// Creates an element of that name whose only content is `text`, and appends it to `parent`.
inline void appendTextElement(ORVIDOM_Document& doc, const ORVIDOM_Element& parent,
                              const I18NString& name, const I18NString& text) {
  parent.appendElement(name).appendChild(doc.createTextNode(text));
}

// The name at `index` of a table of `count` names whose entry 0 stands for the unknown value;
// "unknown" outside the table.
inline const I18NString& nameAt(const I18NString* const* names, int count, int index) {
  if (index <= 0 || index >= count) return korvath_actionhelper_resources_unknown_str;
  return *names[index];
}

// The index of `name` in such a table; 0 when no entry has it.
inline int indexOf(const I18NString* const* names, int count, const I18NString& name) {
  for (int i = 1; i < count; ++i) {
    if (*names[i] == name) return i;
  }
  return 0;
}

}  // namespace modeltasks
