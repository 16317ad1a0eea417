#ifndef KORVALE_GEO_NUMBER_TEXT_H_
#define KORVALE_GEO_NUMBER_TEXT_H_

// Reading the number at the front of a text, the way the tables ("a=6378137.0.")
// and typed positions are read: leading blanks and one sign are skipped, the
// longest number there is taken, and whatever follows is ignored. A text
// without a number reads as 0. The decimal point is always ".", whatever the
// process locale.

#include <string_view>

namespace kv {

// A decimal number ("12", "-8.25", "3e2"). Infinities, NaN and numbers
// beyond the range of double read as 0 so that no caller meets a
// non-finite value.
double LeadingDecimal(std::string_view text);

// Whole digits only; "47.9" reads as 47. Values beyond the range of a 64-bit
// integer saturate.
double LeadingInteger(std::string_view text);

// The whole of `text` as an unsigned number in plain notation: digits with at
// most one "." or "," among them ("30.5", "30,5", "30.", ".5"). Nothing else
// is allowed: no sign, blank, exponent, "inf" or "nan". Every digit counts,
// however many there are. False when the text is not such a number.
bool ReadUnsignedDecimal(std::string_view text, double* value);

// The whole of `text` as digits only ("047"), every digit counting.
bool ReadUnsignedWhole(std::string_view text, double* value);

}  // namespace kv

#endif  // KORVALE_GEO_NUMBER_TEXT_H_
