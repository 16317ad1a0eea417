#include "shell/prefs_binding.h"

namespace kv {

namespace {

bool IsOfferedDepth(std::int32_t depth) {
  return depth == 16 || depth == 8 || depth == 4 || depth == 2 || depth == 1;
}

}  // namespace

void LoadSettingsFromPrefs(const PrefsRecord& prefs, ApplicationState* app) {
  app->settings.colourDepth = IsOfferedDepth(prefs.colour_depth) ? prefs.colour_depth : 16;
  app->settings.compressBitmaps = prefs.compression != 0;
  app->last_map_folder = prefs.last_map_folder;
  app->last_image_folder = prefs.last_image_folder;
  app->import_state.world_file_system.system = prefs.coordinate_system;
  app->calibration_follow = prefs.calibration_follow != 0;
}

void StoreSettingsInPrefs(const ApplicationState& app, PrefsRecord* prefs) {
  prefs->min_depth = 1;
  prefs->colour_depth = app.settings.colourDepth;
  prefs->compression = app.settings.compressBitmaps ? 1 : 0;
  prefs->last_map_folder = app.last_map_folder;
  prefs->last_image_folder = app.last_image_folder;
  prefs->coordinate_system = app.import_state.world_file_system.system;
  prefs->calibration_follow = app.calibration_follow ? 1 : 0;
}

}  // namespace kv
