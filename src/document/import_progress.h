#ifndef KORVALE_DOCUMENT_IMPORT_PROGRESS_H_
#define KORVALE_DOCUMENT_IMPORT_PROGRESS_H_

// While one lives, the conversions of a container run through the user
// interface (which may move them off its own thread), report their
// progress to it, and the user's Cancel stops them.

#include "document/document_ui.h"
#include "map/c_image_container.h"

namespace kv {

class ImportProgress {
 public:
  ImportProgress(DocumentUi& ui, CImageContainer& container)
      : ui_(ui), container_(container), context_(container.conversion_context()) {
    context_.cancel = false;
    context_.progress = [this](const ConversionProgress& progress) {
      ui_.ShowProgress(progress);
      if (ui_.CancelRequested()) context_.cancel = true;
    };
    container_.set_conversion_runner(
        [this](const std::function<void()>& work) { ui_.RunConversion(work); });
  }
  ~ImportProgress() {
    container_.set_conversion_runner(nullptr);
    context_.progress = nullptr;
    context_.cancel = false;
    ui_.EndProgress();
  }
  ImportProgress(const ImportProgress&) = delete;
  ImportProgress& operator=(const ImportProgress&) = delete;

 private:
  DocumentUi& ui_;
  CImageContainer& container_;
  ConversionContext& context_;
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_IMPORT_PROGRESS_H_
