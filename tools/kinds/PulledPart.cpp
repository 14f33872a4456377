#include "PulledPart.h"

ORVIDOM_Element pulledPart(ORVIDOM_PullReader& reader, const std::string& rootName) {
  const ORVIDOM_Document doc =
      ORVIDOM_DOMImplementation::getInstance().createDocument("", rootName, {});
  const ORVIDOM_Element root = doc.getDocumentElement();
  const std::size_t depth = reader.getDepth();
  ORVIDOM_Node at = root;
  for (ORVIDOM_PullReader::Event event = ORVIDOM_PullReader::kStartElement;;
       event = reader.next()) {
    switch (event) {
      case ORVIDOM_PullReader::kStartElement: {
        const ORVIDOM_Element element = doc.createElement(std::string(reader.getName()));
        for (std::size_t i = 0; i < reader.getAttributeCount(); ++i) {
          element.setAttribute(std::string(reader.getAttributeName(i)),
                               std::string(reader.getAttributeValue(i)));
        }
        at = at.appendChild(element);
        break;
      }
      case ORVIDOM_PullReader::kText:
        at.appendChild(doc.createTextNode(std::string(reader.getText())));
        break;
      case ORVIDOM_PullReader::kCData:
        at.appendChild(doc.createCDATASection(std::string(reader.getText())));
        break;
      case ORVIDOM_PullReader::kEndElement:
        if (reader.getDepth() == depth) return root;
        at = at.getParentNode();
        break;
      default:
        // Input pushed so far ends inside the part: the part as far as it goes.
        return root;
    }
  }
}
