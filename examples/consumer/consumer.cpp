// Uses the installed library through its public header only: a small helper of its own makes a
// note document, which is written, parsed and read back into a second helper.
#include <iostream>

#include <Korvath_ActionHelper.h>

namespace {

// Makes and reads <note author="…">text</note>.
class NoteHelper : public ActionHandlerBase {
 public:
  void setAuthor(const I18NString& author) { m_author = author; }
  void setText(const I18NString& text) { m_text = text; }
  const I18NString& getAuthor() const { return m_author; }
  const I18NString& getText() const { return m_text; }

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override {
    elem = doc.createElement("note");
    elem.setAttribute("author", m_author);
    elem.appendChild(doc.createTextNode(m_text));
  }

  void doTake(ORVIDOM_Element& elem) override {
    m_author = elem.getAttribute("author");
    m_text = ORVIDOM_Helper::getElementText(elem);
  }

 private:
  I18NString m_author;
  I18NString m_text;
};

}  // namespace

int main() {
  NoteHelper made;
  made.setAuthor("consumer");
  made.setText("Sales & <Returns>");
  ORVIDOM_Element elem;
  made.Make(elem);

  const std::string xml = ORVIDOM_Writer::toString(elem);
  ORVIDOM_Element received = ORVIDOM_Parser::parseString(xml).getDocumentElement();
  NoteHelper taken;
  taken.Take(received);

  std::cout << "Korvath_ActionHelper " << KORVATH_ACTIONHELPER_VERSION << ": " << xml << "\n";
  if (taken.getAuthor() != made.getAuthor() || taken.getText() != made.getText()) {
    std::cerr << "consumer: the note read back differs from the note made\n";
    return 1;
  }
  return 0;
}
