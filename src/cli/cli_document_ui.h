#ifndef KORVALE_CLI_CLI_DOCUMENT_UI_H_
#define KORVALE_CLI_CLI_DOCUMENT_UI_H_

// The document's user interface for kvmap: the answers come from the
// command line, failures go to standard error through the error reporting.

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/progress_printer.h"
#include "document/document_ui.h"

namespace kv::cli {

class CliDocumentUi final : public DocumentUi {
 public:
  explicit CliDocumentUi(CliContext& context) : context_(context) {}

  // What the command line chose.
  std::optional<std::string> map_name;  // replaces the proposed name
  ConversionSettings settings;          // what the options dialog returns
  // Set (by Ctrl-C) to cancel the conversion under way.
  std::atomic<bool> cancel_requested{false};
  // Keeps notices until PrintHeldNotices: what a map was made from is worth
  // saying once it is written; a failure is then the only line.
  bool hold_notices = false;

  Answer Ask(const Question& question) override;
  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void ReportFailure(std::uint32_t context_id, const DocumentFailure& failure) override;
  // On standard error, so that standard output keeps only what was asked.
  void Notify(const Notice& notice) override;
  void PrintHeldNotices();
  // Forgets what was held about a calibration the map does not use.
  void DropHeldCalibrationNotices();
  bool RunConversionOptions(const ImportSource& source, std::string* name,
                            ConversionSettings* chosen) override;
  // Takes the progress instead of the terminal line, e.g. for a batch's
  // one line.
  std::function<void(const ConversionProgress&)> progress_sink;

  void ShowProgress(const ConversionProgress& progress) override;
  void EndProgress() override;
  bool CancelRequested() override { return cancel_requested; }

 private:
  void Print(const Notice& notice) const;

  CliContext& context_;
  std::vector<Notice> held_;
  ProgressPrinter progress_ = ProgressPrinter::ForStandardOutput();
};

}  // namespace kv::cli

#endif  // KORVALE_CLI_CLI_DOCUMENT_UI_H_
