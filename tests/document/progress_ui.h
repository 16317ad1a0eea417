#ifndef KORVALE_TESTS_DOCUMENT_PROGRESS_UI_H_
#define KORVALE_TESTS_DOCUMENT_PROGRESS_UI_H_

// A recording user interface that also records the progress of long work
// and asks to cancel it at a chosen report.

#include <cstddef>
#include <vector>

#include "recording_ui.h"

namespace kv::testing {

class ProgressUi : public RecordingUi {
 public:
  void ShowProgress(const ConversionProgress& progress) override { shown.push_back(progress); }
  void EndProgress() override { ++ended; }
  // At the report `cancel_at` (counting from 1) and after; never when 0.
  bool CancelRequested() override {
    return cancel_at != 0 && shown.size() >= static_cast<std::size_t>(cancel_at);
  }

  std::vector<ConversionProgress> shown;
  int ended = 0;
  int cancel_at = 0;
};

}  // namespace kv::testing

#endif  // KORVALE_TESTS_DOCUMENT_PROGRESS_UI_H_
