#ifndef KORVALE_TESTS_GEO_PROJ_REFERENCE_H_
#define KORVALE_TESTS_GEO_PROJ_REFERENCE_H_

// PROJ as the independent reference for the projection tests: one
// projection given as a "+proj=..." string, no datum shift involved.

#include <proj.h>

#include <string>

namespace kv::test {

struct ProjXY {
  double x;
  double y;
};

class ProjReference {
 public:
  explicit ProjReference(const std::string& definition);
  ~ProjReference();
  ProjReference(const ProjReference&) = delete;
  ProjReference& operator=(const ProjReference&) = delete;

  bool ok() const { return projection_ != nullptr; }
  // Degrees in, projected metres out.
  ProjXY Forward(double latitude, double longitude) const;
  // Projected metres in, degrees out (x = longitude, y = latitude).
  ProjXY Inverse(double x, double y) const;

 private:
  PJ_CONTEXT* context_;
  PJ* projection_;
};

// A transformation between two CRSs of PROJ's database ("EPSG:4156" to
// "EPSG:5514"), coordinates in the order the authority defines (latitude
// before longitude for EPSG's geographic CRSs).
class ProjCrsTransform {
 public:
  ProjCrsTransform(const char* source, const char* target);
  ~ProjCrsTransform();
  ProjCrsTransform(const ProjCrsTransform&) = delete;
  ProjCrsTransform& operator=(const ProjCrsTransform&) = delete;

  bool ok() const { return transform_ != nullptr; }
  ProjXY Forward(double first, double second) const;

 private:
  PJ_CONTEXT* context_;
  PJ* transform_;
};

// "+proj=tmerc ..." with an ellipsoid by its defining values.
std::string TmercDefinition(double k0, double false_northing, double false_easting, double lat0,
                            double lon0, double a, double rf);

}  // namespace kv::test

#endif  // KORVALE_TESTS_GEO_PROJ_REFERENCE_H_
