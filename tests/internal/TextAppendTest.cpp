// appendText reads a text a block at a time, past its end: never into the next page.
#include "orvidom/TextAppend.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#if defined(__unix__)
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct BufferOutput {
  char buffer[256];
  char* end() { return buffer + sizeof buffer; }
  char* renew(char* to) { return to; }
};

TEST(TextAppend, ReadsNothingPastThePageOfATextsEnd) {
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  char* const at = static_cast<char*>(
      mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_EQ(mprotect(at + page, page, PROT_NONE), 0);
  // Texts ending with the page, from every place of the blocks before, with a byte to escape.
  for (std::size_t length = 0; length <= 40; ++length) {
    std::string source(length, 'a');
    std::string expected = source;
    if (length > 0) {
      source[length / 2] = '&';
      expected.replace(length / 2, 1, "&amp;");
    }
    char* const text = at + page - length - 1;
    std::memcpy(text, source.c_str(), length + 1);
    BufferOutput out;
    char* const to = orvidom::appendText<orvidom::Escapes::kText>(out, out.buffer, text);
    EXPECT_EQ(std::string(out.buffer, to), expected) << length;
  }
  munmap(at, 2 * page);
}

}  // namespace
#endif
