// A walk takes the record after the one it is on where the numbers follow each other: never
// across the end of a block, never where the next number is elsewhere.
#include "orvidom/RecordArena.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using orvidom::Index;
using orvidom::RecordArena;

struct Numbered {
  Index number;
};

TEST(RecordArena, FollowingGivesTheRecordOfTheNextNumber) {
  RecordArena<Numbered> arena;
  const Index lastOfFirstBlock = (Index{1} << RecordArena<Numbered>::kBlockBits) - 1;
  while (arena.size() <= lastOfFirstBlock + 2) {
    Index n;
    Numbered* const record = arena.add(n);
    record->number = n;
  }
  for (const Index at : {Index{1}, Index{7}, lastOfFirstBlock}) {
    for (const Index next : {at + 1, Index{3}, lastOfFirstBlock + 2}) {
      EXPECT_EQ(arena.following(&arena[at], at, next)->number, next) << at << " " << next;
    }
  }
}

}  // namespace
