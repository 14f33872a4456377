#include "orvidom/DocumentParser.h"

#include <memory>
#include <string>

#include "orvidom/NameCache.h"
#include "orvidom/ORVIDOM_Store.h"
#include "orvidom/ParsePosition.h"
#include "orvidom/ParseWindow.h"
#include "orvidom/XmlTokenizer.h"

namespace orvidom {
namespace {

// The longest input a document holds: its strings must fit the 32-bit space of its strings.
constexpr std::size_t kMaxInput = 0xFFF00000u;
// A small input's strings start in one block of its size and this much more; a larger input's
// grow in the usual blocks, which memory freed by earlier documents serves best.
constexpr std::size_t kFirstStrings = 256;
constexpr std::size_t kSmallInput = std::size_t{1} << 16;
// The room for the window that the parse keeps on its stack.
constexpr std::size_t kWindowRoom = 4096;

// Builds the tree of a document from what the tokenizer reads. Names are kept once per document
// where short, and values copied out of the window as they are decoded. The records of the open
// element, of its last child and of the tag's last attribute are kept by address, taken again on
// the rare add that moves the records. Values are written to the room of the document's strings,
// which the sink claims as it starts and gives back before anything else adds strings.
class TreeSink final : public ParseErrors {
 public:
  using Ref = TextRef;
  // A name's string is the document's for good: the tokenizer may give it again.
  static constexpr bool kLastingNames = true;
  static constexpr bool kHeldByTokenizer = true;

  TreeSink(std::string_view xml, ORVIDOM_Store& store)
      : m_xml(xml),
        m_store(store),
        m_nodes(store.nodes),
        m_attrs(store.attrs),
        m_curRecord(&store.nodes[kDocumentNode]),
        m_names(xml.size()),
        m_room(store.strings.claim()) {}

  // Ends the tree once the input has been read.
  void finish() {
    m_lastRecord->previous = m_last;
    m_store.strings.release(m_room.next);
    m_nodes.release();
    m_attrs.release();
  }

  // --- Strings: values in m_room; one written a piece at a time from m_outStart to m_out.

  [[gnu::always_inline]] TextRef name(const char* start, const char* stop) {
    const auto size = static_cast<std::size_t>(stop - start);
    const auto copy = [this, start, stop] { return plainString(start, stop); };
    const auto pool = [this](std::string_view name) { return addName(name); };
    return size <= NameCache::kLongest ? m_names.find(start, size, copy, pool)
                                       : addName(std::string_view(start, size));
  }
  // Most plain values are short: sixteen bytes are copied whole, which the window's zero bytes
  // and the room asked for allow.
  [[gnu::always_inline]] TextRef plainString(const char* start, const char* stop) {
    const auto size = static_cast<std::size_t>(stop - start);
    makeRoom(size + 17);
    char* out = m_room.next;
    if (size <= 16) {
      std::memcpy(out, start, 16);
    } else {
      std::memcpy(out, start, size);
    }
    out[size] = '\0';
    m_room.next = out + size + 1;
    return m_room.number(out);
  }
  // The string begun stays out of m_room until it ends: a part read again writes it anew.
  void beginString() {
    makeRoom(kRoom);
    m_outStart = m_out = m_room.next;
  }
  void copyRun(const char* run, const char* stop) {
    const auto size = static_cast<std::size_t>(stop - run);
    makeStringRoom(size);
    std::memcpy(m_out, run, size);
    m_out += size;
  }
  void put(char c) {
    makeStringRoom(1);
    *m_out++ = c;
  }
  void putChar(std::uint32_t c) {
    makeStringRoom(4);
    m_out = encodeUtf8(c, m_out);
  }
  TextRef endString() {
    makeStringRoom(1);
    *m_out = '\0';
    m_room.next = m_out + 1;
    return m_room.number(m_outStart);
  }
  const char* string(TextRef ref) const { return m_store.text(ref); }

  // --- The tree.

