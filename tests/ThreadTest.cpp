// Many threads at once: each fills, writes, parses and reads helpers of its own, while the
// vocabulary entries are built on first use by whichever thread asks first. Run under the tsan
// preset, a data race fails the test.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

constexpr int kThreads = 8;

// Runs `body(t)` on kThreads threads released together, so that their first steps overlap.
template <typename Body>
void OnManyThreads(Body body) {
  std::atomic<int> waiting{kThreads};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      waiting.fetch_sub(1);
      while (waiting.load() > 0) std::this_thread::yield();
      body(t);
    });
  }
  for (std::thread& thread : threads) thread.join();
}

// First in the file, so that in a run of this suite alone the entries are built here.
TEST(ThreadTest, VocabularyEntriesTakenFirstOnManyThreadsAreOneObjectEach) {
  std::vector<std::vector<const I18NString*>> seen(kThreads);
  OnManyThreads([&seen](int t) {
    seen[t].resize(kVocabularySize);
    // Every thread walks the table from a different place, so first uses collide everywhere.
    for (unsigned i = 0; i < kVocabularySize; ++i) {
      const unsigned index = (i + t * kVocabularySize / kThreads) % kVocabularySize;
      seen[t][index] = &GetResourceString(index);
    }
  });
  EXPECT_TRUE(seen[0][0]->empty());
  EXPECT_EQ(*seen[0][1], GetResourceString(1));
  for (int t = 1; t < kThreads; ++t) EXPECT_EQ(seen[t], seen[0]) << "thread " << t;
}

std::string PackagesRoundTrip(int t) {
  ZoPackagesReportHelper report;
  for (int i = 0; i < 50; ++i) {
    report.AddPackage("p" + std::to_string(t) + "." + std::to_string(i), "/content/p");
  }
  ORVIDOM_Element made;
  report.Make(made);
  ORVIDOM_Element received = xmltest::RoundTrip(made);
  ZoPackagesReportHelper read;
  read.Take(received);
  return read.GetPackages().size() == 50 ? read.GetPackages()[49]->defaultName.str() : "";
}

std::string UpdateRequestRoundTrip(int t) {
  using Task = ZoUpdateRequestTaskHelper;
  ZoUpdateObjectRequestHelper request;
  request.AddTask(Task::kTaskAddObject)
      ->AddParameter(Task::kParamObjectName, "object " + std::to_string(t), "en");
  ORVIDOM_Element made;
  request.Make(made);
  ORVIDOM_Element received = xmltest::RoundTrip(made);
  ZoUpdateObjectRequestHelper read;
  read.Take(received);
  Task::ParamValue* value = nullptr;
  if (read.GetTasks().size() != 1 ||
      !read.GetTasks()[0]->GetParameter(Task::kParamObjectName, value)) {
    return "";
  }
  return value->value.str();
}

std::size_t PromptFaultParameters() {
  ORVIDOM_Element fault = xmltest::Parse(
      "<promptFault><parameters><item><name>Year</name><type>xsdInt</type>"
      "<values><item xsi:type=\"bus:simpleParmValueItem\"><use>2023</use></item></values>"
      "</item></parameters></promptFault>");
  QsPromptFaultHelper helper;
  helper.Take(fault);
  return helper.GetParameters().size() == 1 ? helper.GetParameters()[0]->GetPossibleValues().size()
                                            : 0;
}

std::size_t QueryResponseRows() {
  ORVIDOM_Element response = xmltest::Parse(
      "<response><resultData><row><value v='1'/></row><row><value v='2'/></row></resultData>"
      "</response>");
  QFResponseDomHelper helper;
  helper.Take(response);
  std::size_t rows = 0;
  for (ORVIDOM_Element row = helper.GetFirstResultSetRow(); !row.isNull();
       row = helper.GetNextResultSetRow(row)) {
    ++rows;
  }
  return rows;
}

TEST(ThreadTest, EachHelperAloneGivesWhatTheThreadsCheck) {
  EXPECT_EQ(PackagesRoundTrip(3), "p3.49");
  EXPECT_EQ(UpdateRequestRoundTrip(3), "object 3");
  EXPECT_EQ(PromptFaultParameters(), 1u);
  EXPECT_EQ(QueryResponseRows(), 2u);
}

TEST(ThreadTest, DifferentHelpersOnManyThreadsAtOnce) {
  constexpr int kRounds = 20;
  std::vector<int> good(kThreads, 0);
  OnManyThreads([&good](int t) {
    for (int round = 0; round < kRounds; ++round) {
      // Neighbouring threads start with different helpers.
      switch ((t + round) % 4) {
        case 0:
          good[t] += PackagesRoundTrip(t) == "p" + std::to_string(t) + ".49";
          break;
        case 1:
          good[t] += UpdateRequestRoundTrip(t) == "object " + std::to_string(t);
          break;
        case 2:
          good[t] += PromptFaultParameters() == 1;
          break;
        default:
          good[t] += QueryResponseRows() == 2;
          break;
      }
    }
  });
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(good[t], kRounds) << "thread " << t;
}

}  // namespace
