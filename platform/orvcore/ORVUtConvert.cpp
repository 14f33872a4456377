#include "orvcore/ORVUtConvert.h"

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
  if (used >= minWidth) return sign + digits;
  std::string pad(minWidth - used, fill);
  return fill == '0' ? sign + pad + digits : pad + sign + digits;
}

}  // namespace

I18NString ORVUtConvert::longCvt(long long value, unsigned minWidth, char fill) {
  // Negate in unsigned arithmetic so that the smallest value has a magnitude too.
  const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value);
  return padded(value < 0 ? "-" : "", digitsOf(magnitude), minWidth, fill);
}

I18NString ORVUtConvert::ulongCvt(unsigned long long value, unsigned minWidth, char fill) {
  return padded("", digitsOf(value), minWidth, fill);
}
