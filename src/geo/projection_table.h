#ifndef KORVALE_GEO_PROJECTION_TABLE_H_
#define KORVALE_GEO_PROJECTION_TABLE_H_

// Map projections a calibration can name, by their PROJ.4 projection codes,
// and the names other programs use for them.

#include <array>
#include <string>
#include <string_view>

namespace kv {

struct ProjectionRow {
  std::string_view code;
  std::string_view display_name;
};

struct ProjectionAlias {
  std::string_view code;
  std::string_view alias;
};

inline constexpr int kProjectionCount = 9;
inline constexpr int kProjectionAliasCount = 5;

const std::array<ProjectionRow, kProjectionCount>& ProjectionTable();
const std::array<ProjectionAlias, kProjectionAliasCount>& ProjectionAliases();

int ProjectionRowCount();
// Row whose code equals `code` (ignoring case), or -1.
int FindProjection(std::string_view code);
// Empty texts outside the table.
std::string_view ProjectionCode(int index);
std::string_view ProjectionDisplayName(int index);

// The code of the first alias row whose code or alias equals `name`
// (ignoring case), and true; otherwise `name` itself and false.
bool CanonicalProjectionCode(std::string_view name, std::string* code);

// The calibration kinds in the order the calibration dialog lists them.
struct CalibrationKindName {
  int kind;
  std::string_view name;
};

inline constexpr int kCalibrationKindNameCount = 4;

const std::array<CalibrationKindName, kCalibrationKindNameCount>& CalibrationKindNames();

}  // namespace kv

#endif  // KORVALE_GEO_PROJECTION_TABLE_H_
