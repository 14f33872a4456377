// Element building and name-table lookups shared by the model task helpers. Internal to the
// library.
#pragma once

#include "core/NameTable.h"
#include "core/Resources.h"
#include "modeltasks/ZoUpdateObjectRequestHelper.h"
#include "orvidom/ORVIDOM_Document.h"

namespace modeltasks {

// Creates an element of that name whose only content is `text`, and appends it to `parent`.
inline void appendTextElement(ORVIDOM_Document& doc, const ORVIDOM_Element& parent,
                              const I18NString& name, const I18NString& text) {
  parent.appendElement(name).appendChild(doc.createTextNode(text));
}

// The task kind of a zero-terminated XML name, read in place; kTaskUnknown when none matches.
ZoUpdateRequestTaskHelper::ETask taskNamed(const char* name);

// The name-table lookups the model task helpers use.
using nametable::indexOf;
using nametable::nameAt;

}  // namespace modeltasks
