#include "calibration/source_calibration.h"

#include "bitmap/image_source.h"
#include "calibration/chart_calibration.h"
#include "calibration/imported_calibration.h"

namespace kv {

std::optional<SourceCalibrationRecord> ReadChartCalibration(const ImageSource& chart) {
  std::vector<ChartCalibrationPoint> points;
  for (const ChartReferencePoint& reference : chart.reference_points()) {
    points.push_back(
        {reference.pixel_x, reference.pixel_y, reference.latitude, reference.longitude});
  }
  SourceCalibrationRecord calibration;
  const std::optional<std::string> datum =
      DatumCodeFromWkt(chart.geographic_system_wkt(), &calibration.warnings);
  if (!CalibrateChart(points, datum, chart.Width(), chart.Height(), &calibration.record)) {
    return std::nullopt;
  }
  return calibration;
}

ImportStatus ReadGeoTiffSourceCalibration(const std::string& path,
                                          std::string_view negative_letters,
                                          GeoTiffSourceCalibration* calibration) {
  CalibrationImport import;
  std::int32_t width = 0;
  std::int32_t height = 0;
  const ImportStatus status =
      ReadGeoTiffCalibration(path, &import, &width, &height, &calibration->report);
  if (status != ImportStatus::kOk) return status;
  calibration->warnings = std::move(import.warnings);
  return ReadImportedCalibration(import, 0, negative_letters, width, height, &calibration->record,
                                 &calibration->refusal);
}

}  // namespace kv
