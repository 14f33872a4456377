// Whole numbers to decimal text.
#pragma once

#include <Korvath_ActionHelper/orvcore/I18NString.h>

class KORVATH_API ORVUtConvert {
 public:
  // `value` in decimal, "-" first when negative, padded on the left with `fill` to at least
  // `minWidth` characters (a "0" fill goes after the sign).
  static I18NString longCvt(long long value, unsigned minWidth = 1, char fill = '0');
  // `value` in decimal, padded on the left with `fill` to at least `minWidth` characters.
  static I18NString ulongCvt(unsigned long long value, unsigned minWidth = 1, char fill = '0');
};
