#ifndef KORVALE_CALIBRATION_CONTROL_POINT_FIT_H_
#define KORVALE_CALIBRATION_CONTROL_POINT_FIT_H_

// Ground control points (a pixel and the position it shows, in the
// source's own coordinate system) turned into calibration points: up to
// nine, spread over the image, each moved to the centre of a whole pixel.

#include <cstdint>
#include <optional>
#include <vector>

#include "calibration/nine_point_layout.h"

namespace kv {

// GDAL's pixel coordinates: (0, 0) is the outer corner of the top-left
// pixel, so the centre of pixel (x, y) is (x + 0.5, y + 0.5).
struct ControlPoint {
  WorldXY pixel;
  WorldXY world;
};

// The least-squares affine transform from pixels (GDAL's coordinates) to
// positions through all the control points.
struct AffineFit {
  WorldFileValues to_world;   // C and F at GDAL pixel (0, 0)
  double rms_pixels = 0.0;    // of the points' distances from the fit, in pixels
  double worst_pixels = 0.0;  // the largest of those distances
};

// None when fewer than three points are given or they lie on one line.
std::optional<AffineFit> FitControlPoints(const std::vector<ControlPoint>& points);

struct ChosenControlPoint {
  PixelPosition pixel;  // whole pixel whose centre stands for the point
  WorldXY world;        // the position at that centre
};

// Up to nine points, nearest to the nine places of NinePointPixels. A point
// between pixel centres moves to the nearest centre, its position moved
// with it by the fit's slope (at most half a pixel's worth), so that the
// point's own position, not the fit's, is what the map keeps.
std::vector<ChosenControlPoint> ChooseControlPoints(const std::vector<ControlPoint>& points,
                                                    const AffineFit& fit, std::int32_t width,
                                                    std::int32_t height);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CONTROL_POINT_FIT_H_
