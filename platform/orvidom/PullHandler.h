// Hands a pull reader's events to a reader of the library's own as the tokenizer reads them,
// instead of queueing them for next(): a reader of one kind of document then skips a call and a
// copy of each event. Internal to the library.
#pragma once

#include <cstddef>
#include <string_view>

#include "orvidom/ORVIDOM_PullReader.h"

namespace orvidom {

// Is told of the events of a pull reader as they are read. While it is told of one, the reader's
// getters show that event, so that its attributes are read as those of an event of next().
class PullHandler {
 public:
  // Takes `event`, whose name is `name` (its text for a kText or kCData) and whose depth is
  // `depth`; false to stop the reading after it.
  virtual bool handle(ORVIDOM_PullReader::Event event, std::string_view name,
                      std::size_t depth) = 0;

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
};

}  // namespace orvidom
