// The tool's input read as a stream a chunk at a time, keeping what an error report needs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <streambuf>
#include <string>
#include <string_view>

class InputBuffer : public std::streambuf {
 public:
  // Reads `in` from where it stands, which the caller keeps open, keeping a copy of every byte
  // read in `copy` (unless null) up to `limit` bytes in all: past it the input ends early and
  // overLimit() says so.
  InputBuffer(std::FILE* in, std::string* copy, std::uint64_t limit)
      : m_in(in), m_copy(copy), m_limit(limit) {}

  // Stops keeping a copy.
  void stopCopying() { m_copy = nullptr; }
  // Writes every byte read from now on to `spool` as well (null: no more).
  void spoolTo(std::FILE* spool) { m_spool = spool; }

  // The last bytes read, which hold the place where reading stopped, and in `first` the offset
  // in the input of the first of them.
  std::string_view kept(std::uint64_t& first) const;
  // Whether reading or spooling failed; errno then says why.
  bool failed() const { return m_failed; }
  // Whether the copy reached its limit, and the limit.
  bool overLimit() const { return m_overLimit; }
  std::uint64_t limit() const { return m_limit; }

 protected:
  int_type underflow() override;

 private:
  static constexpr std::size_t kChunk = std::size_t(1) << 17;

  std::FILE* m_in;
  std::string* m_copy;
  std::uint64_t m_limit;
  std::FILE* m_spool = nullptr;
  bool m_failed = false;
  bool m_overLimit = false;
  // The chunk before the one being read and that one; the offset of the first byte held.
  std::string m_kept;
  std::uint64_t m_keptFrom = 0;
};
