#ifndef KORVALE_DOCUMENT_APPLICATION_STATE_H_
#define KORVALE_DOCUMENT_APPLICATION_STATE_H_

// What the program keeps beyond one document: the current calibration, the
// conversion settings, the folders last used, the texts the document shows,
// and what calibration imports share. The caller owns it (the main window,
// kvmap's command, a test) and hands it to each document by reference.

#include <iostream>
#include <ostream>
#include <string>

#include "base/file_commit_queue.h"
#include "base/string_table.h"
#include "bitmap/conversion_context.h"
#include "calibration/calibration_import.h"
#include "calibration/calibration_record.h"
#include "geo/grid_conversion.h"
#include "geo/position_text.h"

namespace kv {

struct ApplicationState {
  CalibrationRecord calibration;
  ConversionSettings settings;
  // With trailing separator, or empty for the working folder.
  std::string last_map_folder;
  std::string last_image_folder;
  std::string caption;                       // kCaptionTextId
  std::string default_document_name;         // kDefaultDocumentNameId
  std::string save_changes_question;         // kSaveChangesQuestionId: "%s" is the file name
  std::string replace_calibration_question;  // kReplaceCalibrationQuestionId
  std::string empty_map_message;             // kEmptyMapMessageId
  // kSmallerScaleCountsId: the image counts at 50 % and 25 % ("%s" each),
  // told when a map would hold too many images.
  std::string smaller_scale_counts;
  std::string negative_letters = std::string(kDefaultNegativeLetters);

  // The calibration dialog's "follow the point" option, kept in the
  // preferences.
  bool calibration_follow = true;

  CoordinateContext coordinates;
  CalibrationImportState import_state;
  // How a saved map is put in place; empty: at once, so a save that
  // returns has its file. A batch hands maps to a queue instead and learns
  // there whether each one reached its name.
  FileCommitter commit_map;
  // Diagnostics nobody is meant to see (a missing library, a world file's
  // report).
  std::ostream* diagnostics = &std::cout;
};

// The texts from the language strings, each falling back to the program's
// own English text when the strings lack it.
void LoadDocumentTexts(const StringTable& strings, ApplicationState* state);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_APPLICATION_STATE_H_
