#ifndef KORVALE_CALIBRATION_CALIBRATION_KEYS_H_
#define KORVALE_CALIBRATION_CALIBRATION_KEYS_H_

// What each key of a calibration text does to the record. Keys of the
// ".kvm" text and the German and corner keys of ".cal" files of another
// program are all known here; key comparisons ignore case.

#include <cstdint>
#include <string_view>

#include "calibration/calibration_record.h"

namespace kv {

// ".cal" files give pixel positions in twips; the reader divides by these
// (integer division) when they are above 0. They live for one reader call.
struct TwipsDivisors {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Datum names taken from "map_datum" keep at most this many characters, as
// do the numbers of a "datum1" parameter list.
inline constexpr std::size_t kDatumFieldLength = 15;

// Characters that end the datum name of a "datum1" value.
inline constexpr std::string_view kDatumNameSeparators = "#,\n\t";

// `value` up to the first of kDatumNameSeparators.
std::string_view DatumNameOf(std::string_view value);

// Applies one key. Returns whether the line was consumed: a consumed line is
// fully represented in the record and need not be kept as pending text.
bool ApplyCalibrationKey(std::string_view key, std::string_view value, CalibrationRecord* record,
                         TwipsDivisors* divisors);

// The name and parameters of a "datum1" value ("Potsdam#6377397.155#..."):
// the name up to the first "#", ",", LF or TAB; after that separator the
// parameter text, whose "#"-separated fields are a, rf, dx, dy, dz, rx, ry,
// rz and scale.
void ApplyDatum1Value(std::string_view value, CalibrationRecord* record);

// Fields of a "datum1" parameter text: "#" separates except inside double
// quotes, the quotes themselves are dropped.
DatumParameters ReadDatumParameters(std::string_view text);

// The `proj_mode` text of a kind, and back; unknown texts give
// kCalibrationInvalid.
std::int32_t CalibrationKindFromText(std::string_view text);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CALIBRATION_KEYS_H_
