// Input that is not well-formed XML 1.0, with where the problem was found.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

#include <Korvath_ActionHelper/orvcore/ORVExport.h>

class KORVATH_API ORVIDOM_ParseError : public std::runtime_error {
 public:
  ORVIDOM_ParseError(const std::string& message, int line, int column, std::size_t offset)
      : std::runtime_error(message), m_line(line), m_column(column), m_offset(offset) {}
  // Line of the problem, from 1; 0 when the input could not be read at all.
  int getLine() const noexcept { return m_line; }
  // Column of the problem in characters, from 1; 0 when the input could not be read at all.
  int getColumn() const noexcept { return m_column; }
  // Bytes from the start of the input to the problem.
  std::size_t getOffset() const noexcept { return m_offset; }

 private:
  int m_line;
  int m_column;
  std::size_t m_offset;
};
