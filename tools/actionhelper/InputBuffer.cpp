#include "InputBuffer.h"

#include <algorithm>

std::string_view InputBuffer::kept(std::uint64_t& first) const {
  first = m_keptFrom;
  return m_kept;
}

InputBuffer::int_type InputBuffer::underflow() {
  if (m_failed || m_overLimit) return traits_type::eof();
  // Two chunks are kept: an error is found at most a window of the reader behind what it read.
  if (m_kept.size() > kChunk) {
    const std::size_t drop = m_kept.size() - kChunk;
    m_kept.erase(0, drop);
    m_keptFrom += drop;
  }
  const std::size_t start = m_kept.size();
  m_kept.resize(start + kChunk);
  const std::size_t n = std::fread(&m_kept[start], 1, kChunk, m_in);
  m_kept.resize(start + n);
  if (n == 0) {
    m_failed = std::ferror(m_in) != 0;
    return traits_type::eof();
  }
  const char* bytes = m_kept.data() + start;
  if (m_spool && std::fwrite(bytes, 1, n, m_spool) != n) m_failed = true;
  if (m_copy) {
    if (m_copy->size() + n > m_limit) {
      m_overLimit = true;
      return traits_type::eof();
    }
    m_copy->append(bytes, n);
  }
  setg(&m_kept[start], &m_kept[start], &m_kept[start] + n);
  return traits_type::to_int_type(m_kept[start]);
}
