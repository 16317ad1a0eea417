// Reads arbitrary bytes as calibration text (".kvm", map or ".cal"), writes
// the record back and reads that again. For ".kvm" and map text the second
// reading must give the same record (to the eight decimals the text keeps;
// a WGS84 datum name and pixel scales of 1 are written as nothing, which
// means the same, and projection parameters are written only for the
// projection kind); for every source the
// text written from the second reading must equal the first one.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "calibration/calibration_line.h"
#include "calibration/calibration_text_reader.h"
#include "calibration/calibration_text_writer.h"
#include "geo/text_match.h"

namespace {

// The text keeps eight decimals.
void Quantise(double* value) {
  *value = kv::ReadCalibrationReal(kv::FormatCalibrationReal(*value));
}

kv::CalibrationRecord Normalised(kv::CalibrationRecord record) {
  for (double* value : {&record.north, &record.west, &record.south, &record.east,
                        &record.pixel_scale_horz, &record.pixel_scale_vert}) {
    Quantise(value);
  }
  if (record.points) {
    for (kv::CalibrationPoint& point : *record.points) {
      for (double* value :
           {&point.latitude, &point.longitude, &point.vpa, &point.vpb, &point.vpm, &point.vpn}) {
        Quantise(value);
      }
    }
  }
  if (record.datum_name && !record.datum_parameter_text &&
      (kv::EqualsIgnoreCase(*record.datum_name, "WGS84") ||
       kv::EqualsIgnoreCase(*record.datum_name, "WGS 84"))) {
    record.datum_name.reset();
  }
  if (record.pixel_scale_horz == 1.0 && record.pixel_scale_vert == 1.0) {
    record.pixel_scale_horz = record.pixel_scale_vert = 0.0;
  }
  if (record.proj_mode != kv::kCalibrationProjection) record.projparams.reset();
  return record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int source = data[0] % 3;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  kv::CalibrationRecord first;
  kv::ReadCalibrationIntoRecord(text, source, &first);
  const auto written = kv::WriteCalibrationText(first, first.pending_text);
  if (!written) return 0;
  kv::CalibrationRecord second;
  kv::ReadCalibrationIntoRecord(*written, kv::kCalibrationSourceKvm, &second);
  if (source != kv::kCalibrationSourceCal && !(Normalised(first) == Normalised(second))) {
    std::abort();
  }
  kv::CalibrationRecord third;
  const auto again = kv::WriteCalibrationText(second, second.pending_text);
  if (!again) std::abort();
  kv::ReadCalibrationIntoRecord(*again, kv::kCalibrationSourceKvm, &third);
  if (kv::WriteCalibrationText(third, third.pending_text) != again) std::abort();
  return 0;
}
