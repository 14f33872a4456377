// A pool keeps one copy of each short name through every growth of its table, and none past it.
#include "orvidom/NamePool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(NamePool, KeepsOneCopyOfEachNameAsItGrows) {
  orvidom::StringSpace strings;
  orvidom::NamePool pool;
  std::vector<orvidom::TextRef> copies;
  for (int i = 0; i < 64; ++i) copies.push_back(pool.find("n" + std::to_string(i), strings));
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(pool.find("n" + std::to_string(i), strings), copies[i]);
    EXPECT_EQ(strings.at(copies[i]), "n" + std::to_string(i));
  }
  for (const std::string name : {"n64", "", "a_name_of_17_byte"}) {
    EXPECT_EQ(pool.find(name, strings), 0u) << name;
  }
}
