#ifndef KORVALE_DIALOGS_DIALOG_IDS_H_
#define KORVALE_DIALOGS_DIALOG_IDS_H_

// The dialogs of the language file and the controls whose texts it holds.

namespace kv {

// Dialogs.
inline constexpr int kFileQueuedDialogId = 105;
inline constexpr int kReplaceQueuedDialogId = 106;
inline constexpr int kPalmNameDialogId = 108;
inline constexpr int kAboutDialogId = 110;
inline constexpr int kConversionOptionsDialogId = 114;
inline constexpr int kCalibrationDialogId = 115;
inline constexpr int kReplaceOnDeviceDialogId = 116;
inline constexpr int kFileCopiedDialogId = 117;
inline constexpr int kPocketPcNameDialogId = 118;
inline constexpr int kCopyProgressDialogId = 119;
inline constexpr int kDeviceFolderDialogId = 120;
inline constexpr int kTargetChooserDialogId = 121;
inline constexpr int kWorldFileSystemDialogId = 122;

// Controls every dialog may have.
inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;
// Labels without a control of their own to name: 3001, 3002, ... in the
// order the dialog shows them.
inline constexpr int kFirstLabel = 3001;

// About (kAboutDialogId): the program's name line ("%s" is the version), what it
// does, and who made it.
inline constexpr int kAboutNameLine = 3001;
inline constexpr int kAboutDescription = 3002;
inline constexpr int kAboutCopyright = 3003;

// Conversion options (kConversionOptionsDialogId).
inline constexpr int kOptionsCompressCheck = 1009;
inline constexpr int kOptionsMapNameLabel = 3001;
inline constexpr int kOptionsScaleLabel = 3002;
inline constexpr int kOptionsDepthLabel = 3003;

// World file coordinate system (kWorldFileSystemDialogId).
inline constexpr int kWorldFileSystemLabel = 3001;
inline constexpr int kWorldFileZoneLabel = 3002;
inline constexpr int kWorldFileDatumLabel = 2150;
// "%s" is the zone as typed.
inline constexpr int kWorldFileZoneWithoutBand = 2151;
inline constexpr int kWorldFileZoneUnknown = 2152;

}  // namespace kv

#endif  // KORVALE_DIALOGS_DIALOG_IDS_H_
