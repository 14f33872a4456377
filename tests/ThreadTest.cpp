// Many threads at once: the vocabulary entries are built on first use by whichever thread asks
// first, and each thread fills, writes, parses and reads helpers of its own. Run under the tsan
// preset, a data race fails the test.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "core/Resources.h"
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
TEST(ThreadTest, VocabularyEntriesTakenFirstOnManyThreadsAreOneObjectEachWithTheirNames) {
  std::vector<std::vector<const I18NString*>> seen(kThreads);
  OnManyThreads([&seen](int t) {
    seen[t].resize(kVocabularySize);
    // Every thread walks the table from a different place, so first uses collide everywhere.
    for (unsigned i = 0; i < kVocabularySize; ++i) {
      const unsigned index = (i + t * kVocabularySize / kThreads) % kVocabularySize;
      seen[t][index] = &GetResourceString(index);
    }
  });
  for (int t = 1; t < kThreads; ++t) EXPECT_EQ(seen[t], seen[0]) << "thread " << t;

  // The names, one per line in index order, hashed (FNV-1a): a changed name changes the hash.
  std::uint64_t hash = 14695981039346656037ull;
  for (const I18NString* name : seen[0]) {
    for (unsigned char c : name->str() + "\n") hash = (hash ^ c) * 1099511628211ull;
  }
  EXPECT_EQ(kVocabularySize, 372u);
  EXPECT_EQ(hash, 18092368243647420068ull);
  EXPECT_EQ(korvath_actionhelper_resources_separator_str, "<-->");
  EXPECT_ORV_ASSERT(GetResourceString(kVocabularySize), "ORV_ASSERT(index < kVocabularySize);",
                    "Vocabulary");
}

std::string PackagesRoundTrip(int t) {
  ZoPackagesReportHelper report;
  for (int i = 0; i < 50; ++i) {
    report.AddPackage("p" + std::to_string(t) + "." + std::to_string(i), "/content/p");
  }
  ORVIDOM_Element received = xmltest::RoundTrip(xmltest::Made(report));
  ZoPackagesReportHelper read;
  read.Take(received);
  return read.GetPackages().size() == 50 ? read.GetPackages()[49]->defaultName.str() : "";
}

TEST(ThreadTest, HelpersOnManyThreadsAtOnce) {
  constexpr int kRounds = 20;
  std::vector<int> good(kThreads, 0);
  OnManyThreads([&good](int t) {
    for (int round = 0; round < kRounds; ++round) {
      good[t] += PackagesRoundTrip(t) == "p" + std::to_string(t) + ".49";
    }
  });
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(good[t], kRounds) << "thread " << t;
}

}  // namespace
