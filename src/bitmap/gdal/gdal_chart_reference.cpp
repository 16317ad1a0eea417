#include "bitmap/gdal/gdal_chart_reference.h"

#include <cpl_conv.h>
#include <ogr_srs_api.h>

#include <memory>
#include <type_traits>

namespace kv {
namespace {

struct SpatialReferenceDeleter {
  void operator()(OGRSpatialReferenceH srs) const { OSRDestroySpatialReference(srs); }
};
struct TransformationDeleter {
  void operator()(OGRCoordinateTransformationH transform) const {
    OCTDestroyCoordinateTransformation(transform);
  }
};
using SpatialReference =
    std::unique_ptr<std::remove_pointer_t<OGRSpatialReferenceH>, SpatialReferenceDeleter>;
using Transformation =
    std::unique_ptr<std::remove_pointer_t<OGRCoordinateTransformationH>, TransformationDeleter>;

std::string ExportWkt(OGRSpatialReferenceH srs) {
  char* text = nullptr;
  if (OSRExportToWkt(srs, &text) != OGRERR_NONE || text == nullptr) {
    CPLFree(text);
    return {};
  }
  std::string wkt(text);
  CPLFree(text);
  return wkt;
}

// Longitude first, latitude second, whatever the system's official order.
void UseLongitudeLatitudeOrder(OGRSpatialReferenceH srs) {
  OSRSetAxisMappingStrategy(srs, OAMS_TRADITIONAL_GIS_ORDER);
}

}  // namespace

ChartReference ReadChartReference(GDALDatasetH dataset) {
  ChartReference reference;
  const int count = GDALGetGCPCount(dataset);
  const GDAL_GCP* gcps = GDALGetGCPs(dataset);
  if (count <= 0 || gcps == nullptr) return reference;

  // Without a coordinate system GDAL leaves REF positions as they are:
  // longitude in X, latitude in Y.
  OGRSpatialReferenceH gcp_srs = GDALGetGCPSpatialRef(dataset);
  SpatialReference geographic;
  Transformation to_geographic;
  if (gcp_srs != nullptr) {
    SpatialReference source(OSRClone(gcp_srs));
    geographic.reset(OSRCloneGeogCS(gcp_srs));
    if (!source || !geographic) return reference;
    UseLongitudeLatitudeOrder(source.get());
    UseLongitudeLatitudeOrder(geographic.get());
    reference.geographic_system_wkt = ExportWkt(geographic.get());
    if (OSRIsProjected(source.get())) {
      to_geographic.reset(OCTNewCoordinateTransformation(source.get(), geographic.get()));
      if (!to_geographic) return reference;
    }
  }

  for (int i = 0; i < count; ++i) {
    double x = gcps[i].dfGCPX;
    double y = gcps[i].dfGCPY;
    if (to_geographic && !OCTTransform(to_geographic.get(), 1, &x, &y, nullptr)) continue;
    reference.points.push_back(ChartReferencePoint{.pixel_x = gcps[i].dfGCPPixel,
                                                   .pixel_y = gcps[i].dfGCPLine,
                                                   .latitude = y,
                                                   .longitude = x});
  }
  return reference;
}

}  // namespace kv
