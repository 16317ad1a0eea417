#include "shell/resource_catalogue.h"

#include "base/error_codes.h"

namespace kv {

namespace {

void AddRange(std::vector<std::uint32_t>* ids, std::uint32_t first, std::uint32_t last) {
  for (std::uint32_t id = first; id <= last; ++id) ids->push_back(id);
}

}  // namespace

std::vector<std::uint32_t> RequiredStringIds() {
  std::vector<std::uint32_t> ids;
  ids.push_back(1);          // image list column width templates
  AddRange(&ids, 500, 522);  // install error texts
  AddRange(&ids, 550, 555);
  ids.push_back(701);
  // One error message and one detail for each program error code.
  AddRange(&ids, 800, 800 + kMessageTableSize - 1);
  AddRange(&ids, 900, 900 + kMessageTableSize - 1);
  AddRange(&ids, 1000, 1035);  // contexts, frame, column titles, depths, choosers, document
  AddRange(&ids, 1037, 1043);  // unknown failure, previewer, status line
  AddRange(&ids, 1048, 1053);  // depth names, compression, chooser filters
  ids.push_back(1060);         // the question before a save replaces a file
  AddRange(&ids, 2010, 2049);  // calibration help lines, captions, validation
  AddRange(&ids, 2051, 2078);  // position texts, captions, previewer modes
  AddRange(&ids, 2082, 2085);  // Pocket PC copy, compression off, replace question
  AddRange(&ids, 2460, 2465);  // the calibration export chooser's file types
  AddRange(&ids, 2500, 2509);  // Edit menu: undo and redo in the calibration panel
  return ids;
}

std::vector<int> RequiredMenuCommands() {
  return {30001, 40001, 40002, 40003, 40004, 40005, 40039, 40040, 40042, 40047,
          40048, 40049, 40051, 40052, 40053, 40054, 40055, 40056, 40057, 40058,
          40059, 40060, 40061, 40062, 40063, 40064, 40065, 40069, 40090, 40091};
}

std::vector<DialogRequirement> RequiredDialogs() {
  return {
      {kFileQueuedDialogId, {kOkButton, 2102}},
      {kReplaceQueuedDialogId, {kOkButton, kCancelButton, 1002}},
      {kPalmNameDialogId, {kOkButton, kCancelButton, 3001}},
      {kAboutDialogId, {kOkButton, kAboutNameLine, kAboutDescription, kAboutCopyright}},
      {kConversionOptionsDialogId,
       {kOkButton, kCancelButton, kOptionsCompressCheck, kOptionsMapNameLabel, kOptionsScaleLabel,
        kOptionsDepthLabel}},
      {kCalibrationDialogId,
       {kOkButton, kCancelButton, 1023, 1024, 1025, 1026, 1027, 1028, 1031, 1041,
        1042,      1044,          1052, 1054, 1056, 2000, 2001, 2004, 2070, 2071,
        2112,      2113,          3001, 3002, 3003, 3004, 3005, 3006, 3007}},
      {kReplaceOnDeviceDialogId, {kOkButton, kCancelButton, 2092}},
      {kFileCopiedDialogId, {kOkButton, 2093}},
      {kPocketPcNameDialogId, {kOkButton, kCancelButton, 3001}},
      {kCopyProgressDialogId, {kCancelButton, 3001}},
      {kDeviceFolderDialogId, {kOkButton, kCancelButton, 3001}},
      {kTargetChooserDialogId, {kOkButton, kCancelButton, 3001}},
      {kWorldFileSystemDialogId,
       {kOkButton, kCancelButton, kWorldFileSystemLabel, kWorldFileZoneLabel, kWorldFileDatumLabel,
        kWorldFileZoneWithoutBand, kWorldFileZoneUnknown}},
  };
}

}  // namespace kv
