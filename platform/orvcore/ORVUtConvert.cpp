#include "orvcore/ORVUtConvert.h"

#include <algorithm>
#include <string>

namespace {

std::string digitsOf(unsigned long long value) {
  char buf[24];
  char* end = buf + sizeof buf;
  char* p = end;
  do {
    *--p = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return std::string(p, end);
}

std::string padded(const char* sign, const std::string& digits, unsigned minWidth, char fill) {
  const std::size_t used = digits.size() + (*sign ? 1 : 0);
  const std::string pad(std::max<std::size_t>(minWidth, used) - used, fill);
  return fill == '0' ? sign + pad + digits : pad + sign + digits;
}

}  // namespace

I18NString ORVUtConvert::longCvt(long long value, unsigned minWidth, char fill) {
  const bool negative = value < 0;
  // Negated in unsigned arithmetic, so that the smallest value has a magnitude too.
  const auto magnitude = static_cast<unsigned long long>(value);
  return padded(negative ? "-" : "", digitsOf(negative ? 0ULL - magnitude : magnitude), minWidth,
                fill);
}

I18NString ORVUtConvert::ulongCvt(unsigned long long value, unsigned minWidth, char fill) {
  return padded("", digitsOf(value), minWidth, fill);
}
