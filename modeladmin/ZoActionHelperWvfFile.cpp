#include "modeladmin/ZoActionHelperWvfFile.h"

#include "orvcore/ORVAssertError.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

const I18NString kElemFile("file");
const I18NString kElemFilePath("filePath");
const I18NString kElemContents("contents");
const I18NString kElemLine("line");
const I18NString kElemDbConnectionName("dbConnectionName");
const I18NString kElemCmDataSource("cmDataSource");

// A new "line" element with the line as text, appended to `contents`. Lines are appended, never
// looked up by text: blank and repeated lines of the file are data and must come back on reading,
// and appending keeps a long file linear to write. An empty line gets no text node, as an empty
// text has no written form.
ORVIDOM_Element appendLine(ORVIDOM_Document& doc, const ORVIDOM_Element& contents,
                           const I18NString& text) {
  ORVIDOM_Element line = doc.createElement(kElemLine);
  if (!text.empty()) line.appendChild(doc.createTextNode(text));
  contents.appendChild(line);
  return line;
}

// Replaces `field` by the text of the direct child `name` of `parent`, when there is one.
void readChildText(const ORVIDOM_Element& parent, const I18NString& name, I18NString& field) {
  ORVIDOM_Element child = ORVIDOM_Helper::findChildElement(parent, name);
  if (!child.isNull()) field = ORVIDOM_Helper::getElementText(child);
}

}  // namespace

void ZoActionHelperWvfFile::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& domRequest) const {
  domRequest = doc.createElement(kElemFile);
  ORV_ASSERT(!domRequest.isNull());
  doc.appendChild(domRequest);

  ORVIDOM_Element filePathElem =
      ORVIDOM_Helper::findOrCreateElementWithText(domRequest, kElemFilePath, m_filePath);
  ORV_ASSERT(!filePathElem.isNull());

  if (m_contents.empty()) ORV_ASSERT(false);
  ORVIDOM_Element contents = ORVIDOM_Helper::findOrCreateElement(domRequest, kElemContents);
  ORV_ASSERT(!contents.isNull());
  for (const I18NString& text : m_contents) {
    ORVIDOM_Element line = appendLine(doc, contents, text);
    ORV_ASSERT(!line.isNull());
  }

  if (!m_dbConnectionName.empty()) {
    ORVIDOM_Element dbConnectionName = ORVIDOM_Helper::findOrCreateElementWithText(
        domRequest, kElemDbConnectionName, m_dbConnectionName);
    ORV_ASSERT(!dbConnectionName.isNull());
  }
  if (!m_cmDataSource.empty()) {
    ORVIDOM_Element cmDataSource =
        ORVIDOM_Helper::findOrCreateElementWithText(domRequest, kElemCmDataSource, m_cmDataSource);
    ORV_ASSERT(!cmDataSource.isNull());
  }
}

void ZoActionHelperWvfFile::doTake(ORVIDOM_Element& elem) {
  readChildText(elem, kElemFilePath, m_filePath);
  ORVIDOM_Element contents = ORVIDOM_Helper::findChildElement(elem, kElemContents);
  if (!contents.isNull()) {
    ORVIDOM_NodeList lines = contents.getElementsByTagName(kElemLine);
    for (unsigned long i = 0; i < lines.getLength(); ++i) {
      addContentLine(ORVIDOM_Helper::getElementText(lines.item(i)));
    }
  }
  readChildText(elem, kElemDbConnectionName, m_dbConnectionName);
  readChildText(elem, kElemCmDataSource, m_cmDataSource);
}
