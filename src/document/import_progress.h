#ifndef KORVALE_DOCUMENT_IMPORT_PROGRESS_H_
#define KORVALE_DOCUMENT_IMPORT_PROGRESS_H_

// While one lives, the conversions of a container report their progress to
// the user interface, and the user's Cancel stops them.

#include "bitmap/conversion_context.h"
#include "document/document_ui.h"

namespace kv {

class ImportProgress {
 public:
  ImportProgress(DocumentUi& ui, ConversionContext& context) : ui_(ui), context_(context) {
    context_.cancel = false;
    context_.progress = [this](const ConversionProgress& progress) {
      ui_.ShowProgress(progress);
      if (ui_.CancelRequested()) context_.cancel = true;
    };
  }
  ~ImportProgress() {
    context_.progress = nullptr;
    context_.cancel = false;
    ui_.EndProgress();
  }
  ImportProgress(const ImportProgress&) = delete;
  ImportProgress& operator=(const ImportProgress&) = delete;

 private:
  DocumentUi& ui_;
  ConversionContext& context_;
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_IMPORT_PROGRESS_H_
