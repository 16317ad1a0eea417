#include "geo/proj_reference.h"

#include <cstdio>

namespace kv::test {

ProjReference::ProjReference(const std::string& definition)
    : context_(proj_context_create()), projection_(proj_create(context_, definition.c_str())) {}

ProjReference::~ProjReference() {
  if (projection_ != nullptr) proj_destroy(projection_);
  proj_context_destroy(context_);
}

ProjXY ProjReference::Forward(double latitude, double longitude) const {
  const PJ_COORD in = proj_coord(proj_torad(longitude), proj_torad(latitude), 0, 0);
  const PJ_COORD out = proj_trans(projection_, PJ_FWD, in);
  return {out.xy.x, out.xy.y};
}

ProjXY ProjReference::Inverse(double x, double y) const {
  const PJ_COORD in = proj_coord(x, y, 0, 0);
  const PJ_COORD out = proj_trans(projection_, PJ_INV, in);
  return {proj_todeg(out.lp.lam), proj_todeg(out.lp.phi)};
}

ProjCrsTransform::ProjCrsTransform(const char* source, const char* target)
    : context_(proj_context_create()),
      transform_(proj_create_crs_to_crs(context_, source, target, nullptr)) {}

ProjCrsTransform::~ProjCrsTransform() {
  if (transform_ != nullptr) proj_destroy(transform_);
  proj_context_destroy(context_);
}

ProjXY ProjCrsTransform::Forward(double first, double second) const {
  const PJ_COORD out = proj_trans(transform_, PJ_FWD, proj_coord(first, second, 0, 0));
  return {out.v[0], out.v[1]};
}

std::string TmercDefinition(double k0, double false_northing, double false_easting, double lat0,
                            double lon0, double a, double rf) {
  char text[512];
  std::snprintf(text, sizeof text,
                "+proj=tmerc +lat_0=%.12g +lon_0=%.12g +k=%.12g +x_0=%.12g +y_0=%.12g "
                "+a=%.12g +rf=%.12g +units=m",
                lat0, lon0, k0, false_easting, false_northing, a, rf);
  return text;
}

}  // namespace kv::test
