// appendText reads a text a block at a time, past the text's end and from before its start: no
// read may reach the page after the text's last byte, which may not be mapped.
#include "orvidom/TextAppend.h"

#include <gtest/gtest.h>

#include <string>

#if defined(__unix__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

// Room for every text of the test, which never runs out.
struct BufferOutput {
  char buffer[256];
  char* end() { return buffer + sizeof buffer; }
  char* renew(const char* to) {
    ADD_FAILURE() << "the room ran out";
    return const_cast<char*>(to);
  }
};

TEST(TextAppend, ReadsNothingPastThePageOfATextsEnd) {
#if defined(__unix__)
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  void* const mapped =
      mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  char* const pageEnd = static_cast<char*>(mapped) + page;
  ASSERT_EQ(mprotect(pageEnd, page, PROT_NONE), 0);
  // Texts whose end is the page's last byte, starting at every place of the blocks before it,
  // plain and with a byte to escape in the middle.
  for (std::size_t length = 0; length <= 40; ++length) {
    for (const bool escaping : {false, true}) {
      char* const text = pageEnd - length - 1;
      std::string expected;
      for (std::size_t i = 0; i < length; ++i) {
        const bool escaped = escaping && i == length / 2;
        text[i] = escaped ? '&' : static_cast<char>('a' + i % 26);
        expected += escaped ? std::string("&amp;") : std::string(1, text[i]);
      }
      text[length] = '\0';
      BufferOutput out;
      char* const to = orvidom::appendText<orvidom::Escapes::kText>(out, out.buffer, text);
      EXPECT_EQ(std::string(out.buffer, to), expected) << length << (escaping ? " escaping" : "");
    }
  }
  munmap(mapped, 2 * page);
#else
  GTEST_SKIP() << "needs a page that cannot be read";
#endif
}

}  // namespace
