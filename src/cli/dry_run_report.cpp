#include "cli/dry_run_report.h"

#include <iostream>

#include "cli/document_session.h"
#include "document/import_size_estimator.h"
#include "document/map_size_text.h"

namespace kv::cli {

int PrintDryRun(CliContext& context, const std::string& source,
                const ConversionSettings& settings) {
  bool over_limit = false;
  const int status = RunReported(context, kContextImport, [&]() {
    DocumentSession session(context);
    ImportSizeEstimator estimator(session.StartEmpty().SourceOfImport(source));
    const MapSizeEstimate estimate = estimator.Estimate(settings);
    const MapSizeTexts texts = FormatMapSize(context.strings, estimate);
    const StringTable& strings = context.strings;
    std::cout << source << "\n"
              << "  " << strings.Get(kMapTilesLabelId) << " " << texts.tiles << "\n"
              << "  " << strings.Get(kMapImagesLabelId) << " " << texts.images << "\n"
              << "  " << strings.Get(kMapSizeLabelId) << " " << texts.size << "\n"
              << strings.Get(kDryRunNoteId) << "\n";
    over_limit = estimate.over_limit;
  });
  return status != 0 || over_limit ? 1 : 0;
}

}  // namespace kv::cli
