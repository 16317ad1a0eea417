#ifndef KORVALE_CALIBRATION_CALIBRATION_TEXT_READER_H_
#define KORVALE_CALIBRATION_CALIBRATION_TEXT_READER_H_

// Reads calibration text (".kvm" files, the map's "MCAL" resource, ".cal"
// files of another program) into a calibration record. Never fails: what it
// does not understand is skipped, or kept when stripping.

#include <string>

#include "calibration/calibration_record.h"

namespace kv {

// Where a calibration text comes from.
inline constexpr int kCalibrationSourceMap = 0;  // a map database, or pending text
inline constexpr int kCalibrationSourceKvm = 1;  // a ".kvm" file
inline constexpr int kCalibrationSourceCal = 2;  // a ".cal" file of another program

// Reads every line of `*text` (up to its first NUL) into `*record`. With
// `strip` set, consumed lines are removed from `*text`, which then holds
// only the lines the reader did not use (and nothing from the first NUL
// on). With `promote` set, a geographic record with three or more points
// becomes a known-points record.
void ParseCalibrationText(std::string* text, int source_kind, CalibrationRecord* record, bool strip,
                          bool promote);

// What the document does with a map's or file's text: the text becomes the
// record's pending text and is read with stripping and promotion, so that
// the pending text keeps exactly the lines that were not consumed.
void ReadCalibrationIntoRecord(std::string text, int source_kind, CalibrationRecord* record);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CALIBRATION_TEXT_READER_H_
