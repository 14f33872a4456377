// Hands a pull reader's events to a reader of the library's own as the tokenizer reads them,
// instead of queueing them for next(): a reader of one kind of document then skips a call and a
// copy of each event. Internal to the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "orvidom/ORVIDOM_PullReader.h"
#include "orvidom/XmlChars.h"

namespace orvidom {

// True when the name `written` is `name`, compared in place a few loads at a time: names are short,
// and a call to compare them would cost more than the comparison.
[[gnu::always_inline]] inline bool sameName(std::string_view written, std::string_view name) {
  const std::size_t size = name.size();
  if (written.size() != size) return false;
  const char* a = written.data();
  const char* b = name.data();
  if (size < 4) {
    return size == 0 || (a[0] == b[0] && (size < 2 || a[1] == b[1]) && (size < 3 || a[2] == b[2]));
  }
  if (size < 8) {
    std::uint32_t a0, a1, b0, b1;
    std::memcpy(&a0, a, 4);
    std::memcpy(&a1, a + size - 4, 4);
    std::memcpy(&b0, b, 4);
    std::memcpy(&b1, b + size - 4, 4);
    return ((a0 ^ b0) | (a1 ^ b1)) == 0;
  }
  // Eight bytes at a time, the last eight of them last.
  for (std::size_t i = 0; i < size - 8; i += 8) {
    if (loadWord(a + i) != loadWord(b + i)) return false;
  }
  return loadWord(a + size - 8) == loadWord(b + size - 8);
}

// Is told of the events of a pull reader as they are read. While it is told of one, the reader's
// getters show that event, so that its attributes are read as those of an event of next().
class PullHandler {
 public:
  // Takes `event`, whose name is `name` (its text for a kText or kCData) and whose depth is
  // `depth`; false to stop the reading after it.
  virtual bool handle(ORVIDOM_PullReader::Event event, std::string_view name,
                      std::size_t depth) = 0;

  // The depth of the elements whose ends the handler has no need of, which the reader then does
  // not hand it; 0, no element's, by default. A handler that takes most elements at one depth by
  // their start alone saves a call for each.
  std::size_t unheededEnds = 0;

  // The name of the elements at the depth `unheededEnds` whose starts the handler takes by the
  // value of the attribute `wanted` alone; empty, none, by default. The reader gathers those
  // values (a null view for an element without the attribute) and hands several at once to
  // values(), before the next event of another kind and before the window moves on: a call for
  // each is saved.
  std::string_view wantedElement;
  virtual void values(const std::string_view* values, std::size_t count) = 0;

  // The name of an attribute the handler reads of most starts of elements it is told of; empty,
  // none, by default. The reader then looks it up as it reads the tag, before it tells the
  // handler, and puts its value in `wantedValue` (a null view when the tag has none): a call for
  // each lookup is saved.
  std::string_view wanted;
  std::string_view wantedValue;

 protected:
  ~PullHandler() = default;
};

// How a pass of a pull reader's events ended.
enum class Passed {
  // The handler stopped the reading; events read after the one it stopped at are next()'s.
  kStopped,
  // The reader held events that next() had not given yet: none were handed.
  kQueued,
  // The document ended, or the input pushed so far was used up (next() tells which).
  kEnded,
};

// The way in to the reader's tokenizer, for the library's own readers.
struct PullAccess {
  // Hands the events of `reader` from the next on to `handler`, unless next() has some to give
  // first, until the handler stops or the events end.
  [[gnu::visibility("hidden")]] static Passed pass(ORVIDOM_PullReader& reader,
                                                   PullHandler& handler);
  // As the reader's findAttribute(name, value), for the event a handler is told of, without a
  // call through the library's exported symbols.
  [[gnu::visibility("hidden")]] static bool findAttribute(const ORVIDOM_PullReader& reader,
                                                          std::string_view name,
                                                          std::string_view& value);
};

}  // namespace orvidom
