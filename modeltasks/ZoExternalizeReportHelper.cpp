#include "modeltasks/ZoExternalizeReportHelper.h"

#include <memory>

#include "core/OwnedList.h"
#include "core/Resources.h"
#include "orvcore/ORVAssertError.h"

ZoExternalizeReportHelper::Entry::Entry(const I18NString& objectID, const I18NString& method,
                                        const I18NString& path, const I18NString& error)
    : objectID(objectID), method(method), path(path), error(error) {}

ZoExternalizeReportHelper::~ZoExternalizeReportHelper() { DeleteAll(m_entries); }

void ZoExternalizeReportHelper::AddEntry(Entry* pEntry) {
  ORV_ASSERT(pEntry);
  AppendOwned(m_entries, std::unique_ptr<Entry>(pEntry));
}

void ZoExternalizeReportHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(korvath_actionhelper_resources_externalizeReport_str);
  for (const Entry* entry : m_entries) {
    const ORVIDOM_Element entryElem = doc.createElement(korvath_actionhelper_resources_entry_str);
    entryElem.setAttribute(korvath_actionhelper_resources_objectID_str, entry->objectID);
    entryElem.setAttribute(korvath_actionhelper_resources_method_str, entry->method);
    entryElem.setAttribute(korvath_actionhelper_resources_error_str, entry->error);
    entryElem.setAttribute(korvath_actionhelper_resources_path_str, entry->path);
    elem.appendChild(entryElem);
  }
}

void ZoExternalizeReportHelper::doTake(ORVIDOM_Element& elem) {
  const ORVIDOM_NodeList entries =
      elem.getElementsByTagName(korvath_actionhelper_resources_entry_str);
  for (unsigned long i = 0; i < entries.getLength(); ++i) {
    const ORVIDOM_Element entry = entries.item(i);
    I18NString path;
    // The last "file" child names the file.
    for (ORVIDOM_Node child = entry.getFirstChild(); !child.isNull();
         child = child.getNextSibling()) {
      if (child.getNodeType() == ORVIDOM_Node::ELEMENT_NODE &&
          child.getNodeName() == korvath_actionhelper_resources_file_str) {
        path = ORVIDOM_Element(child).getAttribute(korvath_actionhelper_resources_path_str);
      }
    }
    AddEntry(new Entry(entry.getAttribute(korvath_actionhelper_resources_objectID_str),
                       entry.getAttribute(korvath_actionhelper_resources_method_str), path,
                       I18NString()));
  }
}
