#ifndef KORVALE_CALIBRATION_CALIBRATION_PLACEMENT_H_
#define KORVALE_CALIBRATION_CALIBRATION_PLACEMENT_H_

// The pixels and positions that place an image on the Earth, whatever way
// its calibration was given: what a calibration is written out as for other
// programs.

#include <vector>

#include "calibration/calibration_record.h"
#include "calibration/control_point_fit.h"
#include "geo/geo_types.h"

namespace kv {

// A pixel position as calibration points measure it ((0, 0) is the centre
// of the top-left pixel) and the position it shows, in the record's datum.
struct PlacingPoint {
  PixelPosition pixel;
  LatLon position;
};

// The calibration points in use when the record's kind places the image by
// its points and at least three have a position; otherwise nine points
// spread over the image (NinePointPixels) on the bounds, which run from
// pixel position (0, 0) to (width, height) linearly in latitude and
// longitude: the rectangular kind, a centre with extents, two points. Empty
// when the record has neither (no bounds, or no image size).
std::vector<PlacingPoint> PlacingPoints(const CalibrationRecord& record);

// The points as control points in latitude (y) and longitude (x), for
// FitControlPoints; pixel positions are taken as they are, so the fit's C
// and F are the position of the top-left pixel's centre.
std::vector<ControlPoint> LatLonControlPoints(const std::vector<PlacingPoint>& points);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CALIBRATION_PLACEMENT_H_
