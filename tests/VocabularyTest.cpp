#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <thread>
#include <vector>

#include "core/Resources.h"
#include "support/XmlTestSupport.h"

namespace {

// The vocabulary as the library's documents use it, one name per line in index order; index 0
// is the empty first line.
const char* const kExpected =
    "\nbus:boundRangeParmValueItem\nbus:hierarchicalParmValueItem\nbus:simpleParmValueItem\n"
    "bus:unboundedEndParmValueItem\nbus:unboundedStartParmValueItem\nxsi:nil\naccess\naddObject\n"
    "addProperty\naggregate\naliasTableMap\nallRows\nambiguousCardinality\nambiguousRelationships\n"
    "analyzeModelRequest\nanalyzeModelResponse\nautomatic\nautoSort\nautoSummary\naverage\n"
    "avoidZeroDiv\nbasedOn\nBIQuery\nvrmModel\nVrkBIQuery\nVrkCommand\nVrkModelQuery\nVrkRequest\n"
    "bus:end\nbus:start\ncalculated\ncancel\ncanGroup\ncapabilities\ncaption\ncardinality\ncheck\n"
    "checks\ncircularDependency\nclass\ncloseConnections\ncmDataSource\ncmDisplayPath\ncmSearchPath"
    "\n"
    "code\ntarvin\nTarvin\nTarvinCommandText\ncolumnDelimiter\ncommandID\ncondition\nconnections\n"
    "constraint\nconstraints\ncontentManagerURI\ncontents\ncontext\nconvergenceLevel\ncount\n"
    "createIfNeeded\ncrossProductAllowed\ncurrentRefValue\ndatabase\ndataEncoding\ndataFilePath\n"
    "dataItem\ndataItemRef\ndbConnection\ndbConnectionName\ndbConnections\ndbType\ndefaultName\n"
    "defaultValue\ndefinitionType\ndepth\ndescription\ndesignMode\ndetailFilter\n"
    "disableAuthentication\ndisplay\ndoSpecifiedChecks\nduplicates\nedge\nedgeGroup\nedgeGroups\n"
    "edges\nenabled\nend\nentry\nerror\nexecute\nexecutionOptimization\nexecutionPlan\nexpand\n"
    "expansionResult\nexpressionLocale\nexternalizeReport\nfailure\nfeedback\nfile\nfilePath\nfilte"
    "r\n"
    "filterApplyType\nfilterExpression\nfirstRow\nZo\nZoCancelCommand\nZoCancelRequest\nZoCommand\n"
    "zoCommand\nZoRequest\nforceUpdate\nfunctionSetID\ngenLoadDataFromFile\ngetData\ngetJoinPaths\n"
    "governor\ngovernors\ngroupBody\nidentifiesRow\nincludeCalculatedMembers\ninclusive\nincrementa"
    "l\n"
    "info\ninformation\nissue\nitem\nitemToUpdate\njoin\njoinAtDifferentLevels\njoinFilter\n"
    "joinOperand\njoinOperands\njoinOperation\njoinPath\nkeyIndexVsRelationships\nkeyTransformation"
    "\n"
    "line\nloadDataFromFile\nlocale\nmakeNameUnique\nmany\nmaterializeQuerySubject\n"
    "materializeRequest\nmaterializeResponse\nmaterializeResultSet\nmaximum\nmaxNumberOfRows\n"
    "maxQueryExecutionTime\nmaxQueryExecutionTimeWarnAfter\nmaxRowRetrievedWarnAfter\n"
    "maxRowsRetrieved\nmaxTablesPerQuery\nmaxTablesPerQueryWarnAfter\nmaxTextBolobCharacters\n"
    "measureRefiner\nMembers\nmessage\nmetadata\nminimizedSQL\nminimum\nModel\nmodel\nmodelPath\n"
    "modelSubject\nnagLevel\nnameInRequest\nnativeCommandText\nnativeSQL\nnewRefValue\nnoDataMode\n"
    "none\nobjectBeforeID\nobjectName\nobjects\nobjectType\none\noptional\noutJoinAllowed\n"
    "overrideDescription\noverrideFuncID\noverrideQOSLevel\npackage\npackageref\npackages\nparam\n"
    "parameter\npath\npluginName\nprocessDescendants\nproductLocale\nprohibited\nprojectionList\n"
    "properties\npropertyBeforeIndex\npropertyIndex\npropertyType\npropertyValue\nprovider\n"
    "qsDataTypes\nqualifiedDS\nqueries\nquery\nqueryFeedback\nqueryFeedbackResult\nqueryHints\n"
    "queryItem\nqueryLocale\nqueryOperation\nqueryProcessing\nqueryRefs\nqueryResultDefinition\n"
    "queryResultDefinitions\nquerySubjectRefs\nrefDataItem\nrefinePublishedModel\nrefSubject\n"
    "refTopic\nremoveObject\nremoveProperty\nreorderProperty\nrequestDoc\nrequestHints\nrequestID\n"
    "required\nresultCount\nresultData\nresultSet\nresultStart\nRETAINCONNECTION\n"
    "retargetObjectReferences\nretrievePropertyValues\nreturnSchema\nrollupAggregate\nrow\n"
    "rowDelimiter\nrule\nsecurityObjects\nselection\nselectionHints\nserviceID\nsessionID\nset\n"
    "setObjectAccess\nsetOperation\nseverityLevel\nsort\nsource\nSQL\nsqlName\nstart\nstatus\n"
    "subNodes\nsubType\nsuccess\nsummarize\ntableName\ntableType\ntabularJoin\ntabularModel\ntag\n"
    "taggedTarvinSQL\ntargetDataSource\ntask\ntasks\ntestConnection\ntitle\ntotal\ntrace\nunknown\n"
    "update\nupdateInfo\nupdateObjectRequest\nupdateObjectResponse\nupdateProperty\nupdateSet\n"
    "updateSubject\nuse\nuseOfCardinalityInFacts\nuserName\nvalidate\nvalueSet\nvalueSets\nviewref"
    "\n"
    "warning\nxml:lang\nxmlns\nxsi:type\nzero\n<-->\naVrkQuerySubject\napplyAggregate\naccount\n"
    "ascending\naliasTable\nWexPassport\ncatalog\ncolumnList\ncommand\nconnection\nconnectionString"
    "\n"
    "Database\ndataItemName\ndataSource\ndataSourceType\ndefault\ndefinition\ndescending\n"
    "dimensionRef\ndisplayPath\nexclude\nexpression\nfalse\nFALSE\ngroup\nhide\ninclude\nlang\nleft"
    "\n"
    "leftQuery\nlength\nmethod\nName\nname\nnamespace\nnullsAllowed\nobject\nobjectID\npassword\n"
    "parameters\nprecision\nproperty\nQueryEngine\nQueryFrameworkService\nqueryRef\nquerySet\n"
    "querySubject\nqueryType\nrefobj\nresponse\nrefQuery\nright\nrightQuery\nrole\nrunLocale\nscale"
    "\n"
    "schema\nsecurityObject\nsignon\nSingleCount\nsql\nSSOTicket\ntrue\nTRUE\ntype\nuniqueName\n"
    "username\nvalue\nvalues\nview\ndimInfo\nlevels\nlevel\nexternalName\nkey\n"
    "queryItems_collection\nisUniqueKey\nattributes\nfunctionalDependency\nhierarchy\nhierarchies";

TEST(VocabularyTest, EveryIndexHoldsItsName) {
  std::istringstream names(kExpected);
  std::string name;
  unsigned index = 0;
  while (std::getline(names, name)) {
    ASSERT_LT(index, kVocabularySize);
    EXPECT_EQ(GetResourceString(index), name) << "index " << index;
    ++index;
  }
  EXPECT_EQ(index, kVocabularySize);
  EXPECT_TRUE(GetResourceString(0).empty());
  EXPECT_EQ(korvath_actionhelper_resources_bus_start_str, "bus:start");
  EXPECT_EQ(korvath_actionhelper_resources_separator_str, "<-->");
  EXPECT_NE(korvath_actionhelper_resources_false_str, korvath_actionhelper_resources_FALSE_str);
}

TEST(VocabularyTest, AnIndexPastTheTableIsRefused) {
  EXPECT_ORV_ASSERT(GetResourceString(kVocabularySize), "ORV_ASSERT(index < kVocabularySize);",
                    "Vocabulary");
}

TEST(VocabularyTest, FirstUseFromManyThreadsBuildsEachEntryOnce) {
  // Entries from the end of the table, which no other test of this process touches first.
  constexpr unsigned kFirst = kVocabularySize - 40;
  constexpr int kThreads = 16;
  std::vector<std::vector<const I18NString*>> seen(kThreads);
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      while (!go.load()) std::this_thread::yield();
      for (unsigned i = kFirst; i < kVocabularySize; ++i) seen[t].push_back(&GetResourceString(i));
    });
  }
  go = true;
  for (auto& th : threads) th.join();
  for (int t = 1; t < kThreads; ++t) EXPECT_EQ(seen[t], seen[0]);
  EXPECT_EQ(*seen[0].back(), "hierarchies");
}

}  // namespace
