#include "document/application_state.h"

#include "document/document_texts.h"

namespace kv {

void LoadDocumentTexts(const StringTable& strings, ApplicationState* state) {
  state->caption = DocumentText(strings, kCaptionTextId);
  state->default_document_name = DocumentText(strings, kDefaultDocumentNameId);
  state->save_changes_question = DocumentText(strings, kSaveChangesQuestionId);
  state->replace_calibration_question = DocumentText(strings, kReplaceCalibrationQuestionId);
  state->empty_map_message = DocumentText(strings, kEmptyMapMessageId);
  state->smaller_scale_counts = DocumentText(strings, kSmallerScaleCountsId);
  const std::string& negative = strings.Get(kNegativeLettersId);
  if (!negative.empty()) state->negative_letters = negative;
}

}  // namespace kv
