// A walk takes the record after the one it is on as the next one only within a block.
#include "orvidom/RecordArena.h"

#include <gtest/gtest.h>

TEST(RecordArena, FollowingCrossesIntoTheNextBlock) {
  using orvidom::Index;
  orvidom::RecordArena<Index> arena;
  const Index last = (Index{1} << orvidom::RecordArena<Index>::kBlockBits) - 1;
  for (Index n; arena.size() <= last + 1;) {
    Index* const record = arena.add(n);
    *record = n;
  }
  EXPECT_EQ(*arena.following(&arena[last - 1], last - 1, last), last);
  EXPECT_EQ(*arena.following(&arena[last], last, last + 1), last + 1);
}
