#include "cli/cli_document_ui.h"

#include <iostream>

namespace kv::cli {

// kvmap only runs the commands the user asked for, so every question about
// them is answered yes.
Answer CliDocumentUi::Ask(const Question&) { return Answer::kYes; }

void CliDocumentUi::ShowMessage(const std::string& text, const std::string&, MessageIcon) {
  std::cout << text << "\n";
}

void CliDocumentUi::ReportFailure(std::uint32_t context_id, const DocumentFailure& failure) {
  ReportDocumentFailure(context_.reporter, context_.strings.Get(context_id), failure);
}

void CliDocumentUi::Notify(const Notice& notice) {
  if (hold_notices) {
    held_.push_back(notice);
  } else {
    Print(notice);
  }
}

void CliDocumentUi::PrintHeldNotices() {
  for (const Notice& notice : held_) Print(notice);
  held_.clear();
}

void CliDocumentUi::DropHeldCalibrationNotices() {
  std::erase_if(held_,
                [](const Notice& notice) { return notice.kind != NoticeKind::kUnshownCharacters; });
}

void CliDocumentUi::Print(const Notice& notice) const {
  context_.errors << "kvmap: " << (IsWarning(notice) ? "warning: " : "")
                  << NoticeText(context_.strings, notice) << "\n";
}

void CliDocumentUi::ShowProgress(const ConversionProgress& progress) {
  if (progress_sink) {
    progress_sink(progress);
  } else {
    progress_.Show(progress);
  }
}

void CliDocumentUi::EndProgress() {
  if (!progress_sink) progress_.End();
}

bool CliDocumentUi::RunConversionOptions(const ImportSource& /*source*/, std::string* name,
                                         ConversionSettings* chosen) {
  if (map_name) *name = *map_name;
  *chosen = settings;
  return true;
}

}  // namespace kv::cli
