#ifndef KORVALE_TESTS_DOCUMENT_RECORDING_UI_H_
#define KORVALE_TESTS_DOCUMENT_RECORDING_UI_H_

// A DocumentUi without a display: answers are queued by the test,
// everything the document shows is recorded.

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/document_ui.h"

namespace kv::testing {

struct RecordedFailure {
  std::uint32_t context = 0;
  DocumentFailure failure;
};

class RecordingUi : public DocumentUi {
 public:
  Answer Ask(const Question& question) override {
    questions.push_back(question);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << question.text;
      return Answer::kCancel;
    }
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowMessage(const std::string& text, const std::string&, MessageIcon) override {
    messages.push_back(text);
  }
  void ReportFailure(std::uint32_t context, const DocumentFailure& failure) override {
    failures.push_back({context, failure});
  }
  void Notify(const Notice& notice) override { notices.push_back(notice); }
  bool RunConversionOptions(const ImportSource&, std::string* map_name,
                            ConversionSettings* settings) override {
    ++options_runs;
    options_name = *map_name;
    if (cancel_options) return false;
    if (options) *settings = *options;
    return true;
  }
  void OpenCalibrationDialog() override { calibration_dialog_open = true; }
  bool CloseCalibrationDialog(bool validate) override {
    if (validate && refuse_close) return false;
    calibration_dialog_open = false;
    return true;
  }
  bool IsCalibrationDialogOpen() const override { return calibration_dialog_open; }
  void SetPreviewerMode(PreviewerMode mode) override { previewer_mode = mode; }
  void ZoomImageView(int percent) override { zoom = percent; }
  void SetWaitCursor(bool waiting) override { wait_depth += waiting ? 1 : -1; }
  void SetTitle(const std::string& text) override { title = text; }
  void Repaint() override { ++repaints; }
  void RequestClose() override { close_requested = true; }

  std::deque<Answer> answers;
  std::vector<Question> questions;
  std::optional<ConversionSettings> options;
  bool cancel_options = false;
  int options_runs = 0;
  std::string options_name;
  std::vector<std::string> messages;
  std::vector<RecordedFailure> failures;
  std::vector<Notice> notices;
  bool calibration_dialog_open = false;
  bool refuse_close = false;
  PreviewerMode previewer_mode = PreviewerMode::kView;
  int zoom = -1;
  int wait_depth = 0;
  std::string title;
  int repaints = 0;
  bool close_requested = false;
};

}  // namespace kv::testing

#endif  // KORVALE_TESTS_DOCUMENT_RECORDING_UI_H_
