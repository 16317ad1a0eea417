#include "cli/document_session.h"

namespace kv::cli {

DocumentSession::DocumentSession(CliContext& context) : context_(context), ui_(context) {
  LoadDocumentTexts(context.strings, &app_);
  app_.diagnostics = &quiet_;
}

CDocument& DocumentSession::StartEmpty() {
  document_ = std::make_unique<CDocument>(app_, ui_, true);
  return *document_;
}

CDocument* DocumentSession::OpenMap(const std::string& path) {
  const int result = RunReported(context_, kContextOpen,
                                 [&]() { document_ = CDocument::FromFile(app_, ui_, path, true); });
  return result == 0 ? document_.get() : nullptr;
}

void DocumentSession::DropCalibration() {
  ui_.DropHeldCalibrationNotices();
  ClearCalibrationRecord(&app_.calibration);
  document_->RestoreBounds(BoundTexts{});
}

}  // namespace kv::cli