  void text(TextRef text) { addChild(text, kKindText); }
  // A text that a comment may split is written on across it, uncommitted, and made a node when
  // it ends: nothing else is written in between.
  void beginText() {
    beginString();
    m_textSize = 0;
  }
  void pauseText() { m_textSize = static_cast<std::size_t>(m_out - m_outStart); }
  void closeText() { addChild(endString(), kKindText); }
  void cdata(TextRef text) { addChild(text, kKindCData); }

  [[gnu::always_inline]] void attribute(TextRef name, TextRef value) {
    Index a;
    AttrRecord* record = m_attrs.add(a, [this] { attributesMoved(); });
    *record = {name, value, 0};
    if (m_tagLast) {
      m_tagLast->next = a;
    } else {
      m_tagFirst = a;
    }
    m_tagLast = record;
  }
  TextRef attributeName(std::size_t i) const {
    return m_attrs[m_tagFirst + static_cast<Index>(i)].name;
  }

  [[gnu::always_inline]] void startElement(TextRef name, std::size_t tagOffset, bool empty) {
    NodeRecord* record = addChild(name, m_tagFirst);
    m_tagFirst = 0;
    m_tagLast = nullptr;
    if (empty) return;
    // An open element has no next sibling yet: the field keeps where its start tag lies until
    // the element ends. The input is shorter than 2^32 bytes.
    record->next = static_cast<Index>(tagOffset);
    m_cur = m_last;
    m_curRecord = record;
    m_last = 0;
    m_lastRecord = nullptr;
  }
  void endElement() {
    // The first child has kept no last sibling while its siblings were added.
    if (const Index first = m_curRecord->firstChild) m_nodes[first].previous = m_last;
    m_curRecord->next = 0;
    m_last = m_cur;
    m_lastRecord = m_curRecord;
    m_cur = m_curRecord->parent;
    m_curRecord = &m_nodes[m_cur];
  }
  const char* openName() const { return m_store.text(m_curRecord->text); }
  std::string openedAt() const { return position(m_xml, m_curRecord->next); }

  // --- Reading again.

  // The attributes of a tag read in part are read again: the room reserved for them is what the
  // input allows. They are the last records, from the tag's first on.
  void restart() {
    if (m_tagLast) m_attrs.truncate(m_tagFirst);
    m_tagFirst = 0;
    m_tagLast = nullptr;
    m_out = m_outStart + m_textSize;
  }
  void leaving(const char*, const char*) {}

  [[noreturn]] void fail(std::size_t offset, const std::string& message) const override {
    throwParseError(m_xml, offset, message);
  }

 private:
  // The room a string starts with: most values fit, and a decoded character takes four bytes.
  static constexpr std::size_t kRoom = 64;

  // Adds a node as the last child of the open element; returns its record.
  [[gnu::always_inline]] NodeRecord* addChild(TextRef text, std::uint32_t attributeOrKind) {
    Index n;
    NodeRecord* record = m_nodes.add(n, [this] { nodesMoved(); });
    *record = {text, m_cur, 0, m_last, 0, attributeOrKind};
    if (m_lastRecord) {
      m_lastRecord->next = n;
    } else {
      m_curRecord->firstChild = n;
    }
    m_last = n;
    m_lastRecord = record;
    return record;
  }

  // Takes the addresses of the records kept again once they have moved.
  [[gnu::noinline, gnu::cold]] void nodesMoved() {
    m_curRecord = &m_nodes[m_cur];
    if (m_lastRecord) m_lastRecord = &m_nodes[m_last];
  }
  [[gnu::noinline, gnu::cold]] void attributesMoved() {
    // The tag's last attribute is the last record so far.
    if (m_tagLast) m_tagLast = &m_attrs[m_attrs.size() - 1];
  }

