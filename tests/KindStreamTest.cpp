// Kinds read as they come give what they give read from a tree, whatever the order of the
// document's parts, for the kinds' samples and for documents whose parts come in unusual orders.
#include <gtest/gtest.h>

#include <sstream>

#include "Kinds.h"

namespace {

// What the kind reads from `xml` as it comes, as JSON.
nlohmann::json Streamed(const Kind& kind, const std::string& xml) {
  ORVIDOM_PullReader reader(xml), again(xml);
  reader.next();
  std::ostringstream out;
  kind.stream(
      reader, [&]() -> ORVIDOM_PullReader& { return again.next(), again; }, false, out);
  return nlohmann::json::parse(out.str());
}

void ExpectSameAsTree(const Kind& kind, const std::string& xml) {
  ORVIDOM_Element root = ORVIDOM_Parser::parseString(xml).getDocumentElement();
  EXPECT_EQ(Streamed(kind, xml), nlohmann::json::parse(kind.read(root).dump())) << xml;
}

TEST(KindStreamTest, ReadAsItComesGivesWhatTheTreeGives) {
  const Kind& response = *findKind("query-response");
  const std::string feedback =
      "<queryFeedbackResult><property name='tableType'>t</property>"
      "<connections><connection value='c'/></connections></queryFeedbackResult>";
  const std::string columns = "<columnList><column name='a'/><column name='b'/></columnList>";
  const std::string rows = "<resultData><row><value v='1'/><value/></row><row/></resultData>";
  for (const std::string& body :
       {feedback + columns + rows, rows + feedback + columns, columns + rows + feedback,
        std::string(), "<resultData/>" + feedback}) {
    ExpectSameAsTree(response, "<response>" + body + "</response>");
  }
  // The response itself is none of its parts, whatever its name.
  for (const std::string root : {"resultData", "columnList", "queryFeedbackResult"}) {
    ExpectSameAsTree(response, "<" + root + "><row><value v='1'/></row><column name='c'/>" +
                                   "<property name='tableType'>t</property></" + root + ">");
  }
  // Tasks nested in tasks and in other elements are read as in the whole document.
  ExpectSameAsTree(*findKind("update-object-response"),
                   "<updateObjectResponse><tasks><task name='addObject' status='success'>"
                   "<param name='object' value='o'/><task name='removeObject' status='failure'>"
                   "<error code='E'>m</error></task></task></tasks><other><task "
                   "name='addProperty'/></other></updateObjectResponse>");
}

TEST(KindStreamTest, APartThatGoesOnAfterTheRowsCannotBeWrittenInOrder) {
  const std::string xml =
      "<response><queryFeedbackResult><property name='tableType'>t</property><resultData><row/>"
      "</resultData><property name='executionPlan'>p</property></queryFeedbackResult></response>";
  try {
    Streamed(*findKind("query-response"), xml);
    FAIL() << "written out of order";
  } catch (const InputError& e) {
    EXPECT_STREQ(e.what(),
                 "the response's \"queryFeedback\" goes on after its rows begin, which a read "
                 "as it comes cannot write in order");
  }
}

}  // namespace
