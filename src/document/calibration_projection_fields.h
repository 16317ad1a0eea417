#ifndef KORVALE_DOCUMENT_CALIBRATION_PROJECTION_FIELDS_H_
#define KORVALE_DOCUMENT_CALIBRATION_PROJECTION_FIELDS_H_

// The projection of a calibration as the dialog edits it: a row of the
// projection table and six key/value pairs, read from and written to the
// record's projection text ("proj=tmerc lat_0=0 lon_0=9 k=0.9996 ").

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "geo/position_text.h"

namespace kv {

inline constexpr int kProjectionParameterCount = 6;

// Index of pair `i` (0-5) in the arrays below.
inline constexpr std::size_t Slot(int i) { return static_cast<std::size_t>(i); }

struct ProjectionParameter {
  std::string key;
  std::string value;

  bool operator==(const ProjectionParameter&) const = default;
};

struct ProjectionFields {
  int projection = 0;  // row of the projection table; 0 is "none"
  std::array<ProjectionParameter, kProjectionParameterCount> parameters;
};

// Keys beginning with "l" hold angles: "la..." a latitude, any other a
// longitude.
bool IsAngleKey(std::string_view key);
PositionAxis AngleAxisOf(std::string_view key);

// The keys offered for a projection before any value is typed.
std::array<std::string, kProjectionParameterCount> DefaultParameterKeys(int projection);

// Writes an angle as the dialog shows it.
using AngleFormatter = std::function<std::string(double degrees, PositionAxis axis)>;

// The projection named after "proj=" (row 0 when absent or unknown), the
// projection's keys, and each key's value from the text; keys of the text
// the projection does not offer take the free pairs.
ProjectionFields ProjectionFieldsFromText(std::string_view text, const AngleFormatter& angle);

// "proj=" + code + " " and "key=value " for every pair with a value, angles
// with eight decimals; empty for row 0. `negative_letters` read typed
// angles.
std::string ProjectionTextFromFields(const ProjectionFields& fields,
                                     std::string_view negative_letters);

// What was typed for each projection the user chose and left, so that
// choosing it again shows the same parameters until the dialog applies or
// closes.
class ProjectionDrafts {
 public:
  using Parameters = std::array<ProjectionParameter, kProjectionParameterCount>;

  void Keep(int projection, const Parameters& parameters) { drafts_[projection] = parameters; }
  // The parameters kept for `projection`, or none.
  const Parameters* Find(int projection) const;
  // Angles again in a new notation, as the shown projection's are.
  void Reformat(const AngleFormatter& angle, std::string_view negative_letters);
  void Clear() { drafts_.clear(); }

  bool operator==(const ProjectionDrafts&) const = default;

 private:
  std::map<int, Parameters> drafts_;
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_CALIBRATION_PROJECTION_FIELDS_H_
