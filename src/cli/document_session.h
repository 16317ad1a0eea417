#ifndef KORVALE_CLI_DOCUMENT_SESSION_H_
#define KORVALE_CLI_DOCUMENT_SESSION_H_

// A document as kvmap's commands run it: the application state with the
// language's texts, diagnostics nobody reads dropped, and the command-line
// user interface.

#include <memory>
#include <ostream>
#include <string>

#include "cli/cli_context.h"
#include "cli/cli_document_ui.h"
#include "document/document.h"

namespace kv::cli {

class DocumentSession {
 public:
  explicit DocumentSession(CliContext& context);
  DocumentSession(const DocumentSession&) = delete;
  DocumentSession& operator=(const DocumentSession&) = delete;

  // An empty document, for an import.
  CDocument& StartEmpty();
  // The map at `path` re-opened; none when it fails (reported with the
  // open context).
  CDocument* OpenMap(const std::string& path);

  // The map keeps no calibration: neither the one the import found nor
  // what was held to be said about it.
  // REQUIRES: StartEmpty or a successful OpenMap.
  void DropCalibration();

  ApplicationState& app() { return app_; }
  CliDocumentUi& ui() { return ui_; }
  // REQUIRES: StartEmpty or a successful OpenMap.
  CDocument& document() { return *document_; }

 private:
  CliContext& context_;
  ApplicationState app_;
  std::ostream quiet_{nullptr};
  CliDocumentUi ui_;
  std::unique_ptr<CDocument> document_;
};

}  // namespace kv::cli

#endif  // KORVALE_CLI_DOCUMENT_SESSION_H_
