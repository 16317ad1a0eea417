#ifndef KORVALE_CLI_CONVERT_BATCH_PLAN_H_
#define KORVALE_CLI_CONVERT_BATCH_PLAN_H_

// Which maps a `kvmap convert` of several sources writes, and where, decided
// before anything is converted: folders are opened into their calibrated
// images, every map gets its output name, and names two sources would share
// are refused while nothing is written yet.

#include <string>
#include <vector>

namespace kv::cli {

struct BatchRequest {
  // Files and folders, as typed.
  std::vector<std::string> sources;
  // The folder the maps go into; empty: each map beside its image.
  std::string output_folder;
  // Sources without a calibration are left out instead of converted
  // uncalibrated.
  bool require_calibration = false;
};

struct PlannedMap {
  std::string source;
  std::string output;  // <output folder>/<source name without extension>.prc
};

struct BatchPlan {
  std::vector<PlannedMap> maps;  // in the order given, a folder's by name
  // Sources left out for want of a calibration: a folder's images without
  // one, and with --require-calibration any image without one beside it.
  std::vector<std::string> skipped;
};

// True when the command line asks for more than the one map a single
// source makes: several sources, a folder (unless -o names a ".prc" file),
// a single source going into an existing folder, or --require-calibration.
bool IsBatchRequest(const BatchRequest& request);

// Throws CLI::ValidationError when the output folder is a file, names a
// ".prc" file, two sources would write the same map (naming both), or the
// sources hold no image at all.
// Lists folders only one level deep: sub-folders are usually the parts
// and copies a user keeps apart.
BatchPlan PlanBatch(const BatchRequest& request);

}  // namespace kv::cli

#endif  // KORVALE_CLI_CONVERT_BATCH_PLAN_H_
