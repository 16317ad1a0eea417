#ifndef KORVALE_CALIBRATION_NINE_POINT_LAYOUT_H_
#define KORVALE_CALIBRATION_NINE_POINT_LAYOUT_H_

// Nine calibration points spread over an image whose georeferencing is an
// affine transform (a world file, a GeoTIFF): the corners, the centre and
// the middles of the edges.
//
// A world file gives the position of the centre of the top-left pixel, and
// so does a calibration point: pixel (x, y) stands for the centre of that
// pixel. Every point is placed at the position of its own pixel.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "calibration/calibration_import.h"
#include "geo/geo_types.h"

namespace kv {

struct PixelPosition {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct WorldXY {
  double x = 0.0;  // easting or longitude
  double y = 0.0;  // northing or latitude
};

// Top-left, top-right, bottom-left, bottom-right, centre, top-centre,
// bottom-centre, centre-left, centre-right (halves in whole pixels).
std::array<PixelPosition, kCalibrationPointCount> NinePointPixels(std::int32_t width,
                                                                  std::int32_t height);

// Of many points with known pixels (a chart's reference points, a GeoTIFF's
// control points), the ones that spread best over the image: for each of
// the nine positions above in turn, the nearest point not yet taken. All
// of them, in their order, when there are at most nine. Indexes into
// `pixels` (x, y pairs in the same pixel units as the image size).
std::vector<std::size_t> NearestToNinePoints(const std::vector<WorldXY>& pixels, std::int32_t width,
                                             std::int32_t height);

// The position of the centre of pixel (x, y), rotation terms included.
WorldXY WorldPosition(const WorldFileValues& values, double x, double y);

// Turns a world position into latitude and longitude; false when it cannot.
using WorldToLatLon = std::function<bool(WorldXY world, LatLon* position)>;

// Fills the nine points (kind 14) and the four bound texts: the envelope
// of the frame from the top-left pixel to one image width and height on
// (C + w·A, F + h·E), as the program's bounds are measured from the
// calibration points (ImageEnvelope); on a north-up map in degrees, north
// and west at the top-left pixel and south and east at the far corner.
// ImportStatus::kBadWorldSystem when a position cannot be converted; the points are then left as
// they were.
ImportStatus LayOutNinePoints(const WorldFileValues& values, std::int32_t width,
                              std::int32_t height, const WorldToLatLon& to_lat_lon,
                              CalibrationImport* import);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_NINE_POINT_LAYOUT_H_
