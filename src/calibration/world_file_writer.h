#ifndef KORVALE_CALIBRATION_WORLD_FILE_WRITER_H_
#define KORVALE_CALIBRATION_WORLD_FILE_WRITER_H_

// A calibration as a world file and the ".prj" file beside it that names
// its coordinate system. A world file holds one affine transform, so it is
// only written for a calibration that is one in the chosen system.

#include <optional>
#include <string>
#include <string_view>

#include "calibration/calibration_export.h"
#include "calibration/calibration_import.h"
#include "calibration/calibration_record.h"

namespace kv {

// How far the best affine transform may miss a calibration point. Every
// reader must place the map within 0.01 pixel of what we meant; half of
// that goes to the fit, the rest to the positions' rounding in texts (eight
// decimals of a degree, about a millimetre: 0.005 pixel on a map of 0.2 m
// per pixel). A calibration whose points come from an affine source (a
// world file, a GeoTIFF's transform, a rectangle of bounds) misses by
// rounding alone, around 1e-6 pixel; a projected map measured in the wrong
// system misses by pixels.
inline constexpr double kWorldFileTolerancePixels = 0.005;

struct WorldFileContents {
  std::string world_text;  // the six numbers, one per line
  std::string prj_text;    // the coordinate system as WKT, from GDAL
  double worst_pixels = 0.0;
};

// The world file of `record` in `system`: degrees (longitude as X) on the
// record's datum when none is given or a degree notation is, or UTM on the
// record's datum in the zone given. Other systems are kUnsupportedSystem,
// and so is a `system.datum` other than the record's: the positions are not
// shifted between datums.
ExportOutcome MakeWorldFile(const CalibrationRecord& record,
                            const std::optional<WorldFileSystem>& system,
                            WorldFileContents* contents);

// The ".prj" beside a world file: its extension replaced.
std::string PrjPathOf(std::string_view world_path);

// Writes the world file, then its ".prj", each replacing an old one only
// once it is complete; when the ".prj" cannot be written the world file is
// put back as it was.
ExportOutcome WriteWorldFiles(const std::string& world_path, const WorldFileContents& contents);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_WORLD_FILE_WRITER_H_
