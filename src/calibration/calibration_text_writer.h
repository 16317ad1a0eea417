#ifndef KORVALE_CALIBRATION_CALIBRATION_TEXT_WRITER_H_
#define KORVALE_CALIBRATION_CALIBRATION_TEXT_WRITER_H_

// Writes a calibration record as ".kvm" text, and texts to files.

#include <optional>
#include <string>
#include <string_view>

#include "calibration/calibration_record.h"

namespace kv {

// The question before an export and the message after it.
inline constexpr std::string_view kExportCalibrationQuestion =
    "Export calibration data to a .kvm file? \n";
// printf-style: %s is the exported file's path.
inline constexpr std::string_view kCalibrationExportedMessage =
    "Calibration data has been exported to file:\n%s";

// The latitude written for a point at exactly 0° N 0° E that has a pixel:
// a position of 0, 0 would end the list of points for every reader.
inline constexpr double kZeroPositionStandIn = 1e-8;

// The record's lines in their fixed order, each ending with LF, followed by
// the lines of `trailing`; `projparams` only in a projection calibration.
// Non-finite values are written as 0, and text lines (kept ones included)
// holding "nan", "inf" or an overflowing number are left out. A point at
// 0° N 0° E with a pixel gets the latitude kZeroPositionStandIn. None when the
// record gives no line of its own (a trailing text alone never makes a
// text). Stored with a terminating NUL the text takes size() + 1 bytes.
std::optional<std::string> WriteCalibrationText(const CalibrationRecord& record,
                                                const std::optional<std::string>& trailing);

// Replaces `path` with `text` (an empty file when absent) once the new
// file is complete; a failure leaves the old file and nothing else.
// 0 on success, otherwise the errno of the failure (or EIO).
int WriteTextFile(const std::string& path, const std::optional<std::string>& text);

// The export path: `path` with its extension replaced by ".kvm", or ".kvm"
// appended when its file name has none.
std::string CalibrationExportPath(std::string_view path);

// The message shown after a successful export of `exported_path`.
std::string CalibrationExportedMessage(std::string_view exported_path);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CALIBRATION_TEXT_WRITER_H_
