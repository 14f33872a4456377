// Makes a small document through the DOM layer, writes it, reads it back and prints both.
#include <iostream>

#include <Korvath_ActionHelper.h>

int main() {
  ORVIDOM_Document doc = ORVIDOM_DOMImplementation::getInstance().createDocument(
      "", "requestDoc", ORVIDOM_DocumentType());
  ORVIDOM_Element request = doc.createElement("updateObjectRequest");
  ORVIDOM_Element task = doc.createElement("task");
  task.setAttribute("name", "addObject");
  task.appendChild(doc.createTextNode("Sales & <Returns>"));
  request.appendChild(task);

  const std::string xml = ORVIDOM_Writer::toString(request, {true, true});
  std::cout << xml << "\n";
  ORVIDOM_Element back = ORVIDOM_Parser::parseString(xml).getDocumentElement();
  std::cout << "read back: "
            << ORVIDOM_Helper::getElementText(ORVIDOM_Helper::findChildElement(back, "task"))
            << "\n";
  return 0;
}
