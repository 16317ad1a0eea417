#ifndef KORVALE_CLI_CONVERT_BATCH_H_
#define KORVALE_CLI_CONVERT_BATCH_H_

// `kvmap convert` of several sources: every map of a BatchPlan converted
// with the same options, several at once, each by a document of its own.
// A map that fails does not stop the others; Ctrl-C stops them all, and a
// map is only ever written whole (the save replaces its file when it is
// complete), so a cancelled batch leaves the maps finished before it and
// nothing of those under way.

#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "bitmap/conversion_context.h"
#include "cli/batch_progress.h"
#include "cli/cli_context.h"
#include "cli/convert_batch_plan.h"

namespace kv {
class CDocument;
}  // namespace kv

namespace kv::cli {

struct BatchOptions {
  ConversionSettings settings;
  bool no_calibration = false;
  // A map whose import found no calibration is not written.
  bool require_calibration = false;
  // Threads for the whole batch, shared out among the maps converted at
  // once; 0: KV_THREADS, or one per core.
  int threads = 0;
};

enum class MapOutcomeKind {
  kConverted,
  kSkipped,  // no calibration, with require_calibration
  kFailed,
  kCancelled,  // stopped, or never started
};

// What the line of a converted map tells, apart from the file's size.
struct ConvertedMap {
  std::size_t images = 0;
  int depth = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

ConvertedMap DescribeConvertedMap(const CDocument& document);

struct MapOutcome {
  MapOutcomeKind kind = MapOutcomeKind::kCancelled;
  ConvertedMap converted;
  // Converted: the line a single convert prints for its map.
  std::string summary;
  // The errors and notices a single convert would print on standard error.
  std::string messages;
};

// The line a convert prints for the map it wrote to `output`: images,
// depth, size in pixels and in bytes (read from the file).
std::string ConvertedMapLine(const ConvertedMap& map, const std::string& output);

// Converts the plan's maps; one outcome for each, in the plan's order.
// Each finished map is synced to the disk and named on a thread of its own
// while the next one converts; the outcomes are complete once every map is
// in place.
// Setting `cancel` (from any thread) starts no more maps and stops those
// under way. `listener` hears how far the batch is, one call at a time.
std::vector<MapOutcome> ConvertBatch(const StringTable& strings, const BatchPlan& plan,
                                     const BatchOptions& options, std::atomic<bool>& cancel,
                                     const BatchProgress::Listener& listener);

// Prints each map's outcome in the plan's order (summaries on `out`,
// errors, notices and skipped sources on `err`) and the closing counts on
// `out`. Returns the exit status: 130 when the batch was cancelled, 1 when
// any map failed, else 0; skipped sources are what the user asked for, so
// they alone do not fail the batch.
int ReportBatch(const BatchPlan& plan, const std::vector<MapOutcome>& outcomes, std::ostream& out,
                std::ostream& err);

// The whole command: plans (throwing CLI::ValidationError for what the
// user must fix first), creates the output folder when it is missing,
// converts with one progress line and Ctrl-C watched, and reports.
int RunConvertBatch(CliContext& context, const BatchRequest& request, const BatchOptions& options);

}  // namespace kv::cli

#endif  // KORVALE_CLI_CONVERT_BATCH_H_