  // Adds the name `name` to the document's strings, once where it is short.
  [[gnu::noinline]] TextRef addName(std::string_view name) {
    m_store.strings.release(m_room.next);
    const TextRef ref = m_store.poolName(name);
    m_room = m_store.strings.claim();
    return ref;
  }
  // Makes room for `size` more bytes at m_room.next.
  [[gnu::always_inline]] void makeRoom(std::size_t size) {
    if (static_cast<std::size_t>(m_room.limit - m_room.next) < size) moreRoom(size);
  }
  [[gnu::noinline]] void moreRoom(std::size_t size) {
    m_store.strings.release(m_room.next);
    char* limit;
    m_store.strings.room(size, limit);
    m_room = m_store.strings.claim();
  }
  // Makes room for `size` more bytes at m_out, moving the string begun along.
  void makeStringRoom(std::size_t size) {
    if (static_cast<std::size_t>(m_room.limit - m_out) < size) moreStringRoom(size);
  }
  [[gnu::noinline]] void moreStringRoom(std::size_t size) {
    const auto used = static_cast<std::size_t>(m_out - m_outStart);
    char* limit;
    m_outStart = m_store.strings.grow(m_outStart, used, size + kRoom, limit);
    m_room = m_store.strings.claim();
    m_out = m_outStart + used;
  }

  std::string_view m_xml;
  ORVIDOM_Store& m_store;
  RecordArena<NodeRecord>::Writer m_nodes;
  RecordArena<AttrRecord>::Writer m_attrs;
  // The open element (the document before the root and after it) and its last child, with their
  // records.
  Index m_cur = kDocumentNode;
  Index m_last = 0;
  NodeRecord* m_curRecord;
  NodeRecord* m_lastRecord = nullptr;
  // The first and last attributes of the tag being read, where it has any.
  Index m_tagFirst = 0;
  AttrRecord* m_tagLast = nullptr;
  char* m_outStart = nullptr;
  char* m_out = nullptr;
  // The length of the open text at the end of its last part.
  std::size_t m_textSize = 0;
  NameCache m_names;
  StringSpace::Room m_room;
};

// Whether `xml` is a small input, whose records and strings start as described below.
bool isSmall(std::string_view xml) { return xml.size() < kSmallInput; }

// The records a parse of `xml` starts with room for. A large input gets the most it may add (a
// node takes two bytes of input at the least, "x<a/>", an attribute five, " a=''"): growing to
// that would copy its records again and again, and room never used is never touched. A small
// one gets what documents of its size mostly need, a node or attribute per sixteen bytes, and
// grows past it when it must: the room for the most would make a parse of a few kilobytes ask
// for hundreds, which the system's allocator maps and unmaps at every parse.
Index firstNodes(std::string_view xml) {
  return static_cast<Index>(xml.size() / (isSmall(xml) ? 16 : 2) + 2);
}
Index firstAttributes(std::string_view xml) {
  return static_cast<Index>(xml.size() / (isSmall(xml) ? 16 : 5) + 1);
}

}  // namespace

std::shared_ptr<ORVIDOM_Store> parseDocument(std::string_view xml,
                                             std::optional<std::size_t> window) {
  // Checked before any room is asked for the input.
  if (xml.size() > kMaxInput) {
    throwParseError(xml, 0,
                    "the document is larger than " + std::to_string(kMaxInput) +
                        " bytes, the most one document holds");
  }
  // The strings of most documents take less room than their input, once names are kept once: a
  // small input's start with room for all of it, with its first records, in one allocation.
  auto store = isSmall(xml)
                   ? std::make_shared<ORVIDOM_Store>(firstNodes(xml), firstAttributes(xml),
                                                     xml.size() + kFirstStrings)
                   : std::make_shared<ORVIDOM_Store>(firstNodes(xml), firstAttributes(xml));
  StringSource source(xml);
  const std::string_view lent = window ? std::string_view() : source.lend();
  // No larger than what is left of the input: a window that holds it all is never moved. The
  // last bytes of a document, and the whole of a small one that cannot be read in place, are
  // mostly read from here.
  const std::size_t size = std::min(window.value_or(ParseWindow::kWindow), source.size());
  char room[kWindowRoom];
  ParseWindow parseWindow(source, size, room, sizeof room, lent);
  XmlTokenizer<TreeSink> tokenizer(parseWindow, std::in_place, xml, *store);
  tokenizer.run();
  tokenizer.sink().finish();
  return store;
}

}  // namespace orvidom
