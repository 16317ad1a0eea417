#ifndef KORVALE_BITMAP_GDAL_GDAL_CHART_REFERENCE_H_
#define KORVALE_BITMAP_GDAL_GDAL_CHART_REFERENCE_H_

// The reference points of a chart opened by GDAL. GDAL gives them as ground
// control points in the chart's projection (metres for a Mercator chart);
// they are turned back into latitude and longitude in the chart's datum.

#include <gdal.h>

#include <string>
#include <vector>

#include "bitmap/image_source.h"

namespace kv {

struct ChartReference {
  std::vector<ChartReferencePoint> points;
  std::string geographic_system_wkt;  // the datum's geographic system, WKT
};

// Points whose position cannot be converted are left out.
ChartReference ReadChartReference(GDALDatasetH dataset);

}  // namespace kv

#endif  // KORVALE_BITMAP_GDAL_GDAL_CHART_REFERENCE_H_
