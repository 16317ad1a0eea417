#include "cli/convert_batch.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <system_error>
#include <thread>

#include "base/exceptions.h"
#include "base/file_commit_queue.h"
#include "bitmap/conversion_threads.h"
#include "cli/document_session.h"
#include "cli/interrupt_watcher.h"
#include "cli/progress_printer.h"

namespace kv::cli {

namespace {

namespace fs = std::filesystem;

// What a shell reports for a program ended by Ctrl-C (128 + SIGINT).
constexpr int kInterruptedExitCode = 130;

// Finished maps whose sync to the disk has not begun. When the disk falls
// this far behind, the slots wait for it rather than hold ever more
// written files open.
constexpr std::size_t kMapsWaitingForTheDisk = 8;

// The threads of each slot, a slot being one map at a time. As many slots
// as threads, each map on one thread: a map decodes and encodes on its own
// core without handing rows between threads, and one map's set-up and
// overview overlap the others' tiles. Fewer maps than threads split the
// threads between them. Together they never exceed the budget.
std::vector<int> SlotThreads(int budget, std::size_t maps) {
  const auto slots =
      static_cast<int>(std::clamp<std::size_t>(maps, 1, static_cast<std::size_t>(budget)));
  std::vector<int> threads(static_cast<std::size_t>(slots), budget / slots);
  for (int slot = 0; slot < budget % slots; ++slot) ++threads[static_cast<std::size_t>(slot)];
  return threads;
}

std::string SkippedLine(const std::string& source) {
  return "kvmap: skipped " + source + ": no calibration found for it\n";
}

// One map of the batch, converted on one slot.
struct MapJob {
  const PlannedMap& map;
  int threads;
  std::function<void(double)> advance;
  // Takes the finished map's file, to put it in place.
  FileCommitter commit;
};

// One map as a single convert makes it, in the document of `session`.
MapOutcomeKind ConvertMap(DocumentSession& session, const PlannedMap& map,
                          const BatchOptions& options, const std::atomic<bool>& cancel,
                          MapOutcome* outcome) {
  CliDocumentUi& ui = session.ui();
  CDocument& document = session.document();
  const bool imported = document.ImportSourceImage(map.source, true, true) == 0;
  if (cancel) return MapOutcomeKind::kCancelled;
  if (!imported) return MapOutcomeKind::kFailed;
  if (options.no_calibration) {
    session.DropCalibration();
  } else if (options.require_calibration && !HasBounds(session.app().calibration)) {
    ui.DropHeldCalibrationNotices();
    outcome->messages = SkippedLine(map.source);
    return MapOutcomeKind::kSkipped;
  }
  if (document.SaveAs(fs::absolute(map.output).string()) != 0) return MapOutcomeKind::kFailed;
  ui.PrintHeldNotices();
  outcome->converted = DescribeConvertedMap(document);
  return MapOutcomeKind::kConverted;
}

// A document of its own for each map, with its own application state,
// conversion context and error texts: nothing mutable is shared with the
// maps converted beside it.
MapOutcome ConvertOne(const StringTable& strings, const MapJob& job, const BatchOptions& options,
                      std::atomic<bool>& cancel) {
  std::ostringstream messages;
  CliContext context(strings, messages);
  MapOutcome outcome;
  const int status = RunReported(context, kContextImport, [&]() {
    DocumentSession session(context);
    CliDocumentUi& ui = session.ui();
    ui.hold_notices = true;
    ui.settings = options.settings;
    ui.progress_sink = [&](const ConversionProgress& progress) {
      job.advance(progress.Fraction());
      if (cancel) ui.cancel_requested = true;
    };
    session.StartEmpty().container().conversion_context().threads = job.threads;
    session.app().commit_map = job.commit;
    outcome.kind = ConvertMap(session, job.map, options, cancel, &outcome);
  });
  if (status != 0) outcome.kind = MapOutcomeKind::kFailed;
  outcome.messages.insert(0, messages.str());
  return outcome;
}

// Once the map's file has been committed with `commit_status`: its line,
// or the error a single convert prints when its save fails.
void FinishMap(const StringTable& strings, const PlannedMap& map, int commit_status,
               MapOutcome* outcome) {
  if (outcome->kind != MapOutcomeKind::kConverted) return;
  std::ostringstream messages;
  CliContext context(strings, messages);
  const int status = RunReported(context, kContextSave, [&]() {
    if (commit_status != 0) {
      ThrowSystemFailure<ErrFileWrite>(fs::absolute(map.output).c_str(), commit_status);
    }
    outcome->summary = ConvertedMapLine(outcome->converted, map.output);
  });
  if (status != 0) outcome->kind = MapOutcomeKind::kFailed;
  outcome->messages += messages.str();
}

void CreateOutputFolder(const std::string& folder) {
  std::error_code error;
  if (folder.empty() || fs::is_directory(folder, error)) return;
  fs::create_directories(folder, error);
  if (error) ThrowSystemFailure<ErrFileCreate>(folder.c_str(), error.value());
}

}  // namespace

ConvertedMap DescribeConvertedMap(const CDocument& document) {
  const CImage& overview = *document.container().ImageAt(0);
  return {document.container().image_count(), overview.bitmap().depth, overview.map_width(),
          overview.map_height()};
}

std::string ConvertedMapLine(const ConvertedMap& map, const std::string& output) {
  std::ostringstream line;
  line << output << ": " << map.images << " images, " << map.depth << " bits, " << map.width
       << " x " << map.height << " pixels, " << fs::file_size(output) << " bytes\n";
  return line.str();
}

std::vector<MapOutcome> ConvertBatch(const StringTable& strings, const BatchPlan& plan,
                                     const BatchOptions& options, std::atomic<bool>& cancel,
                                     const BatchProgress::Listener& listener) {
  std::vector<MapOutcome> outcomes(plan.maps.size());
  const std::vector<int> slots =
      SlotThreads(ConversionThreadCount(options.threads), plan.maps.size());
  BatchProgress progress(slots.size(), plan.maps.size(), listener);
  // Written on the queue's thread; read once it is drained.
  std::vector<int> commit_status(plan.maps.size(), 0);
  FileCommitQueue commits(kMapsWaitingForTheDisk);
  std::atomic<std::size_t> next{0};
  const auto run_slot = [&](std::size_t slot) {
    for (std::size_t index = next++; index < plan.maps.size() && !cancel; index = next++) {
      const MapJob job{
          plan.maps[index], slots[slot],
          [&progress, slot](double fraction) { progress.Advance(slot, fraction); },
          [&commits, status = &commit_status[index]](std::unique_ptr<ReplaceFileWriter> writer) {
            commits.Push(std::move(writer), [status](int result) { *status = result; });
            return 0;
          }};
      outcomes[index] = ConvertOne(strings, job, options, cancel);
      progress.MapDone(slot);
    }
  };
  std::vector<std::thread> threads;
  for (std::size_t slot = 1; slot < slots.size(); ++slot) threads.emplace_back(run_slot, slot);
  run_slot(0);
  for (std::thread& thread : threads) thread.join();
  commits.Drain();
  for (std::size_t index = 0; index < plan.maps.size(); ++index) {
    FinishMap(strings, plan.maps[index], commit_status[index], &outcomes[index]);
  }
  return outcomes;
}

int ReportBatch(const BatchPlan& plan, const std::vector<MapOutcome>& outcomes, std::ostream& out,
                std::ostream& err) {
  std::size_t counts[4] = {};
  for (const MapOutcome& outcome : outcomes) {
    ++counts[static_cast<int>(outcome.kind)];
    out << outcome.summary;
    err << outcome.messages;
  }
  for (const std::string& source : plan.skipped) err << SkippedLine(source);
  const std::size_t skipped =
      counts[static_cast<int>(MapOutcomeKind::kSkipped)] + plan.skipped.size();
  const std::size_t failed = counts[static_cast<int>(MapOutcomeKind::kFailed)];
  const std::size_t cancelled = counts[static_cast<int>(MapOutcomeKind::kCancelled)];
  out << "converted " << counts[static_cast<int>(MapOutcomeKind::kConverted)] << " of "
      << outcomes.size() + plan.skipped.size() << " sources, skipped " << skipped << ", failed "
      << failed << "\n";
  if (cancelled != 0) {
    err << "kvmap: cancelled; " << cancelled << " maps not written\n";
    return kInterruptedExitCode;
  }
  return failed != 0 ? 1 : 0;
}

int RunConvertBatch(CliContext& context, const BatchRequest& request, const BatchOptions& options) {
  const BatchPlan plan = PlanBatch(request);
  if (!plan.maps.empty() && RunReported(context, kContextSave, [&]() {
                              CreateOutputFolder(request.output_folder);
                            }) != 0) {
    return 1;
  }
  std::atomic<bool> cancel{false};
  ProgressPrinter printer = ProgressPrinter::ForStandardOutput();
  std::vector<MapOutcome> outcomes;
  {
    InterruptWatcher interrupts(cancel);
    outcomes = ConvertBatch(context.strings, plan, options, cancel,
                            [&printer](const BatchProgressState& state) {
                              printer.ShowMaps(state.fraction, state.maps_done, state.maps_total);
                            });
  }
  printer.End();
  return ReportBatch(plan, outcomes, std::cout, context.errors);
}

}  // namespace kv::cli
